#include "app/font_helpers.h"

#include "app/messages.h"
#include "platform/dialog_service.h"

#include <QFontMetrics>

using platform::box::IconStop;

namespace {
// 72 characters, mixed as running text is, for a fair average width.
const QString kSampleSentence =
    QStringLiteral("The quick brown fox jumps over the lazy dog while 12 birds sing, Ok? Yes.");
}  // namespace

int GLB_font_height(const QFont& font) {
    const int height = QFontMetrics(font).height();
    if (height <= 0) {
        GLB_show_message(QStringLiteral("\"GetTextMetrics()\" returned FALSE!"), IconStop);
        return 13;
    }
    return height;
}

int GLB_text_width(const QFont& font, const QString& text) {
    return QFontMetrics(font).horizontalAdvance(text);
}

int GLB_average_char_width(const QFont& font) {
    const int width = GLB_text_width(font, kSampleSentence);
    return (width + static_cast<int>(kSampleSentence.size()) / 2) /
           static_cast<int>(kSampleSentence.size());
}
