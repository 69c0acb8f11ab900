#pragma once

// Where the pictures and distribution maps of a taxon lie under the base
// directory. Names in the data may be joined with "\" or "/"; the result is
// resolved component by component without regard to letter case.

#include <QString>

class Tspecies;
class Tbig_picture;

// Joins a relative name to the base directory and resolves it.
QString GLB_media_path(const QString& relative);

// "smalpict\<species file name stem>.jpg"
QString GLB_small_picture_path(const Tspecies& species);
// "big_pict\<species file name stem>_<sequence number>.jpg"
QString GLB_big_picture_path(const Tbig_picture& picture);
// "distmaps\<species file name stem>.bmp" for number 1,
// "distmaps\<species file name stem>_<number>.bmp" for the others.
QString GLB_distribution_map_path(const Tspecies& species, int number);
