#include "app/editions.h"
#include "data/areas.h"

namespace {


const QStringList& unitCodes() {
    static const QStringList codes{QStringLiteral("IN"), QStringLiteral("OU")};
    return codes;
}

}  // namespace

TCountryArea::TCountryArea(int editionCode)
    : TArea(unitCodes()),
      country_letters_(GLB_edition_rules(editionCode).country_area_letters),
      outside_is_any_other_(GLB_edition_rules(editionCode).country_area_outside_is_any_other) {}

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
        outside_is_any_other_ ? upper != country_letters_ : upper.contains(outside_letter());
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
