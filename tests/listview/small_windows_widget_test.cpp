// The find dialog and the tooltip window.
#include "formats/textfile.h"
#include "listview/windows/find_dialog.h"
#include "listview/windows/tooltip_form.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QtTest>

class SmallWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TTextsOverride> texts_;

  private slots:
    void initTestCase() {
        texts_ = std::make_unique<TTextsOverride>(
            Ttextfile_handler::fromText(QStringLiteral("$[FIND_DB]\nFind\nSearch from the top\n")));
    }
    void cleanupTestCase() { texts_.reset(); }

    void findDialogHandsBackTextAndFlagOnlyOnOk() {
        TFindInShowStringsDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Find"));
        QCOMPARE(dialog.CheckBox_search_from_top->text(), QStringLiteral("Search from the top"));
        QString text = QStringLiteral("tinam");
        bool fromTop = true;
        QTimer::singleShot(0, &dialog, [&] {
            QCOMPARE(dialog.Edit_control->selectedText(), QStringLiteral("tinam"));
            QTest::keyClicks(dialog.Edit_control, QStringLiteral("hummer"));
            dialog.CheckBox_search_from_top->setChecked(false);
            dialog.OKBtn->click();
        });
        QVERIFY(dialog.run(text, fromTop));
        QCOMPARE(text, QStringLiteral("hummer"));
        QVERIFY(!fromTop);

        QTimer::singleShot(0, &dialog, [&] {
            QTest::keyClicks(dialog.Edit_control, QStringLiteral("x"));
            dialog.CancelBtn->click();
        });
        QVERIFY(!dialog.run(text, fromTop));
        QCOMPARE(text, QStringLiteral("hummer"));
    }

    void tooltipSizesToItsLinesAndLeavesWithTheMouse() {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(13);
        QPoint drawnAt;
        auto* tip = new TTooltipForm(
            QPoint(100, 100), font, 200, 3,
            [&](QPainter&, QPoint pen, const QString&) { drawnAt = pen; }, QStringLiteral("x"),
            QRect(90, 90, 50, 50));
        QPointer<TTooltipForm> alive(tip);
        const int lh = QFontMetrics(font).boundingRect(QStringLiteral("abcdefghj")).height() + 2;
        QCOMPARE(tip->line_height(), lh);
        QCOMPARE(tip->size(), QSize(200, 3 * lh + 2));
        tip->show();
        tip->grab();  // renders through its paint routine
        QCOMPARE(drawnAt, QPoint(5, 2 * lh + 2));
        QVERIFY(!tip->check_cursor(QPoint(100, 100)));
        QVERIFY(alive);
        QVERIFY(tip->check_cursor(QPoint(300, 300)));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);
    }
};

QTEST_MAIN(SmallWindowsTest)
#include "small_windows_widget_test.moc"
