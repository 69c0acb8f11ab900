#pragma once

#include "info_windows/windows/information_window_actions.h"

// What a click in any list opens, gathered from the subsystems that make
// those windows: big pictures, the map windows and the small information
// windows.
class TProgramListActions : public TInformationWindowActions {
  public:
    void open_big_picture(const Tspecies& species, const Tsubspecies* subspecies) override;
    void open_distribution_map(const Tspecies& species, const Tlocality* locality) override;
    void open_localities_map(const TClassVisibleSpeciesAndRecordings& visibleSet) override;
};
