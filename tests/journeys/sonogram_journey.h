#pragma once

// Journeys that begin by switching the main window's sonogram panel on.

#include "journeys/journey.h"

#include "listview/windows/child_form.h"
#include "listview/windows/sonogram_panel.h"
#include "sound/windows/sonogram_view.h"

#include <QAction>

namespace testing_support {

class SonogramPanelJourney : public Journey {
  protected:
    // View > Sonogram, as a user chooses it; the panel once it is shown.
    TSonogramPanel* switchedOn() {
        QAction* action = mainWindow().sonogram_action();
        if (!action) return nullptr;
        action->trigger();
        TSonogramPanel* panel = mainWindow().sonogram_panel();
        return panel && eventually([&] { return panel->isVisible() && panel->view().height() > 60; }) ? panel
                                                                                                       : nullptr;
    }
};

}  // namespace testing_support
