#include "listview/window_state.h"

#include "app/helpers.h"

#include <QStringList>

QString GLB_format_visible(const TFoldSnapshot& state, bool withClasses) {
    QStringList fields;
    if (withClasses) {
        QString flags;
        for (const bool open : state.class_open) flags += open ? u'1' : u'0';
        fields << flags;
    }
    fields << QString::number(withClasses ? state.top_class : 1)
           << QString::number(state.top_family) << QString::number(state.top_species)
           << QString::number(state.selected_family) << QString::number(state.selected_species);
    const int count = std::clamp(state.open_family_count, 0, TFoldSnapshot::kMaxOpenFamilies);
    for (int i = 0; i < count; ++i)
        fields << QString::number(state.open_families[static_cast<size_t>(i)]);
    return fields.join(u',');
}

TFoldSnapshot GLB_parse_visible(const QString& text, bool withClasses) {
    TFoldSnapshot state = TFoldSnapshot::initial();
    QStringList fields = text.split(u',');
    if (withClasses) {
        const QString flags = fields.isEmpty() ? QString() : fields.takeFirst().trimmed();
        // A short flag field opens every class.
        if (flags.size() >= 6)
            for (int i = 0; i < 6; ++i) state.class_open[static_cast<size_t>(i)] = flags[i] == u'1';
    }
    std::array<int*, 5> numbers{&state.top_class, &state.top_family, &state.top_species,
                                &state.selected_family, &state.selected_species};
    qsizetype next = 0;
    for (int* number : numbers) {
        bool ok = false;
        const int value = next < fields.size() ? fields[next].trimmed().toInt(&ok) : 0;
        if (!ok) return state;  // the rest keeps its defaults and no family opens
        *number = value;
        ++next;
    }
    state.top_class = GLB_clamp(state.top_class, 1, 6);
    for (; next < fields.size() && state.open_family_count < TFoldSnapshot::kMaxOpenFamilies;
         ++next) {
        bool ok = false;
        const int family = fields[next].trimmed().toInt(&ok);
        if (!ok) break;
        state.open_families[static_cast<size_t>(state.open_family_count++)] = family;
    }
    return state;
}

QString GLB_format_coord(const QRect& rect) {
    return GLB_four_numbers_to_text(
        {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()});
}

std::optional<QRect> GLB_parse_coord(const QString& text) {
    bool error = false;
    const auto n = GLB_text_to_four_numbers(text, error);
    if (error || n[2] <= n[0] || n[3] <= n[1]) return std::nullopt;
    return QRect(QPoint(n[0], n[1]), QSize(n[2] - n[0], n[3] - n[1]));
}

QRect GLB_default_window_rect(const QRect& screen) {
    return QRect(screen.left() + screen.width() / 8, screen.top() + screen.height() / 8,
                 screen.width() * 6 / 8, screen.height() * 6 / 8);
}
