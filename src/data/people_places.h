#pragma once

// The people, places and maps that recordings, pictures and species name.

#include <QString>
#include <array>

class Tperson {
  public:
    QString name;  // the key of the people list
    QString text_1;
    QString text_2;
    QString text_3;
};

class Tmap_data {
  public:
    QString name;  // the key of the map list
    int number = 0;
    std::array<double, 4> bounds{};  // read as a, b, c, d and kept as a, c, b, d
};

class Tlocality {
  public:
    QString key;
    QString name;
    QString region;
    QString country;
    QString prefix;
    QString text;              // marked up
    QString site_description;  // marked up
    // Degrees × 6000 + minutes × 100 + seconds; negative for west or south.
    int longitude = 0;
    int latitude = 0;
    bool longitude_seconds_given = false;
    bool latitude_seconds_given = false;

    // A real place: not "ZERO LOCATION" (any case) and some coordinate set.
    bool has_coordinates() const;
    // Prefix, name and, when asked and present, " (region, country).";
    // empty for a locality without coordinates.
    QString display_text(bool withRegionAndCountry) const;
    // "12°05'30'' S, 68°10' W": latitude, then longitude.
    QString coordinates_text() const;
    // The word for the locality's region (department, province, state)
    // from the texts file; empty without a region.
    QString region_word() const;
};
