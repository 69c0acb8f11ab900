// The list windows on the demo edition, driven by mouse and keyboard.
#include "app/editions.h"
#include "app/globals.h"
#include "app/settings.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "formats/textfile.h"
#include "listview/windows/child_form.h"
#include "listview/windows/find_dialog.h"
#include "listview/list_actions.h"
#include "listview/list_bitmaps.h"
#include "listview/windows/list_find.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/top_forms.h"
#include "platform/dialog_service.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"

#include <QScrollBar>
#include <QShortcut>
#include <QtTest>

using namespace line_kind;
using testing_support::DialogScript;

namespace {

// Collects the areas the viewport is asked to paint.
struct PaintSpy : QObject {
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

// Records what the list asked to open.
struct RecordedActions : TListActions {
    static inline int pictures = 0;
    static inline int maps = 0;
    void open_big_picture(const Tspecies&, const Tsubspecies*) override { ++pictures; }
    void open_distribution_map(const Tspecies&, const Tlocality*) override { ++maps; }
};

int countKind(const TShowStrings& list, int kind) {
    int n = 0;
    for (auto* l = list.model().first_line(); l; l = l->next) n += l->kind == kind;
    return n;
}

TRecordShowStringData* nthLine(const TShowStrings& list, int kind, int n) {
    for (auto* l = list.model().first_line(); l; l = l->next)
        if (l->kind == kind && --n == 0) return l;
    return nullptr;
}

}  // namespace

class ListWindowTest : public QObject {
    Q_OBJECT

    testing_support::ProgramDirectory* dir_ = nullptr;
    DialogScript* script_ = nullptr;
    TChildForm* main_ = nullptr;
    RecordedActions actions_;
    TListWindowServices services_;

    TShowForm& form() { return *main_->list_form(); }
    TShowStrings& list() { return form().strings(); }

    // The centre of a line's bitmap in the view, after the line was painted.
    QPoint bitmapCentre(TRecordShowStringData* line, int dx = 0) {
        const TListBitmap& bitmap = TListBitmaps::at(list().bitmap_index(*line));
        const QPoint topLeft(line->drawn_x + bitmap.offset.x(),
                             list().reference_y_of(*line) + bitmap.offset.y());
        const QPoint scroll(form().horizontalScrollBar()->value(),
                            form().verticalScrollBar()->value());
        return topLeft + QPoint(bitmap.size.width() / 2 + dx, bitmap.size.height() / 2) - scroll;
    }
    void repaint() {
        form().viewport()->repaint();
        QCoreApplication::processEvents();
    }
    void click(QPoint viewPoint) {
        QTest::mouseClick(form().viewport(), Qt::LeftButton, {}, viewPoint);
        repaint();
    }
    QString selectedText() {
        auto* sel = list().selected();
        return sel ? sel->text : QString();
    }

  private slots:
    void initTestCase() {
        TListBitmaps::load();
        services_.list_actions = &actions_;
    }
    void init() {
        dir_ = new testing_support::ProgramDirectory;
        script_ = new DialogScript;
        testing_support::installDemoEdition(*dir_);
        main_ = GLB_open_main_list_window(services_);
        main_->resize(900, 700);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_));
        repaint();
    }
    void cleanup() {
        for (int i = Ttop_forms::instance().count() - 1; i >= 1; --i)
            delete dynamic_cast<QWidget*>(Ttop_forms::instance().at(i));
        delete main_;
        main_ = nullptr;
        testing_support::removeDemoEdition();
        delete script_;
        delete dir_;
    }

    void startsFoldedWithTheFirstFamilySelected() {
        QCOMPARE(countKind(list(), kFamilyToggle),
                 GLB_data().visible_family_count(1, list().model().settings().visible_set));
        QCOMPARE(countKind(list(), kSpeciesToggle), 0);
        QCOMPARE(list().selected()->kind, kFamilyOtherLanguage);
        QVERIFY(main_->caption_panel_text().contains(selectedText()));
    }

    void clickingTogglesUnfoldsAndFoldsAFamily() {
        TRecordShowStringData* toggle = nthLine(list(), kFamilyToggle, 2);
        QVERIFY(toggle && !toggle->open);
        click(bitmapCentre(toggle));
        QVERIFY(toggle->open);
        QVERIFY(countKind(list(), kSpeciesToggle) > 0);
        // The clicked family became current and its name is selected.
        QCOMPARE(list().model().current_family()->value, 2);
        QCOMPARE(list().selected(), TShowStrings::first_name_line(list().model().current_family()));
        const int range = form().verticalScrollBar()->maximum();
        click(bitmapCentre(toggle));
        QVERIFY(!toggle->open);
        QCOMPARE(countKind(list(), kSpeciesToggle), 0);
        QVERIFY(form().verticalScrollBar()->maximum() < range ||
                form().verticalScrollBar()->maximum() == 0);
    }

    void mediaMarkerHalvesOpenPicturesOrUnfoldTheSpecies() {
        click(bitmapCentre(nthLine(list(), kFamilyToggle, 1)));
        // A species with pictures and recordings: the marker has two halves.
        TRecordShowStringData* marker = nullptr;
        for (auto* l = list().model().first_line(); l; l = l->next)
            if (l->kind == kMediaMarker && l->media[0] && l->media[2]) {
                marker = l;
                break;
            }
        QVERIFY(marker);
        TRecordShowStringData* speciesToggle = marker;
        while (speciesToggle->kind != kSpeciesToggle) speciesToggle = speciesToggle->previous;
        const int before = RecordedActions::pictures;
        const int half = TListBitmaps::at(8).size.width() / 2;
        click(bitmapCentre(marker, -half + 2));  // left half: pictures
        QCOMPARE(RecordedActions::pictures, before + 1);
        QVERIFY(!speciesToggle->open);
        click(bitmapCentre(marker, half - 2));  // right half: the species unfolds
        QVERIFY(speciesToggle->open);
        QVERIFY(countKind(list(), kRecordingLetter) > 0);
        QCOMPARE(RecordedActions::pictures, before + 1);
    }

    void keyboardMovesTheSelectionAndTogglesRows() {
        form().setFocus();
        const QString first = selectedText();
        QTest::keyClick(&form(), Qt::Key_Down);
        QVERIFY(selectedText() != first);
        QCOMPARE(list().model().current_family()->value, 2);
        QTest::keyClick(&form(), Qt::Key_Tab);
        QCOMPARE(list().model().current_family()->value, 3);
        QTest::keyClick(&form(), Qt::Key_Up);
        QCOMPARE(list().model().current_family()->value, 2);

        // Numpad + opens a closed row; a second + does nothing; - closes it.
        TRecordShowStringData* toggle = nthLine(list(), kFamilyToggle, 2);
        QTest::keyClick(&form(), Qt::Key_Plus, Qt::KeypadModifier);
        QVERIFY(toggle->open);
        const int lines = list().model().line_count();
        QTest::keyClick(&form(), Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(list().model().line_count(), lines);
        QTest::keyClick(&form(), Qt::Key_Minus, Qt::KeypadModifier);
        QVERIFY(!toggle->open);
        QTest::keyClick(&form(), Qt::Key_Minus, Qt::KeypadModifier);
        QVERIFY(!toggle->open);
        QTest::keyClick(&form(), Qt::Key_Space);
        QVERIFY(toggle->open);

        // Moving into the unfolded family reaches its first species.
        QTest::keyClick(&form(), Qt::Key_Down);
        QVERIFY(list().model().current_species() != nullptr);
        QCOMPARE(list().model().current_species()->value, 1);
    }

    void foldingByKeyAfterHoveringInsideTheBlockPaintsSafely() {
        click(bitmapCentre(nthLine(list(), kFamilyToggle, 1)));
        const TRecordShowStringData* lastSpecies =
            nthLine(list(), kSpeciesNumber, countKind(list(), kSpeciesNumber));
        // Hovering deep in the block moves the painter's starting line there.
        QTest::mouseMove(form().viewport(), QPoint(300, list().reference_y_of(*lastSpecies) + 140));
        QCOMPARE(list().model().current_family()->value, 1);
        form().setFocus();
        QTest::keyClick(&form(), Qt::Key_Space);  // folds the family under the hovered lines
        QCOMPARE(countKind(list(), kSpeciesToggle), 0);
        repaint();
        QVERIFY(!form().viewport()->grab().isNull());
    }

    void selectionScrollsIntoViewAndCtrlHomeEndJump() {
        for (int i = 1; i <= countKind(list(), kFamilyToggle); ++i)
            list().model().toggle(nthLine(list(), kFamilyToggle, i), {0, 0});
        form().list_changed();
        repaint();
        form().setFocus();
        QTest::keyClick(&form(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(form().verticalScrollBar()->value(), form().verticalScrollBar()->maximum());
        QVERIFY(form().verticalScrollBar()->maximum() > 1000);
        // At the end there is nowhere to go.
        const auto* last = list().selected();
        QTest::keyClick(&form(), Qt::Key_Down);
        QCOMPARE(list().selected(), last);
        QTest::keyClick(&form(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(form().verticalScrollBar()->value(), 0);
        QCOMPARE(list().model().current_family()->value, 1);
        // Walking down past the view scrolls so the selection stays in sight.
        for (int i = 0; i < 60; ++i) QTest::keyClick(&form(), Qt::Key_Down);
        const int top = list().top_of(*list().selected());
        QVERIFY(form().verticalScrollBar()->value() > 0);
        QVERIFY(top >= form().verticalScrollBar()->value());
        QVERIFY(top <= form().verticalScrollBar()->value() + form().viewport()->height());
    }

    void wheelScrollsThreeLinesAndNotAShortList() {
        QWheelEvent down(QPointF(50, 50), form().mapToGlobal(QPointF(50, 50)), {}, QPoint(0, -120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        if (form().verticalScrollBar()->maximum() > 0) {
            QApplication::sendEvent(form().viewport(), &down);
            QCOMPARE(form().verticalScrollBar()->value(), 45);
        }
        main_->fold_all();
        main_->resize(900, 3000);  // taller than the folded list
        QCoreApplication::processEvents();
        QCOMPARE(form().verticalScrollBar()->maximum(), 0);
        QApplication::sendEvent(form().viewport(), &down);
        QCOMPARE(form().verticalScrollBar()->value(), 0);
    }

    void aWheelNotchRepaintsOnlyTheStripThatMoved() {
        for (int i = 1; i <= countKind(list(), kFamilyToggle); ++i)
            list().model().toggle(nthLine(list(), kFamilyToggle, i), {0, 0});
        form().list_changed();
        repaint();
        PaintSpy spy;
        form().viewport()->installEventFilter(&spy);
        QWheelEvent down(QPointF(50, 50), form().mapToGlobal(QPointF(50, 50)), {}, QPoint(0, -120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(form().viewport(), &down);
        QCoreApplication::processEvents();
        form().viewport()->removeEventFilter(&spy);
        QCOMPARE(form().verticalScrollBar()->value(), 45);
        const QRect painted = spy.painted.boundingRect();
        QCOMPARE(painted.height(), 45);
        QCOMPARE(painted.bottom(), form().viewport()->height() - 1);
    }

    void foldAllClosesEverythingAndGoesToTheTop() {
        click(bitmapCentre(nthLine(list(), kFamilyToggle, 3)));
        form().scroll_to(100);
        main_->menu_action(3)->trigger();
        QCOMPARE(countKind(list(), kSpeciesToggle), 0);
        QCOMPARE(form().verticalScrollBar()->value(), 0);
        QCOMPARE(list().selected(),
                 TShowStrings::first_name_line(nthLine(list(), kFamilyMarker, 1)));
    }

    void newWindowCopiesTheListAndCaptionsNumberTheWindows() {
        click(bitmapCentre(nthLine(list(), kFamilyToggle, 4)));
        TChildForm* second = main_->new_window();
        TChildForm* third = main_->new_window();
        QCOMPARE(second->list_form()->strings().model().line_count(), list().model().line_count());
        QVERIFY(nthLine(second->list_form()->strings(), kFamilyToggle, 4)->open);
        const QString title = GLB_edition().title;
        QCOMPARE(main_->windowTitle(), title);
        QCOMPARE(second->windowTitle(), title + " : 1");
        QCOMPARE(third->windowTitle(), title + " : 2");
        // Closing the second with No closes only it; the third becomes " : 1".
        script_->dialogs().messageAnswers = {platform::answer::No};
        second->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(Ttop_forms::instance().count(), 2);
        QCOMPARE(third->windowTitle(), title + " : 1");
        QCOMPARE(script_->messages().back().style, 291);
        // Cancel keeps it open.
        script_->dialogs().messageAnswers = {platform::answer::Cancel};
        third->close();
        QCOMPARE(Ttop_forms::instance().count(), 2);
    }

    void ctrlTabCyclesThroughTheWindows() {
        TChildForm* second = main_->new_window();
        Ttop_forms& forms = Ttop_forms::instance();
        QCOMPARE(forms.next(second), static_cast<TRegisteredListWindow*>(main_));
        QCOMPARE(forms.previous(main_), static_cast<TRegisteredListWindow*>(second));
        QCOMPARE(forms.next(main_), static_cast<TRegisteredListWindow*>(second));
        bool hasCtrlTab = false;
        for (auto* s : main_->findChildren<QShortcut*>())
            hasCtrlTab = hasCtrlTab || s->key() == QKeySequence(Qt::CTRL | Qt::Key_Tab);
        QVERIFY(hasCtrlTab);
    }

    void stateIsWrittenAtCloseAndRestoredAtTheNextStart() {
        click(bitmapCentre(nthLine(list(), kFamilyToggle, 3)));
        TChildForm* second = main_->new_window();
        click(bitmapCentre(nthLine(list(), kFamilyToggle, 5)));
        QVERIFY(second);
        main_->close();
        QCOMPARE(GLB_read_int("GENERAL", "Windows", 0), 2);
        const QString visible = GLB_read_string("WINDOW 1", "Visible", {});
        QVERIFY2(visible.split(',').mid(5).contains("3"), qPrintable(visible));
        QVERIFY(visible.split(',').mid(5).contains("5"));
        QVERIFY(!GLB_read_string("WINDOW 1", "Coord", {}).isEmpty());
        QVERIFY(!GLB_read_string("WINDOW 2", "Visible", {}).isEmpty());
        delete main_;  // also frees the secondary window it closed
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(Ttop_forms::instance().count(), 0);

        main_ = GLB_open_main_list_window(services_);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_));
        QCOMPARE(Ttop_forms::instance().count(), 2);
        QVERIFY(nthLine(list(), kFamilyToggle, 3)->open);
        QVERIFY(nthLine(list(), kFamilyToggle, 5)->open);
        QVERIFY(!nthLine(list(), kFamilyToggle, 4)->open);
    }

    void unreadableStateTakesTheDefaults() {
        delete main_;
        GLB_write_string("GENERAL", "Windows", "lots");
        GLB_write_string("WINDOW 1", "Coord", "1,2,x");
        GLB_write_string("WINDOW 1", "Visible", "999,999,abc,1,0,500,600");
        GLB_write_string("WINDOW 1", "Systematic Order", "9");
        GLB_write_string("WINDOW 1", "Main", "Latin");
        main_ = GLB_open_main_list_window(services_);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_));
        QCOMPARE(Ttop_forms::instance().count(), 1);
        QCOMPARE(countKind(list(), kSpeciesToggle), 0);
        QCOMPARE(list().model().settings().systematic_order, 1);
        QCOMPARE(list().model().settings().main_name, 2);
    }

    void familiesThatDoNotExistOpenNothing() {
        delete main_;
        GLB_write_string("WINDOW 1", "Visible", "1,1,0,1,0,500,600,2");
        main_ = GLB_open_main_list_window(services_);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_));
        QCOMPARE(countKind(list(), kSpeciesToggle),
                 GLB_data().visible_species_count(*nthLine(list(), kFamilyMarker, 2)->family,
                                                  list().model().settings().visible_set));
        QVERIFY(nthLine(list(), kFamilyToggle, 2)->open);
    }

    void closingASecondaryWindowWithYesEndsTheProgram() {
        TChildForm* second = main_->new_window();
        main_->new_window();
        script_->dialogs().messageAnswers = {platform::answer::Yes};
        second->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!main_->isVisible());
        QCOMPARE(GLB_read_int("GENERAL", "Windows", 0), 3);
        QCOMPARE(script_->messages().size(), size_t{1});  // the others closed without asking
    }

    void aFirstStartShowsTheAudioCdsTheDiscCarriesAndAStoredChoiceStays() {
        const auto& carriers = list().model().settings().visible_set.carriers;
        const TaudioCD* carried = GLB_data().audio_cd_by_sequence(1);
        const TaudioCD* notCarried = GLB_data().audio_cd_by_sequence(2);
        QVERIFY(carried->carried_on_disc && !notCarried->carried_on_disc);
        QVERIFY(carriers.visible_audio_cds.test(1));
        QVERIFY(!carriers.visible_audio_cds.test(2));

        delete main_;  // a later start after the user hid every audio CD
        GLB_write_string("WINDOW 1", "Visible Audio CDs", QString());
        main_ = GLB_open_main_list_window(services_);
        QVERIFY(list().model().settings().visible_set.carriers.visible_audio_cds.none());
    }

    void findAndFindAgainStepThroughFamiliesBeforeTheirSpecies() {
        // From the top the first family's own names are not tested: its
        // species come first.
        main_->find_text = QStringLiteral("tinam");
        main_->find(true);
        QCOMPARE(list().model().current_family()->value, 1);
        QCOMPARE(list().model().current_species()->value, 1);
        QVERIFY(nthLine(list(), kFamilyToggle, 1)->open);
        QCOMPARE(selectedText(), QStringLiteral("Gray Tinamou"));
        main_->find_again();
        QCOMPARE(list().model().current_species()->value, 2);
        QCOMPARE(selectedText(), QStringLiteral("Undulated Tinamou"));

        // A family is found before its species, then Find Again goes on
        // into the family.
        main_->find_text = QStringLiteral("hummingbird");
        main_->find(true);
        QCOMPARE(list().model().current_species(), nullptr);
        QCOMPARE(selectedText(), QStringLiteral("Hummingbirds"));
        QVERIFY(!list().model().current_family()->previous->open);
        main_->find_again();
        QVERIFY(list().model().current_species() != nullptr);
        QCOMPARE(selectedText(), QStringLiteral("Giant Hummingbird"));
        QVERIFY(list().model().current_family()->previous->open);
        const int top = list().top_of(*list().selected());
        QVERIFY(top >= form().verticalScrollBar()->value());
        QVERIFY(top < form().verticalScrollBar()->value() + form().viewport()->height());

        // After the last match: not found, and the selection stays.
        const auto messages = script_->messages().size();
        main_->find_again();
        QCOMPARE(selectedText(), QStringLiteral("Giant Hummingbird"));
        QCOMPARE(script_->messages().size(), messages + 1);
    }

    void scientificOnlySearchIgnoresOtherLanguageNames() {
        TViewBand view{0, 600};
        QVERIFY(
            !GLB_find_in_list(list(), QStringLiteral("Giant Hummingbird"), true, true, view).found);
        const TListFindResult result =
            GLB_find_in_list(list(), QStringLiteral("patagona gigas"), true, true, view);
        QVERIFY(result.found);
        QCOMPARE(list().selected()->kind, kSpeciesScientific);
    }

    void aSpeciesFoundByItsOtherNameSelectsTheOtherNamesLine() {
        main_->find_text = QStringLiteral("perdiz ondulada");
        main_->find(true);
        QCOMPARE(list().selected()->kind, kOtherNames);
        QCOMPARE(list().model().current_species()->value, 2);
        QVERIFY(main_->caption_panel_text().contains(QStringLiteral("Undulated Tinamou")));
    }

    void aClickOnTheNextSpeciesSelectsItAndNotThePreviousRecording() {
        click(bitmapCentre(nthLine(list(), kFamilyToggle, 1)));
        TRecordShowStringData* firstSpecies = nthLine(list(), kSpeciesToggle, 1);
        click(bitmapCentre(firstSpecies));
        QVERIFY(firstSpecies->open);
        QVERIFY(countKind(list(), kRecordingLetter) > 0);
        TRecordShowStringData* name =
            TShowStrings::first_name_line(nthLine(list(), kSpeciesNumber, 2));
        QCOMPARE(name->text, QStringLiteral("Undulated Tinamou"));
        const int y = list().reference_y_of(*name) + 2 - form().verticalScrollBar()->value();
        QVERIFY(y > 0 && y < form().viewport()->height());
        click(QPoint(name->drawn_x + 4 - form().horizontalScrollBar()->value(), y));
        QCOMPARE(list().model().current_species()->value, 2);
        QCOMPARE(list().selected(), name);
    }

    void startingAndClosingLeavesTheFoldStateAsItWas() {
        delete main_;
        main_ = nullptr;
        GLB_write_string("GENERAL", "Windows", "1");
        GLB_write_string("WINDOW 1", "Coord", "0,0,900,700");
        GLB_write_string("WINDOW 1", "Maximized", "No");
        GLB_write_string("WINDOW 1", "Visible", "1,6,0,6,0");
        for (int run = 1; run <= 3; ++run) {
            main_ = GLB_open_main_list_window(services_);
            main_->show();
            QVERIFY(QTest::qWaitForWindowExposed(main_));
            repaint();
            QCOMPARE(form().verticalScrollBar()->value(),
                     list().model().find_row(6, 0).height_above);
            main_->close();
            delete main_;
            main_ = nullptr;
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(GLB_read_string("WINDOW 1", "Visible", {}), QStringLiteral("1,6,0,6,0"));
        }
    }

    void findLooksOnlyAtTheNamesTheListShows() {
        SHST_TClassShowStringsData settings = list().model().settings();
        settings.show_other_language = false;
        list().change_name_settings(settings);
        main_->find_text = QStringLiteral("Gray Tinamou");
        main_->find(true);
        QCOMPARE(script_->lastMessage(),
                 QStringLiteral("The text \"Gray Tinamou\" was not found."));
        main_->find_text = QStringLiteral("Crypturellus");
        main_->find(true);
        QCOMPARE(list().selected()->kind, kSpeciesScientific);
    }

    void aNameThatIsNotThereIsReported() {
        const auto* before = list().selected();
        main_->find_text = QStringLiteral("zzzqqq");
        main_->find(true);
        QCOMPARE(list().selected(), before);
        QCOMPARE(script_->lastMessage(), QStringLiteral("The text \"zzzqqq\" was not found."));
        QCOMPARE(script_->messages().back().style, 48);
    }
};

QTEST_MAIN(ListWindowTest)
#include "list_window_widget_test.moc"
