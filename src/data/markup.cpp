#include "data/markup.h"

namespace {

// One tag kind: its opening and closing texts and the code that stands for
// both.
struct TTag {
    QLatin1StringView open;
    QLatin1StringView close;
    char16_t code;
};

constexpr TTag kTags[] = {
    {QLatin1StringView("<I>"), QLatin1StringView("</I>"), markup::Italic},
    {QLatin1StringView("<B>"), QLatin1StringView("</B>"), markup::Bold},
    {QLatin1StringView("<U>"), QLatin1StringView("</U>"), markup::Underlined},
};

}  // namespace

QString GLB_marked_up_text(const QString& text) {
    if (!text.contains(u'<')) return text;
    QString result;
    result.reserve(text.size());
    int unclosed[3] = {0, 0, 0};
    const QStringView view(text);
    for (qsizetype i = 0; i < view.size();) {
        bool matched = false;
        if (view[i] == u'<') {
            for (int t = 0; t < 3 && !matched; ++t) {
                const TTag& tag = kTags[t];
                if (view.mid(i).startsWith(tag.open, Qt::CaseInsensitive)) {
                    result += QChar(tag.code);
                    ++unclosed[t];
                    i += tag.open.size();
                    matched = true;
                } else if (view.mid(i).startsWith(tag.close, Qt::CaseInsensitive)) {
                    result += QChar(tag.code);
                    if (unclosed[t] > 0) --unclosed[t];
                    i += tag.close.size();
                    matched = true;
                }
            }
        }
        if (!matched) result += view[i++];
    }
    for (int t = 0; t < 3; ++t)
        for (int n = 0; n < unclosed[t]; ++n) result += QChar(kTags[t].code);
    return result;
}
