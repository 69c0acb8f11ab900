#include "app/editions.h"
#include "data/areas.h"

namespace {

struct TUnitName {
    const char* code;
    const char* english;
    const char* spanish;  // null where it is the same
};

constexpr TUnitName kUnits[] = {
    {"ME", "Mexico", nullptr},
    {"GA", "Guatemala", nullptr},
    {"ES", "El Salvador", nullptr},
    {"BE", "Belize", nullptr},
    {"HO", "Honduras", nullptr},
    {"NI", "Nicaragua", nullptr},
    {"CR", "Costa Rica", nullptr},
    {"PN", "Panama", nullptr},
    {"VE", "Venezuela", nullptr},
    {"TR", "Trinidad & Tobago", nullptr},
    {"GU", "Guianas", nullptr},
    {"CO", "Colombia", nullptr},
    {"EC", "Ecuador", nullptr},
    {"PE", "Peru", "Perú"},
    {"BO", "Bolivia", nullptr},
    {"PA", "Paraguay", nullptr},
    {"BR", "Brazil", "Brasil"},
    {"AR", "Argentina", nullptr},
    {"UR", "Uruguay", nullptr},
    {"CH", "Chile", nullptr},
    {"OT", "other countries", "otros paises"},
};
static_assert(std::size(kUnits) == TBoliviaEtcArea::UnitCount);

// One list shared by every area of the class (one per taxon).
const QStringList& unitCodes() {
    static const QStringList codes = [] {
        QStringList list;
        for (const TUnitName& u : kUnits) list << QString::fromLatin1(u.code);
        return list;
    }();
    return codes;
}

bool isMainOrOther(int index) {
    return index == TBoliviaEtcArea::PE || index == TBoliviaEtcArea::BO ||
           index == TBoliviaEtcArea::PA || index == TBoliviaEtcArea::OT;
}

}  // namespace

TBoliviaEtcArea::TBoliviaEtcArea() : TArea(unitCodes()) {}

std::unique_ptr<TArea> TBoliviaEtcArea::clone() const {
    return std::make_unique<TBoliviaEtcArea>(*this);
}

QString TBoliviaEtcArea::unit_name(int index) {
    if (index < 0 || index >= UnitCount) return {};
    const TUnitName& u = kUnits[index];
    if (u.spanish && GLB_edition().language == TLanguage::Spanish)
        return QString::fromUtf8(u.spanish);
    return QString::fromUtf8(u.english);
}

void TBoliviaEtcArea::LoadSelection(const QString& section) {
    TArea::LoadSelection(section);
    for (int i = 0; i < UnitCount; ++i)
        if (!isMainOrOther(i)) set_selected(i, false);
    if (!selected(PE) && !selected(BO) && !selected(PA) && !selected(OT)) {
        set_selected(PE, true);
        set_selected(BO, true);
        set_selected(PA, true);
    }
}

bool TBoliviaEtcArea::SharesUnitWith(const TArea& other) const {
    if (other.unit_count() != UnitCount) return TArea::SharesUnitWith(other);
    for (const int u : {PE, BO, PA, OT})
        if (selected(u) && other.selected(u)) return true;
    if (!other.selected(OT)) return false;
    for (int i = 0; i < UnitCount; ++i)
        if (!isMainOrOther(i) && selected(i)) return true;
    return false;
}

bool TBoliviaEtcArea::SharesMainCountryWith(const TArea& other) const {
    if (other.unit_count() != UnitCount) return false;
    for (const int u : {PE, BO, PA})
        if (selected(u) && other.selected(u)) return true;
    return false;
}

bool TBoliviaEtcArea::IsSingleCountry() const {
    int count = 0;
    for (int i = 0; i < UnitCount; ++i) count += selected(i) ? 1 : 0;
    return count == 1 && !selected(OT);
}

void TBoliviaEtcArea::SingleCountryName(QString& name) const {
    name.clear();
    for (int i = 0; i < UnitCount; ++i)
        if (selected(i)) name = unit_name(i);
}

bool TBoliviaEtcArea::CountryNameSelected(const QString& country) const {
    const QString upper = country.toUpper();
    if (upper.startsWith(QStringLiteral("PER"))) return selected(PE);
    if (upper == QStringLiteral("BOLIVIA")) return selected(BO);
    if (upper == QStringLiteral("PARAGUAY")) return selected(PA);
    return false;
}

bool TBoliviaEtcArea::NoMainCountrySelected() const {
    return !selected(PE) && !selected(BO) && !selected(PA);
}

bool TBoliviaEtcArea::OtherCountriesSelected() const {
    for (int i = 0; i < UnitCount; ++i)
        if (i != PE && i != BO && i != PA && selected(i)) return true;
    return false;
}

void TBoliviaEtcArea::SelectedNames(QString& names) const {
    QStringList list;
    for (int i = 0; i < UnitCount; ++i)
        if (selected(i)) list << unit_name(i);
    names = list.join(QStringLiteral(", "));
}
