#include "playlists/windows/shows_menu_commands.h"

#include "app/settings.h"
#include "app/settings_playlists.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "listview/windows/child_form.h"
#include "listview/show_commands.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/top_forms.h"
#include "playlists/windows/big_picture_demo_form.h"
#include "playlists/windows/demo_settings_dialog.h"
#include "playlists/windows/playlist_form.h"
#include "playlists/recent_list.h"
#include "playlists/windows/recordings_list_form.h"
#include "playlists/windows/sounds_show_window.h"

#include <QPointer>
#include <map>

namespace {

// What the shows keep of each list window: its recent list, the window of
// that list, and its sounds-only show window.
struct TWindowShows {
    std::unique_ptr<TRecordingsAndOrPicturesList> recent;
    QPointer<TRecordingsAndOrPicturesListForm> recent_window;
    QPointer<TChildForm> show_window;
};

std::map<const TChildForm*, TWindowShows>& windowShows() {
    static std::map<const TChildForm*, TWindowShows> shows;
    return shows;
}

TTaxonNaming namingOf(const TChildForm& window) {
    const SHST_TClassShowStringsData& s = window.list_form()->strings().model().settings();
    return {s.name_kind_at(1), s.name_kind_at(2)};
}

TWindowShows& showsOf(TChildForm& window) {
    auto [it, added] = windowShows().try_emplace(&window);
    if (added) {
        const TTaxonNaming naming = namingOf(window);
        it->second.recent = std::make_unique<TRecordingsAndOrPicturesList>(
            [naming](const Tspecies& s) { return naming.taxon_text(s).trimmed(); });
        QObject::connect(&window, &QObject::destroyed,
                         [key = &window] { windowShows().erase(key); });
        it->second.recent->on_changed = [&entry = it->second] {
            if (entry.recent_window && entry.recent_window->isVisible()) entry.recent_window->refill();
        };
    }
    return it->second;
}

int visibleSpeciesCount(const TChildForm& window) {
    const SHST_TClassShowStringsData& s = window.list_form()->strings().model().settings();
    return s.data().visible_species_total(s.systematic_order, s.visible_set);
}

void showCommand(TChildForm& window) {
    if (!window.list_form()->has_strings()) return;
    TWindowShows& shows = showsOf(window);
    if (shows.show_window) {
        shows.show_window->raise();
        shows.show_window->activateWindow();
        return;
    }
    TDemoSettingsDialog dialog(TShowSettings::read_settings(), visibleSpeciesCount(window), &window);
    if (dialog.exec() != QDialog::Accepted) return;
    const TShowSettings settings = dialog.settings();
    settings.write_settings();
    const SHST_TClassShowStringsData& list = window.list_form()->strings().model().settings();
    if (settings.slides) {
        TBigPictureDemoForm::TTaxonText names;
        if (settings.show_species_names)
            names = [naming = namingOf(window)](const Tspecies& s) {
                return naming.taxon_text(s).trimmed();
            };
        auto* slides = new TBigPictureDemoForm(
            {settings.sounds, settings.slide_seconds, settings.quality_class, settings.options},
            list.visible_set, shows.recent.get(), std::move(names), &window);
        if (!slides->start()) delete slides;
        return;
    }
    shows.show_window = GLB_open_show_window(
        &window, list,
        {.play_list = false, .quality_class = settings.quality_class, .options = settings.options},
        nullptr, shows.recent.get());
}

void whatWasThat(TChildForm& window) {
    TWindowShows& shows = showsOf(window);
    if (!shows.recent_window)
        shows.recent_window = new TRecordingsAndOrPicturesListForm(*shows.recent, &window);
    shows.recent_window->show();
    shows.recent_window->raise();
    shows.recent_window->refill();
}

// The playlist window, made with the main window as its owner the first
// time it is asked for.
TPlayListForm* playListForm() {
    if (!GLB_play_list_form()) {
        auto* main = dynamic_cast<QWidget*>(Ttop_forms::instance().main_child_form());
        if (!main) return nullptr;
        GLB_set_play_list_form(new TPlayListForm(main));
    }
    return GLB_play_list_form();
}

}  // namespace

void GLB_install_playlists_and_shows() {
    GLB_set_show_recording_source(std::make_unique<TSoundBarShowRecordingSource>());
    TListWindowShowCommands& commands = GLB_list_window_show_commands();
    commands.show = showCommand;
    commands.what_was_that = whatWasThat;
    commands.play_lists = [](TChildForm&) {
        TPlayListForm* f = playListForm();
        if (!f) return;
        if (f->isVisible()) {
            f->raise();
            f->activateWindow();
        } else {
            f->show_window(false);
        }
    };
    commands.may_close_main_window = [] {
        TPlayListForm* f = GLB_play_list_form();
        return !f || f->is_there_unsaved_work();
    };
    commands.write_state = [] {
        TPlayListForm* f = GLB_play_list_form();
        if (!f) return;
        GLB_write_flag(settings::playlists::kSection, settings::playlists::kOpenAtStartup,
                       f->isVisible());
        f->write_settings();
    };
    commands.show_window_closed = [](TChildForm& window) {
        TPlayListForm* f = GLB_play_list_form();
        if (f && f->playing() && window.parent() == f) f->playing_ended();
    };
    commands.main_window_shown = [] {
        if (!GLB_read_flag(settings::playlists::kSection, settings::playlists::kOpenAtStartup,
                           settings::playlists::kOpenAtStartupDefault))
            return;
        TPlayListForm* f = playListForm();
        if (f && GLB_read_flag(settings::playlists::kSection, settings::playlists::kOpenAtStartup,
                               settings::playlists::kOpenAtStartupDefault))
            f->show_window(true);
    };
}

void GLB_free_playlists_and_shows() {
    TListWindowShowCommands& commands = GLB_list_window_show_commands();
    commands = TListWindowShowCommands{};
    GLB_set_show_recording_source(nullptr);
    delete GLB_play_list_form();
    GLB_set_play_list_form(nullptr);
}
