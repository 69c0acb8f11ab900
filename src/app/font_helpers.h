#pragma once

// Text measures of a font, in pixels.

#include <QString>

class QFont;

int GLB_font_height(const QFont& font);
int GLB_text_width(const QFont& font, const QString& text);
int GLB_average_char_width(const QFont& font);
