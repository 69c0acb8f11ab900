#pragma once

// The emphasis tags of the data's texts and the characters that stand for
// them once loaded.

#include <QString>

// Control characters that stand for the <I>, <B> and <U> tags of the data.
namespace markup {
inline constexpr char16_t Italic = 11;
inline constexpr char16_t Bold = 12;
inline constexpr char16_t Underlined = 13;
}  // namespace markup

// Replaces <I>..</I>, <B>..</B>, <U>..</U> (any letter case) by the control
// characters 11, 12 and 13; an unclosed run is closed at the end of the text.
QString GLB_marked_up_text(const QString& text);
