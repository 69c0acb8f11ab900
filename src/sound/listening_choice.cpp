#include "sound/listening_choice.h"

#include <algorithm>
#include <cmath>

namespace {

using Speed = TListeningChoice::Speed;

// Choice → speed, for the speeds; the settings value names them.
struct SpeedName {
    TListeningChoice::Choice choice;
    Speed speed;
    const char* key;
};
constexpr SpeedName kSpeeds[] = {
    {TListeningChoice::Normal, Speed::Normal, "normal"},
    {TListeningChoice::TapeHalf, Speed::TapeHalf, "tape-half"},
    {TListeningChoice::TapeQuarter, Speed::TapeQuarter, "tape-quarter"},
    {TListeningChoice::KeptThreeQuarters, Speed::KeptThreeQuarters, "three-quarters"},
    {TListeningChoice::KeptHalf, Speed::KeptHalf, "half"},
    {TListeningChoice::KeptQuarter, Speed::KeptQuarter, "quarter"},
    {TListeningChoice::OctaveDown, Speed::OctaveDown, "octave-down"},
};

QString seconds(double s) {
    return QString::number(s, 'f', 2);
}

}  // namespace

QString TListeningChoice::name(Choice choice) {
    switch (choice) {
        case Normal: return QStringLiteral("Normal");
        case TapeHalf: return QStringLiteral("½ speed (pitch lowered)");
        case TapeQuarter: return QStringLiteral("¼ speed (pitch lowered)");
        case KeptThreeQuarters: return QStringLiteral("¾ speed");
        case KeptHalf: return QStringLiteral("½ speed");
        case KeptQuarter: return QStringLiteral("¼ speed");
        case OctaveDown: return QStringLiteral("Octave down");
        case Loop: return QStringLiteral("Loop selection");
        case Band: return QStringLiteral("Band only");
    }
    return {};
}

void TListeningChoice::choose(Choice choice) {
    switch (choice) {
        case Normal:
            speed_ = Speed::Normal;
            loop_ = band_ = false;
            return;
        case Loop: loop_ = !loop_; return;
        case Band: band_ = !band_; return;
        default:
            for (const SpeedName& s : kSpeeds)
                if (s.choice == choice) speed_ = s.speed;
    }
}

bool TListeningChoice::chosen(Choice choice) const {
    switch (choice) {
        case Normal: return speed_ == Speed::Normal && !loop_ && !band_;
        case Loop: return loop_;
        case Band: return band_;
        default:
            for (const SpeedName& s : kSpeeds)
                if (s.choice == choice) return s.speed == speed_;
    }
    return false;
}

double TListeningChoice::rate() const {
    switch (speed_) {
        case Speed::TapeHalf:
        case Speed::KeptHalf: return 0.5;
        case Speed::TapeQuarter:
        case Speed::KeptQuarter: return 0.25;
        case Speed::KeptThreeQuarters: return 0.75;
        default: return 1.0;
    }
}

void TListeningChoice::set_range(std::optional<std::pair<double, double>> range) {
    if (range && range->second < range->first) std::swap(range->first, range->second);
    if (range && range->second - range->first < 0.01) range.reset();
    range_ = range;
}

void TListeningChoice::set_loop_start(double seconds) {
    // The end stays if it still lies after the new start.
    const double end = range_ && range_->second > seconds + 0.01 ? range_->second : -1;
    range_ = std::make_pair(seconds, end);
}

void TListeningChoice::set_loop_end(double seconds) {
    const double start = range_ ? range_->first : 0.0;
    set_range(std::make_pair(start, seconds));
    if (range_) loop_ = true;
}

void TListeningChoice::set_band(double lowHz, double highHz) {
    if (highHz < lowHz) std::swap(lowHz, highHz);
    if (highHz - lowHz < 50) return;
    band_hz_ = std::make_pair(std::max(0.0, lowHz), highHz);
    band_ = true;
}

QString TListeningChoice::label() const {
    QStringList parts;
    for (const SpeedName& s : kSpeeds)
        if (s.speed == speed_ && speed_ != Speed::Normal) parts << name(s.choice);
    if (loop_ && !range_)
        parts << QStringLiteral("Loop (whole recording)");
    else if (range_ && range_->second < 0)
        parts << QStringLiteral("Loop from %1 s (] sets its end)").arg(seconds(range_->first));
    else if (loop_)
        parts << QStringLiteral("Loop %1–%2 s").arg(seconds(range_->first), seconds(range_->second));
    if (band_)
        parts << (band_hz_ ? QStringLiteral("Band %1–%2 kHz")
                                 .arg(band_hz_->first / 1000, 0, 'f', 1)
                                 .arg(band_hz_->second / 1000, 0, 'f', 1)
                           : QStringLiteral("Band only: Shift+drag a band"));
    return parts.isEmpty() ? name(Normal) : parts.join(QStringLiteral(" · "));
}

platform::audio::Listening TListeningChoice::listening(std::int64_t offsetMs, std::int64_t lengthMs) const {
    platform::audio::Listening l;
    l.speed = speed_;
    if (loop_) {
        std::int64_t from = 0, to = lengthMs;
        if (range_) {
            // With only its start set the loop runs to the recording's end.
            from = std::clamp<std::int64_t>(std::llround(range_->first * 1000), 0, lengthMs);
            if (range_->second >= 0) to = std::clamp<std::int64_t>(std::llround(range_->second * 1000), 0, lengthMs);
        }
        if (to > from) {
            l.loopFromMs = offsetMs + from;
            l.loopToMs = offsetMs + to;
        }
    }
    if (band_ && band_hz_) {
        l.bandLowHz = band_hz_->first;
        l.bandHighHz = band_hz_->second;
    }
    return l;
}

QString TListeningChoice::setting() const {
    QStringList parts;
    for (const SpeedName& s : kSpeeds)
        if (s.speed == speed_) parts << QString::fromLatin1(s.key);
    if (loop_) parts << QStringLiteral("loop");
    if (band_) parts << QStringLiteral("band");
    return parts.join(u',');
}

TListeningChoice TListeningChoice::from_setting(const QString& text) {
    TListeningChoice choice;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        const QString key = part.trimmed().toLower();
        if (key == QLatin1String("loop")) choice.loop_ = true;
        if (key == QLatin1String("band")) choice.band_ = true;
        for (const SpeedName& s : kSpeeds)
            if (key == QLatin1String(s.key)) choice.speed_ = s.speed;
    }
    return choice;
}
