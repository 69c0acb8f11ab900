#include "sound/sonogram.h"

#include "platform/audio/media_control.h"
#include "platform/audio/sound_analysis.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

namespace sonogram {

namespace {

// log2 to within about 0.005 (0.015 dB): a full logarithm per bin costs
// more than the transform itself.
inline float fast_log2(float x) {
    std::uint32_t bits = std::bit_cast<std::uint32_t>(x);
    const int exponent = static_cast<int>((bits >> 23) & 255) - 127;
    bits = (bits & 0x007FFFFFu) | 0x3F800000u;
    const float m = std::bit_cast<float>(bits);
    return static_cast<float>(exponent) + (-0.34484843f * m + 2.02466578f) * m - 1.67487759f;
}

struct Stop {
    float at;
    QRgb colour;
};

std::vector<QRgb> gradient(std::initializer_list<Stop> stops) {
    std::vector<QRgb> table(256);
    const std::vector<Stop> s(stops);
    for (int i = 0; i < 256; ++i) {
        const float t = static_cast<float>(i) / 255.0f;
        std::size_t k = 1;
        while (k + 1 < s.size() && s[k].at < t) ++k;
        const Stop& a = s[k - 1];
        const Stop& b = s[k];
        const float f = std::clamp((t - a.at) / (b.at - a.at), 0.0f, 1.0f);
        const auto mix = [f](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * f)); };
        table[static_cast<std::size_t>(i)] =
            qRgb(mix(qRed(a.colour), qRed(b.colour)), mix(qGreen(a.colour), qGreen(b.colour)),
                 mix(qBlue(a.colour), qBlue(b.colour)));
    }
    return table;
}

QString kilohertz(int rate) {
    return QString::number(rate / 1000.0, 'g', 4) + QStringLiteral(" kHz");
}

}  // namespace

int fft_size_for_rate(int rate) {
    // The power of two nearest to a 43 Hz bin.
    int size = 64;
    while (size < (1 << 15) && static_cast<double>(rate) / size > 43.0 * std::numbers::sqrt2) size *= 2;
    return size;
}

std::uint8_t level_of_db(float db, int floorDb, int rangeDb) {
    const float v = (db - static_cast<float>(floorDb)) * 255.0f / static_cast<float>(std::max(1, rangeDb));
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

const std::vector<QRgb>& colours(Palette palette) {
    // Grey as printed guides have it: white paper, dark marks.
    static const std::vector<QRgb> grey = gradient({{0.0f, qRgb(255, 255, 255)},
                                                    {0.15f, qRgb(235, 235, 235)},
                                                    {1.0f, qRgb(0, 0, 0)}});
    static const std::vector<QRgb> inferno = gradient(
        {{0.0f, qRgb(0, 0, 4)},       {0.13f, qRgb(31, 12, 72)},   {0.25f, qRgb(85, 15, 109)},
         {0.38f, qRgb(136, 34, 106)}, {0.5f, qRgb(186, 54, 85)},   {0.63f, qRgb(227, 89, 51)},
         {0.75f, qRgb(249, 140, 10)}, {0.88f, qRgb(249, 201, 50)}, {1.0f, qRgb(252, 255, 164)}});
    static const std::vector<QRgb> viridis = gradient(
        {{0.0f, qRgb(68, 1, 84)},     {0.13f, qRgb(72, 36, 117)},  {0.25f, qRgb(65, 68, 135)},
         {0.38f, qRgb(53, 95, 141)},  {0.5f, qRgb(42, 120, 142)},  {0.63f, qRgb(33, 145, 140)},
         {0.75f, qRgb(53, 183, 121)}, {0.88f, qRgb(144, 215, 67)}, {1.0f, qRgb(253, 231, 37)}});
    switch (palette) {
        case Palette::Inferno: return inferno;
        case Palette::Viridis: return viridis;
        case Palette::Grey: break;
    }
    return grey;
}

QString palette_name(Palette palette) {
    switch (palette) {
        case Palette::Inferno: return QStringLiteral("inferno");
        case Palette::Viridis: return QStringLiteral("viridis");
        case Palette::Grey: break;
    }
    return QStringLiteral("grey");
}

Palette palette_from_name(const QString& name) {
    if (name.compare(QStringLiteral("inferno"), Qt::CaseInsensitive) == 0) return Palette::Inferno;
    if (name.compare(QStringLiteral("viridis"), Qt::CaseInsensitive) == 0) return Palette::Viridis;
    return Palette::Grey;
}

// ---------------------------------------------------------------------------

Sonogram::Sonogram(Source source, int floorDb, int rangeDb, qint64 fileSize, qint64 fileModified)
    : source_(std::move(source)),
      floor_db_(floorDb),
      range_db_(std::clamp(rangeDb, kMinRangeDb, kMaxRangeDb)),
      file_size_(fileSize),
      file_modified_(fileModified) {}

QString Sonogram::message() const {
    const std::lock_guard lock(message_mutex_);
    return message_;
}

void Sonogram::fail(const QString& message) {
    {
        const std::lock_guard lock(message_mutex_);
        message_ = message;
    }
    std::vector<float>().swap(sound_);  // its memory, not only its size
    state_.store(Failed, std::memory_order_release);
}

bool Sonogram::tile_ready(int tile) const {
    return tile >= 0 && tile < tile_count() &&
           tiles_[static_cast<std::size_t>(tile)]->ready.load(std::memory_order_acquire);
}

const std::uint8_t* Sonogram::column(int c) const {
    const Tile& tile = *tiles_[static_cast<std::size_t>(c / kTileColumns)];
    return tile.levels.data() + static_cast<std::size_t>(c % kTileColumns) * static_cast<std::size_t>(rows());
}

std::size_t Sonogram::bytes() const {
    std::size_t total = sizeof(Sonogram) + sound_.capacity() * sizeof(float);
    if (state() != Decoding)
        for (const auto& tile : tiles_) total += tile->levels.capacity() + sizeof(Tile);
    return total;
}

bool Sonogram::matches(const Source& source, int floorDb, int rangeDb, qint64 size, qint64 modified) const {
    return source_ == source && floor_db_ == floorDb &&
           range_db_ == std::clamp(rangeDb, kMinRangeDb, kMaxRangeDb) && file_size_ == size &&
           file_modified_ == modified;
}

int Sonogram::next_tile() {
    // The tile in view, then those after it (where the playhead goes),
    // then those before.
    const int n = tile_count();
    const int focus = std::clamp(focus_.load(std::memory_order_relaxed) / kTileColumns, 0, std::max(0, n - 1));
    const auto claim = [this](int t) {
        return !tiles_[static_cast<std::size_t>(t)]->claimed.exchange(true, std::memory_order_acq_rel);
    };
    for (int t = focus; t < n; ++t)
        if (claim(t)) return t;
    for (int t = focus - 1; t >= 0; --t)
        if (claim(t)) return t;
    return -1;
}

void Sonogram::compute(const std::atomic<bool>& cancel) {
    using namespace platform::audio;
    if (state() == Decoding) {
        MonoSound sound;
        SoundAnalysis& analysis = soundAnalysis();
        const unsigned error =
            source_.cd_drive >= 0
                ? analysis.decodeCdMono(source_.cd_drive, source_.cd_track, source_.from_ms, source_.to_ms, sound,
                                        &cancel)
                : analysis.decodeMono(source_.file, source_.from_ms, source_.to_ms, sound, &cancel);
        if (cancel.load()) return;
        if (error != 0) {
            const QString reason = mediaControl().errorText(error);
            fail(QStringLiteral("This recording cannot be shown as a sonogram") +
                 (reason.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + reason));
            return;
        }
        const int size = sound.rate > 0 ? fft_size_for_rate(sound.rate) : 0;
        if (sound.samples.empty()) {
            fail(QStringLiteral("The recording holds no sound to show."));
            return;
        }
        if (!analysis.realTransform(size)) {
            fail(QStringLiteral("The sonogram cannot be computed at ") + kilohertz(sound.rate) + u'.');
            return;
        }
        QStringList notes;
        if (!sound.complete)
            notes << QStringLiteral("The recording breaks off after %1 s; the rest cannot be shown.")
                         .arg(static_cast<double>(sound.samples.size()) / sound.rate, 0, 'f', 1);
        if (sound.rate < 16000)
            notes << QStringLiteral("Recorded at %1: nothing above %2 is in it.")
                         .arg(kilohertz(sound.rate), kilohertz(sound.rate / 2));
        if (sound.channels > 1) notes << QStringLiteral("%1 channels, shown mixed.").arg(sound.channels);
        {
            const std::lock_guard lock(message_mutex_);
            message_ = notes.join(u' ');
        }
        rate_ = sound.rate;
        fft_size_ = size;
        hop_ = size / 4;  // 75 % overlap
        samples_ = static_cast<std::int64_t>(sound.samples.size());
        columns_ = static_cast<int>((samples_ + hop_ - 1) / hop_);
        const int tiles = (columns_ + kTileColumns - 1) / kTileColumns;
        tiles_.clear();
        for (int t = 0; t < tiles; ++t) {
            auto tile = std::make_unique<Tile>();
            const int width = std::min(kTileColumns, columns_ - t * kTileColumns);
            tile->levels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows()));
            tiles_.push_back(std::move(tile));
        }
        sound_ = std::move(sound.samples);
        state_.store(Computing, std::memory_order_release);
    }
    if (state() != Computing) return;
    // The second core helps: the whole picture of a minute's recording in
    // half the time.
    std::thread helper;
    const int remaining = tile_count() - ready_tiles();
    if (remaining >= 8 && std::thread::hardware_concurrency() > 1)
        helper = std::thread([this, &cancel] { compute_tiles(cancel); });
    compute_tiles(cancel);
    if (helper.joinable()) helper.join();
    if (state() == Computing && ready_tiles() == tile_count()) {
        std::vector<float>().swap(sound_);  // its memory, not only its size
        state_.store(Done, std::memory_order_release);
    }
}

void Sonogram::compute_tiles(const std::atomic<bool>& cancel) {
    const auto transform = platform::audio::soundAnalysis().realTransform(fft_size_);
    if (!transform) return;
    const int n = fft_size_;
    const int bins = rows();
    std::vector<float> window(static_cast<std::size_t>(n));
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        window[static_cast<std::size_t>(i)] =
            static_cast<float>(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / n));
        sum += window[static_cast<std::size_t>(i)];
    }
    // A full-scale sine in the middle of a bin reads 0 dB: |X| = sum(w) / 2.
    const float normDb = static_cast<float>(20.0 * std::log10(2.0 / sum));
    const float scale = 255.0f / static_cast<float>(range_db_);
    const float a = 10.0f * std::log10(2.0f) * scale;  // per log2 of the power
    const float b = (normDb - static_cast<float>(floor_db_)) * scale;
    std::vector<float> frame(static_cast<std::size_t>(n));
    std::vector<float> spectrum(static_cast<std::size_t>(n + 2));
    const float* sound = sound_.data();

    for (int t = next_tile(); t >= 0; t = next_tile()) {
        Tile& tile = *tiles_[static_cast<std::size_t>(t)];
        const int first = t * kTileColumns;
        const int last = std::min(columns_, first + kTileColumns);
        for (int c = first; c < last; ++c) {
            const std::int64_t start = static_cast<std::int64_t>(c) * hop_ - n / 2;
            if (start >= 0 && start + n <= samples_) {
                const float* s = sound + start;
                for (int i = 0; i < n; ++i) frame[static_cast<std::size_t>(i)] = s[i] * window[static_cast<std::size_t>(i)];
            } else {
                for (int i = 0; i < n; ++i) {
                    const std::int64_t at = start + i;
                    frame[static_cast<std::size_t>(i)] =
                        at >= 0 && at < samples_ ? sound[at] * window[static_cast<std::size_t>(i)] : 0.0f;
                }
            }
            transform->forward(frame.data(), spectrum.data());
            std::uint8_t* out = tile.levels.data() + static_cast<std::size_t>(c - first) * static_cast<std::size_t>(bins);
            for (int k = 0; k < bins; ++k) {
                const float re = spectrum[2 * static_cast<std::size_t>(k)];
                const float im = spectrum[2 * static_cast<std::size_t>(k) + 1];
                const float power = re * re + im * im;
                const float v = power > 1e-30f ? a * fast_log2(power) + b : 0.0f;
                out[k] = static_cast<std::uint8_t>(std::clamp(v + 0.5f, 0.0f, 255.0f));
            }
        }
        tile.ready.store(true, std::memory_order_release);
        ready_.fetch_add(1, std::memory_order_acq_rel);
        if (cancel.load(std::memory_order_relaxed)) return;
    }
}

// ---------------------------------------------------------------------------

bool render(const Sonogram& sonogram, QImage& image, double fromSeconds, double toSeconds, double fromHz,
            double toHz, Palette palette) {
    const std::vector<QRgb>& table = colours(palette);
    const int width = image.width();
    const int height = image.height();
    if (width <= 0 || height <= 0) return true;
    const Sonogram::State state = sonogram.state();
    if (state == Sonogram::Decoding || state == Sonogram::Failed || toSeconds <= fromSeconds || toHz <= fromHz) {
        image.fill(table[0]);
        return state != Sonogram::Decoding;
    }
    const int rows = sonogram.rows();
    const double columnsPerSecond = static_cast<double>(sonogram.rate()) / sonogram.hop();
    const double rowsPerHz = static_cast<double>(sonogram.fft_size()) / sonogram.rate();
    // Each pixel row covers a band of bins; the top row is the highest.
    std::vector<int> rowFrom(static_cast<std::size_t>(height)), rowTo(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const double hiHz = toHz - (toHz - fromHz) * y / height;
        const double loHz = toHz - (toHz - fromHz) * (y + 1) / height;
        int lo = static_cast<int>(std::lround(loHz * rowsPerHz));
        int hi = static_cast<int>(std::lround(hiHz * rowsPerHz)) - 1;
        hi = std::max(hi, lo);
        rowFrom[static_cast<std::size_t>(y)] = std::clamp(lo, 0, rows);
        rowTo[static_cast<std::size_t>(y)] = std::clamp(hi, -1, rows - 1);
    }
    const int bpl = static_cast<int>(image.bytesPerLine() / 4);
    auto* pixels = reinterpret_cast<QRgb*>(image.bits());
    bool complete = true;
    const int columns = sonogram.columns();
    // A block of pixel columns at a time, kept as rows of levels, so that
    // the image is written along its lines.
    constexpr int kBlock = 64;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(height) * kBlock);
    for (int x0 = 0; x0 < width; x0 += kBlock) {
        const int blockWidth = std::min(kBlock, width - x0);
        std::fill(block.begin(), block.end(), std::uint8_t{0});
        for (int bx = 0; bx < blockWidth; ++bx) {
            const int x = x0 + bx;
            const double t0 = fromSeconds + (toSeconds - fromSeconds) * x / width;
            const double t1 = fromSeconds + (toSeconds - fromSeconds) * (x + 1) / width;
            int c0 = static_cast<int>(std::lround(t0 * columnsPerSecond));
            int c1 = static_cast<int>(std::lround(t1 * columnsPerSecond)) - 1;
            c1 = std::max(c0, c1);
            if (c1 < 0 || c0 >= columns) continue;
            c0 = std::max(c0, 0);
            c1 = std::min(c1, columns - 1);
            // Far out, a sample of the columns keeps the cost per pixel bounded.
            const int step = std::max(1, (c1 - c0 + 1) / 32);
            std::uint8_t* out = block.data() + bx;
            for (int c = c0; c <= c1; c += step) {
                if (!sonogram.tile_ready(c / kTileColumns)) {
                    complete = false;
                    continue;
                }
                const std::uint8_t* levels = sonogram.column(c);
                for (int y = 0; y < height; ++y) {
                    std::uint8_t m = out[static_cast<std::size_t>(y) * kBlock];
                    const int to = rowTo[static_cast<std::size_t>(y)];
                    for (int r = rowFrom[static_cast<std::size_t>(y)]; r <= to; ++r) m = std::max(m, levels[r]);
                    out[static_cast<std::size_t>(y) * kBlock] = m;
                }
            }
        }
        for (int y = 0; y < height; ++y) {
            QRgb* line = pixels + static_cast<std::ptrdiff_t>(y) * bpl + x0;
            const std::uint8_t* levels = block.data() + static_cast<std::size_t>(y) * kBlock;
            for (int bx = 0; bx < blockWidth; ++bx) line[bx] = table[levels[bx]];
        }
    }
    return complete;
}

// ---------------------------------------------------------------------------

Cache::Cache(std::size_t boundBytes) : bound_(boundBytes), worker_([this] { run(); }) {}

Cache::~Cache() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        cancel_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

std::shared_ptr<Sonogram> Cache::get(const Source& source, const Settings& settings) {
    const QFileInfo info(source.file);
    const qint64 size = info.exists() ? info.size() : -1;
    const qint64 modified = info.exists() ? info.lastModified().toMSecsSinceEpoch() : 0;
    const std::lock_guard lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if ((*it)->matches(source, settings.floor_db, settings.range_db, size, modified)) {
            entries_.splice(entries_.begin(), entries_, it);
            if (working_ && working_ != entries_.front() && entries_.front()->state() < Sonogram::Done) {
                cancel_ = true;
                wake_.notify_all();
            }
            return entries_.front();
        }
    }
    // A file changed since (truncated, replaced) is read anew.
    std::erase_if(entries_, [&](const std::shared_ptr<Sonogram>& s) {
        return s->source() == source && s->state() != Sonogram::Decoding && s != working_;
    });
    entries_.push_front(std::make_shared<Sonogram>(source, settings.floor_db, settings.range_db, size, modified));
    // The newest is what the user looks at: the worker turns to it.
    if (working_) cancel_ = true;
    wake_.notify_all();
    return entries_.front();
}

std::size_t Cache::bytes() const {
    const std::lock_guard lock(mutex_);
    std::size_t total = 0;
    for (const auto& s : entries_) total += s->bytes();
    return total;
}

int Cache::count() const {
    const std::lock_guard lock(mutex_);
    return static_cast<int>(entries_.size());
}

void Cache::wait_idle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] {
        if (working_) return false;
        return std::none_of(entries_.begin(), entries_.end(),
                            [](const auto& s) { return s->state() < Sonogram::Done; });
    });
}

void Cache::trim() {
    // Oldest first; the newest stays even when it alone is larger.
    std::size_t total = 0;
    for (const auto& s : entries_) total += s->bytes();
    while (total > bound_ && entries_.size() > 1) {
        total -= entries_.back()->bytes();
        entries_.pop_back();
    }
}

void Cache::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        std::shared_ptr<Sonogram> next;
        wake_.wait(lock, [&] {
            if (stop_) return true;
            for (const auto& s : entries_)
                if (s->state() < Sonogram::Done) {
                    next = s;
                    return true;
                }
            return false;
        });
        if (stop_) return;
        working_ = next;
        cancel_ = false;
        lock.unlock();
        next->compute(cancel_);
        lock.lock();
        working_.reset();
        trim();
        idle_.notify_all();
    }
}

}  // namespace sonogram
