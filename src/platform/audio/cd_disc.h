#pragma once

#include "platform/audio/sound_source.h"

#include <QString>
#include <memory>

typedef struct _CdIo CdIo_t;

namespace platform::audio {

inline constexpr int kCdFramesPerSecond = 75;
inline constexpr int kSamplesPerCdFrame = kOutputRate / kCdFramesPerSecond;  // 588
inline constexpr int kCdLeadIn = 150;  // the first address of a disc: 2 seconds

// The audio CD in a drive, or a CUE/BIN image standing in for one. Addresses
// are CD frames from the start of the disc (the first track after the
// two-second lead-in starts at 150).
class CdDisc {
  public:
    // None when there is no readable disc.
    static std::unique_ptr<CdDisc> open(const QString& source);
    ~CdDisc();
    CdDisc(const CdDisc&) = delete;
    CdDisc& operator=(const CdDisc&) = delete;

    int trackCount() const { return last_ - first_ + 1; }
    bool hasTrack(int track) const { return track >= first_ && track <= last_; }
    bool isAudio(int track) const;
    int trackStart(int track) const;
    int trackLength(int track) const;
    int discEnd() const;
    // The track that holds the address (the last one beyond the end).
    int trackAt(int address) const;

    // A reader of the disc's sound on its own handle (for the playing thread).
    std::unique_ptr<SoundSource> reader() const;

  private:
    CdDisc() = default;
    QString source_;
    CdIo_t* cdio_ = nullptr;
    int first_ = 1;
    int last_ = 0;
};

// Whether the source names an image file rather than a drive.
bool isCdImage(const QString& source);

}  // namespace platform::audio
