#include "platform/audio/engine.h"

#include "platform/audio/cd_disc.h"
#include "platform/audio/file_decoder.h"
#include "platform/audio/mono_decoder.h"
#include "platform/audio/playback.h"

#include <cdio/cdio.h>

namespace platform::audio {

using namespace mci;

namespace {

constexpr std::int64_t msFromFrames(std::int64_t frames) {
    return frames * 1000 / kOutputRate;
}

}  // namespace

// What every opened device answers.
class Engine::Device {
  public:
    virtual ~Device() = default;
    virtual unsigned setTimeFormat(unsigned format) = 0;
    virtual unsigned status(unsigned track, unsigned item, std::uint32_t& value) = 0;
    virtual unsigned seek(std::uint32_t to) = 0;
    virtual unsigned play(std::optional<std::uint32_t> from, std::optional<std::uint32_t> to) = 0;
    virtual unsigned stop() = 0;
    virtual std::int64_t firstSampleAt() const = 0;
    virtual void setListening(const Listening& listening) = 0;
    virtual std::int64_t listeningHeardAt() const = 0;
};

namespace {

// A sound file; its positions are milliseconds.
class FileDevice final : public Engine::Device {
  public:
    FileDevice(std::unique_ptr<FileDecoder> decoder)
        : lengthMs_(decoder->lengthMs()), lengthFrames_(decoder->lengthFrames()),
          playback_(std::move(decoder)) {}

    unsigned setTimeFormat(unsigned format) override {
        return format == kFormatMilliseconds ? 0 : kErrorBadTimeFormat;
    }

    unsigned status(unsigned, unsigned item, std::uint32_t& value) override {
        switch (item) {
            case kStatusLength: value = static_cast<std::uint32_t>(lengthMs_); return 0;
            case kStatusPosition: value = static_cast<std::uint32_t>(msFromFrames(position())); return 0;
            case kStatusMode: value = playback_.playing() ? kModePlaying : kModeStopped; return 0;
            case kStatusMediaPresent: value = 1; return 0;
            case kStatusNumberOfTracks: value = 1; return 0;
            default: return kErrorUnrecognizedCommand;
        }
    }

    unsigned seek(std::uint32_t to) override {
        if (to > lengthMs_) return kErrorOutOfRange;
        if (playback_.playing()) playback_.stop();
        played_ = false;
        seekFrame_ = std::min(framesFromMs(to), lengthFrames_);
        return 0;
    }

    unsigned play(std::optional<std::uint32_t> from, std::optional<std::uint32_t> to) override {
        const std::int64_t start = from ? framesFromMs(*from) : position();
        const std::int64_t end = to ? framesFromMs(*to) : lengthFrames_;
        if ((from && *from > lengthMs_) || (to && *to > lengthMs_) || start > end)
            return kErrorOutOfRange;
        playback_.play(start, std::min(end, lengthFrames_));
        played_ = true;
        return 0;
    }

    unsigned stop() override {
        if (playback_.playing()) playback_.stop();
        return 0;
    }

    std::int64_t firstSampleAt() const override { return playback_.firstSampleAt(); }
    void setListening(const Listening& listening) override { playback_.setListening(listening); }
    std::int64_t listeningHeardAt() const override { return playback_.listeningHeardAt(); }

  private:
    std::int64_t position() const { return played_ ? playback_.position() : seekFrame_; }

    std::int64_t lengthMs_;
    std::int64_t lengthFrames_;
    Playback playback_;
    std::int64_t seekFrame_ = 0;
    bool played_ = false;
};

// An audio CD drive; addresses are CD frames from the start of the disc.
class CdDevice final : public Engine::Device {
  public:
    explicit CdDevice(QString source) : source_(std::move(source)) {}

    unsigned setTimeFormat(unsigned format) override {
        if (format != kFormatMilliseconds && format != kFormatMsf && format != kFormatTmsf)
            return kErrorBadTimeFormat;
        format_ = format;
        return 0;
    }

    unsigned status(unsigned track, unsigned item, std::uint32_t& value) override {
        if (item == kStatusMediaPresent) {
            value = disc() ? 1 : 0;
            return 0;
        }
        if (item == kStatusMode) {
            value = !disc() ? kModeNotReady : playback_ && playback_->playing() ? kModePlaying : kModeStopped;
            return 0;
        }
        const CdDisc* d = disc();
        if (!d) return kErrorDeviceNotReady;
        if (track != 0 && !d->hasTrack(static_cast<int>(track))) return kErrorOutOfRange;
        const int t = static_cast<int>(track);
        switch (item) {
            case kStatusNumberOfTracks: value = static_cast<std::uint32_t>(d->trackCount()); return 0;
            case kStatusTrackType:
                if (track == 0) return kErrorOutOfRange;
                value = d->isAudio(t) ? kTrackAudio : kTrackOther;
                return 0;
            case kStatusLength:
                value = duration(track == 0 ? d->discEnd() - kCdLeadIn : d->trackLength(t));
                return 0;
            case kStatusPosition:
                value = track == 0 ? address(position()) : address(d->trackStart(t));
                if (track != 0 && format_ == kFormatTmsf) value = tmsf(track, 0, 0, 0);
                return 0;
            default: return kErrorUnrecognizedCommand;
        }
    }

    unsigned seek(std::uint32_t to) override {
        std::int64_t where = 0;
        if (const unsigned e = toAddress(to, where)) return e;
        if (playback_ && playback_->playing()) playback_->stop();
        played_ = false;
        seekAddress_ = where;
        return 0;
    }

    unsigned play(std::optional<std::uint32_t> from, std::optional<std::uint32_t> to) override {
        const CdDisc* d = disc();
        if (!d) return kErrorDeviceNotReady;
        std::int64_t start = position(), end = d->discEnd();
        if (from)
            if (const unsigned e = toAddress(*from, start)) return e;
        if (to)
            if (const unsigned e = toAddress(*to, end)) return e;
        if (start > end) return kErrorOutOfRange;
        if (!playback_) {
            std::unique_ptr<SoundSource> reader = d->reader();
            if (!reader) return kErrorHardware;
            playback_ = std::make_unique<Playback>(std::move(reader));
            playback_->setListening(listening_);
        }
        playback_->play(start * kSamplesPerCdFrame, end * kSamplesPerCdFrame);
        played_ = true;
        return 0;
    }

    unsigned stop() override {
        if (playback_ && playback_->playing()) playback_->stop();
        return 0;
    }

    std::int64_t firstSampleAt() const override { return playback_ ? playback_->firstSampleAt() : 0; }
    void setListening(const Listening& listening) override {
        listening_ = listening;
        if (playback_) playback_->setListening(listening);
    }
    std::int64_t listeningHeardAt() const override { return playback_ ? playback_->listeningHeardAt() : 0; }

  private:
    const CdDisc* disc() {
        if (!disc_) disc_ = CdDisc::open(source_);
        return disc_.get();
    }

    std::int64_t position() const {
        if (played_ && playback_) return playback_->position() / kSamplesPerCdFrame;
        if (seekAddress_ < 0 && disc_) return disc_->trackStart(1);
        return std::max<std::int64_t>(seekAddress_, kCdLeadIn);
    }

    std::uint32_t duration(std::int64_t frames) const {
        if (format_ == kFormatMilliseconds) return static_cast<std::uint32_t>(frames * 1000 / kCdFramesPerSecond);
        return msf(static_cast<unsigned>(frames / (60 * kCdFramesPerSecond)),
                   static_cast<unsigned>(frames / kCdFramesPerSecond % 60),
                   static_cast<unsigned>(frames % kCdFramesPerSecond));
    }

    std::uint32_t address(std::int64_t where) const {
        if (format_ == kFormatTmsf && disc_) {
            const int t = disc_->trackAt(static_cast<int>(where));
            const std::uint32_t inTrack = duration(where - disc_->trackStart(t));
            return tmsf(static_cast<unsigned>(t), msfMinutes(inTrack), msfSeconds(inTrack), msfFrames(inTrack));
        }
        return duration(where);
    }

    unsigned toAddress(std::uint32_t value, std::int64_t& where) {
        const CdDisc* d = disc();
        if (!d) return kErrorDeviceNotReady;
        switch (format_) {
            case kFormatMilliseconds: where = std::int64_t{value} * kCdFramesPerSecond / 1000; break;
            case kFormatMsf:
                where = (std::int64_t{msfMinutes(value)} * 60 + msfSeconds(value)) * kCdFramesPerSecond +
                        msfFrames(value);
                break;
            default: {
                const int t = static_cast<int>(value & 0xFF);
                if (!d->hasTrack(t)) return kErrorOutOfRange;
                const std::uint32_t rest = value >> 8;
                where = d->trackStart(t) +
                        (std::int64_t{msfMinutes(rest)} * 60 + msfSeconds(rest)) * kCdFramesPerSecond +
                        msfFrames(rest);
            }
        }
        if (where > d->discEnd()) return kErrorOutOfRange;
        return 0;
    }

    QString source_;
    std::unique_ptr<CdDisc> disc_;
    std::unique_ptr<Playback> playback_;
    Listening listening_;
    unsigned format_ = kFormatMsf;
    std::int64_t seekAddress_ = -1;
    bool played_ = false;
};

}  // namespace

Engine& Engine::instance() {
    static Engine engine;
    return engine;
}

Engine::Engine() = default;
Engine::~Engine() = default;

void Engine::setCdDrives(const QStringList& drives) {
    drives_ = drives;
}

QStringList Engine::cdDrives() {
    if (!drives_) {
        drives_.emplace();
        if (char** list = cdio_get_devices(DRIVER_DEVICE)) {
            for (char** p = list; *p; ++p) drives_->append(QString::fromLocal8Bit(*p));
            cdio_free_device_list(list);
        }
    }
    return *drives_;
}

Engine::Device* Engine::device(unsigned id) const {
    const auto it = devices_.find(id);
    return it == devices_.end() ? nullptr : it->second.get();
}

unsigned Engine::open(unsigned deviceType, const QString& element, bool, unsigned& deviceId) {
    deviceId = 0;
    std::unique_ptr<Device> made;
    if ((deviceType & 0xFFFF) == kDeviceCdAudio) {
        const QStringList drives = cdDrives();
        const auto ordinal = static_cast<qsizetype>(deviceType >> 16);
        if (ordinal >= drives.size()) return kErrorInvalidDeviceName;
        made = std::make_unique<CdDevice>(drives[ordinal]);
    } else if (deviceType == kDeviceWaveAudio || deviceType == 0) {
        if (element.isEmpty()) return kErrorInvalidFile;
        unsigned error = 0;
        std::unique_ptr<FileDecoder> decoder = FileDecoder::open(element, error);
        if (!decoder) return error;
        if (!Output::instance().available()) return kErrorNoWaveOutput;
        made = std::make_unique<FileDevice>(std::move(decoder));
    } else {
        return kErrorInvalidDeviceName;
    }
    made->setListening(listening_);
    deviceId = nextId_++;
    devices_[deviceId] = std::move(made);
    return 0;
}

unsigned Engine::setTimeFormat(unsigned id, unsigned format) {
    Device* d = device(id);
    return d ? d->setTimeFormat(format) : kErrorInvalidDeviceId;
}

unsigned Engine::status(unsigned id, unsigned track, unsigned item, std::uint32_t& value) {
    Device* d = device(id);
    return d ? d->status(track, item, value) : kErrorInvalidDeviceId;
}

unsigned Engine::seek(unsigned id, std::uint32_t to) {
    Device* d = device(id);
    return d ? d->seek(to) : kErrorInvalidDeviceId;
}

unsigned Engine::play(unsigned id, std::optional<std::uint32_t> from, std::optional<std::uint32_t> to) {
    Device* d = device(id);
    return d ? d->play(from, to) : kErrorInvalidDeviceId;
}

unsigned Engine::stop(unsigned id) {
    Device* d = device(id);
    return d ? d->stop() : kErrorInvalidDeviceId;
}

unsigned Engine::close(unsigned id) {
    return devices_.erase(id) ? 0 : kErrorInvalidDeviceId;
}

std::int64_t Engine::firstSampleAt(unsigned id) const {
    const Device* d = device(id);
    return d ? d->firstSampleAt() : 0;
}

std::int64_t Engine::listeningHeardAt(unsigned id) const {
    const Device* d = device(id);
    return d ? d->listeningHeardAt() : 0;
}

QString Engine::errorText(unsigned code) const {
    switch (code) {
        case kErrorInvalidDeviceId: return QStringLiteral("The device is not open.");
        case kErrorUnrecognizedCommand: return QStringLiteral("The device does not answer this request.");
        case kErrorHardware: return QStringLiteral("The drive could not read the disc.");
        case kErrorInvalidDeviceName: return QStringLiteral("There is no such drive or device.");
        case kErrorCannotLoadDriver: return QStringLiteral("The sound system could not be started.");
        case kErrorFileNotFound: return QStringLiteral("The sound file was not found.");
        case kErrorDeviceNotReady: return QStringLiteral("The drive is not ready: there is no disc in it.");
        case kErrorOutOfRange: return QStringLiteral("The position lies outside the recording.");
        case kErrorBadTimeFormat: return QStringLiteral("The device does not know this time format.");
        case kErrorInvalidFile:
            return QStringLiteral("The file is not a sound file this program can read, or it is damaged.");
        case kErrorNoWaveOutput: return QStringLiteral("No sound output could be opened.");
        case kErrorNoSuitableDecoder:
            return QStringLiteral("No decoder for the sound format of this file is available.");
        default: return {};
    }
}

int Engine::waveOutputDevices() {
    return Output::instance().available() ? 1 : 0;
}

int Engine::cdAudioDevices() {
    return static_cast<int>(cdDrives().size());
}

void Engine::setGain(double gain) {
    Output::instance().setGain(static_cast<float>(std::clamp(gain, 0.0, 1.0)));
}

double Engine::gain() const {
    return Output::instance().gain();
}

void Engine::setListening(const Listening& listening) {
    listening_ = listening;
    for (auto& [id, device] : devices_) device->setListening(listening);
}

Listening Engine::listening() const {
    return listening_;
}

SoundAnalysis* Engine::analysis() {
    return &engineSoundAnalysis();
}

}  // namespace platform::audio

// The interface the module was built against; the program checks it first.
extern "C" __attribute__((visibility("default"))) int korvelan_sound_engine_interface() {
    return platform::audio::kSoundEngineInterface;
}

// The module's entry: the program finds the engine through it.
extern "C" __attribute__((visibility("default"))) platform::audio::MediaControl*
korvelan_sound_engine() {
    return &platform::audio::Engine::instance();
}
