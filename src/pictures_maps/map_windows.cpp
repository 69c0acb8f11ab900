#include "pictures_maps/map_windows.h"

#include "data/records.h"
#include "listview/list_actions.h"
#include "pictures_maps/localities_map_form.h"
#include "pictures_maps/map_form.h"
#include "pictures_maps/select_area_frame.h"

#include <QApplication>

namespace {

class TMapListActions : public TListActions {
  public:
    void open_distribution_map(const Tspecies& species, const Tlocality* locality) override {
        auto* form = new TMapForm(QApplication::activeWindow());
        const QString caption =
            species.common_name.isEmpty() ? species.scientific_name : species.common_name;
        form->ShowMap(&species, locality, true, caption);
    }
    void open_localities_map() override {
        GLB_localities_map().ShowLocalitiesMap(nullptr, nullptr, false, QString());
    }
};

}  // namespace

void GLB_install_map_windows() {
    GLB_set_list_actions(std::make_unique<TMapListActions>());
    GLB_install_area_frames();
}
