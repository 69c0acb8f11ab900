#include "app/program/program.h"

#include "app/program/audio_cd_file_writer.h"
#include "app/base_directory.h"
#include "app/windows/first_paint_report.h"
#include "app/messages.h"
#include "app/program/program_list_actions.h"
#include "app/program/program_media_controls.h"
#include "app/program/recording_button_commands.h"
#include "app/settings.h"
#include "app/settings_general.h"
#include "app/windows/startup.h"
#include "data/species_database.h"
#include "formats/textfile.h"
#include "info_windows/windows/help_window.h"
#include "info_windows/windows/list_window_commands.h"
#include "info_windows/qt_translations.h"
#include "learning/my_list.h"
#include "learning/windows/my_list_dialog.h"
#include "info_windows/windows/web_browser_form.h"
#include "learning/windows/quiz_window.h"
#include "listview/windows/child_form.h"
#include "listview/windows/find_dialog.h"
#include "learning/windows/compare_window.h"
#include "listview/list_bitmaps.h"
#include "listview/name_search.h"
#include "listview/list_fonts.h"
#include "listview/list_tag_texts.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/windows/sound_bar.h"
#include "listview/top_forms.h"
#include "pictures_maps/big_picture_model.h"
#include "pictures_maps/small_pictures.h"
#include "sound/sonogram.h"
#include "platform/audio/media_control.h"
#include "platform/dialog_service.h"
#include "platform/heap_pages.h"
#include "playlists/windows/make_all_mp3_files_form.h"
#include "playlists/show_choices.h"
#include "playlists/windows/playlists_and_shows.h"
#include "sound/players.h"
#include "sound/sound_editor.h"
#include "sound/volume.h"
#include "sound/windows/volume_control_form.h"
#include "utilities/windows/copy_to_hard_disk_ui.h"
#include "utilities/windows/options_form.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <cstdlib>
#include <functional>
#include <random>
#include <thread>

namespace {

// After the first window: long enough for it to have painted.
constexpr int kNameIndexDelayMs = 400;

// The drive report of the list windows' status bars.
std::optional<QString> audioCdStatus() {
    const Tdata* data = GLB_data_or_null();
    if (!data || data->audio_cd_count() == 0) return std::nullopt;
    return GLB_audio_CD_drive_report(GLB_read_int(settings::general::kSection,
                                                  settings::general::kAudioCdDrive,
                                                  settings::general::kAudioCdDriveDefault));
}

// The lists' volume keys move the volume window's slider when it is there.
void stepVolume(int steps) {
    if (TVolume_control_form* form = TVolume_control_form::instance())
        form->step(std::abs(steps), steps > 0);
    else
        GLB_move_volume_to(GLB_volume_position() - steps);
}

// "Make mp3s" of a window: the recordings its list shows, tagged as it names them.
void makeMp3sOf(TChildForm& window) {
    const SHST_TClassShowStringsData& settings = window.list_form()->strings().model().settings();
    GLB_open_make_all_mp3_files_form(GLB_data(), settings.systematic_order, settings.visible_set,
                                     std::make_unique<TListTagTexts>(settings), &window);
}

// The listening quiz over a window's species, with the program's
// sonograms and small pictures.
void openQuizOf(TChildForm& window, sonogram::Cache* sonograms, TSmallPictureSource* pictures) {
    const SHST_TClassShowStringsData& settings = window.list_form()->strings().model().settings();
    TQuizWindowServices services;
    services.sonograms = sonograms;
    services.small_pictures = pictures;
    auto* quiz = new TQuizWindow(services, settings.visible_set, settings.systematic_order, &window);
    quiz->show();
}

// The recordings of the comparison play as the main list window's settings
// say (which audio CDs are in the drive or copied to the hard disk).
TClassSoundCarriersUseSpecification mainListCarriers() {
    if (auto* main = dynamic_cast<TChildForm*>(Ttop_forms::instance().main_child_form()))
        if (main->list_form() && main->list_form()->has_strings())
            return main->list_form()->strings().model().settings().visible_set.carriers;
    return {};
}

// A change to the user's own list shows in every list window (its ticks,
// and the species the "not yet on my list" filter hides).
void rebuildListWindows() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<TChildForm*>(widget);
        if (window && window->list_form() && window->list_form()->has_strings())
            window->rebuild_list(window->list_form()->strings().model().settings());
    }
}

// The sound engine's module takes longer to load than the whole list takes
// to show: it loads on a thread of its own once the main window is painted
// (a recording played before then waits for it); what needs the engine at
// start runs on the interface thread when it is ready.
class TSoundEngineLoading {
  public:
    // `ready` runs on the thread of `receiver`, and not at all once the
    // receiver is gone.
    void start(QObject* receiver, std::function<void()> ready) {
        if (thread_.joinable()) return;
        // Only the module loads here: the sound output is opened on the
        // interface thread, as every later use of it.
        thread_ = std::thread([receiver, ready = std::move(ready)] {
            platform::audio::loadSoundEngine();
            QMetaObject::invokeMethod(receiver, ready, Qt::QueuedConnection);
        });
    }
    ~TSoundEngineLoading() {
        if (thread_.joinable()) thread_.join();
    }

  private:
    std::thread thread_;
};

}  // namespace

// Declared in the order they are made; destroyed the other way round.
struct TProgram::Parts {
    // Receives what the engine's thread hands back; a word that arrives
    // after the program has ended is dropped with it.
    QObject engine_news;
    // The recordings' sonograms, shared by every list window; outlives them.
    std::unique_ptr<sonogram::Cache> sonograms = std::make_unique<sonogram::Cache>();
    TProgramAudioCDFileWriter audio_cd_writer;
    std::unique_ptr<TPlaylistsAndShows> playlists;
    // What every list window uses; made before the first one.
    std::unique_ptr<TProgramListActions> list_actions;
    std::unique_ptr<TProgramSoundBarCommands> sound_bar_commands;
    std::unique_ptr<TSoundBarFactory> recording_buttons;
    std::unique_ptr<TSmallPictureCache> small_pictures;
    // The user's own list of the edition, read before the first list window.
    std::unique_ptr<TMyList> my_list;
    // The edition's names for search as you type, made when first typed.
    std::unique_ptr<TNameSearchIndex> name_index;
    // The one comparison window, made on the first "Add to comparison"; it
    // belongs to the main list window and goes with it.
    QPointer<TCompareWindow> compare_window;
    TListWindowServices list_window_services;
    TSoundEngineLoading sound_engine;
    std::unique_ptr<TFindInShowStringsDialog> find_dialog;
    std::unique_ptr<TVolume_control_form> volume_form;
    std::unique_ptr<TStartup> startup;
    // The desktop's media controls follow the recording buttons.
    std::unique_ptr<TProgramMediaControls> media_controls;
    QPointer<QWidget> main_window;
    bool engine_ready = false;
    bool shut_down = false;
};

TProgram::TProgram(Clock::time_point started) : parts_(std::make_unique<Parts>()) {
    Parts& p = *parts_;
    p.playlists = std::make_unique<TPlaylistsAndShows>(p.audio_cd_writer);
    p.list_actions = std::make_unique<TProgramListActions>();
    const auto addToComparison = [&p](QWidget*, const Tcupaitem& recording) {
        if (!p.compare_window)
            p.compare_window = new TCompareWindow(*p.sonograms, &mainListCarriers,
                                                  dynamic_cast<QWidget*>(Ttop_forms::instance().main_child_form()));
        p.compare_window->add(recording);
    };
    p.sound_bar_commands = std::make_unique<TProgramSoundBarCommands>(*p.playlists, addToComparison);
    p.recording_buttons = std::make_unique<TSoundBarFactory>(*p.sound_bar_commands);
    TListWindowServices& services = p.list_window_services;
    services.list_actions = p.list_actions.get();
    services.recording_buttons = p.recording_buttons.get();
    services.sonograms = p.sonograms.get();
    services.copy_to_hard_disk = &CopyToHardDisk;
    services.options = &GLB_show_options_dialog;
    services.make_mp3s = &makeMp3sOf;
    services.quiz = [&p](TChildForm& window) {
        openQuizOf(window, p.sonograms.get(), p.small_pictures.get());
    };
    services.cd_status_report = &audioCdStatus;
    services.volume_keys = &stepVolume;
    services.add_to_comparison = addToComparison;
    services.name_index = [&p]() -> const TNameSearchIndex* {
        if (!p.name_index && GLB_data_or_null()) p.name_index = std::make_unique<TNameSearchIndex>(GLB_data());
        return p.name_index.get();
    };
    p.media_controls = std::make_unique<TProgramMediaControls>();

    p.startup = std::make_unique<TStartup>(TStartup::Seams{
        .load_species_database =
            [](const std::function<void()>& threadsMet) {
                platform::use_large_pages_for_this_threads_heap();
                GLB_load_species_database(threadsMet);
            },
        .create_windows = [&p, started]() -> QWidget* {
            // The main list window first: it is the application's main form.
            p.find_dialog = std::make_unique<TFindInShowStringsDialog>();
            p.list_window_services.find_dialog = p.find_dialog.get();
            p.my_list = std::make_unique<TMyList>(TMyList::edition_file());
            p.my_list->load();
            p.list_window_services.my_list_marks = p.my_list.get();
            p.list_window_services.edit_my_list = [&p](TChildForm& window, const Tspecies& species) {
                GLB_open_my_list_dialog(*p.my_list, species, &window, &rebuildListWindows);
            };
            p.list_window_services.export_my_list = [&p] { GLB_export_my_list(*p.my_list, GLB_data()); };
            TChildForm* main = GLB_open_main_list_window(p.list_window_services);
            p.volume_form = std::make_unique<TVolume_control_form>(main, false);
            if (TFirstPaintReport::wanted()) new TFirstPaintReport(started, main);
            new TAfterFirstPaint(main, [&p] {
                p.sound_engine.start(&p.engine_news, [&p] {
                    if (p.shut_down) return;
                    if (platform::audio::mediaControl().waveOutputDevices() == 0)
                        GLB_show_message(GLB_text(QStringLiteral("SOUNDBARS"), 1),
                                         platform::box::IconStop);
                    if (p.volume_form) p.volume_form->restore_visibility();
                    p.engine_ready = true;
                });
            });
            return main;
        },
        .free_species_database =
            [] {
                GLB_write_text_size();
                GLB_write_picture_settings();
                GLB_free_species_database();
            },
        // What the main window needs besides the database: made while the
        // database loads.
        .prepare_windows =
            [&p] {
                // Before any window or box: Qt's own buttons and dialogs
                // speak the edition's language.
                GLB_load_qt_translations();
                TListBitmaps::load();
                GLB_seed_show_random(std::random_device{}());
                GLB_list_fonts();
                // The sound engine itself comes later (TSoundEngineLoading).
                GLB_restore_volume();
                GLB_read_sound_editor_settings();
                GLB_read_picture_settings();
                p.small_pictures = std::make_unique<TSmallPictureCache>();
                p.list_window_services.small_pictures = p.small_pictures.get();
                p.list_window_services.commands = GLB_information_window_commands();
                p.list_window_services.show_commands = p.playlists->list_window_commands();
            },
    });
    // Pictures are looked for again under a new base directory, and every
    // list shows what it finds there.
    GLB_on_base_directory_changed([] {
        if (const Tdata* data = GLB_data_or_null()) data->clear_small_picture_missing_flags();
        Ttop_forms::instance().refresh_all_forms();
    });
}

TProgram::~TProgram() {
    shut_down();
}

void TProgram::initialise(const QString& startupDirectory, const QString& programDirectory) {
    parts_->startup->initialise(startupDirectory, programDirectory);
}

QWidget* TProgram::open_main_window() {
    Parts& p = *parts_;
    p.main_window = p.startup->open_main_window();
    // The names' index takes a frame or more on a large edition: made while
    // the user looks at the first window, not on the first letter typed.
    if (p.main_window)
        QTimer::singleShot(kNameIndexDelayMs, p.main_window, [this] {
            if (parts_->list_window_services.name_index) parts_->list_window_services.name_index();
        });
    return p.main_window;
}

int TProgram::run() {
    if (!parts_->main_window && !open_main_window()) {
        shut_down();
        return 0;
    }
    const int code = QApplication::exec();
    shut_down();
    return code;
}

bool TProgram::sound_engine_ready() const {
    return parts_->engine_ready;
}

void TProgram::shut_down() {
    Parts& p = *parts_;
    if (p.shut_down) return;
    p.shut_down = true;
    // The main window's close writes the windows' state; it goes before
    // the finalisations.
    if (p.main_window) {
        p.main_window->close();
        delete p.main_window.data();
    }
    // Picture, map and page windows paint from the database: none may
    // paint once it is freed.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible()) window->close();
    // The help windows first, as at the end of every run; a run without
    // an event loop (a journey test) never sees the application quit.
    GLB_close_help();
    GLB_close_web_browsers();
    p.startup->shut_down();
    p.name_index.reset();
    p.volume_form.reset();
    // Off the bus with the end of the program.
    p.media_controls.reset();
}
