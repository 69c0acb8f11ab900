#pragma once

// Reading and writing the numbers and fields of the data's and settings'
// text lines.

#include <QChar>
#include <QString>
#include <array>

QString GLB_four_numbers_to_text(const std::array<int, 4>& numbers);
std::array<int, 4> GLB_text_to_four_numbers(const QString& text, bool& error);

// Takes the text up to the first "," off the line, leaving what follows it.
QString GLB_take_comma_field(QString& line);

// Reads "-12.345" whatever the system's decimal separator; the default when
// the text holds no number.
double GLB_read_decimal(const QString& text, double defaultValue);

inline bool GLB_is_digit(QChar c) {
    return c >= u'0' && c <= u'9';
}
