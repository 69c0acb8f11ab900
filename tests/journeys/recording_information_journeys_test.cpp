// A recording's "Information..." as a user asks for it, from the menu of its
// recording button.
#include "journeys/journey.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>

using testing_support::Journey;

TEST_F(Journey, InformationOnARecordingNamesItsFileWhereItLies) {
    unfoldFirstSpecies();
    Tsound_bar* button = recordingButton(1);
    ASSERT_NE(button, nullptr);
    // The demo's recording files carry upper-case names (A03.WAV).
    const bool chosen = useRecordingMenu(*button, [](QMenu& menu) {
        menu.actions().front()->trigger();  // "Information..."
    });
    ASSERT_TRUE(chosen);
    const QString text = program().script().lastMessage();
    const qsizetype colon = text.indexOf(QStringLiteral(": "));
    ASSERT_GT(colon, 0) << text.toStdString();
    const QString path = text.mid(colon + 2);
    EXPECT_TRUE(path.startsWith(testing_support::RunningDemoProgram::demoBaseDirectory()))
        << path.toStdString();
    EXPECT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
}
