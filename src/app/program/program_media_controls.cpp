#include "app/program/program_media_controls.h"

#include "data/media_records.h"
#include "data/people_places.h"
#include "data/taxa.h"
#include "listview/windows/sound_bar.h"
#include "sound/players.h"

#include <QScrollBar>
#include <QWidget>

#include <cstdlib>

namespace {

using platform::MediaTrack;
using platform::PlaybackState;

MediaTrack trackOf(Tsound_bar& bar) {
    const Tcupaitem& item = bar.recording();
    const Tcutpart& cut = bar.cut_part();
    MediaTrack track;
    const QString catalogue = cut.catalogue_text().trimmed();
    track.id = QStringLiteral("r%1_%2")
                   .arg(item.species ? item.species->unique_id : 0)
                   .arg(catalogue);
    QString species;
    if (item.species)
        species = item.species->common_name.isEmpty()
                      ? item.species->scientific_name
                      : item.species->common_name + QStringLiteral(" (") +
                            item.species->scientific_name + u')';
    track.title = species + QStringLiteral(" – Recording ") + catalogue;
    if (cut.recordist) track.artist = cut.recordist->name;
    const std::int64_t ms = bar.opened() ? std::int64_t(bar.bar().maximum()) * 100 : cut.length;
    track.length_us = std::max<std::int64_t>(0, ms) * 1000;
    return track;
}

// The playhead in µs: the player's own while it plays, else the bar's.
std::int64_t positionOf(Tsound_bar& bar) {
    int ms = 0;
    if (bar.is_playing() && bar.player() && bar.player()->GetPosition(ms))
        return std::int64_t(ms) * 1000;
    return std::int64_t(bar.bar().value()) * 100 * 1000;
}

}  // namespace

TProgramMediaControls::TProgramMediaControls(std::chrono::milliseconds idle)
    : controls_(
          platform::MediaControls::Commands{
              .play =
                  [this] {
                      if (Tsound_bar* bar = button(); bar && !bar->is_playing()) bar->click();
                      look();
                  },
              .pause =
                  [this] {
                      if (Tsound_bar* bar = button(); bar && bar->is_playing()) bar->click();
                      look();
                  },
              .stop =
                  [this] {
                      if (Tsound_bar* bar = button()) {
                          bar->close_player();
                          bar->seek_to(0);
                      }
                      look();
                  },
              .set_position =
                  [this](std::int64_t us) {
                      if (Tsound_bar* bar = button()) bar->seek_to(int(us / 1000));
                      last_position_us_ = -1;
                      look();
                  },
              .position = [this]() -> std::int64_t {
                  Tsound_bar* bar = button();
                  return bar ? positionOf(*bar) : 0;
              },
              .raise =
                  [this] {
                      if (Tsound_bar* bar = button()) {
                          QWidget* window = bar->window();
                          window->showNormal();
                          window->raise();
                          window->activateWindow();
                      }
                  },
          },
          idle) {
    watch_.setInterval(250);
    QObject::connect(&watch_, &QTimer::timeout, [this] { look(); });
    watch_.start();
}

void TProgramMediaControls::look() {
    if (Tsound_bar* playing = Tsound_bar::playing_button()) last_ = playing;
    Tsound_bar* bar = button();
    if (!bar) {
        controls_.update({}, PlaybackState::Stopped);
        last_position_us_ = -1;
        return;
    }
    const PlaybackState state = Tsound_bar::playing_button() != bar ? PlaybackState::Stopped
                                : bar->is_playing()                 ? PlaybackState::Playing
                                                                    : PlaybackState::Paused;
    controls_.update(trackOf(*bar), state);

    // A jump of the playhead the desktop did not ask for (a click on the
    // bar, the seeking keys) is announced as a seek.
    const auto now = std::chrono::steady_clock::now();
    const std::int64_t position = positionOf(*bar);
    if (last_position_us_ >= 0) {
        std::int64_t expected = last_position_us_;
        if (state == PlaybackState::Playing)
            expected += std::chrono::duration_cast<std::chrono::microseconds>(now - last_look_).count();
        if (std::llabs(position - expected) > 1'000'000 && position != 0) controls_.seeked(position);
    }
    last_position_us_ = position;
    last_look_ = now;
}
