#include "data/people_places.h"

#include "app/editions.h"
#include "formats/textfile.h"

namespace {

bool spanish() {
    return GLB_edition().language == TLanguage::Spanish;
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

}  // namespace


bool Tlocality::has_coordinates() const {
    return name.compare(QStringLiteral("ZERO LOCATION"), Qt::CaseInsensitive) != 0 &&
           (longitude != 0 || latitude != 0);
}

QString Tlocality::display_text(bool withRegionAndCountry) const {
    if (!has_coordinates()) return {};
    QString text;
    if (!prefix.isEmpty()) text += prefix + u' ';
    text += name;
    if (withRegionAndCountry && (!region.isEmpty() || !country.isEmpty())) {
        text += QStringLiteral(" (") + region;
        if (!region.isEmpty() && !country.isEmpty()) text += QStringLiteral(", ");
        text += country + QStringLiteral(").");
    }
    return text;
}

QString Tlocality::coordinates_text() const {
    const auto part = [](int value, bool secondsGiven, const QString& positive,
                         const QString& negative) {
        const qint64 v = value < 0 ? -qint64(value) : qint64(value);
        QString text = QString::number(v / 6000) + u'°' + twoDigits(int(v % 6000 / 100)) + u'\'';
        if (secondsGiven) text += twoDigits(int(v % 100)) + QStringLiteral("''");
        return text + u' ' + (value < 0 ? negative : positive);
    };
    const QString west = spanish() ? QStringLiteral("O") : QStringLiteral("W");
    return part(latitude, latitude_seconds_given, QStringLiteral("N"), QStringLiteral("S")) +
           QStringLiteral(", ") +
           part(longitude, longitude_seconds_given, QStringLiteral("E"), west);
}

QString Tlocality::region_word() const {
    if (region.isEmpty()) return {};
    const QString section = QStringLiteral("DEPARTMENT ETC");
    if (country == QStringLiteral("Argentina") || country == QStringLiteral("Ecuador"))
        return GLB_text(section, 2);
    if (country == QStringLiteral("Brazil") || country == QStringLiteral("Brasil") ||
        country == QStringLiteral("Mexico") || country == QStringLiteral("Venezuela"))
        return GLB_text(section, 3);
    return GLB_text(section, GLB_edition().rules.department_word_line);
}
