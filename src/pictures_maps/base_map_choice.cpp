#include "pictures_maps/base_map_choice.h"

#include <QStringList>
#include <algorithm>

namespace {

bool within(double value, double low, double high) {
    return low < value && value < high;
}

// Map types name a base map; other types leave the map as it is.
int byMapType(int mapType, int current) {
    switch (mapType) {
        case 2: return map_row::kBoliviaAndPunoAndes;
        case 3: return map_row::kBolivia;
        case 4: return map_row::kRiberalta;
        case 5: return map_row::kNeotropics;
        case 6: return map_row::kUpperAmazonia;
        case 7: return map_row::kSouthernHalfAndes;
        case 8: return map_row::kSouthOfAmazon;
        case 9: return map_row::kPeru;
        default: return current;
    }
}

int boliviaEditions(const QString& country, int mapType, std::optional<TGeoPoint> point) {
    if (mapType == 4) return map_row::kRiberalta;
    if (country == u"Peru") return map_row::kPeru;
    if (country == u"Bolivia") return map_row::kBolivia;
    if (country == u"Paraguay") return map_row::kParaguay;
    if (country.isEmpty() && !point) return byMapType(mapType, map_row::kBolivia);
    if (point) {
        const double lon = point->longitude, lat = point->latitude;
        if (within(lon, -81.3, -69.5) && within(lat, -18.25, 0.1)) return map_row::kPeru;
        if (within(lon, -69.9, -57.6) && within(lat, -23, -9.5)) return map_row::kBolivia;
        if (within(lon, -63, -53.5) && within(lat, -28.33, -18.66)) return map_row::kParaguay;
    }
    return map_row::kLittleSouthAmerica;
}

int tropicalAsia(const QString& country) {
    static const QStringList china{"China", "Hong Kong"};
    static const QStringList india{"Pakistan", "India", "Sri Lanka", "Bangla Desh", "Nepal", "Bhutan"};
    static const QStringList indochina{"Burma", "Thailand", "Laos", "Cambodia", "Vietnam"};
    static const QStringList philippines{"Philippines", "Taiwan"};
    static const QStringList indonesia{"Malaysia", "Singapore", "Brunei", "Indonesia"};
    if (china.contains(country)) return map_row::kChina;
    if (india.contains(country)) return map_row::kIndia;
    if (indochina.contains(country)) return map_row::kIndochina;
    if (philippines.contains(country)) return map_row::kPhilippinesAndTaiwan;
    if (indonesia.contains(country)) return map_row::kIndonesia;
    return map_row::kTropicalAsia;
}

}  // namespace

int ChooseBaseMap(int editionCode, const QString& country, int mapType,
                  std::optional<TGeoPoint> point) {
    switch (editionCode) {
        case 101:
        case 103: return boliviaEditions(country, mapType, point);
        case 104:
            if (mapType >= 1 && mapType <= 7) return byMapType(mapType, map_row::kDefault);
            if (country == u"Bolivia") return map_row::kBolivia;
            if (country == u"Ecuador" || (country == u"Colombia" && point && point->latitude < 1.5))
                return map_row::kEcuador;
            return map_row::kNeotropics;
        case 105:
        case 115: return map_row::kEcuador;
        case 111: return map_row::kVenezuela;
        case 112: return map_row::kCostaRicaPanama;
        case 113: return map_row::kCentralAmerica;
        case 106: return tropicalAsia(country);
        case 114:
            if (!point || point->longitude <= -74 || point->latitude <= -33.75 ||
                point->latitude >= 5.25)
                return map_row::kLittleSouthAmerica;
            return map_row::kBrazil;
        case 130: return country == u"Bolivia" ? map_row::kBolivia : map_row::kLittleSouthAmerica;
        default: return map_row::kDefault;
    }
}

TInsetChoice GLB_inset_for(int editionCode, int mainRow, std::optional<TGeoPoint> point) {
    if (editionCode == 111 || editionCode == 112) return {};
    using namespace map_row;
    static constexpr int withInset[] = {kBolivia, kBoliviaAndPunoAndes, kSouthernHalfAndes,
                                        kRiberalta, kPeru, kParaguay, kSouthOfAmazon,
                                        kVenezuela, kCostaRicaPanama, kEcuador};
    if (std::find(std::begin(withInset), std::end(withInset), mainRow) == std::end(withInset))
        return {};
    const auto& table = GLB_map_table();
    const Tmap_record& main = table[static_cast<size_t>(mainRow)];
    TInsetChoice choice;
    if (mainRow == kVenezuela) {
        choice.row = point && point->latitude <= -5 ? kSouthAmericaInset : kNorthernSouthAmericaInset;
        const Tmap_record& inset = table[static_cast<size_t>(choice.row)];
        choice.dx = main.x_max + 10;
        choice.dy = (main.height - inset.y_max) / 2;
        return choice;
    }
    choice.row = mainRow == kCostaRicaPanama ? kCentralAmericaInset : kLittleSouthAmerica;
    // The overview sits right of the main map, 161 pixels down where the
    // main map is tall enough for it, else as low as it still fits.
    const Tmap_record& inset = table[static_cast<size_t>(choice.row)];
    const int pictureHeight = std::max(inset.height, inset.y_max);
    choice.dx = main.width + 10;
    choice.dy = std::clamp(main.height - pictureHeight, 0, 161);
    return choice;
}
