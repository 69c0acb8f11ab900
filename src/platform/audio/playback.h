#pragma once

#include "platform/audio/listening_stage.h"
#include "platform/audio/sound_source.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace platform::audio {

// Plays a source through the output. The source is read on a thread of its
// own into a ring that the output drains; the user-interface thread only
// posts commands and reads counters, so it never waits on decoding or disk.
class Playback {
  public:
    explicit Playback(std::unique_ptr<SoundSource> source);
    ~Playback();
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    // Plays the range (output frames) and returns at once.
    void play(std::int64_t from, std::int64_t to);
    void stop();
    bool playing() const { return playing_ && !finished_.load(); }
    // The place reached in the medium: where the last frame the output
    // consumed came from (at any speed, and going back at a loop's joint).
    std::int64_t position() const { return position_.load(); }
    // How the sound is heard; while playing the change is heard within a few
    // output buffers, softly faded over.
    void setListening(const Listening& listening);
    // Nanoseconds (steady clock) at which the output first took sound made
    // the way last set while playing; 0 until then.
    std::int64_t listeningHeardAt() const { return listeningHeardAt_.load(); }
    // Nanoseconds (steady clock) at which the first sound of the range went
    // to the output; 0 until then.
    std::int64_t firstSampleAt() const { return firstSampleAt_.load(); }

    // Called by the output with its lock held.
    void mixInto(float* out, int frames, float gain);

  private:
    void run();
    std::size_t ringFree() const;

    void retune(const Listening& listening, std::int64_t to);
    // Reads from the stage into the ring; the frames read.
    int fill(float* chunk, std::int64_t* places, int frames);

    std::unique_ptr<SoundSource> source_;
    ListeningStage stage_;
    std::vector<float> ring_;
    std::vector<std::int64_t> places_;  // the medium frame of each ring frame
    std::atomic<std::uint64_t> written_{0};  // frames, counting up forever
    std::atomic<std::uint64_t> read_{0};
    std::atomic<bool> active_{false};       // the output may drain the ring
    std::atomic<bool> sourceEnded_{false};
    std::atomic<bool> finished_{false};
    std::atomic<std::int64_t> position_{0};
    std::atomic<std::int64_t> firstSampleAt_{0};
    std::atomic<std::int64_t> listeningHeardAt_{0};
    // The ring frame from which the sound is made the new way; none pending: 0.
    std::uint64_t retunedFrom_ = 0;
    bool retunePending_ = false;
    bool playing_ = false;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::uint64_t command_ = 0;  // bumped by play and stop
    std::int64_t commandFrom_ = 0;
    std::int64_t commandTo_ = 0;
    bool commandPlay_ = false;
    std::uint64_t listeningCommand_ = 0;  // bumped by setListening
    Listening commandListening_;
    bool quit_ = false;
    std::thread thread_;
};

// The one sound output: an SDL audio device, or SDL's silent dummy driver
// when no real device opens.
class Output {
  public:
    static Output& instance();
    // Opens the device on first use; false when even the dummy driver fails.
    bool available();
    const char* driverName() const;
    void attach(Playback* playback);
    void detach(Playback* playback);
    // Keeps the output from mixing while a playback changes state.
    void lock();
    void unlock();
    void setGain(float gain) { gain_ = gain; }
    float gain() const { return gain_; }

  private:
    Output() = default;
    bool open();
    static void callback(void* self, std::uint8_t* stream, int bytes);

    bool tried_ = false;
    std::uint32_t device_ = 0;
    std::vector<Playback*> playbacks_;
    std::atomic<float> gain_{1.0f};
};

}  // namespace platform::audio
