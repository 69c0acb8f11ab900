#include "utilities/windows/options_frame.h"

#include "formats/textfile.h"

namespace {
constexpr int kFrameTextLines = 9;
}

QStringList TOptionsFrame::section_texts(const QString& section) {
    QStringList texts;
    GLB_texts().lines(section, texts, kFrameTextLines);
    while (texts.size() > kFrameTextLines) texts.removeLast();
    while (texts.size() < kFrameTextLines) texts.append(QString());
    return texts;
}
