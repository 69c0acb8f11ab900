#include "pictures_maps/map_windows.h"

#include "data/records.h"
#include "pictures_maps/localities_map_form.h"
#include "pictures_maps/map_form.h"
#include "pictures_maps/select_area_frame.h"

#include <QApplication>

void GLB_open_distribution_map(const Tspecies& species, const Tlocality* locality) {
    auto* form = new TMapForm(QApplication::activeWindow());
    const QString caption =
        species.common_name.isEmpty() ? species.scientific_name : species.common_name;
    form->ShowMap(&species, locality, true, caption);
}

void GLB_open_localities_map() {
    GLB_localities_map().ShowLocalitiesMap(nullptr, nullptr, false, QString());
}

void GLB_install_map_windows() {
    GLB_install_area_frames();
}
