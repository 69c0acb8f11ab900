#include "data/areas.h"

namespace {

// One list shared by every area of the class (one per taxon).
const QStringList& unitCodes() {
    static const QStringList codes{"IN", "SR", "NE", "BU", "TH", "IC", "MA", "SI", "BO", "SU",
                                   "JA", "BA", "LE", "SW", "HA", "MO", "CH", "HK", "TA", "PH"};
    return codes;
}

}  // namespace

TTropicalAsiaArea::TTropicalAsiaArea() : TArea(unitCodes()) {}

std::unique_ptr<TArea> TTropicalAsiaArea::clone() const {
    return std::make_unique<TTropicalAsiaArea>(*this);
}

void TTropicalAsiaArea::clear_never_selectable() {
    for (int i = LE; i <= MO; ++i) set_selected(i, false);
}

void TTropicalAsiaArea::SelectAll() {
    TArea::SelectAll();
    clear_never_selectable();
}

// The table names no single country and no country texts; these answers
// keep every taxon and locality in view.
bool TTropicalAsiaArea::IsSingleCountry() const {
    return false;
}

void TTropicalAsiaArea::SingleCountryName(QString& name) const {
    name.clear();
}

bool TTropicalAsiaArea::CountryNameSelected(const QString&) const {
    return false;
}
