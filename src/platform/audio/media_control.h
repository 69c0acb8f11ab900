#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// The media-control commands the players are built on: devices opened by
// type and element, driven by time-format, status, seek, play, stop and
// close commands, each answering 0 or an error code. The codes and numbers
// are the ones the players test for.
namespace platform::audio {

class SoundAnalysis;

// How the sound is to be heard: slowed (the pitch lowered with it or kept),
// an octave lower, a range played again and again, one band of frequencies
// alone. Ranges are in the medium's own time, whatever the speed.
struct Listening {
    enum class Speed { Normal, TapeHalf, TapeQuarter, KeptThreeQuarters, KeptHalf, KeptQuarter, OctaveDown };
    Speed speed = Speed::Normal;
    // Milliseconds of the medium; no loop unless to > from.
    std::int64_t loopFromMs = 0;
    std::int64_t loopToMs = 0;
    // Hz; no band unless high > low.
    double bandLowHz = 0;
    double bandHighHz = 0;
    bool loops() const { return loopToMs > loopFromMs; }
    bool banded() const { return bandHighHz > bandLowHz; }
    bool operator==(const Listening&) const = default;
};

namespace mci {
inline constexpr unsigned kErrorInvalidDeviceId = 257;
inline constexpr unsigned kErrorUnrecognizedCommand = 261;
inline constexpr unsigned kErrorHardware = 262;
inline constexpr unsigned kErrorInvalidDeviceName = 263;
inline constexpr unsigned kErrorCannotLoadDriver = 266;
inline constexpr unsigned kErrorBadTimeFormat = 293;
inline constexpr unsigned kErrorFileNotFound = 275;
inline constexpr unsigned kErrorDeviceNotReady = 276;
inline constexpr unsigned kErrorInternal = 277;
inline constexpr unsigned kErrorOutOfRange = 282;
inline constexpr unsigned kErrorInvalidFile = 296;
inline constexpr unsigned kErrorNoSuitableDecoder = 326;
inline constexpr unsigned kErrorNoWaveOutput = 320;

inline constexpr unsigned kDeviceCdAudio = 516;
inline constexpr unsigned kDeviceWaveAudio = 522;

inline constexpr unsigned kStatusLength = 1;
inline constexpr unsigned kStatusPosition = 2;
inline constexpr unsigned kStatusNumberOfTracks = 3;
inline constexpr unsigned kStatusMode = 4;
inline constexpr unsigned kStatusMediaPresent = 5;
inline constexpr unsigned kStatusTrackType = 0x4001;

inline constexpr unsigned kModeNotReady = 524;
inline constexpr unsigned kModeStopped = 525;
inline constexpr unsigned kModePlaying = 526;
inline constexpr unsigned kModePaused = 529;

inline constexpr unsigned kTrackAudio = 1088;
inline constexpr unsigned kTrackOther = 1089;

inline constexpr unsigned kFormatMilliseconds = 0;
inline constexpr unsigned kFormatMsf = 2;
inline constexpr unsigned kFormatTmsf = 10;

// MSF: minutes in the low byte, then seconds, then frames (75 a second).
inline std::uint32_t msf(unsigned minutes, unsigned seconds, unsigned frames) {
    return (minutes & 0xFF) | (seconds & 0xFF) << 8 | (frames & 0xFF) << 16;
}
inline unsigned msfMinutes(std::uint32_t v) { return v & 0xFF; }
inline unsigned msfSeconds(std::uint32_t v) { return (v >> 8) & 0xFF; }
inline unsigned msfFrames(std::uint32_t v) { return (v >> 16) & 0xFF; }
// TMSF: track in the low byte, then minutes, seconds and frames.
inline std::uint32_t tmsf(unsigned track, unsigned minutes, unsigned seconds, unsigned frames) {
    return (track & 0xFF) | (minutes & 0xFF) << 8 | (seconds & 0xFF) << 16 |
           (frames & 0xFF) << 24;
}
}  // namespace mci

class MediaControl {
  public:
    virtual ~MediaControl() = default;

    // The device type's low word names the kind (wave audio, CD audio, or 0
    // for "choose by the element"); for CD audio the high word is the
    // drive's ordinal. An element is a file name.
    virtual unsigned open(unsigned deviceType, const QString& element, bool shareable,
                          unsigned& deviceId) = 0;
    virtual unsigned setTimeFormat(unsigned deviceId, unsigned format) = 0;
    // Track 0: the item for the whole medium.
    virtual unsigned status(unsigned deviceId, unsigned track, unsigned item,
                            std::uint32_t& value) = 0;
    virtual unsigned seek(unsigned deviceId, std::uint32_t to) = 0;
    // Starts playing and returns at once; without `from` it plays from the
    // current position, without `to` to the end.
    virtual unsigned play(unsigned deviceId, std::optional<std::uint32_t> from,
                          std::optional<std::uint32_t> to) = 0;
    virtual unsigned stop(unsigned deviceId) = 0;
    virtual unsigned close(unsigned deviceId) = 0;
    // The text of an error code; empty for a code it does not know.
    virtual QString errorText(unsigned code) const = 0;

    // 1 when sound output works (a sound card, or the silent stand-in), 0
    // when nothing can be opened.
    virtual int waveOutputDevices() = 0;
    virtual int cdAudioDevices() = 0;

    // The program's own output gain, 0..1.
    virtual void setGain(double gain) = 0;
    virtual double gain() const = 0;

    // Decoding for analysis (sonograms) beside playback; none without it.
    virtual SoundAnalysis* analysis() { return nullptr; }

    // How whatever plays, now or next, is heard; switched while playing it
    // takes effect at once.
    virtual void setListening(const Listening& listening) { listening_ = listening; }
    virtual Listening listening() const { return listening_; }

  private:
    Listening listening_;
};

// The engine the program uses; tests may put another in its place.
MediaControl& mediaControl();
void setMediaControl(MediaControl* control);  // nullptr: the engine again

// The engine lives in a module of its own, loaded at its first use: the
// decoders, the sound output and the CD library it draws in would otherwise
// be linked and set up before the program could show its first window.
// Loads it now (waiting when another thread is loading it); safe from any
// thread. Without the module every device is missing.
void loadSoundEngine();
// Whether the engine's module has been looked for (loaded, or found missing).
bool soundEngineLoaded();

// Raised with every change of MediaControl's virtual functions: a module
// built against another version (an older installation left on the path)
// is passed over rather than called through the wrong table.
inline constexpr int kSoundEngineInterface = 3;

}  // namespace platform::audio
