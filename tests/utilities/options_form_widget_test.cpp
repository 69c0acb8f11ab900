#include "app/editions.h"
#include "app/globals.h"
#include "app/messages.h"
#include "app/settings.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "formats/textfile.h"
#include "listview/windows/child_form.h"
#include "listview/list_fonts.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/show_strings_model.h"
#include "data/areas.h"
#include "pictures_maps/windows/select_area_frame.h"
#include "sound/sound_editor.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"
#include "utilities/windows/audio_cds_settings_frame.h"
#include "utilities/windows/list_settings_frame.h"
#include "utilities/windows/name_settings_frame.h"
#include "utilities/windows/options_form.h"
#include "utilities/windows/program_settings_frame.h"
#include "utilities/windows/select_area_for_options_frame.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

namespace {

const SHST_TClassShowStringsData& listSettings(const TChildForm& window) {
    return window.list_form()->strings().model().settings();
}

int rowOfCd(const TFrameSelectAudioCDs& frame, bool carried) {
    const auto& cds = GLB_data().audio_cds();
    for (int row = 0; row < frame.row_count(); ++row)
        if (cds[static_cast<size_t>(row)]->carried_on_disc == carried) return row;
    return -1;
}

}  // namespace

class OptionsFormTest : public QObject {
    Q_OBJECT
    testing_support::ProgramDirectory* dir_ = nullptr;
    testing_support::DialogScript* script_ = nullptr;
    TChildForm* window_ = nullptr;

    void openWindow(const TListWindowServices& services = {}) {
        window_ = new TChildForm(services, false);
        window_->open_list_window({.restore = true});
    }

  private slots:
    void init() {
        dir_ = new testing_support::ProgramDirectory;
        script_ = new testing_support::DialogScript;
        testing_support::installDemoEdition(*dir_);
    }
    void cleanup() {
        delete window_;
        window_ = nullptr;
        testing_support::removeDemoEdition();
        delete script_;
        delete dir_;
    }

    void threePagesCaptionedFromTheirSectionsOnASmallScreen() {
        openWindow();
        TOptionsForm dialog(*window_, 1);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Options"));
        QCOMPARE(dialog.PageControl->count(), 3);
        QCOMPARE(dialog.PageControl->tabText(0), GLB_text("SETTINGS FRAME", 1));
        QCOMPARE(dialog.PageControl->tabText(1), GLB_text("SELECT AREA FRAME", 1));
        QCOMPARE(dialog.PageControl->tabText(2), GLB_text("AUDIO CDS FRAME", 1));
        QCOMPARE(dialog.settings_frame->names->OtherLanguageCheckbox->text(),
                 GLB_text("NAMES FRAME", 2));
        QCOMPARE(dialog.OKBtn->text(), QStringLiteral("OK"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QSize size = dialog.frameGeometry().size();
        QVERIFY2(size.width() <= 1024 && size.height() <= 768,
                 qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        // The map's note stands to its right, inside the page.
        const TFrameSelectAreaForOptions* area = dialog.area_frame;
        QVERIFY(area->area_frame() != nullptr);
        QVERIFY(area->explanation() != nullptr);
        QCOMPARE(area->area_frame()->x(), 50);
        QCOMPARE(area->explanation()->x(), 50 + area->area_frame()->width() + 25);
    }

    void namesPreviewAtOnceAndCancelPutsThemBack() {
        openWindow();
        const SHST_TClassShowStringsData before = listSettings(*window_);
        QVERIFY(before.show_other_language && before.show_scientific);
        {
            TOptionsForm dialog(*window_, 1);
            TFrameNameSettings& names = *dialog.settings_frame->names;
            names.OtherLanguageCheckbox->click();
            QVERIFY2(!listSettings(*window_).show_other_language, "the list previews");
            QVERIFY(names.ScientificCheckbox->isChecked());
            QVERIFY(names.main_scientific->isChecked());
            QCOMPARE(names.packed_value(), 0x010001u);
            // The second uncheck re-checks the other box.
            names.ScientificCheckbox->click();
            QVERIFY(names.OtherLanguageCheckbox->isChecked());
            QVERIFY(!names.ScientificCheckbox->isChecked());
            QVERIFY(names.main_other_language->isChecked());
            QCOMPARE(names.packed_value(), 0x020100u);
            QVERIFY(!listSettings(*window_).show_scientific);
            dialog.reject();
        }
        QCOMPARE(listSettings(*window_).show_scientific, before.show_scientific);
        QCOMPARE(listSettings(*window_).show_other_language, before.show_other_language);
        QCOMPARE(listSettings(*window_).main_name, before.main_name);
    }

    void cancelPutsTheEditorPathBackAndLeavesTheRest() {
        openWindow();
        GLB_store_sound_editor_program(QStringLiteral("/opt/old-editor"));
        const int order = listSettings(*window_).systematic_order;
        script_->dialogs().fileAnswers.push_back(QStringLiteral("/bin/sh"));
        {
            TOptionsForm dialog(*window_, 1);
            TFrameSelectSoundEditorProgram& editor = *dialog.settings_frame->sound_editor;
            editor.Button_select_file->click();
            QCOMPARE(GLB_sound_editor().program, QStringLiteral("/bin/sh"));
            QCOMPARE(editor.Edit_program->text(), QStringLiteral("/bin/sh"));
            dialog.settings_frame->systematic_order->set_item_index(1);
            dialog.settings_frame->text_size->Edit_text_size->setValue(30);
            dialog.reject();
        }
        QCOMPARE(GLB_sound_editor().program, QStringLiteral("/opt/old-editor"));
        QCOMPARE(GLB_read_string("GENERAL", "Sound Editing Program", QString()),
                 QStringLiteral("/opt/old-editor"));
        QCOMPARE(int(listSettings(*window_).systematic_order), order);
        QCOMPARE(GLB_list_fonts().base_height(), GLB_read_text_size());
    }

    void okRebuildsTheListInTheChosenOrderAndTextSize() {
        openWindow();
        const int oldSize = GLB_list_fonts().base_height();
        const Tfamily* oldFirst = listSettings(*window_).data().first_family(1);
        {
            TOptionsForm dialog(*window_, 1);
            QVERIFY(!dialog.settings_frame->systematic_order->isHidden());
            QVERIFY(dialog.area_frame->valid());
            QVERIFY(dialog.audio_cds_frame->valid());
            dialog.settings_frame->systematic_order->set_item_index(1);
            dialog.settings_frame->text_size->Edit_text_size->setValue(oldSize + 3);
            dialog.settings_frame->threatened->CheckBox_show_threatened->click();
            dialog.accept();
            QVERIFY2(script_->messages().empty(), qPrintable(script_->lastMessage()));
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QVERIFY(dialog.context().flags.rebuild);
            QVERIFY(dialog.context().text_size_changed);
        }
        const SHST_TClassShowStringsData& now = listSettings(*window_);
        QVERIFY(now.systematic_order != 1);
        QVERIFY(!now.show_threatened);
        QCOMPARE(GLB_list_fonts().base_height(), oldSize + 3);
        QVERIFY(oldFirst != nullptr);
        GLB_list_fonts().set_base_height(oldSize);
    }

    void rebuildingInTheSameOrderKeepsTheOpenFamilies() {
        openWindow();
        TFoldSnapshot open = TFoldSnapshot::initial();
        open.open_family_count = 1;
        open.open_families[0] = 2;
        window_->list_form()->set_up(listSettings(*window_), open);
        window_->resize(800, 600);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
        QCOMPARE(window_->list_form()->take_snapshot().open_family_count, 1);
        {
            TOptionsForm dialog(*window_, 1);
            dialog.settings_frame->department_country->CheckBox_department->click();
            dialog.accept();
            QVERIFY(dialog.context().flags.rebuild);
        }
        QVERIFY(!listSettings(*window_).show_department);
        TFoldSnapshot after = window_->list_form()->take_snapshot();
        QCOMPARE(after.open_family_count, 1);
        QCOMPARE(after.open_families[0], 2);
        {
            // Another order starts folded.
            TOptionsForm dialog(*window_, 1);
            dialog.settings_frame->systematic_order->set_item_index(1);
            dialog.accept();
        }
        QCOMPARE(window_->list_form()->take_snapshot().open_family_count, 0);
    }

    void theOptionsCommandIsOnWhenTheWindowHasOne() {
        openWindow();
        QVERIFY(!window_->menu_action(16)->isEnabled());
        delete window_;
        TChildForm* asked = nullptr;
        TListWindowServices services;
        services.options = [&asked](TChildForm& window) {
            asked = &window;
            return true;
        };
        openWindow(services);
        QVERIFY(window_->menu_action(16)->isEnabled());
        window_->menu_action(16)->trigger();
        QCOMPARE(asked, window_);
    }

    void aSingleOrderHidesItsFrameAndKeepsTheWindowsOrder() {
        openWindow();
        TOptionsContext context(listSettings(*window_));
        TFrameSelectSystematicOrder frame(TSystematicOrderChoice{{1}});
        QVERIFY(frame.isHidden());
        frame.fill(context);
        frame.store(context);
        QCOMPARE(int(context.settings.systematic_order), 1);
        QVERIFY(!context.flags.changed && !context.flags.rebuild);
    }

    void otherEditionsHideTheAreaPage() {
        const TEditionOverride edition(GLB_edition_for_product(1031));
        openWindow();
        TOptionsForm dialog(*window_, 1);
        QCOMPARE(dialog.TabSheet_select_area, nullptr);
        QCOMPARE(dialog.PageControl->count(), 2);
        QCOMPARE(dialog.PageControl->tabText(1), GLB_text("AUDIO CDS FRAME", 1));
        QVERIFY(dialog.settings_frame->sounds_photos->isHidden());
        QVERIFY(dialog.settings_frame->department_country->CheckBox_country->isHidden());
    }

    void audioCdRowsChangeTheCarriersWithRebuildOrRefresh() {
        openWindow();
        int driveRow = -1;
        TAudioCdChoice before{};
        {
            TOptionsForm dialog(*window_, 1);
            TFrameSelectAudioCDs& cds = *dialog.audio_cds_frame->my_audio_cds;
            QCOMPARE(cds.row_count(), GLB_data().audio_cd_count());
            driveRow = rowOfCd(cds, false);
            QVERIFY(driveRow >= 0);
            before = cds.row_choice(driveRow);
            QCOMPARE(before, GLB_audio_cd_choice(listSettings(*window_).visible_set.carriers,
                                                 *GLB_data().audio_cds()[size_t(driveRow)]));
            cds.set_row_choice(driveRow, before == TAudioCdChoice::Hidden
                                             ? TAudioCdChoice::PlayableFromDrive
                                             : TAudioCdChoice::Hidden);
            dialog.accept();
            QVERIFY(dialog.context().flags.rebuild);
        }
        const TaudioCD& cd = *GLB_data().audio_cds()[size_t(driveRow)];
        const TAudioCdChoice after = GLB_audio_cd_choice(listSettings(*window_).visible_set.carriers, cd);
        QVERIFY(after != before);
        {
            // Shown either way now: from the drive to not playable refreshes only.
            TOptionsForm dialog(*window_, 1);
            TFrameSelectAudioCDs& cds = *dialog.audio_cds_frame->my_audio_cds;
            cds.set_row_choice(driveRow, TAudioCdChoice::PlayableFromDrive);
            dialog.accept();
        }
        {
            TOptionsForm dialog(*window_, 1);
            TFrameSelectAudioCDs& cds = *dialog.audio_cds_frame->my_audio_cds;
            QCOMPARE(cds.row_choice(driveRow), TAudioCdChoice::PlayableFromDrive);
            cds.set_row_choice(driveRow, TAudioCdChoice::ShownNotPlayable);
            dialog.accept();
            QVERIFY(dialog.context().flags.refresh);
            QVERIFY(!dialog.context().flags.rebuild);
        }
        QCOMPARE(GLB_audio_cd_choice(listSettings(*window_).visible_set.carriers, cd),
                 TAudioCdChoice::ShownNotPlayable);
    }

    void aHardDiskCopyWithoutFolderKeepsTheDialogOpen() {
        openWindow();
        TOptionsForm dialog(*window_, 1);
        TFrameSelectAudioCDs& cds = *dialog.audio_cds_frame->my_audio_cds;
        const int row = rowOfCd(cds, false);
        TaudioCD& cd = *GLB_data().audio_cds()[size_t(row)];
        cd.hard_disk_directory.clear();
        const TClassSoundCarriersUseSpecification carriers = listSettings(*window_).visible_set.carriers;
        cds.set_row_choice(row, TAudioCdChoice::PlayableFromHardDisk);
        dialog.accept();
        QVERIFY(dialog.result() != int(QDialog::Accepted));
        QCOMPARE(script_->messages().size(), size_t(1));
        QCOMPARE(script_->lastMessage(),
                 GLB_text("MY AUDIO CDS FRAME", 1) + " \"" + cd.name + "\" " +
                     GLB_text("MY AUDIO CDS FRAME", 2));
        QCOMPARE(dialog.PageControl->currentWidget(), dialog.TabSheet_audio_CDs);
        QVERIFY(listSettings(*window_).visible_set.carriers == carriers);

        // A folder chosen with the row's button makes the choice valid and
        // becomes the CD's folder on OK; a cancelled choice changes nothing.
        script_->dialogs().directoryAnswers.push_back(std::nullopt);
        script_->dialogs().directoryAnswers.push_back(dir_->path());
        cds.set_row_choice(row, TAudioCdChoice::PlayableFromDrive);
        cds.choose_hard_disk_folder(row);
        QCOMPARE(cds.row_choice(row), TAudioCdChoice::PlayableFromDrive);
        cds.choose_hard_disk_folder(row);
        QCOMPARE(cds.row_choice(row), TAudioCdChoice::PlayableFromHardDisk);
        QVERIFY2(cd.hard_disk_directory.isEmpty(), "not before OK");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(cd.hard_disk_directory, dir_->path());
        QCOMPARE(GLB_audio_cd_choice(listSettings(*window_).visible_set.carriers, cd),
                 TAudioCdChoice::PlayableFromHardDisk);
    }

    void cancelLeavesTheCdsFolderAndCarriersAsTheyWere() {
        openWindow();
        const TClassSoundCarriersUseSpecification carriers = listSettings(*window_).visible_set.carriers;
        TOptionsForm dialog(*window_, 1);
        TFrameSelectAudioCDs& cds = *dialog.audio_cds_frame->my_audio_cds;
        const int row = rowOfCd(cds, false);
        TaudioCD& cd = *GLB_data().audio_cds()[size_t(row)];
        const QString folder = cd.hard_disk_directory;
        script_->dialogs().directoryAnswers.push_back(dir_->path());
        cds.choose_hard_disk_folder(row);
        dialog.reject();
        QCOMPARE(cd.hard_disk_directory, folder);
        QVERIFY(listSettings(*window_).visible_set.carriers == carriers);
    }

    void anEmptyAreaIsRefusedAndAChangedOneRebuilds() {
        openWindow();
        TOptionsForm dialog(*window_, 1);
        TFrameSelectArea& map = *dialog.area_frame->area_frame();
        for (int i = 0; i < map.item_count(); ++i) map.set_item_selected(i, false);
        dialog.accept();
        QVERIFY(dialog.result() != int(QDialog::Accepted));
        QCOMPARE(dialog.PageControl->currentWidget(), dialog.TabSheet_select_area);
        map.set_item_selected(TBoliviaEtcArea::BO, true);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.context().flags.rebuild);
        const TArea* area = listSettings(*window_).visible_set.selected_area();
        QVERIFY(area->selected(TBoliviaEtcArea::BO));
        QVERIFY(!area->selected(TBoliviaEtcArea::PE));
    }

    void theLastPageComesBackAndOutOfRangeGivesTheFirst() {
        openWindow();
        GLB_write_int("GENERAL", "Last accessed tab page in options dialog", 7);
        {
            TOptionsForm dialog(*window_, 1);
            QCOMPARE(dialog.PageControl->currentIndex(), 0);
            dialog.PageControl->setCurrentIndex(2);
        }
        QCOMPARE(GLB_read_int("GENERAL", "Last accessed tab page in options dialog", -1), 2);
        TOptionsForm dialog(*window_, 1);
        QCOMPARE(dialog.PageControl->currentIndex(), 2);
    }

    void theDriveChoiceShowsWithSeveralDrivesAndStoresTheNumber() {
        openWindow();
        GLB_write_int("GENERAL", "CD-ROM drive used for audio CDs", 9);
        {
            TOptionsForm single(*window_, 1);
            QVERIFY(single.audio_cds_frame->player->isHidden());
        }
        TOptionsForm dialog(*window_, 3);
        TFrameChooseAudioCDPlayer& player = *dialog.audio_cds_frame->player;
        QVERIFY(!player.isHidden());
        QCOMPARE(player.item_count(), 3);
        QCOMPARE(player.item_index(), 0);  // "a drive beyond those found"
        QCOMPARE(player.item(2)->text(), "3 " + GLB_text("AUDIO CD PLAYER FRAME", 2));
        player.set_item_index(2);
        dialog.accept();
        QCOMPARE(GLB_read_int("GENERAL", "CD-ROM drive used for audio CDs", 0), 3);
    }

    void theBrowserBoxesStoreAndTheSecondFollowsTheFirst() {
        openWindow();
        TOptionsForm dialog(*window_, 1);
        TFrameWebBrowserSettings& browser = *dialog.settings_frame->web_browser;
        browser.CheckBox_use_integrated_browser->setChecked(false);
        QVERIFY(!browser.CheckBox_use_only_one_window->isEnabled());
        dialog.accept();
        QVERIFY(!GLB_read_flag("GENERAL", "Use Integrated Web Browser", true));
    }
};

QTEST_MAIN(OptionsFormTest)
#include "options_form_widget_test.moc"
