#include "app/parsing.h"

QString GLB_four_numbers_to_text(const std::array<int, 4>& numbers) {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(numbers[0])
        .arg(numbers[1])
        .arg(numbers[2])
        .arg(numbers[3]);
}

std::array<int, 4> GLB_text_to_four_numbers(const QString& text, bool& error) {
    std::array<int, 4> numbers{1, 1, 1, 1};
    QString rest = text;
    for (int& n : numbers) {
        const QString field = GLB_take_comma_field(rest).trimmed();
        bool ok = false;
        const int value = field.toInt(&ok);
        if (ok) {
            n = value;
        } else {
            error = true;
        }
    }
    return numbers;
}

QString GLB_take_comma_field(QString& line) {
    const qsizetype comma = line.indexOf(u',');
    if (comma < 0) {
        QString field = line;
        line.clear();
        return field;
    }
    QString field = line.left(comma);
    line = line.mid(comma + 1);
    return field;
}

double GLB_read_decimal(const QString& text, double defaultValue) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
    double value = 0;
    bool digits = false;
    for (; i < t.size() && GLB_is_digit(t[i]); ++i, digits = true)
        value = value * 10 + (t[i].unicode() - u'0');
    if (i < t.size() && t[i] == u'.') {
        double scale = 0.1;
        for (++i; i < t.size() && GLB_is_digit(t[i]); ++i, digits = true, scale /= 10)
            value += (t[i].unicode() - u'0') * scale;
    }
    if (!digits || i != t.size()) return defaultValue;
    return negative ? -value : value;
}
