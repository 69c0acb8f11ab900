// The dialog service's widget boxes, answered by a timer as a user would.

#include "platform/dialog_service.h"
#include "platform/windows/widget_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

class WidgetDialogsTest : public QObject {
    Q_OBJECT

    struct Seen {
        bool shown = false;
        bool on_top = false;
    };
    // Asks a Yes/No question and answers No once the box shows.
    static int askAndAnswerNo(Seen& seen) {
        QTimer answer;
        answer.setInterval(10);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            seen.shown = true;
            seen.on_top = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            box->button(QMessageBox::No)->click();
        });
        answer.start();
        return platform::WidgetDialogs().message(
            {QStringLiteral("Save the changes?"), QStringLiteral("Korvelan"), platform::box::YesNo});
    }

  private slots:
    void aBoxOpensAboveAStayOnTopWindow() {
        QWidget pinned(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
        pinned.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pinned));
        Seen seen;
        QCOMPARE(askAndAnswerNo(seen), platform::answer::No);
        QVERIFY(seen.shown);
        QVERIFY(seen.on_top);

        // Without one the box is an ordinary window.
        pinned.hide();
        Seen plain;
        QCOMPARE(askAndAnswerNo(plain), platform::answer::No);
        QVERIFY(plain.shown);
        QVERIFY(!plain.on_top);
    }
};

QTEST_MAIN(WidgetDialogsTest)
#include "widget_dialogs_widget_test.moc"
