#include "pictures_maps/map_table.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// clang-format off
constexpr std::array<Tmap_record, kMapCount> kTable{{
    {"DEFAULT_BITMAP", false, false, 10, 13, 334, 320, 50, 3, 5, 346, 352, 0,
     -70, -58, -22.7, -9.55, {13.6, 345, -3.4, 1, 302.65, 345, 316.3, 1}},
    {"BOLIVIA_MAP", true, false, 0, 0, 609, 609, 0, 0, 0, 650, 650, 0,
     -69.57, -58.17, -22.82, -10.93, {15, 639, 15, 68, 566, 639, 566, 68}},
    {"BOLIVIA_AND_PUNO_ANDES_MAP", true, false, 10, 0, 653, 653, 10, 10, 0, 573, 573, 0,
     -69.57, -58.17, -22.82, -10.93, {109, 887, 109, -120, 1079, 887, 1079, -120}},
    {"SOUTHERN_HALF_ANDES_MAP", true, false, 0, 0, 462, 462, 0, 0, 0, 600, 600, 0,
     -81.15, -62.5, -29, -4.7, {0, 600, 0, 0, 462, 600, 462, 0}},
    {"RIBERALTA_MAP", true, true, 0, 0, 671, 671, 0, 0, 0, 569, 569, 0,
     -66.342, -65.825, -11.204, -10.766, {0, 569, 0, 0, 671, 569, 671, 0}},
    {"PERU_MAP", true, false, 0, 0, 462, 462, 0, 0, 0, 650, 650, 0,
     -80.2, -68.69, -17.64, -0.04, {51, 623, 51, 6, 454, 623, 454, 6}},
    {"PARAGUAY_MAP", true, false, 0, 0, 618, 618, 0, 0, 0, 620, 620, 0,
     -62.67, -53.64, -28, -19.32, {38, 590, 38, 40, 608, 590, 608, 40}},
    {"UPPER_AMAZONIA_MAP", true, false, 0, 0, 549, 549, 20, 0, 0, 514, 514, 0,
     -79.4, -41.12, -19.1, 5.45, {0, 514, 0, 0, 799, 514, 799, 0}},
    {"SOUTH_OF_AMAZON_MAP", true, false, 0, 0, 574, 574, 20, 0, 0, 520, 520, 0,
     -69.85, -34.1, -30.45, 2, {0, 520, 0, 0, 574, 520, 574, 0}},
    {"NEOTROPICS_MAP", true, false, 0, 0, 788, 788, 20, 0, 0, 650, 650, 0,
     -105.5, -38.6, -33.75, 20.4, {43, 611, 43, 60, 726, 611, 726, 60}},
    {"TROPICAL_ASIA_MAP_BITMAP", false, false, 0, 0, 574, 574, 0, 0, 0, 472, 472, 0,
     70, 120, 0, 20, {5, 356, 16, 163, 489, 356, 487, 163}},
    {"INDIA_MAP", true, false, 10, 0, 402, 402, 50, 10, 0, 340, 340, 0,
     70, 95, 10, 30, {36, 277, 58, 23, 366, 276, 334, 18}},
    {"INDOCHINA_MAP", true, false, 10, 0, 304, 304, 100, 10, 0, 368, 368, 0,
     95, 110, 10, 25, {15, 299, 53, 44, 258, 301, 277, 44}},
    {"INDONESIA_MAP", true, false, 5, 0, 514, 514, 90, 5, 0, 316, 316, 0,
     100, 125, -10, 5, {79, 290, 78, 44, 477, 290, 483, 45}},
    {"PHILIPPINES_AND_TAIWAN_MAP", true, false, 5, 0, 192, 192, 90, 5, 0, 366, 366, 0,
     120, 130, 10, 25, {68, 284, 72, 14, 240, 284, 237, 15}},
    {"CHINA_MAP", true, false, 5, 0, 473, 473, 90, 5, 0, 396, 396, 0,
     100, 120, 25, 40, {218, 327, 221, 172, 411, 314, 382, 159}},
    {"VENEZUELA_MAP_BITMAP", false, false, -1, 0, 589, 589, -1, -1, 0, 442, 442, 0,
     -71.33, -61.84, 0.79, 10.69, {143, 418, 142, 73, 519, 418, 505, 71}},
    {"COSTA_RICA_PANAMA_MAP", true, false, -1, 0, 720, 720, -1, -1, 0, 388, 388, 0,
     -84, -78, 8, 10, {195, 267, 173, 106, 636, 268, 642, 115}},
    {"CENTRAL_AMERICA_MAP", true, false, -1, 0, 750, 750, -1, -1, 0, 530, 530, 0,
     -108.25, -77.65, 7.65, 31.8, {102, 512, 102, 19, 725, 512, 725, 19}},
    {"", false, false, -1, -6, 180, 195, 0, 0, 10, 280, 441, 0,
     -80, -50, -5, 10, {2, 97, 2, 41, 120, 97, 121, 41}},
    {"", false, false, -1, 0, 180, 195, 0, 0, 10, 280, 441, 0,
     -70, -40, -30, -10, {49, 184, 40, 114, 150, 184, 159, 118}},
    {"", false, false, 0, 0, 242, 242, 0, 0, 0, 350, 350, 0,
     -80, -40, -20, 10, {18, 172, 15, 25, 203, 175, 213, 28}},
    {"", false, false, 0, 0, 180, 195, 0, 0, 0, 280, 441, 0,
     -80, -50, -50, -20, {44, 317, 21, 172, 144, 315, 157, 169}},
    {"LITTLE_SOUTH_AMERICA_MAP", true, false, 0, 0, 262, 262, 0, 0, 0, 363, 363, 0,
     -81.28, -34.8, -56, 12.5, {12, 359, 12, 2, 257, 359, 257, 2}},
    {"", false, false, -1, 0, 290, 290, -1, -1, 153, 387, 232, 0,
     -94, -78, 8, 18, {8, 362, 12, 212, 246, 364, 246, 212}},
    {"NORTHERN_STATES_MAP", true, false, 10, 0, 879, 879, 10, 10, 0, 660, 660, 10,
     -60.17, -35.51, -21.75, -5.33, {33, 656, 33, 115, 842, 656, 842, 115}},
    {"SOUTHERN_STATES_MAP", true, false, 10, 0, 915, 915, 10, 10, 0, 660, 660, 10,
     -57.67, -41.3, -32.68, -21.75, {26, 602, 26, 25, 893, 602, 893, 25}},
    {"BRAZIL_MAP", true, false, 10, 0, 761, 761, 10, 10, 0, 660, 660, 10,
     -74, -34.76, -33.75, 5.25, {4, 652, 4, 3, 655, 652, 655, 3}},
    {"ECUADOR_MAP", true, false, 10, 0, 427, 427, 10, 10, 0, 436, 436, 10,
     -81.28, -75.36, -5, 1.46, {15, 425, 15, 5, 405, 425, 405, 5}},
}};
// clang-format on

double distance(TGeoPoint p, double lon, double lat) {
    return std::hypot(p.longitude - lon, p.latitude - lat);
}

int roundToInt(double value) {
    return static_cast<int>(std::lround(value));
}

}  // namespace

const std::array<Tmap_record, kMapCount>& GLB_map_table() {
    return kTable;
}

Tmap_record Tmap_record::shifted(int dx, int dy) const {
    Tmap_record r = *this;
    for (size_t i = 0; i < corners.size(); i += 2) {
        r.corners[i] += dx;
        r.corners[i + 1] += dy;
    }
    r.x_min += dx;
    r.x_max += dx;
    r.y_min += dy;
    r.y_max += dy;
    return r;
}

int GLB_map_row(const QString& name) {
    for (int row = 0; row < kMapCount; ++row)
        if (GLB_map_resource_name(row) == name) return row;
    return -1;
}

QString GLB_map_resource_name(int row) {
    switch (row) {
        case map_row::kNorthernSouthAmericaInset: return QStringLiteral("NORTHERN_SOUTH_AMERICA_INSET");
        case map_row::kSouthAmericaInset: return QStringLiteral("SOUTH_AMERICA_INSET");
        case map_row::kEquatorialSouthAmericaInset: return QStringLiteral("EQUATORIAL_SOUTH_AMERICA_INSET");
        case map_row::kSouthernSouthAmericaInset: return QStringLiteral("SOUTHERN_SOUTH_AMERICA_INSET");
        case map_row::kCentralAmericaInset: return QStringLiteral("CENTRAL_AMERICA_INSET");
        default:
            if (row < 0 || row >= kMapCount) return {};
            return QString::fromLatin1(kTable[static_cast<size_t>(row)].name);
    }
}

double GLB_coordinate_degrees(int value) {
    const int magnitude = std::abs(value);
    const double degrees = magnitude / 6000 + (magnitude % 6000) / 6000.0;
    return value < 0 ? -degrees : degrees;
}

TProjection ProjectPoint(const Tmap_record& map, int row, TGeoPoint point, bool asInset) {
    const double u = (point.longitude - map.lon_min) / (map.lon_max - map.lon_min);
    const double v = (point.latitude - map.lat_min) / (map.lat_max - map.lat_min);
    const auto& c = map.corners;
    auto blend = [u, v](double a, double b, double cc, double d) {
        return a + (b - a) * v + ((cc - a) + v * ((d - b) - (cc - a))) * u;
    };
    double xd = blend(c[0], c[2], c[4], c[6]);
    double yd = blend(c[1], c[3], c[5], c[7]);
    if (!std::isfinite(xd) || !std::isfinite(yd) || std::abs(xd) > 1e7 || std::abs(yd) > 1e7)
        return {};
    int x = roundToInt(xd);
    int y = roundToInt(yd);

    if (!asInset && row == map_row::kIndia) {
        y += roundToInt(std::min(u, 1 - u) * 16);
        x += roundToInt(std::min(v, 1 - v) * 4);
    } else if (!asInset && row == map_row::kVenezuela) {
        if (distance(point, -72.0, 8.2) <= 0.5) y += 10;
        const double nearCoast = distance(point, -69.1, 11.5);
        if (nearCoast <= 0.9) {
            const double d = 1 - nearCoast / 0.9;
            x += roundToInt(-4 * d);
            y += roundToInt(12 * d);
        }
        if (point.latitude < 6 && point.longitude < -64)
            x += roundToInt(distance(point, -64.0, 6.0) / 5 * 10);
    } else if (asInset && row == map_row::kNorthernSouthAmericaInset) {
        if (point.longitude + 59.83 < 0.1 && point.latitude - 3.17 < 0.1) y -= 8;
    }
    const bool on = map.x_min - 10 <= x && x <= map.x_max + 10 && map.y_min - 10 <= y &&
                    y <= map.y_max + 10;
    return {QPoint(x, y), on};
}
