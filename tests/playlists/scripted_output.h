#pragma once

// A sound output for the shows' tests: every file opens and has a set
// length, and it stops playing after a set number of mode queries, so that
// a recording button or a spoken name ends at once (or never).

#include "platform/audio/media_control.h"

#include <QStringList>

namespace playlist_testing {

class ScriptedOutput : public platform::audio::MediaControl {
  public:
    using Mci = platform::audio::MediaControl;
    ScriptedOutput() { platform::audio::setMediaControl(this); }
    ~ScriptedOutput() override { platform::audio::setMediaControl(nullptr); }

    QStringList opened;      // the files, in order
    int plays = 0;
    int open_devices = 0;
    bool refuse_files = false;
    std::uint32_t length_ms = 1000;
    // "Playing" answers to mode queries after each play; then stopped.
    int playing_answers = 0;

    unsigned open(unsigned, const QString& element, bool, unsigned& id) override {
        if (refuse_files) return platform::audio::mci::kErrorFileNotFound;
        opened << element;
        ++open_devices;
        id = static_cast<unsigned>(opened.size());
        return 0;
    }
    unsigned setTimeFormat(unsigned, unsigned) override { return 0; }
    unsigned status(unsigned, unsigned, unsigned item, std::uint32_t& value) override {
        namespace mci = platform::audio::mci;
        switch (item) {
            case mci::kStatusLength: value = length_ms; break;
            // Played through as soon as it started.
            case mci::kStatusPosition: value = playing_ ? length_ms : 0; break;
            case mci::kStatusMode:
                value = playing_ && left_ > 0 ? mci::kModePlaying : mci::kModeStopped;
                if (left_ > 0) --left_;
                break;
            default: value = 0; break;
        }
        return 0;
    }
    unsigned seek(unsigned, std::uint32_t) override { return 0; }
    unsigned play(unsigned, std::optional<std::uint32_t>, std::optional<std::uint32_t>) override {
        ++plays;
        playing_ = true;
        left_ = playing_answers;
        return 0;
    }
    unsigned stop(unsigned) override {
        playing_ = false;
        return 0;
    }
    unsigned close(unsigned) override {
        playing_ = false;
        --open_devices;
        return 0;
    }
    QString errorText(unsigned) const override { return {}; }
    int waveOutputDevices() override { return 1; }
    int cdAudioDevices() override { return 0; }
    void setGain(double) override {}
    double gain() const override { return 1.0; }

  private:
    bool playing_ = false;
    int left_ = 0;
};

}  // namespace playlist_testing
