// A further list window opened from the File menu, as a user does.
#include "journeys/journey.h"

#include "listview/windows/child_form.h"
#include "listview/top_forms.h"

#include <QScreen>
#include <QStatusBar>

using testing_support::Journey;

namespace {

constexpr int kNewWindowMenuLine = 2;

QString describe(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

}  // namespace

TEST_F(Journey, ANewWindowFromTheMaximisedMainWindowStaysWhollyOnTheScreen) {
    const QRect workArea = mainWindow().screen()->availableGeometry();
    mainWindow().setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(eventually([&] { return mainWindow().geometry().width() >= workArea.width() - 20; }));

    QAction* newWindow = mainWindow().menu_action(kNewWindowMenuLine);
    ASSERT_TRUE(newWindow && newWindow->isEnabled());
    const int before = Ttop_forms::instance().count();
    newWindow->trigger();
    ASSERT_EQ(Ttop_forms::instance().count(), before + 1);
    auto* second = dynamic_cast<TChildForm*>(Ttop_forms::instance().at(before));
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(second));

    EXPECT_TRUE(workArea.contains(second->frameGeometry()))
        << describe(second->frameGeometry()).toStdString() << " in " << describe(workArea).toStdString();
    // Its own status bar and the bottom of its list are in sight.
    const QWidget* status = second->statusBar();
    EXPECT_TRUE(workArea.contains(QRect(status->mapToGlobal(QPoint(0, 0)), status->size())));
    EXPECT_EQ(second->frameGeometry().topLeft(), mainWindow().frameGeometry().topLeft() + QPoint(30, 30));
}
