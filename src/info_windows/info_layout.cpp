#include "info_windows/info_layout.h"

#include "data/markup.h"
#include "data/media_records.h"
#include "data/people_places.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr char16_t kBold = markup::Bold;
constexpr char16_t kUnderline = markup::Underlined;

QString bold(const QString& text) {
    return kBold + text + kBold;
}

}  // namespace

namespace {

// The person window laid out at one width; `overflows` tells that a word
// (a long web address) is wider than its line even after wrapping.
TPersonLayout personLayoutAt(int width, const Tperson& person, bool copyrightLine,
                             const QStringList& labels, const TTextMeasurer& measurer,
                             int lineHeight, bool& overflows) {
    TPersonLayout layout;
    layout.width = width;
    layout.name_line = (copyrightLine ? QStringLiteral("\u00A9 ") : QString()) + person.name;
    const std::array<const QString*, 3> texts{&person.text_1, &person.text_2, &person.text_3};
    overflows = false;
    int nextLine = 1;
    bool allOnOneLine = true;
    int widthNeeded = measurer.bold_width(layout.name_line) + 20;
    for (int k = 0; k < 3; ++k) {
        if (texts[k]->isEmpty()) continue;
        TPersonBlock block;
        block.label = labels.value(k) + u' ';
        block.label_width = measurer.width(block.label);
        block.text = *texts[k];
        block.link = k == 2;
        const int available = layout.width - kInformationTextLeft - block.label_width;
        block.line_count = measurer.wrap(available, block.text);
        for (const QString& line : block.text.split(u'\n'))
            if (measurer.width(line) > available) overflows = true;
        block.first_line = nextLine;
        nextLine += block.line_count;
        if (block.line_count > 1) allOnOneLine = false;
        const int leftOver = available - measurer.width(block.text);
        widthNeeded = std::max(widthNeeded, layout.width - leftOver + 10);
        if (block.link) {
            layout.link_top = lineHeight * block.first_line + 4;
            layout.link_address = *texts[k];
        }
        layout.blocks.push_back(std::move(block));
    }
    if (allOnOneLine) layout.width = std::min(layout.width, widthNeeded);
    layout.height = static_cast<int>(std::lround((nextLine - 1 + 1.5) * lineHeight));
    return layout;
}

}  // namespace

TPersonLayout GLB_person_layout(const Tperson& person, bool copyrightLine,
                                const QStringList& labels, const TTextMeasurer& measurer,
                                int lineHeight) {
    const std::array<const QString*, 3> texts{&person.text_1, &person.text_2, &person.text_3};
    const bool longText = std::any_of(texts.begin(), texts.end(), [](const QString* t) {
        return t->size() > kLongPersonText;
    });
    bool overflows = false;
    TPersonLayout layout = personLayoutAt(longText ? kWidePersonWidth : kPersonWidth, person,
                                          copyrightLine, labels, measurer, lineHeight, overflows);
    // A web address cannot be broken at blanks; rather than cut it off at
    // the frame, the narrow window takes the wide width.
    if (overflows && !longText)
        layout = personLayoutAt(kWidePersonWidth, person, copyrightLine, labels, measurer,
                                lineHeight, overflows);
    return layout;
}

TTextWindowLayout GLB_literature_layout(const QString& literatureText,
                                        const TTextMeasurer& measurer, int lineHeight) {
    TTextWindowLayout layout;
    layout.text = literatureText;
    const QStringList lines = literatureText.split(u'\n');
    layout.lines = static_cast<int>(lines.size());
    int widest = 0;
    for (const QString& line : lines) widest = std::max(widest, measurer.width(line));
    layout.size = QSize(std::max(10, widest + 20), lineHeight * (layout.lines + 1));
    return layout;
}

const TThreatSource& GLB_threat_source() {
    static const TThreatSource source{
        QStringLiteral("The IUCN Red List of Threatened Species"),
        QStringLiteral("International Union for Conservation of Nature (IUCN)"),
        QStringLiteral("https://www.iucnredlist.org"),
    };
    return source;
}

QString GLB_threatened_status_text(const QStringList& labels, const QStringList& section) {
    QString text;
    for (int i = 0; i < 3; ++i) {
        text += bold(labels.value(i)) + u'\n' + section.value(i) + u'\n' + u'\n';
    }
    const TThreatSource& source = GLB_threat_source();
    text += section.value(3) + u' ' + bold(source.title) + u' ' + section.value(4) + u' ' +
            kUnderline + source.publisher + kUnderline + u'.';
    return text;
}

namespace {

TTextWindowLayout wrappedLayout(QString text, int width, int textWidth,
                                const TTextMeasurer& measurer, int lineHeight) {
    TTextWindowLayout layout;
    layout.lines = measurer.wrap(textWidth, text);
    layout.text = std::move(text);
    layout.size = QSize(width, (layout.lines + 1) * lineHeight);
    return layout;
}

}  // namespace

TTextWindowLayout GLB_threatened_status_layout(const QStringList& labels,
                                               const QStringList& section,
                                               const TTextMeasurer& measurer, int lineHeight) {
    return wrappedLayout(GLB_threatened_status_text(labels, section), kThreatenedStatusWidth,
                         kThreatenedStatusWidth - 20, measurer, lineHeight);
}

QString GLB_audio_cd_text(const TaudioCD& cd, const QStringList& section) {
    QString text = cd.full_title;
    if (!cd.web_address.isEmpty()) {
        text += u'\n' + section.value(0) + u' ' + kUnderline + bold(section.value(1)) +
                kUnderline + u' ' + section.value(2);
    }
    return text;
}

TTextWindowLayout GLB_audio_cd_layout(const TaudioCD& cd, const QStringList& section,
                                      const TTextMeasurer& measurer, int lineHeight) {
    return wrappedLayout(GLB_audio_cd_text(cd, section), kAudioCDWidth, kAudioCDTextWidth,
                         measurer, lineHeight);
}

QRect GLB_place_information_window(QPoint at, QSize size, QSize parent, bool keepFromLeftTop) {
    constexpr int kInside = 5;
    int left = std::min(at.x(), parent.width() - kInside - size.width());
    int top = std::min(at.y(), parent.height() - kInside - size.height());
    const int least = keepFromLeftTop ? kInside : 0;
    left = std::max(left, least);
    top = std::max(top, least);
    return QRect(QPoint(left, top), size);
}
