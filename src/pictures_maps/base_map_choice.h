#pragma once

// Which base map a distribution or a place is shown on, and which overview
// map sits beside it.

#include "pictures_maps/map_table.h"

#include <QString>
#include <optional>

// The row of the base map for the edition, the locality's country text
// (empty when none), the taxon's map type (0 when none) and the place.
int ChooseBaseMap(int editionCode, const QString& country, int mapType,
                  std::optional<TGeoPoint> point);

struct TInsetChoice {
    int row = -1;  // -1: no inset
    int dx = 0;
    int dy = 0;
};

// The inset beside a main map, with the shift it is drawn at.
TInsetChoice GLB_inset_for(int editionCode, int mainRow, std::optional<TGeoPoint> point);
