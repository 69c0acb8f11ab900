#include "platform/audio/media_control.h"
#include "platform/audio/sound_analysis.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <memory>
#include <mutex>

namespace platform::audio {

namespace {

using namespace mci;

// What the program has when the engine's module cannot be loaded: no sound
// output and no drive, every device refused as the system would.
class NoSoundEngine final : public MediaControl {
  public:
    unsigned open(unsigned, const QString&, bool, unsigned& deviceId) override {
        deviceId = 0;
        return kErrorCannotLoadDriver;
    }
    unsigned setTimeFormat(unsigned, unsigned) override { return kErrorInvalidDeviceId; }
    unsigned status(unsigned, unsigned, unsigned, std::uint32_t& value) override {
        value = 0;
        return kErrorInvalidDeviceId;
    }
    unsigned seek(unsigned, std::uint32_t) override { return kErrorInvalidDeviceId; }
    unsigned play(unsigned, std::optional<std::uint32_t>, std::optional<std::uint32_t>) override {
        return kErrorInvalidDeviceId;
    }
    unsigned stop(unsigned) override { return kErrorInvalidDeviceId; }
    unsigned close(unsigned) override { return kErrorInvalidDeviceId; }
    QString errorText(unsigned code) const override {
        switch (code) {
            case kErrorCannotLoadDriver: return QStringLiteral("The sound system could not be started.");
            case kErrorInvalidDeviceId: return QStringLiteral("The device is not open.");
            default: return {};
        }
    }
    int waveOutputDevices() override { return 0; }
    int cdAudioDevices() override { return 0; }
    void setGain(double gain) override { gain_ = gain; }
    double gain() const override { return gain_; }

  private:
    double gain_ = 1.0;
};

class NoSoundAnalysis final : public SoundAnalysis {
  public:
    unsigned decodeMono(const QString&, std::int64_t, std::int64_t, MonoSound& out,
                        const std::atomic<bool>*) override {
        out = {};
        return kErrorCannotLoadDriver;
    }
    unsigned decodeCdMono(int, int, std::int64_t, std::int64_t, MonoSound& out, const std::atomic<bool>*) override {
        out = {};
        return kErrorCannotLoadDriver;
    }
    std::unique_ptr<RealTransform> realTransform(int) override { return nullptr; }
};

// Where the module may lie: beside the program, where an installation puts
// it (lib/korvelan beside bin), and where the build made it.
QStringList moduleCandidates() {
    const QString name = QStringLiteral(KORVELAN_SOUND_ENGINE_FILE_NAME);
    const QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    QStringList candidates;
    if (!program.isEmpty()) {
        const QDir programDir = QFileInfo(program).dir();
        candidates << programDir.filePath(name)
                   << programDir.filePath(QStringLiteral("../lib/korvelan/") + name);
    }
    candidates << QStringLiteral(KORVELAN_SOUND_ENGINE_BUILD_PATH);
    return candidates;
}

// The engine of the first module that has one; `module` keeps it loaded
// (never unloaded: the engine's output thread runs until the end).
MediaControl* loadModule(std::unique_ptr<QLibrary>& module) {
    using Entry = MediaControl* (*)();
    using Version = int (*)();
    for (const QString& path : moduleCandidates()) {
        if (!QFileInfo::exists(path)) continue;
        module = std::make_unique<QLibrary>(path);
        const auto version = reinterpret_cast<Version>(module->resolve("korvelan_sound_engine_interface"));
        const auto entry = reinterpret_cast<Entry>(module->resolve("korvelan_sound_engine"));
        if (entry && version && version() == kSoundEngineInterface) return entry();
        module.reset();
    }
    return nullptr;
}

// Hands out the engine, loading its module once. Until then the output
// gain and the listening choice are kept here, so that the volume and each
// window's remembered choice can be set at start without loading it (the
// module draws in the decoders and the sound output, a good part of the
// time to the first window).
class EngineLoader final : public MediaControl {
  public:
    MediaControl& engine() {
        std::call_once(once_, [this] {
            MediaControl* loaded = loadModule(module_);
            const std::lock_guard lock(early_mutex_);
            engine_ = loaded ? loaded : &no_sound_;
            if (gain_set_) engine_->setGain(gain_);
            if (listening_set_) engine_->setListening(listening_);
        });
        return *engine_;
    }

    unsigned open(unsigned type, const QString& element, bool shareable, unsigned& id) override {
        return engine().open(type, element, shareable, id);
    }
    unsigned setTimeFormat(unsigned id, unsigned format) override {
        return engine().setTimeFormat(id, format);
    }
    unsigned status(unsigned id, unsigned track, unsigned item, std::uint32_t& value) override {
        return engine().status(id, track, item, value);
    }
    unsigned seek(unsigned id, std::uint32_t to) override { return engine().seek(id, to); }
    unsigned play(unsigned id, std::optional<std::uint32_t> from,
                  std::optional<std::uint32_t> to) override {
        return engine().play(id, from, to);
    }
    unsigned stop(unsigned id) override { return engine().stop(id); }
    unsigned close(unsigned id) override { return engine().close(id); }
    QString errorText(unsigned code) const override {
        return const_cast<EngineLoader*>(this)->engine().errorText(code);
    }
    int waveOutputDevices() override { return engine().waveOutputDevices(); }
    int cdAudioDevices() override { return engine().cdAudioDevices(); }
    void setGain(double gain) override {
        const std::lock_guard lock(early_mutex_);
        gain_ = gain;
        gain_set_ = true;
        if (engine_) engine_->setGain(gain);
    }
    double gain() const override {
        const std::lock_guard lock(early_mutex_);
        return engine_ ? engine_->gain() : gain_;
    }
    SoundAnalysis* analysis() override { return engine().analysis(); }
    void setListening(const Listening& listening) override {
        const std::lock_guard lock(early_mutex_);
        listening_ = listening;
        listening_set_ = true;
        if (engine_) engine_->setListening(listening);
    }
    Listening listening() const override {
        const std::lock_guard lock(early_mutex_);
        return engine_ ? engine_->listening() : listening_;
    }
    bool loaded() const {
        const std::lock_guard lock(early_mutex_);
        return engine_ != nullptr;
    }

  private:
    std::once_flag once_;
    std::unique_ptr<QLibrary> module_;
    MediaControl* engine_ = nullptr;  // set once, under early_mutex_
    NoSoundEngine no_sound_;
    mutable std::mutex early_mutex_;
    double gain_ = 1.0;
    bool gain_set_ = false;
    Listening listening_;
    bool listening_set_ = false;
};

EngineLoader& engineLoader() {
    static EngineLoader loader;
    return loader;
}

MediaControl* installed = nullptr;

}  // namespace

MediaControl& mediaControl() {
    return installed ? *installed : engineLoader();
}

void setMediaControl(MediaControl* control) {
    installed = control;
}

void loadSoundEngine() {
    engineLoader().engine();
}

bool soundEngineLoaded() {
    return engineLoader().loaded();
}

SoundAnalysis& soundAnalysis() {
    // The engine's own, even while a test plays through a stand-in: the
    // analysis only reads files. An engine put in its place that analyses
    // (the engine linked into a test) is asked instead: its drives are the
    // ones its players see.
    static NoSoundAnalysis none;
    if (installed)
        if (SoundAnalysis* own = installed->analysis()) return *own;
    SoundAnalysis* analysis = engineLoader().engine().analysis();
    return analysis ? *analysis : none;
}

}  // namespace platform::audio
