#pragma once

#include "platform/audio/media_control.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

// How a list window's recordings are to be heard: the speed (slowed with
// the pitch lowered or kept, or an octave lower), a range played again and
// again, and one band of frequencies alone. Ranges are in seconds of the
// recording shown; they belong to that recording and are not remembered.
class TListeningChoice {
  public:
    using Speed = platform::audio::Listening::Speed;
    // The choices as menus list them, in order.
    enum Choice { Normal, TapeHalf, TapeQuarter, KeptThreeQuarters, KeptHalf, KeptQuarter, OctaveDown, Loop, Band };
    static constexpr int kChoices = 9;
    static QString name(Choice choice);

    // A speed replaces the speed; "Loop selection" and "Band only" switch
    // themselves on or off beside it; Normal puts everything back.
    void choose(Choice choice);
    bool chosen(Choice choice) const;
    Speed speed() const { return speed_; }
    bool loops() const { return loop_; }
    bool banded() const { return band_; }
    // Frames of the recording a second of listening takes in (½ slowed to half).
    double rate() const;

    // The range to loop (seconds); the loop switches on with its end.
    void set_range(std::optional<std::pair<double, double>> range);
    std::optional<std::pair<double, double>> range() const { return range_; }
    void set_loop_start(double seconds);
    void set_loop_end(double seconds);
    // The band (Hz); the band switches on with it.
    void set_band(double lowHz, double highHz);
    std::optional<std::pair<double, double>> band() const { return band_hz_; }

    // What the panel writes about it: "Normal", "½ speed · Loop 1.20–1.85 s".
    QString label() const;
    // For the sound engine, for a recording `lengthMs` long lying at
    // `offsetMs` in its medium. A loop without a range loops the recording.
    platform::audio::Listening listening(std::int64_t offsetMs, std::int64_t lengthMs) const;

    // The choice (speed, loop and band on or off) as a settings value and back.
    QString setting() const;
    static TListeningChoice from_setting(const QString& text);

    bool operator==(const TListeningChoice&) const = default;

  private:
    Speed speed_ = Speed::Normal;
    bool loop_ = false;
    bool band_ = false;
    std::optional<std::pair<double, double>> range_;
    std::optional<std::pair<double, double>> band_hz_;
};
