#include "app/editions.h"
#include "pictures_maps/areas.h"

namespace {

QString countryLetters(int editionCode) {
    switch (editionCode) {
        case 111:
            return QStringLiteral("V");
        case 113:
            return QStringLiteral("M");
        case 114:
            return QStringLiteral("B");
        case 115:
            return QStringLiteral("E");
        case 120:
            return QStringLiteral("A");
        case 130:
            return QStringLiteral("BO");
        default:
            return {};
    }
}

const QStringList& unitCodes() {
    static const QStringList codes{QStringLiteral("IN"), QStringLiteral("OU")};
    return codes;
}

}  // namespace

TCountryArea::TCountryArea(int editionCode)
    : TArea(unitCodes()),
      edition_code_(editionCode),
      country_letters_(countryLetters(editionCode)) {}

std::unique_ptr<TArea> TCountryArea::clone() const {
    return std::make_unique<TCountryArea>(*this);
}

void TCountryArea::ParseDistribution(const QString& text, const QString& taxonName, bool strict) {
    if (!strict) {
        TArea::ParseDistribution(text, taxonName, strict);
        return;
    }
    const QString upper = text.toUpper();
    if (!country_letters_.isEmpty() && upper.contains(country_letters_)) set_selected(IN, true);
    const bool outside =
        edition_code_ == 130 ? upper != QStringLiteral("BO") : upper.contains(outside_letter());
    if (outside) set_selected(OU, true);
}

void TCountryArea::LoadSelection(const QString&) {
    set_selected(IN, true);
    set_selected(OU, false);
}

bool TCountryArea::IsSingleCountry() const {
    return selected(IN) && !selected(OU);
}

bool TCountryArea::IsNotSingleCountry() const {
    return false;
}

void TCountryArea::SingleCountryName(QString& name) const {
    name = IsSingleCountry() ? GLB_edition().region_name : QString();
}

bool TCountryArea::CountryNameSelected(const QString&) const {
    return false;
}
