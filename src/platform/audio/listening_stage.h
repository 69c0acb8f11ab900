#pragma once

#include "platform/audio/media_control.h"
#include "platform/audio/sound_source.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

struct SwrContext;

namespace platform::audio {

// Between a source and the output: plays a range of the medium again and
// again, lets one band through, slows the sound with its pitch lowered
// (resampling) or kept (a time-stretcher), or lowers it an octave. Each
// frame handed out carries its place in the medium, so the playhead stays
// in the recording's own time at any speed. Used by one thread at a time.
class ListeningStage {
  public:
    explicit ListeningStage(SoundSource& source);
    ~ListeningStage();
    ListeningStage(const ListeningStage&) = delete;
    ListeningStage& operator=(const ListeningStage&) = delete;

    // Takes effect at the next start.
    void configure(const Listening& listening);
    const Listening& listening() const { return listening_; }

    // Plays from `from` to `to` (frames of the medium); with a loop, from
    // the loop's start unless `from` lies in it. `fadeIn` starts softly, for
    // a change in the middle of the sound.
    bool start(std::int64_t from, std::int64_t to, bool fadeIn = false);
    // Up to `frames` output frames and, for each, the medium frame heard
    // there; 0 at the end (never with a loop).
    int read(float* out, std::int64_t* places, int frames);

    // Frames of the medium a frame of output stands for (½ when slowed to
    // half the speed).
    double speed() const;
    // The filter the time-stretching uses here ("rubberband" or "atempo").
    static const char* stretcher();

  private:
    struct Graph;
    struct Segment {
        std::int64_t input;  // the index of its first frame in the processed input
        std::int64_t place;
        std::int64_t length;
    };

    // The loop stage: stereo frames of the medium with their places.
    int pull(float* out, std::int64_t* places, int frames);
    int pullStraight(float* out, std::int64_t* places, int frames);
    bool restartPass();
    void crossfade(float* out, std::int64_t firstOffset, int frames);
    // Feeds the processing one chunk (or its end) and collects its output.
    bool processMore();
    std::int64_t placeOfInput(std::int64_t input);
    bool processed() const;

    SoundSource& source_;
    Listening listening_;

    // The loop, in frames of the medium.
    bool looping_ = false;
    std::int64_t loopFrom_ = 0;
    std::int64_t loopTo_ = 0;
    int joint_ = 0;              // the crossfade's length at each joint
    std::int64_t end_ = 0;       // of the range played
    std::int64_t cursor_ = 0;    // the medium frame the next pulled frame comes from
    std::int64_t readTo_ = 0;    // what the source was started for
    bool sourceEnded_ = false;
    bool passFromStart_ = false;  // the pass being read began at the loop's start
    bool crossfading_ = false;   // the pass began at a joint
    bool cached_ = false;        // the whole loop and its tail are in memory
    std::vector<float> loopSound_;  // [loopFrom_, loopTo_) as read
    std::vector<float> tail_;       // what follows loopTo_, faded into each new pass

    // Processing: mono in, mono out.
    std::unique_ptr<Graph> graph_;
    SwrContext* tape_ = nullptr;
    std::deque<Segment> segments_;
    std::int64_t fed_ = 0;       // input frames given to the processing
    std::int64_t produced_ = 0;  // output frames handed out
    std::int64_t graphOut_ = 0;  // frames the filter graph gave
    std::vector<float> outMono_;
    std::size_t outRead_ = 0;
    bool flushed_ = false;
    std::int64_t lastPlace_ = 0;
    int fadeIn_ = 0;  // frames of the fade-in still to apply
    int fadeDone_ = 0;
    std::vector<float> chunk_;
    std::vector<std::int64_t> chunkPlaces_;
    std::vector<float> mono_;
};

}  // namespace platform::audio
