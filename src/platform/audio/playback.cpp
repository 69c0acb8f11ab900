#include "platform/audio/playback.h"

#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cstring>

namespace platform::audio {

namespace {

constexpr std::size_t kRingFrames = kOutputRate / 2;
constexpr int kChunkFrames = 2048;
// The first chunk is small so that sound starts as soon as it can.
constexpr int kFirstChunkFrames = 512;
// A change of the way of listening fades the old sound out over 3 ms.
constexpr std::uint64_t kFadeOutFrames = 128;

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

Playback::Playback(std::unique_ptr<SoundSource> source)
    : source_(std::move(source)), stage_(*source_), ring_(kRingFrames * kOutputChannels), places_(kRingFrames) {
    thread_ = std::thread([this] { run(); });
    Output::instance().attach(this);
}

Playback::~Playback() {
    Output::instance().detach(this);
    {
        std::lock_guard guard(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void Playback::play(std::int64_t from, std::int64_t to) {
    Output& output = Output::instance();
    output.lock();
    active_ = false;
    output.unlock();
    position_ = from;
    firstSampleAt_ = 0;
    finished_ = false;
    playing_ = true;
    {
        std::lock_guard guard(mutex_);
        ++command_;
        commandPlay_ = true;
        commandFrom_ = from;
        commandTo_ = to;
    }
    wake_.notify_one();
}

void Playback::stop() {
    Output& output = Output::instance();
    output.lock();
    active_ = false;
    output.unlock();
    // The place reached stays readable after the stop.
    playing_ = false;
    {
        std::lock_guard guard(mutex_);
        ++command_;
        commandPlay_ = false;
    }
    wake_.notify_one();
}

void Playback::setListening(const Listening& listening) {
    {
        std::lock_guard guard(mutex_);
        ++listeningCommand_;
        commandListening_ = listening;
    }
    wake_.notify_one();
}

std::size_t Playback::ringFree() const {
    return kRingFrames - static_cast<std::size_t>(written_.load() - read_.load());
}

void Playback::retune(const Listening& listening, std::int64_t to) {
    // What the output has not yet taken is dropped but for a few
    // milliseconds, which fade out; the sound goes on from the place they
    // end at, the new way, fading in. Half a second of ring would otherwise
    // be heard the old way first.
    Output& output = Output::instance();
    output.lock();
    const std::uint64_t r = read_.load();
    const std::uint64_t keep = std::min<std::uint64_t>(written_.load() - r, kFadeOutFrames);
    for (std::uint64_t i = 0; i < keep; ++i) {
        const std::size_t at = static_cast<std::size_t>((r + i) % kRingFrames) * kOutputChannels;
        const float g = 1.0f - static_cast<float>(i + 1) / static_cast<float>(keep);
        ring_[at] *= g;
        ring_[at + 1] *= g;
    }
    written_ = r + keep;
    retunedFrom_ = r + keep;
    retunePending_ = true;
    listeningHeardAt_ = 0;
    const std::int64_t from = keep > 0 ? places_[static_cast<std::size_t>((r + keep - 1) % kRingFrames)] + 1
                                       : position_.load();
    sourceEnded_ = false;
    output.unlock();
    stage_.configure(listening);
    if (!stage_.start(from, to, true)) sourceEnded_ = true;
}

int Playback::fill(float* chunk, std::int64_t* places, int frames) {
    const int got = stage_.read(chunk, places, frames);
    std::uint64_t w = written_.load();
    for (int i = 0; i < got; ++i, ++w) {
        const std::size_t slot = static_cast<std::size_t>(w % kRingFrames);
        ring_[slot * kOutputChannels] = chunk[static_cast<std::size_t>(i) * 2];
        ring_[slot * kOutputChannels + 1] = chunk[static_cast<std::size_t>(i) * 2 + 1];
        places_[slot] = places[i];
    }
    written_ = w;
    if (got < frames) sourceEnded_ = true;
    return got;
}

void Playback::run() {
    std::uint64_t handled = 0;
    std::uint64_t handledListening = 0;
    bool streaming = false;
    std::int64_t playTo = 0;
    std::vector<float> chunk(static_cast<std::size_t>(kChunkFrames) * kOutputChannels);
    std::vector<std::int64_t> places(kChunkFrames);
    std::unique_lock lock(mutex_);
    for (;;) {
        if (quit_) return;
        if (listeningCommand_ != handledListening) {
            handledListening = listeningCommand_;
            const Listening listening = commandListening_;
            const bool retuning = streaming || (active_ && !finished_ && written_.load() != read_.load());
            lock.unlock();
            if (retuning) {
                retune(listening, playTo);
                streaming = !sourceEnded_ && fill(chunk.data(), places.data(), kFirstChunkFrames) == kFirstChunkFrames;
            } else {
                stage_.configure(listening);
            }
            lock.lock();
            continue;
        }
        if (command_ != handled) {
            handled = command_;
            const bool play = commandPlay_;
            const std::int64_t from = commandFrom_, to = commandTo_;
            lock.unlock();
            streaming = false;
            if (play) {
                // The output is not draining (play switched it off under its
                // lock), so the ring may be reset here.
                written_ = 0;
                read_ = 0;
                retunePending_ = false;
                sourceEnded_ = false;
                playTo = to;
                if (stage_.start(from, to)) {
                    streaming = fill(chunk.data(), places.data(), kFirstChunkFrames) == kFirstChunkFrames;
                } else {
                    sourceEnded_ = true;
                }
            }
            lock.lock();
            if (play && command_ == handled) active_ = true;
            continue;
        }
        if (!streaming) {
            wake_.wait(lock);
            continue;
        }
        const std::size_t room = ringFree();
        if (room < static_cast<std::size_t>(kChunkFrames)) {
            wake_.wait_for(lock, std::chrono::milliseconds(10));
            continue;
        }
        lock.unlock();
        if (fill(chunk.data(), places.data(), kChunkFrames) < kChunkFrames) streaming = false;
        lock.lock();
    }
}

void Playback::mixInto(float* out, int frames, float gain) {
    if (!active_) return;
    const std::uint64_t r = read_.load();
    const std::uint64_t available = written_.load() - r;
    const int n = static_cast<int>(std::min<std::uint64_t>(available, static_cast<std::uint64_t>(frames)));
    for (int i = 0; i < n; ++i) {
        const std::size_t at = static_cast<std::size_t>((r + static_cast<std::uint64_t>(i)) % kRingFrames) * kOutputChannels;
        out[i * 2] += ring_[at] * gain;
        out[i * 2 + 1] += ring_[at + 1] * gain;
    }
    if (n > 0) {
        if (firstSampleAt_.load() == 0) firstSampleAt_ = nowNs();
        read_ = r + static_cast<std::uint64_t>(n);
        if (retunePending_ && read_.load() > retunedFrom_) {
            retunePending_ = false;
            listeningHeardAt_ = nowNs();
        }
        position_ = places_[static_cast<std::size_t>((r + static_cast<std::uint64_t>(n) - 1) % kRingFrames)] + 1;
    }
    if (n < frames && sourceEnded_ && written_.load() == read_.load()) finished_ = true;
}

// ---------------------------------------------------------------------------

Output& Output::instance() {
    static Output output;
    return output;
}

bool Output::open() {
    SDL_AudioSpec want{};
    want.freq = kOutputRate;
    want.format = AUDIO_F32SYS;
    want.channels = kOutputChannels;
    want.samples = 512;
    want.callback = &Output::callback;
    want.userdata = this;
    auto tryOpen = [&]() -> bool {
        SDL_AudioSpec have{};
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        return device_ != 0;
    };
    // SDL would otherwise catch SIGINT and SIGTERM for an event loop the
    // program never runs, and the program could no longer be stopped.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && tryOpen()) {
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }
    // No sound card: SDL's dummy driver consumes the sound in real time, so
    // playing, positions and ends behave as with one.
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && tryOpen()) {
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }
    return false;
}

bool Output::available() {
    if (!tried_) {
        tried_ = true;
        open();
    }
    return device_ != 0;
}

const char* Output::driverName() const {
    const char* name = device_ ? SDL_GetCurrentAudioDriver() : nullptr;
    return name ? name : "";
}

void Output::attach(Playback* playback) {
    available();
    lock();
    playbacks_.push_back(playback);
    unlock();
}

void Output::detach(Playback* playback) {
    lock();
    std::erase(playbacks_, playback);
    unlock();
}

void Output::lock() {
    if (device_) SDL_LockAudioDevice(device_);
}

void Output::unlock() {
    if (device_) SDL_UnlockAudioDevice(device_);
}

void Output::callback(void* self, std::uint8_t* stream, int bytes) {
    auto* output = static_cast<Output*>(self);
    std::memset(stream, 0, static_cast<std::size_t>(bytes));
    auto* out = reinterpret_cast<float*>(stream);
    const int frames = bytes / static_cast<int>(sizeof(float) * kOutputChannels);
    const float gain = output->gain_.load();
    for (Playback* p : output->playbacks_) p->mixInto(out, frames, gain);
}

}  // namespace platform::audio
