#include "playlists/windows/playlists_and_shows.h"

#include "app/settings.h"
#include "app/settings_playlists.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "listview/windows/child_form.h"
#include "listview/windows/list_window_services.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/top_forms.h"
#include "playlists/windows/big_picture_demo_form.h"
#include "playlists/windows/demo_settings_dialog.h"
#include "playlists/windows/playlist_form.h"
#include "playlists/recent_list.h"
#include "playlists/windows/recordings_list_form.h"
#include "playlists/windows/sounds_show_window.h"

namespace {

TTaxonNaming namingOfShowsWindow(const TChildForm& window) {
    const SHST_TClassShowStringsData& s = window.list_form()->strings().model().settings();
    return {s.name_kind_at(1), s.name_kind_at(2)};
}

int visibleSpeciesCountOf(const TChildForm& window) {
    const SHST_TClassShowStringsData& s = window.list_form()->strings().model().settings();
    return s.data().visible_species_total(s.systematic_order, s.visible_set);
}

}  // namespace

// A list window's recent list, the window of that list, and its sounds-only
// show window.
struct TPlaylistsAndShows::TWindowShows {
    std::unique_ptr<TRecordingsAndOrPicturesList> recent;
    QPointer<TRecordingsAndOrPicturesListForm> recent_window;
    QPointer<TChildForm> show_window;
};

TPlaylistsAndShows::TPlaylistsAndShows(TAudioCDFileWriter& writer)
    : writer_(writer), recordings_(std::make_unique<TSoundBarShowRecordingSource>()) {}

TPlaylistsAndShows::~TPlaylistsAndShows() {
    delete play_list_form_.data();
}

TPlayListForm* TPlaylistsAndShows::play_list_form() const {
    return play_list_form_;
}

TListWindowShowCommands TPlaylistsAndShows::list_window_commands() {
    TListWindowShowCommands commands;
    commands.show = [this](TChildForm& window) { show(window); };
    commands.what_was_that = [this](TChildForm& window) { what_was_that(window); };
    commands.play_lists = [this](TChildForm&) { open_play_lists(); };
    commands.may_close_main_window = [this] { return may_close_main_window(); };
    commands.write_state = [this] { write_state(); };
    commands.show_window_closed = [this](TChildForm& window) { show_window_closed(window); };
    commands.main_window_shown = [this] { main_window_shown(); };
    return commands;
}

TPlaylistsAndShows::TWindowShows& TPlaylistsAndShows::shows_of(TChildForm& window) {
    std::unique_ptr<TWindowShows>& entry = window_shows_[&window];
    if (!entry) {
        entry = std::make_unique<TWindowShows>();
        const TTaxonNaming naming = namingOfShowsWindow(window);
        entry->recent = std::make_unique<TRecordingsAndOrPicturesList>(
            [naming](const Tspecies& s) { return naming.taxon_text(s).trimmed(); });
        QObject::connect(&window, &QObject::destroyed, &connections_,
                         [this, key = &window] { window_shows_.erase(key); });
        entry->recent->on_changed = [shows = entry.get()] {
            if (shows->recent_window && shows->recent_window->isVisible())
                shows->recent_window->refill();
        };
    }
    return *entry;
}

void TPlaylistsAndShows::show(TChildForm& window) {
    if (!window.list_form()->has_strings()) return;
    TWindowShows& shows = shows_of(window);
    if (shows.show_window) {
        shows.show_window->raise();
        shows.show_window->activateWindow();
        return;
    }
    TDemoSettingsDialog dialog(TShowSettings::read_settings(), visibleSpeciesCountOf(window), &window);
    if (dialog.exec() != QDialog::Accepted) return;
    const TShowSettings settings = dialog.settings();
    settings.write_settings();
    const SHST_TClassShowStringsData& list = window.list_form()->strings().model().settings();
    if (settings.slides) {
        TBigPictureDemoForm::TTaxonText names;
        if (settings.show_species_names)
            names = [naming = namingOfShowsWindow(window)](const Tspecies& s) {
                return naming.taxon_text(s).trimmed();
            };
        auto* slides = new TBigPictureDemoForm(
            {settings.sounds, settings.slide_seconds, settings.quality_class, settings.options},
            list.visible_set, shows.recent.get(), std::move(names), &window,
            window.services().list_actions);
        if (!slides->start()) delete slides;
        return;
    }
    shows.show_window = GLB_open_show_window(
        window.services(), *recordings_, &window, list,
        {.play_list = false, .quality_class = settings.quality_class, .options = settings.options},
        nullptr, shows.recent.get());
}

void TPlaylistsAndShows::what_was_that(TChildForm& window) {
    TWindowShows& shows = shows_of(window);
    if (!shows.recent_window)
        shows.recent_window = new TRecordingsAndOrPicturesListForm(*shows.recent, &window);
    shows.recent_window->show();
    shows.recent_window->raise();
    shows.recent_window->refill();
}

TPlayListForm* TPlaylistsAndShows::made_play_list_form() {
    if (!play_list_form_) {
        auto* main = dynamic_cast<QWidget*>(Ttop_forms::instance().main_child_form());
        if (!main) return nullptr;
        play_list_form_ = new TPlayListForm(&writer_, *recordings_, main);
    }
    return play_list_form_;
}

void TPlaylistsAndShows::open_play_lists() {
    TPlayListForm* f = made_play_list_form();
    if (!f) return;
    if (f->isVisible()) {
        f->raise();
        f->activateWindow();
    } else {
        f->show_window(false);
    }
}

bool TPlaylistsAndShows::may_close_main_window() {
    return !play_list_form_ || play_list_form_->is_there_unsaved_work();
}

void TPlaylistsAndShows::write_state() {
    if (!play_list_form_) return;
    GLB_write_flag(settings::playlists::kSection, settings::playlists::kOpenAtStartup,
                   play_list_form_->isVisible());
    play_list_form_->write_settings();
}

void TPlaylistsAndShows::show_window_closed(TChildForm& window) {
    TPlayListForm* f = play_list_form_;
    if (f && f->playing() && window.parent() == f) f->playing_ended();
}

void TPlaylistsAndShows::main_window_shown() {
    if (!GLB_read_flag(settings::playlists::kSection, settings::playlists::kOpenAtStartup,
                       settings::playlists::kOpenAtStartupDefault))
        return;
    if (TPlayListForm* f = made_play_list_form()) f->show_window(true);
}
