#pragma once

// The base maps the program carries, each georeferenced by four corner
// points, and the projection of a place onto them.

#include <QPoint>
#include <QString>
#include <array>
#include <optional>

struct TGeoPoint {
    double longitude = 0;  // degrees, west negative
    double latitude = 0;   // degrees, south negative
};

struct Tmap_record {
    const char* name;  // the resource name; empty for rows used only as insets
    bool jpeg;
    bool second_flag;
    int left_margin, x_min, x_max, width, right_margin;
    int top_margin, y_min, y_max, height, bottom_margin;
    double lon_min, lon_max, lat_min, lat_max;
    // A = (lon-min, lat-min), B = (lon-min, lat-max), C = (lon-max, lat-min),
    // D = (lon-max, lat-max); x then y.
    std::array<double, 8> corners;

    // An inset is copied and shifted to where it is drawn beside the main map.
    Tmap_record shifted(int dx, int dy) const;
};

inline constexpr int kMapCount = 29;
const std::array<Tmap_record, kMapCount>& GLB_map_table();

// Row numbers of the maps the rules below name.
namespace map_row {
inline constexpr int kDefault = 0, kBolivia = 1, kBoliviaAndPunoAndes = 2, kSouthernHalfAndes = 3,
                     kRiberalta = 4, kPeru = 5, kParaguay = 6, kUpperAmazonia = 7,
                     kSouthOfAmazon = 8, kNeotropics = 9, kTropicalAsia = 10, kIndia = 11,
                     kIndochina = 12, kIndonesia = 13, kPhilippinesAndTaiwan = 14, kChina = 15,
                     kVenezuela = 16, kCostaRicaPanama = 17, kCentralAmerica = 18,
                     kNorthernSouthAmericaInset = 19, kSouthAmericaInset = 20,
                     kEquatorialSouthAmericaInset = 21, kSouthernSouthAmericaInset = 22,
                     kLittleSouthAmerica = 23, kCentralAmericaInset = 24, kNorthernStates = 25,
                     kSouthernStates = 26, kBrazil = 27, kEcuador = 28;
}

// The row of a resource name; -1 when the table has none.
int GLB_map_row(const QString& name);
// The name the program's resources know a row's picture by (the inset rows,
// which the table leaves unnamed, included).
QString GLB_map_resource_name(int row);

// A coordinate of a locality (degrees × 6000 + minutes × 100 + seconds) as
// degrees: the last two digits count as hundredths of a minute.
double GLB_coordinate_degrees(int value);

struct TProjection {
    QPoint pixel;
    bool on_map = false;
};

// The place on the record's picture. The main map's corrections apply unless
// the record is drawn as an inset (the inset of row 19 has its own).
TProjection ProjectPoint(const Tmap_record& map, int row, TGeoPoint point, bool asInset);
