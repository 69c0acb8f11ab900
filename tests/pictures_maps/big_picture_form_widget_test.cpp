// The big picture window and the thumbnails of the list, on the demo
// edition and its drawn pictures.
#include "app/globals.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "listview/windows/child_form.h"
#include "listview/list_actions.h"
#include "listview/list_bitmaps.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/show_strings_model.h"
#include "listview/top_forms.h"
#include "pictures_maps/windows/big_picture_form.h"
#include "pictures_maps/windows/picture_info_form.h"
#include "pictures_maps/small_pictures.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"

#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace line_kind;
using namespace big_picture;

namespace {
struct RecordedActions : TListActions {
    static inline int pictures = 0;
    static inline const Tspecies* species = nullptr;
    void open_big_picture(const Tspecies& s, const Tsubspecies*) override {
        ++pictures;
        species = &s;
    }
};
}  // namespace

class BigPictureTest : public QObject {
    Q_OBJECT

    testing_support::ProgramDirectory* dir_ = nullptr;
    testing_support::DialogScript* script_ = nullptr;
    QString previousBase_;
    TSmallPictureCache pictures_;

    static const Tspecies& species(int uid) { return *GLB_data().species_by_unique_id(uid); }
    TBigPictureForm* open(int uid) {
        TBigPictureForm* form = OpenBigPictureWindow(TPictureTaxon{&species(uid), nullptr}, nullptr, nullptr);
        if (form) {
            form->setAttribute(Qt::WA_DeleteOnClose, false);
            if (!QTest::qWaitForWindowExposed(form)) return form;
            form->repaint();
        }
        return form;
    }

  private slots:
    void initTestCase() {
        TListBitmaps::load();
    }
    void init() {
        dir_ = new testing_support::ProgramDirectory;
        script_ = new testing_support::DialogScript;
        testing_support::installDemoEdition(*dir_);
        previousBase_ = GLB().base_directory;
        GLB().base_directory = testing_support::sourceTree() + QStringLiteral("/editions/demo/base/");
    }
    void cleanup() {
        GLB().base_directory = previousBase_;
        testing_support::removeDemoEdition();
        delete script_;
        delete dir_;
    }

    void oneTaxonPictureShowsNoPreviousOrNext() {
        std::unique_ptr<TBigPictureForm> form(open(20020));
        QVERIFY(form);
        QVERIFY(form->isMaximized());
        QVERIFY(!form->control_allowed(Previous));
        QVERIFY(!form->control_allowed(Next));
        QVERIFY(form->control_allowed(Shrink) && form->control_allowed(Enlarge));
        QVERIFY(form->control_allowed(Credit));
        QVERIFY(form->windowTitle().contains(QStringLiteral("\u00A9 Ilse Ravenhorst")));
        QVERIFY(!form->drawn_rect().isEmpty());
    }

    void browsingKeepsEachPicturesZoomAndScroll() {
        std::unique_ptr<TBigPictureForm> form(open(23822));
        QVERIFY(form);
        QVERIFY(form->control_allowed(Next));
        QVERIFY(!form->control_allowed(Previous));
        const Tbig_picture* first = form->current();
        form->zoom_by(kEnlarge);
        form->zoom_by(kEnlarge);
        form->zoom_by(kEnlarge);
        const double zoomed = form->factor();
        form->scroll_to(QPoint(40, 30));
        const QPoint scrolled = form->scroll_position();
        QVERIFY(scrolled.x() > 0 || scrolled.y() > 0);

        QTest::keyClick(form.get(), Qt::Key_Right, Qt::ShiftModifier);
        QVERIFY(form->current() != first);
        QVERIFY(form->control_allowed(Previous));
        QVERIFY(form->factor() != zoomed);
        QTest::keyClick(form.get(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(form->current(), first);
        QCOMPARE(form->factor(), zoomed);
        QCOMPARE(form->scroll_position(), scrolled);
    }

    void zoomSnapsAndTheLabelFollows() {
        std::unique_ptr<TBigPictureForm> form(open(20020));
        QVERIFY(form);
        // Enlarging from the fitted factor always lands on exactly 1 on the way up.
        QVERIFY(form->factor() < 0.95);
        int presses = 0;
        while (form->factor() < 1.0 && ++presses < 20) QTest::keyClick(form.get(), Qt::Key_Plus);
        QCOMPARE(form->factor(), 1.0);
        QCOMPARE(form->factor_label()->text(), QStringLiteral("100%"));
        QTest::keyClicks(form.get(), QStringLiteral("+"));
        QCOMPARE(form->factor_label()->text(), QStringLiteral("133%"));
        QTest::keyClicks(form.get(), QStringLiteral("-"));
        QCOMPARE(form->factor(), 1.0);
    }

    void leavingMaximisedGivesTheNormalSize() {
        std::unique_ptr<TBigPictureForm> form(open(20020));
        QVERIFY(form);
        form->showNormal();
        QCoreApplication::processEvents();
        QVERIFY(!form->isMaximized());
        const QSize expected = normal_client_size(form->picture_size(),
                                                  fits(form->picture_size(), form->screen()->size()),
                                                  form->screen()->size());
        QCOMPARE(form->size(), expected);
        form->repaint();
        // The picture fills the client with its aspect: round(height / aspect) + 1,
        // drawn from one pixel left of its place.
        QCOMPARE(form->drawn_rect().width(), expected.width() + 2);
    }

    void informationWindowShowsTheLocalityAsALink() {
        std::unique_ptr<TBigPictureForm> form(open(20020));
        QVERIFY(form);
        QVERIFY(form->control_allowed(Information));
        QTest::keyClick(form.get(), Qt::Key_I, Qt::ControlModifier);
        TPictureInfoForm* info = form->information_window();
        QVERIFY(info->isVisible());
        QVERIFY(info->text().contains(QChar(13)));
        QVERIFY(info->text().contains(QStringLiteral("Adult on the forest floor.")));
        QVERIFY(info->geometry().right() <= form->width() - 5);
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QVERIFY(!info->isVisible());
        QVERIFY(form->isVisible());
    }

    void aMissingFileAsksForTheBaseDirectoryAndGivesNoWindowOnCancel() {
        QTemporaryDir empty;
        GLB().base_directory = empty.path() + u'/';
        script_->dialogs().directoryAnswers.push_back(std::nullopt);
        QVERIFY(open(20020) == nullptr);
        QCOMPARE(script_->directoryCaptions().size(), size_t{1});
    }

    void thumbnailsShowInTheListAndOpenTheBigPicture() {
        RecordedActions actions;
        TListWindowServices services;
        services.list_actions = &actions;
        services.small_pictures = &pictures_;
        TChildForm* main = GLB_open_main_list_window(services);
        main->resize(900, 700);
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        TShowStrings& list = main->list_form()->strings();
        const TViewBand view{0, main->list_form()->viewport()->height()};
        const auto repaint = [main] { main->list_form()->viewport()->repaint(); };
        const auto clickBitmap = [&](TRecordShowStringData* line) {
            const TListBitmap& bitmap = TListBitmaps::at(list.bitmap_index(*line));
            list.click(QPoint(line->drawn_x + bitmap.offset.x() + bitmap.size.width() / 2,
                              list.reference_y_of(*line) + bitmap.offset.y() + bitmap.size.height() / 2),
                       view);
            repaint();
        };
        repaint();
        // The first family with a species that shows a small picture, unfolded.
        TRecordShowStringData* family = nullptr;
        const auto showsThumbnails = [](const Tfamily* f) {
            for (const Tspecies* s = f ? f->first_species : nullptr; s; s = s->next(1))
                if (s->flag_s) return true;
            return false;
        };
        for (auto* l = list.model().first_line(); l && !family; l = l->next)
            if (l->kind == kFamilyToggle && showsThumbnails(l->family)) family = l;
        QVERIFY(family);
        clickBitmap(family);
        TRecordShowStringData* toggle = nullptr;
        for (auto* l = family->next; l && !toggle; l = l->next)
            if (l->kind == kSpeciesToggle && l->species && l->species->flag_s) toggle = l;
        QVERIFY(toggle);
        clickBitmap(toggle);
        TRecordShowStringData* thumbnail = nullptr;
        for (auto* l = toggle->next; l && !thumbnail; l = l->next)
            if (l->kind == kThumbnail) thumbnail = l;
        QVERIFY(thumbnail);
        QVERIFY(list.picture_drawn());
        QVERIFY(TSmallPictureCache::picture(*thumbnail->species));

        const QPoint inside(thumbnail->drawn_x + 10, list.reference_y_of(*thumbnail) + 10);
        RecordedActions::pictures = 0;
        list.click(inside, view);
        QCOMPARE(RecordedActions::pictures, 1);
        QCOMPARE(RecordedActions::species, thumbnail->species);
        // Just right of its edge is no longer the picture.
        const QSize size = TSmallPictureCache::picture(*thumbnail->species)->size();
        list.click(QPoint(thumbnail->drawn_x + size.width() + 1, list.reference_y_of(*thumbnail) + 10), view);
        QCOMPARE(RecordedActions::pictures, 1);
        delete main;
    }
};

QTEST_MAIN(BigPictureTest)
#include "big_picture_form_widget_test.moc"
