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
    bool chosen = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || chosen) return;
        chosen = true;
        menu->actions().front()->trigger();  // "Information..."
        menu->close();
    });
    user.start(20);
    QWidget& target = button->button();
    QContextMenuEvent press(QContextMenuEvent::Mouse, QPoint(2, 2),
                            target.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&target, &press);
    user.stop();

    ASSERT_TRUE(chosen);
    const QString text = program().script().lastMessage();
    const qsizetype colon = text.indexOf(QStringLiteral(": "));
    ASSERT_GT(colon, 0) << text.toStdString();
    const QString path = text.mid(colon + 2);
    EXPECT_TRUE(path.startsWith(testing_support::RunningDemoProgram::demoBaseDirectory()))
        << path.toStdString();
    EXPECT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
}
