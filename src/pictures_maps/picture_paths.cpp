#include "pictures_maps/picture_paths.h"

#include "app/file_helpers.h"
#include "app/globals.h"
#include "data/media_records.h"
#include "platform/paths.h"

QString GLB_media_path(const QString& relative) {
    return platform::resolveCaseInsensitive(GLB_with_trailing_separator(GLB().base_directory) +
                                            relative);
}

QString GLB_small_picture_path(const Tspecies& species) {
    return GLB_media_path(QStringLiteral("smalpict\\") + species.file_name_stem() +
                          QStringLiteral(".jpg"));
}

QString GLB_big_picture_path(const Tbig_picture& picture) {
    if (!picture.species) return {};
    return GLB_media_path(QStringLiteral("big_pict\\") + picture.species->file_name_stem() + u'_' +
                          QString::number(picture.sequence_number) + QStringLiteral(".jpg"));
}

QString GLB_distribution_map_path(const Tspecies& species, int number) {
    const QString suffix = number == 1 ? QString() : u'_' + QString::number(number);
    return GLB_media_path(QStringLiteral("distmaps\\") + species.file_name_stem() + suffix +
                          QStringLiteral(".bmp"));
}
