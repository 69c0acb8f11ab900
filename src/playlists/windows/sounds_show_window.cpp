#include "playlists/windows/sounds_show_window.h"

#include "data/media_records.h"
#include "listview/windows/child_form.h"
#include "listview/windows/list_find.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/show_strings_data.h"
#include "listview/windows/sound_bar.h"
#include "playlists/windows/sound_bar_show_recording.h"

#include <QScrollBar>

std::unique_ptr<TShowRecording> TSoundBarShowRecordingSource::recording_for(
    TRecordingButtonBlock& block, TShowForm& list) {
    if (!block.recording || !block.recording->cut_part || !list.has_strings()) return nullptr;
    // A list makes a line's button when it first paints the line.
    if (!block.button) list.viewport()->repaint();
    if (auto* bar = dynamic_cast<Tsound_bar*>(block.button.get()))
        return std::make_unique<TSoundBarShowRecording>(bar);
    // Not painted (a hidden window) or not listed: a button nobody sees
    // plays it all the same.
    auto own = std::make_unique<TOwnSoundBarShowRecording>(
        *list.viewport(), *block.recording, block.recording_number,
        list.strings().model().settings().visible_set.carriers, true);
    own->bar()->hide();
    return own;
}

TShowRecording* TListWindowShowList::present(const Tspecies& species, int recordingNumber) {
    current_.reset();
    TShowForm& form = *window_.list_form();
    TShowStrings& strings = form.strings();
    auto band = [&form] {
        const int top = form.scroll_position();
        return TViewBand{top, top + form.viewport()->height()};
    };
    const TListFindResult found =
        GLB_find_in_list(strings, species.scientific_name, true, true, band());
    if (found.found) {
        form.list_changed();
        if (found.must_scroll) form.scroll_to(found.found_top - form.quarter_height());
        strings.key_toggle(true, false, band());
        form.list_changed();
        for (TRecordShowStringData* line = strings.selected(); line; line = line->next) {
            if (line->species && line->species != &species) break;
            if (line->kind != line_kind::kRecordingButton || !line->button_block ||
                line->button_block->recording_number != recordingNumber)
                continue;
            strings.select_line(line);
            form.scroll_to(strings.top_of(*line) - form.viewport()->height() / 2);
            form.viewport()->update();
            current_ = recordings_.recording_for(*line->button_block, form);
            return current_.get();
        }
    }
    // The list shows the species otherwise (another order, an area): the
    // recording plays all the same.
    const Tcupaitem* item = species.first_item;
    for (int n = recordingNumber; item && item->next_of_species && n > 1; --n)
        item = item->next_of_species;
    if (!item) return nullptr;
    unlisted_ = std::make_unique<TRecordingButtonBlock>();
    unlisted_->recording = item;
    unlisted_->recording_number = recordingNumber;
    current_ = recordings_.recording_for(*unlisted_, form);
    return current_.get();
}

TSoundsShowDriver::TSoundsShowDriver(TChildForm& window, TShowRecordingSource& recordings,
                                     const Tsounds_demo_and_play_lists_handler::TSetup& setup,
                                     TPlayListSource* playList,
                                     TRecordingsAndOrPicturesList* recent)
    : QObject(&window), window_(window), list_(window, recordings) {
    handler_ = std::make_unique<Tsounds_demo_and_play_lists_handler>(
        setup, window.list_form()->strings().model().settings().visible_set,
        Tsounds_demo_and_play_lists_handler::TParts{list_, names_, playList, recent},
        GLB_show_random());
    Timer_play_sounds.setSingleShot(true);
    connect(&Timer_play_sounds, &QTimer::timeout, this, &TSoundsShowDriver::tick);
}

void TSoundsShowDriver::start() {
    Timer_play_sounds.start(Tsounds_demo_and_play_lists_handler::kFirstInterval);
}

void TSoundsShowDriver::tick() {
    const TShowStep step = handler_->step();
    switch (step.then) {
        case TShowStep::Then::Continue: Timer_play_sounds.start(step.interval_ms); break;
        case TShowStep::Then::StopShow: break;
        case TShowStep::Then::CloseWindow: window_.close(); break;
    }
}

TChildForm* GLB_open_show_window(const TListWindowServices& services,
                                 TShowRecordingSource& recordings, QWidget* owner,
                                 const SHST_TClassShowStringsData& settings,
                                 const Tsounds_demo_and_play_lists_handler::TSetup& setup,
                                 TPlayListSource* playList, TRecordingsAndOrPicturesList* recent) {
    auto* window = new TChildForm(services, true, owner, true);
    window->open_list_window({.settings_to_copy = &settings});
    window->setWindowTitle(Tsounds_demo_and_play_lists_handler::caption());
    auto* driver = new TSoundsShowDriver(*window, recordings, setup, playList, recent);
    window->show();
    driver->start();
    return window;
}
