#include "platform/audio/listening_stage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace platform::audio {

namespace {

using Speed = Listening::Speed;

constexpr int kChunk = 1024;
// 10 ms: long enough that a joint has no click, short enough that the
// phrase's own start is heard at once.
constexpr int kJointFrames = kOutputRate / 100;
// A change in the middle of the sound fades in over 5 ms.
constexpr int kFadeFrames = kOutputRate / 200;
// The silence that flushes the filters at the end: more than a stretcher's
// window at a quarter of the speed.
constexpr int kFlushChunks = 16;

bool haveFilter(const char* name) {
    return avfilter_get_by_name(name) != nullptr;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

// The band: a linear-phase FIR equaliser (flat inside, deep outside, 20 ms
// long) where the filter is there, else steep cascades of two-pole filters.
std::string bandFilter(double low, double high) {
    low = std::max(low, 1.0);
    high = std::min(high, kOutputRate / 2.0 - 1);
    if (haveFilter("firequalizer"))
        return "firequalizer=gain='if(between(f," + number(low) + "," + number(high) +
               "),0,-120)':delay=0.02:wfunc=nuttall";
    std::string chain;
    for (int i = 0; i < 4; ++i) {
        if (!chain.empty()) chain += ',';
        chain += "highpass=f=" + number(low * 0.85) + ",lowpass=f=" + number(high * 1.15);
    }
    return chain;
}

std::string speedFilter(Speed speed) {
    const bool rubberband = haveFilter("rubberband");
    switch (speed) {
        case Speed::KeptThreeQuarters: return rubberband ? "rubberband=tempo=0.75" : "atempo=0.75";
        case Speed::KeptHalf: return rubberband ? "rubberband=tempo=0.5" : "atempo=0.5";
        // atempo goes down to one half per instance.
        case Speed::KeptQuarter: return rubberband ? "rubberband=tempo=0.25" : "atempo=0.5,atempo=0.5";
        case Speed::OctaveDown:
            return rubberband ? "rubberband=pitch=0.5" : "asetrate=22050,aresample=44100,atempo=2";
        default: return {};
    }
}

double tapeFactor(Speed speed) {
    return speed == Speed::TapeHalf ? 0.5 : speed == Speed::TapeQuarter ? 0.25 : 1.0;
}

}  // namespace

// A filter graph from mono float at the output rate to the same.
struct ListeningStage::Graph {
    AVFilterGraph* graph = nullptr;
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
    AVFrame* frame = nullptr;

    ~Graph() {
        av_frame_free(&frame);
        avfilter_graph_free(&graph);
    }

    bool build(const std::string& filters) {
        graph = avfilter_graph_alloc();
        frame = av_frame_alloc();
        if (!graph || !frame) return false;
        // One core: the sound plays beside the sonograms' worker.
        graph->nb_threads = 1;
        const std::string args = "sample_rate=" + std::to_string(kOutputRate) +
                                 ":sample_fmt=flt:channel_layout=mono:time_base=1/" + std::to_string(kOutputRate);
        if (avfilter_graph_create_filter(&source, avfilter_get_by_name("abuffer"), "in", args.c_str(), nullptr,
                                         graph) < 0)
            return false;
        if (avfilter_graph_create_filter(&sink, avfilter_get_by_name("abuffersink"), "out", nullptr, nullptr,
                                         graph) < 0)
            return false;
        const std::string chain =
            filters + ",aformat=sample_fmts=flt:channel_layouts=mono:sample_rates=" + std::to_string(kOutputRate);
        AVFilterInOut* outputs = avfilter_inout_alloc();
        AVFilterInOut* inputs = avfilter_inout_alloc();
        outputs->name = av_strdup("in");
        outputs->filter_ctx = source;
        inputs->name = av_strdup("out");
        inputs->filter_ctx = sink;
        const int parsed = avfilter_graph_parse_ptr(graph, chain.c_str(), &inputs, &outputs, nullptr);
        avfilter_inout_free(&inputs);
        avfilter_inout_free(&outputs);
        return parsed >= 0 && avfilter_graph_config(graph, nullptr) >= 0;
    }

    // Gives the graph `frames` samples (none: the end) and appends what it
    // hands out.
    bool push(const float* samples, int frames, std::int64_t pts, std::vector<float>& out) {
        if (frames > 0) {
            AVFrame* in = av_frame_alloc();
            in->format = AV_SAMPLE_FMT_FLT;
            in->sample_rate = kOutputRate;
            av_channel_layout_default(&in->ch_layout, 1);
            in->nb_samples = frames;
            in->pts = pts;
            if (av_frame_get_buffer(in, 0) < 0) {
                av_frame_free(&in);
                return false;
            }
            std::copy_n(samples, frames, reinterpret_cast<float*>(in->data[0]));
            const int added = av_buffersrc_add_frame(source, in);
            av_frame_free(&in);
            if (added < 0) return false;
        } else if (av_buffersrc_add_frame(source, nullptr) < 0) {
            return false;
        }
        while (av_buffersink_get_frame(sink, frame) >= 0) {
            const auto* data = reinterpret_cast<const float*>(frame->data[0]);
            out.insert(out.end(), data, data + frame->nb_samples);
            av_frame_unref(frame);
        }
        return true;
    }
};

ListeningStage::ListeningStage(SoundSource& source) : source_(source) {}

ListeningStage::~ListeningStage() {
    swr_free(&tape_);
}

const char* ListeningStage::stretcher() {
    return haveFilter("rubberband") ? "rubberband" : "atempo";
}

void ListeningStage::configure(const Listening& listening) {
    if (listening.loops() != listening_.loops() || listening.loopFromMs != listening_.loopFromMs ||
        listening.loopToMs != listening_.loopToMs)
        cached_ = false;
    listening_ = listening;
}

double ListeningStage::speed() const {
    switch (listening_.speed) {
        case Speed::TapeHalf:
        case Speed::KeptHalf: return 0.5;
        case Speed::TapeQuarter:
        case Speed::KeptQuarter: return 0.25;
        case Speed::KeptThreeQuarters: return 0.75;
        default: return 1.0;
    }
}

bool ListeningStage::processed() const {
    return listening_.speed != Speed::Normal || listening_.banded();
}

bool ListeningStage::start(std::int64_t from, std::int64_t to, bool fadeIn) {
    end_ = to;
    sourceEnded_ = false;
    const std::int64_t loopFrom = std::max<std::int64_t>(0, framesFromMs(listening_.loopFromMs));
    const std::int64_t loopTo = std::min(framesFromMs(listening_.loopToMs), to);
    const bool sameLoop = looping_ && loopFrom == loopFrom_ && loopTo == loopTo_;
    looping_ = listening_.loops() && loopTo - loopFrom >= 2;
    if (!sameLoop) cached_ = false;
    bool started = true;
    if (looping_) {
        loopFrom_ = loopFrom;
        loopTo_ = loopTo;
        joint_ = static_cast<int>(std::min<std::int64_t>(kJointFrames, (loopTo_ - loopFrom_) / 4));
        if (from < loopFrom_ || from >= loopTo_) from = loopFrom_;
        cursor_ = from;
        crossfading_ = false;
        if (!cached_) {
            passFromStart_ = from == loopFrom_;
            loopSound_.clear();
            readTo_ = std::min(loopTo_ + joint_, end_);
            started = source_.start(from, readTo_);
        }
    } else {
        cursor_ = from;
        started = source_.start(from, to);
    }
    lastPlace_ = from;
    fadeIn_ = fadeIn ? kFadeFrames : 0;
    fadeDone_ = 0;

    // The processing starts afresh.
    graph_.reset();
    swr_free(&tape_);
    segments_.clear();
    fed_ = produced_ = graphOut_ = 0;
    outMono_.clear();
    outRead_ = 0;
    flushed_ = false;
    if (processed()) {
        std::string filters;
        if (listening_.banded()) filters = bandFilter(listening_.bandLowHz, listening_.bandHighHz);
        const std::string speed = speedFilter(listening_.speed);
        if (!speed.empty()) filters += (filters.empty() ? "" : ",") + speed;
        if (!filters.empty()) {
            graph_ = std::make_unique<Graph>();
            if (!graph_->build(filters)) graph_.reset();
        }
        const double tape = tapeFactor(listening_.speed);
        if (tape != 1.0) {
            // Tape slowing: the samples taken for a lower rate and brought
            // back to the output's, so every frequency is divided too.
            AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
            if (swr_alloc_set_opts2(&tape_, &mono, AV_SAMPLE_FMT_FLT, kOutputRate, &mono, AV_SAMPLE_FMT_FLT,
                                    static_cast<int>(kOutputRate * tape), 0, nullptr) < 0 ||
                swr_init(tape_) < 0)
                swr_free(&tape_);
        }
    }
    return started;
}

int ListeningStage::pullStraight(float* out, std::int64_t* places, int frames) {
    if (sourceEnded_) return 0;
    const int n = source_.read(out, frames);
    for (int i = 0; i < n; ++i) places[i] = cursor_ + i;
    cursor_ += n;
    if (n < frames) sourceEnded_ = true;
    return n;
}

void ListeningStage::crossfade(float* out, std::int64_t firstOffset, int frames) {
    // The sound that would have followed the loop's end fades out while the
    // loop's start fades in: the joint continues the wave, no step in it.
    for (int i = 0; i < frames; ++i) {
        const std::int64_t k = firstOffset + i;
        if (k >= joint_) break;
        const float w = 0.5f - 0.5f * std::cos(static_cast<float>(M_PI) * (static_cast<float>(k) + 0.5f) /
                                               static_cast<float>(joint_));
        for (int c = 0; c < kOutputChannels; ++c) {
            float& s = out[i * kOutputChannels + c];
            s = s * w + tail_[static_cast<std::size_t>(k) * kOutputChannels + static_cast<std::size_t>(c)] * (1 - w);
        }
    }
}

bool ListeningStage::restartPass() {
    cursor_ = loopFrom_;
    crossfading_ = true;
    // From memory the passes go on with the tail read at the first.
    if (cached_) return true;
    // What follows the loop's end, for the crossfade into the next pass.
    tail_.assign(static_cast<std::size_t>(joint_) * kOutputChannels, 0.0f);
    int got = 0;
    while (got < joint_) {
        const int n = source_.read(tail_.data() + static_cast<std::size_t>(got) * kOutputChannels, joint_ - got);
        if (n == 0) break;
        got += n;
    }
    if (passFromStart_) {
        cached_ = true;
        return true;
    }
    // The first pass began inside the loop: read it once more from its
    // start, keeping it this time.
    passFromStart_ = true;
    loopSound_.clear();
    return source_.start(loopFrom_, readTo_);
}

int ListeningStage::pull(float* out, std::int64_t* places, int frames) {
    if (!looping_) return pullStraight(out, places, frames);
    int done = 0;
    while (done < frames) {
        float* at = out + static_cast<std::ptrdiff_t>(done) * kOutputChannels;
        const std::int64_t offset = cursor_ - loopFrom_;
        const int want = static_cast<int>(std::min<std::int64_t>(frames - done, loopTo_ - cursor_));
        int n = 0;
        if (cached_) {
            n = want;
            std::copy_n(loopSound_.data() + offset * kOutputChannels, n * kOutputChannels, at);
        } else {
            n = want > 0 ? source_.read(at, want) : 0;
            if (passFromStart_) loopSound_.insert(loopSound_.end(), at, at + n * kOutputChannels);
        }
        if (crossfading_) crossfade(at, offset, n);
        for (int i = 0; i < n; ++i) places[done + i] = cursor_ + i;
        cursor_ += n;
        done += n;
        if (!cached_ && n < want) {
            // The data ends inside the loop: the loop ends there.
            loopTo_ = cursor_;
            if (loopTo_ - loopFrom_ < 2 || !passFromStart_) {
                looping_ = false;
                return done;
            }
        }
        if (cursor_ >= loopTo_ && !restartPass()) {
            looping_ = false;
            return done;
        }
    }
    return done;
}

std::int64_t ListeningStage::placeOfInput(std::int64_t input) {
    while (segments_.size() > 1 && segments_.front().input + segments_.front().length <= input)
        segments_.pop_front();
    if (segments_.empty()) return lastPlace_;
    const Segment& s = segments_.front();
    if (input < s.input) return s.place;
    if (input < s.input + s.length) return s.place + (input - s.input);
    return s.place + s.length - 1;
}

bool ListeningStage::processMore() {
    chunk_.resize(static_cast<std::size_t>(kChunk) * kOutputChannels);
    chunkPlaces_.resize(kChunk);
    const int n = pull(chunk_.data(), chunkPlaces_.data(), kChunk);
    std::vector<float> out;
    if (n == 0) {
        flushed_ = true;
        if (graph_) {
            // The filters hold back what their windows still need: silence
            // after the end pushes the last of the sound out, and the output
            // is cut to the length the speed gives.
            const std::vector<float> silence(kChunk, 0.0f);
            for (int i = 0; i < kFlushChunks; ++i)
                graph_->push(silence.data(), kChunk, fed_ + static_cast<std::int64_t>(i) * kChunk, out);
            graph_->push(nullptr, 0, fed_ + static_cast<std::int64_t>(kFlushChunks) * kChunk, out);
            const double rate = tape_ ? 1.0 : speed();
            const auto length = static_cast<std::size_t>(std::llround(static_cast<double>(fed_) / rate));
            const std::size_t made = static_cast<std::size_t>(graphOut_) + out.size();
            if (made > length) out.resize(out.size() - std::min(out.size(), made - length));
        }
    } else {
        mono_.resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) mono_[static_cast<std::size_t>(i)] = 0.5f * (chunk_[static_cast<std::size_t>(i) * 2] + chunk_[static_cast<std::size_t>(i) * 2 + 1]);
        // Where each input frame lies in the medium, in runs (a loop's joint
        // breaks a run).
        for (int i = 0; i < n; ++i) {
            const std::int64_t place = chunkPlaces_[static_cast<std::size_t>(i)];
            if (!segments_.empty()) {
                Segment& last = segments_.back();
                if (last.input + last.length == fed_ + i && last.place + last.length == place) {
                    ++last.length;
                    continue;
                }
            }
            segments_.push_back({fed_ + i, place, 1});
        }
        if (graph_) {
            if (!graph_->push(mono_.data(), n, fed_, out)) out.clear();
            graphOut_ += static_cast<std::int64_t>(out.size());
        } else {
            out = mono_;
        }
        fed_ += n;
    }
    if (tape_) {
        const double tape = tapeFactor(listening_.speed);
        std::vector<float> slowed(static_cast<std::size_t>(static_cast<double>(out.size()) / tape) + 512);
        auto* outPtr = reinterpret_cast<std::uint8_t*>(slowed.data());
        const auto* inPtr = reinterpret_cast<const std::uint8_t*>(out.data());
        const int made = swr_convert(tape_, &outPtr, static_cast<int>(slowed.size()), out.empty() ? nullptr : &inPtr,
                                     static_cast<int>(out.size()));
        slowed.resize(static_cast<std::size_t>(std::max(0, made)));
        out.swap(slowed);
    }
    outMono_.insert(outMono_.end(), out.begin(), out.end());
    return n > 0;
}

int ListeningStage::read(float* out, std::int64_t* places, int frames) {
    int done = 0;
    if (!processed()) {
        done = pull(out, places, frames);
    } else {
        const double factor = speed();
        while (done < frames) {
            if (outRead_ < outMono_.size()) {
                const int n = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(frames - done), outMono_.size() - outRead_));
                for (int i = 0; i < n; ++i) {
                    const float v = outMono_[outRead_ + static_cast<std::size_t>(i)];
                    out[(done + i) * 2] = v;
                    out[(done + i) * 2 + 1] = v;
                    places[done + i] = placeOfInput(static_cast<std::int64_t>(static_cast<double>(produced_ + i) * factor));
                }
                produced_ += n;
                outRead_ += static_cast<std::size_t>(n);
                done += n;
                if (outRead_ == outMono_.size()) {
                    outMono_.clear();
                    outRead_ = 0;
                }
                continue;
            }
            if (flushed_) break;
            processMore();
        }
    }
    for (int i = 0; i < done && fadeDone_ < fadeIn_; ++i, ++fadeDone_) {
        const float g = static_cast<float>(fadeDone_) / static_cast<float>(fadeIn_);
        out[i * 2] *= g;
        out[i * 2 + 1] *= g;
    }
    if (done > 0) lastPlace_ = places[done - 1];
    return done;
}

}  // namespace platform::audio
