#include "pictures_maps/windows/map_windows.h"

#include "data/people_places.h"
#include "data/taxa.h"
#include "data/visibility_filter.h"
#include "pictures_maps/windows/localities_map_form.h"
#include "pictures_maps/windows/map_form.h"

#include <QApplication>
#include <memory>
#include <unordered_set>

void GLB_open_distribution_map(const Tspecies& species, const Tlocality* locality) {
    auto* form = new TMapForm(QApplication::activeWindow());
    const QString caption =
        species.common_name.isEmpty() ? species.scientific_name : species.common_name;
    form->ShowMap(&species, locality, true, caption);
}

void GLB_open_localities_map(const TClassVisibleSpeciesAndRecordings& visibleSet) {
    auto places = std::make_shared<const std::unordered_set<const Tlocality*>>(
        visibleSet.recording_localities());
    GLB_localities_map().ShowLocalitiesMap(
        nullptr, nullptr, false, QString(),
        [places](const Tlocality& locality) { return places->contains(&locality); });
}
