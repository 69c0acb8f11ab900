#include "app/program/program_list_actions.h"

#include "pictures_maps/windows/map_windows.h"
#include "pictures_maps/windows/picture_list_actions.h"

void TProgramListActions::open_big_picture(const Tspecies& species,
                                           const Tsubspecies* subspecies) {
    GLB_open_big_picture(*this, species, subspecies);
}

void TProgramListActions::open_distribution_map(const Tspecies& species,
                                                const Tlocality* locality) {
    GLB_open_distribution_map(species, locality);
}

void TProgramListActions::open_localities_map(
    const TClassVisibleSpeciesAndRecordings& visibleSet) {
    GLB_open_localities_map(visibleSet);
}
