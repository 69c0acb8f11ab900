// A sounds-and-slides show started from the menu, as a user does.
#include "journeys/journey.h"

#include "listview/windows/child_form.h"
#include "playlists/windows/demo_settings_dialog.h"

#include <QApplication>
#include <QTimer>

using testing_support::Journey;

namespace {

constexpr int kShowMenuLine = 4;

}  // namespace

TEST_F(Journey, AUserStartsAShowWithItsSettingsAndHearsARecording) {
    bool settingsAsked = false;
    QTimer okPresser;
    QObject::connect(&okPresser, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<TDemoSettingsDialog*>(QApplication::activeModalWidget())) {
            settingsAsked = true;
            dialog->accept();
        }
    });
    okPresser.start(20);
    QAction* show = mainWindow().menu_action(kShowMenuLine);
    ASSERT_NE(show, nullptr);
    ASSERT_TRUE(show->isEnabled());
    show->trigger();
    EXPECT_TRUE(settingsAsked);
    EXPECT_TRUE(eventually([] { return Tsound_bar::playing_button() != nullptr; }, 15000));
}
