#pragma once

// A recording's sonogram: short-time spectra of its sound, computed on a
// worker thread in tiles of columns, kept in a cache bounded in memory, and
// drawn into images at any scale from whatever tiles are ready.

#include <QColor>
#include <QImage>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace sonogram {

enum class Palette { Grey, Inferno, Viridis };

// How a sonogram looks: the frequencies shown and the dB scale. The level
// of a bin is its power in dB relative to a full-scale sine; `floor_db` is
// drawn as background, `floor_db + range_db` and above as the strongest mark.
struct Settings {
    int max_frequency_hz = 12000;
    int range_db = 70;
    int floor_db = -90;
    Palette palette = Palette::Grey;
};

inline constexpr int kMinRangeDb = 60;
inline constexpr int kMaxRangeDb = 90;
inline constexpr std::size_t kCacheBytes = 64u << 20;
inline constexpr int kTileColumns = 256;

// The FFT size for a sample rate: bins of about 40-50 Hz (512 points at
// 22,050 and 24,000 Hz, 1,024 at 44,100 and 48,000).
int fft_size_for_rate(int rate);

// A bin's level 0..255 from its power in dB (0 dB: a full-scale sine).
std::uint8_t level_of_db(float db, int floorDb, int rangeDb);

// The 256 colours of a palette, level 0 (background) first.
const std::vector<QRgb>& colours(Palette palette);
QString palette_name(Palette palette);
Palette palette_from_name(const QString& name);

// What is to be shown: a file, or a range of it (a track copied from an
// audio CD holds several recordings).
struct Source {
    QString file;
    std::int64_t from_ms = 0;
    std::int64_t to_ms = -1;  // negative: to the end
    // A part of a track on the audio CD in a drive (its ordinal from 0;
    // negative for a file): the range counts from the track's start, and
    // the disc's identity tells one disc's track from another's.
    int cd_drive = -1;
    int cd_track = 0;
    QString disc_identity{};
    bool operator==(const Source&) const = default;
};

// The spectra of one source at one dB scale. Made by the cache; read by
// any thread, written only by the worker.
class Sonogram {
  public:
    enum State { Decoding, Computing, Done, Failed };

    Sonogram(Source source, int floorDb, int rangeDb, qint64 fileSize, qint64 fileModified);
    Sonogram(const Sonogram&) = delete;
    Sonogram& operator=(const Sonogram&) = delete;

    const Source& source() const { return source_; }
    State state() const { return state_.load(std::memory_order_acquire); }
    // Once past Decoding: what the panel says beside (or instead of) the
    // picture; empty when all is well.
    QString message() const;

    // Valid once past Decoding.
    int rate() const { return rate_; }
    int fft_size() const { return fft_size_; }
    int hop() const { return hop_; }
    int columns() const { return columns_; }
    int rows() const { return fft_size_ / 2 + 1; }
    double seconds() const { return rate_ > 0 ? static_cast<double>(samples_) / rate_ : 0.0; }
    // Column c is the spectrum of the window centred on this second.
    double column_seconds(double column) const { return column * hop_ / rate_; }
    double bin_hz(double row) const { return row * rate_ / fft_size_; }

    int tile_count() const { return static_cast<int>(tiles_.size()); }
    bool tile_ready(int tile) const;
    int ready_tiles() const { return ready_.load(std::memory_order_acquire); }
    // The levels of a column of a ready tile, rows() of them, 0 Hz first.
    const std::uint8_t* column(int c) const;

    // Where a viewer looks: the worker computes the tiles nearest to it first.
    void set_focus_column(int column) { focus_.store(column, std::memory_order_relaxed); }

    std::size_t bytes() const;
    bool matches(const Source& source, int floorDb, int rangeDb, qint64 size, qint64 modified) const;

    // The work itself (the worker's, or a caller's own thread).
    void compute(const std::atomic<bool>& cancel);

  private:
    struct Tile {
        std::atomic<bool> claimed{false};  // a thread computes it
        std::atomic<bool> ready{false};
        std::vector<std::uint8_t> levels;  // column after column
    };
    void fail(const QString& message);
    // Claims the tile to compute next; -1 when none is left.
    int next_tile();
    void compute_tiles(const std::atomic<bool>& cancel);

    const Source source_;
    const int floor_db_;
    const int range_db_;
    const qint64 file_size_;
    const qint64 file_modified_;
    std::atomic<State> state_{Decoding};
    mutable std::mutex message_mutex_;
    QString message_;
    int rate_ = 0;
    int fft_size_ = 0;
    int hop_ = 0;
    int columns_ = 0;
    std::int64_t samples_ = 0;
    std::vector<float> sound_;  // while columns remain to be computed
    std::vector<std::unique_ptr<Tile>> tiles_;
    std::atomic<int> ready_{0};
    std::atomic<int> focus_{0};
};

// Draws the part of a sonogram between two times and two frequencies into
// the whole of `image` (ARGB32), a pixel taking the strongest level it
// covers; columns not yet computed stay background. True when every column
// needed was ready.
bool render(const Sonogram& sonogram, QImage& image, double fromSeconds, double toSeconds,
            double fromHz, double toHz, Palette palette);

// The sonograms computed or being computed, least recently used dropped
// beyond kCacheBytes together; one worker thread computes them, the most
// recently asked first.
class Cache {
  public:
    explicit Cache(std::size_t boundBytes = kCacheBytes);
    ~Cache();
    Cache(const Cache&) = delete;
    Cache& operator=(const Cache&) = delete;

    // The sonogram of a source at the settings' dB scale: from the cache, or
    // queued for the worker.
    std::shared_ptr<Sonogram> get(const Source& source, const Settings& settings);
    std::size_t bytes() const;
    std::size_t bound() const { return bound_; }
    int count() const;
    // Waits until the worker has nothing left (for measurements and tests).
    void wait_idle();

  private:
    void run();
    void trim();

    const std::size_t bound_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::list<std::shared_ptr<Sonogram>> entries_;  // most recently used first
    std::shared_ptr<Sonogram> working_;
    std::atomic<bool> cancel_{false};
    bool stop_ = false;
    std::thread worker_;
};

}  // namespace sonogram
