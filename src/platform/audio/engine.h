#pragma once

#include "platform/audio/media_control.h"

#include <map>
#include <memory>

namespace platform::audio {

// The media control of this system: sound files decoded by FFmpeg, audio
// CDs read through libcdio, everything played through one SDL output.
class Engine final : public MediaControl {
  public:
    static Engine& instance();
    Engine();
    ~Engine() override;

    // The CD drives by ordinal: device names, or CUE files standing in for
    // a disc in a drive. By default the optical drives libcdio finds.
    void setCdDrives(const QStringList& drives);
    QStringList cdDrives();

    unsigned open(unsigned deviceType, const QString& element, bool shareable,
                  unsigned& deviceId) override;
    unsigned setTimeFormat(unsigned deviceId, unsigned format) override;
    unsigned status(unsigned deviceId, unsigned track, unsigned item, std::uint32_t& value) override;
    unsigned seek(unsigned deviceId, std::uint32_t to) override;
    unsigned play(unsigned deviceId, std::optional<std::uint32_t> from,
                  std::optional<std::uint32_t> to) override;
    unsigned stop(unsigned deviceId) override;
    unsigned close(unsigned deviceId) override;
    QString errorText(unsigned code) const override;
    int waveOutputDevices() override;
    int cdAudioDevices() override;
    void setGain(double gain) override;
    double gain() const override;
    SoundAnalysis* analysis() override;
    void setListening(const Listening& listening) override;
    Listening listening() const override;

    // For measurements: when the device's current play handed its first
    // sound to the output (steady-clock nanoseconds), 0 before.
    std::int64_t firstSampleAt(unsigned deviceId) const;
    // When the output first took sound made the way last set while the
    // device played (steady-clock nanoseconds), 0 before.
    std::int64_t listeningHeardAt(unsigned deviceId) const;

    class Device;

  private:
    Device* device(unsigned id) const;

    std::map<unsigned, std::unique_ptr<Device>> devices_;
    unsigned nextId_ = 1;
    std::optional<QStringList> drives_;
    Listening listening_;
};

}  // namespace platform::audio
