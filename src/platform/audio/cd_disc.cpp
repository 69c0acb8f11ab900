#include "platform/audio/cd_disc.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <vector>

#include <cdio/cdio.h>

namespace platform::audio {

namespace {

CdIo_t* openSource(const QString& source) {
    const QByteArray name = QFile::encodeName(source);
    if (isCdImage(source)) {
        if (!QFileInfo(source).isFile()) return nullptr;
        return cdio_open(name.constData(), DRIVER_BINCUE);
    }
    return cdio_open(name.constData(), DRIVER_DEVICE);
}

// Reads CD-DA sectors into the output format.
class CdReader final : public SoundSource {
  public:
    explicit CdReader(CdIo_t* cdio) : cdio_(cdio) {}
    ~CdReader() override { cdio_destroy(cdio_); }

    bool start(std::int64_t fromFrame, std::int64_t toFrame) override {
        position_ = fromFrame;
        end_ = std::max(fromFrame, toFrame);
        buffered_.clear();
        read_ = 0;
        return true;
    }

    int read(float* out, int frames) override {
        int done = 0;
        while (done < frames) {
            if (read_ >= buffered_.size()) {
                if (!fill()) break;
            }
            const std::size_t take =
                std::min<std::size_t>((buffered_.size() - read_) / 2, static_cast<std::size_t>(frames - done));
            std::copy_n(buffered_.begin() + static_cast<std::ptrdiff_t>(read_), take * 2, out + done * 2);
            read_ += take * 2;
            done += static_cast<int>(take);
        }
        return done;
    }

  private:
    bool fill() {
        if (position_ >= end_) return false;
        constexpr int kSectors = 8;
        const std::int64_t sector = position_ / kSamplesPerCdFrame;
        const auto skip = static_cast<std::size_t>(position_ % kSamplesPerCdFrame);
        std::vector<std::int16_t> raw(static_cast<std::size_t>(kSectors) * CDIO_CD_FRAMESIZE_RAW / 2);
        if (cdio_read_audio_sectors(cdio_, raw.data(), static_cast<lsn_t>(sector - kCdLeadIn), kSectors) !=
            DRIVER_OP_SUCCESS)
            return false;
        const std::int64_t frames = std::min<std::int64_t>(
            static_cast<std::int64_t>(kSectors) * kSamplesPerCdFrame - static_cast<std::int64_t>(skip),
            end_ - position_);
        buffered_.resize(static_cast<std::size_t>(frames) * 2);
        for (std::size_t i = 0; i < buffered_.size(); ++i) {
            // CD-DA is little-endian 16-bit.
            const auto v = static_cast<std::uint16_t>(raw[skip * 2 + i]);
            const auto sample = static_cast<std::int16_t>(qFromLittleEndian(v));
            buffered_[i] = static_cast<float>(sample) / 32768.0f;
        }
        read_ = 0;
        position_ += frames;
        return true;
    }

    CdIo_t* cdio_;
    std::int64_t position_ = 0;
    std::int64_t end_ = 0;
    std::vector<float> buffered_;
    std::size_t read_ = 0;
};

}  // namespace

bool isCdImage(const QString& source) {
    return source.endsWith(QStringLiteral(".cue"), Qt::CaseInsensitive);
}

std::unique_ptr<CdDisc> CdDisc::open(const QString& source) {
    CdIo_t* cdio = openSource(source);
    if (!cdio) return nullptr;
    std::unique_ptr<CdDisc> disc(new CdDisc);
    disc->cdio_ = cdio;
    disc->source_ = source;
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) return nullptr;
    disc->first_ = first;
    disc->last_ = first + count - 1;
    return disc;
}

CdDisc::~CdDisc() {
    if (cdio_) cdio_destroy(cdio_);
}

bool CdDisc::isAudio(int track) const {
    return hasTrack(track) &&
           cdio_get_track_format(cdio_, static_cast<track_t>(track)) == TRACK_FORMAT_AUDIO;
}

int CdDisc::trackStart(int track) const {
    return hasTrack(track) ? cdio_get_track_lba(cdio_, static_cast<track_t>(track)) : 0;
}

int CdDisc::trackLength(int track) const {
    if (!hasTrack(track)) return 0;
    // The next track's start (or the lead-out) ends this one.
    return cdio_get_track_lba(cdio_, static_cast<track_t>(track + 1 <= last_ ? track + 1 : CDIO_CDROM_LEADOUT_TRACK)) -
           trackStart(track);
}

int CdDisc::discEnd() const {
    return cdio_get_track_lba(cdio_, CDIO_CDROM_LEADOUT_TRACK);
}

int CdDisc::trackAt(int address) const {
    for (int t = last_; t > first_; --t)
        if (address >= trackStart(t)) return t;
    return first_;
}

std::unique_ptr<SoundSource> CdDisc::reader() const {
    CdIo_t* cdio = openSource(source_);
    if (!cdio) return nullptr;
    return std::make_unique<CdReader>(cdio);
}

}  // namespace platform::audio
