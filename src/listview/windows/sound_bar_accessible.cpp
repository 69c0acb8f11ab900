#include "listview/windows/sound_bar_accessible.h"

#include "data/media_records.h"
#include "data/people_places.h"
#include "listview/windows/show_strings_accessible.h"
#include "listview/windows/sound_bar.h"
#include "sound/sonogram.h"
#include "sound/sonogram_summary.h"

#include <QAccessibleWidget>
#include <QWidget>
#include <cmath>

namespace {

// How far the seek actions move: a few seconds, as a listener skips.
constexpr int kSeekStepMs = 5000;

// Whole seconds, as a listener counts them.
int whole_seconds(int tenths) {
    return static_cast<int>(std::lround(tenths / 10.0));
}

class TRecordingButtonAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit TRecordingButtonAccessible(TBitBtn_sound_bar* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    Tsound_bar& bar() const { return *static_cast<Tsound_bar*>(widget()->parentWidget()); }

    QAccessibleInterface* parent() const override {
        if (QAccessibleInterface* row = list_accessibility::row_of_button(widget())) return row;
        return QAccessibleWidget::parent();
    }

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return name();
            case QAccessible::Value:
                return QStringLiteral("%1 of %2 seconds")
                    .arg(whole_seconds(bar().bar().value()))
                    .arg(whole_seconds(bar().bar().maximum()));
            case QAccessible::Description:
                return bar().is_playing() ? QStringLiteral("Playing")
                       : bar().opened()   ? QStringLiteral("Paused")
                                          : QStringLiteral("Not playing");
            default:
                return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true;
        s.checkable = true;
        s.checked = bar().is_playing();
        s.pressed = bar().is_playing();
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // --- Value: the position in seconds -------------------------------------
    QVariant currentValue() const override { return bar().bar().value() / 10.0; }
    void setCurrentValue(const QVariant& value) override {
        bar().seek_to(static_cast<int>(std::lround(value.toDouble() * 1000)));
    }
    QVariant maximumValue() const override { return bar().bar().maximum() / 10.0; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return bar().bar().singleStep() / 10.0; }

    // --- Actions ------------------------------------------------------------
    QStringList actionNames() const override {
        return {pressAction(), sound_bar_accessibility::play_action(),
                sound_bar_accessibility::pause_action(),
                sound_bar_accessibility::seek_forward_action(),
                sound_bar_accessibility::seek_back_action()};
    }
    QString localizedActionDescription(const QString& action) const override {
        if (action == pressAction()) return QStringLiteral("Plays or pauses the recording");
        if (action == sound_bar_accessibility::play_action()) return QStringLiteral("Plays the recording");
        if (action == sound_bar_accessibility::pause_action()) return QStringLiteral("Pauses the recording");
        if (action == sound_bar_accessibility::seek_forward_action())
            return QStringLiteral("Skips five seconds forward");
        if (action == sound_bar_accessibility::seek_back_action())
            return QStringLiteral("Goes five seconds back");
        return QAccessibleWidget::localizedActionDescription(action);
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == pressAction()) return {QStringLiteral("Space")};
        if (action == sound_bar_accessibility::seek_forward_action()) return {QStringLiteral("Shift+Right")};
        if (action == sound_bar_accessibility::seek_back_action()) return {QStringLiteral("Shift+Left")};
        return {};
    }
    void doAction(const QString& action) override {
        Tsound_bar& b = bar();
        const bool playing = b.is_playing();
        if (action == pressAction() ||
            (action == sound_bar_accessibility::play_action() && !playing) ||
            (action == sound_bar_accessibility::pause_action() && playing))
            b.button_clicked();
        else if (action == sound_bar_accessibility::seek_forward_action())
            b.seek_to(b.bar().value() * 100 + kSeekStepMs);
        else if (action == sound_bar_accessibility::seek_back_action())
            b.seek_to(b.bar().value() * 100 - kSeekStepMs);
    }

  private:
    // "Recording 2, <what its row says>, <place>, 68 seconds".
    QString name() const {
        QStringList parts{QStringLiteral("Recording %1").arg(bar().recording_number())};
        QString label = list_accessibility::recording_description(widget());
        if (label.endsWith(u'.')) label.chop(1);
        if (!label.isEmpty()) parts << label;
        if (const Tlocality* place = bar().cut_part().locality) {
            for (const QString& p : {place->name, place->country}) {
                const QString plain = p.trimmed();
                if (!plain.isEmpty() && !label.contains(plain, Qt::CaseInsensitive)) parts << plain;
            }
        }
        parts << QStringLiteral("%1 seconds").arg(whole_seconds(bar().bar().maximum()));
        return parts.join(QStringLiteral(", "));
    }
};

}  // namespace

namespace sound_bar_accessibility {

QAccessibleInterface* make_interface(const QString& className, QObject* object) {
    if (className == QLatin1String("TBitBtn_sound_bar"))
        return new TRecordingButtonAccessible(static_cast<TBitBtn_sound_bar*>(object));
    return nullptr;
}

void playing_changed(Tsound_bar& bar) {
    if (!QAccessible::isActive()) return;
    QAccessible::State changed;
    changed.checked = true;
    changed.pressed = true;
    QAccessibleStateChangeEvent event(&bar.button(), changed);
    QAccessible::updateAccessibility(&event);
}

void describe_sonogram(QWidget& view, Tsound_bar* bar, const sonogram::Sonogram* shown) {
    const QString stamp = QStringLiteral("%1/%2/%3")
                              .arg(quintptr(bar))
                              .arg(quintptr(shown))
                              .arg(shown ? int(shown->state()) : -1);
    if (view.property("describedAs").toString() == stamp) return;
    view.setProperty("describedAs", stamp);
    view.setAccessibleName(QStringLiteral("Sonogram"));
    if (!bar) {
        view.setAccessibleDescription(QStringLiteral("No recording played yet"));
        return;
    }
    QString label = list_accessibility::recording_description(&bar->button());
    if (label.endsWith(u'.')) label.chop(1);
    QStringList parts;
    if (!label.isEmpty()) parts << label;
    parts << QStringLiteral("%1 seconds").arg(whole_seconds(bar->bar().maximum()));
    if (!shown || shown->state() == sonogram::Sonogram::Failed) {
        parts << QStringLiteral("no sonogram");
    } else if (const std::optional<sonogram::Band> band = sonogram::strongest_band(*shown)) {
        const auto khz = [](double hz) { return QString::number(hz / 1000.0, 'f', 1); };
        parts << QStringLiteral("strongest marks between %1 and %2 kHz").arg(khz(band->low_hz), khz(band->high_hz));
    } else if (shown->state() != sonogram::Sonogram::Done) {
        parts << QStringLiteral("sonogram being computed");
    }
    view.setAccessibleDescription(QStringLiteral("Sonogram of ") + parts.join(QStringLiteral(", ")));
}

QString play_action() { return QStringLiteral("Play"); }
QString pause_action() { return QStringLiteral("Pause"); }
QString seek_forward_action() { return QStringLiteral("Seek forward"); }
QString seek_back_action() { return QStringLiteral("Seek back"); }

}  // namespace sound_bar_accessibility
