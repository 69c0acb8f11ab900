#pragma once

#include "platform/audio/media_control.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class Tcutpart;
class TaudioCD;
class TClassSoundCarriersUseSpecification;

// The root of the players: one media-control device with the commands the
// players build on. Every failure not filtered here is shown by ReportError.
class TMCIDevicePlayer {
  public:
    virtual ~TMCIDevicePlayer();
    TMCIDevicePlayer(const TMCIDevicePlayer&) = delete;
    TMCIDevicePlayer& operator=(const TMCIDevicePlayer&) = delete;

    virtual bool Play(bool fromStart) = 0;
    virtual bool SeekTo(int positionMs);
    virtual bool GetPosition(int& positionMs) = 0;
    virtual bool Close();
    virtual bool IsReady() = 0;
    virtual void ReportError(const QString& context, unsigned code);

    bool opened() const { return device_id != 0; }
    bool playing() const { return playing_; }
    // The device reports that it plays.
    bool is_playing();
    bool stop();

  protected:
    TMCIDevicePlayer() = default;
    bool open(unsigned deviceType, const QString& element, bool& notFound, bool quiet, bool shareable);
    bool set_time_format(unsigned format);
    bool status(unsigned track, unsigned item, std::uint32_t& value, bool quiet);
    bool play_range(std::optional<std::uint32_t> from, std::optional<std::uint32_t> to);
    platform::audio::MediaControl& mci() const { return platform::audio::mediaControl(); }

    unsigned device_id = 0;
    bool playing_ = false;
};

// Plays a time range of a sound file (a track copied from an audio CD).
class TSoundFilePlayer : public TMCIDevicePlayer {
  public:
    TSoundFilePlayer() = default;
    ~TSoundFilePlayer() override;

    // A file must be at least 700 ms longer than the start. The length asked
    // for is cut to the file's end and given back.
    bool open_file(const QString& fileName, int startMs, int& lengthMs, bool& notFound);
    bool Play(bool fromStart) override;
    bool SeekTo(int offsetMs) override;
    bool GetPosition(int& positionMs) override;
    bool IsReady() override { return true; }

    int file_length() const { return file_length_; }

  protected:
    int file_length_ = 0;
    int start_ = 0;
    int end_ = 0;
    int play_from_ = 0;
};

// Plays a whole cut-part file (a recording stored by itself).
class TCutPartFilePlayer : public TSoundFilePlayer {
  public:
    bool open_cut_part(const QString& fileName, bool mp3Inside, int& lengthMs, bool& notFound);
    void ReportError(const QString& context, unsigned code) override;

  private:
    bool mp3_inside_ = false;
};

// Plays a time range of a track on the audio CD in a drive.
class TAudioCDTrackPlayer : public TMCIDevicePlayer {
  public:
    TAudioCDTrackPlayer() = default;
    ~TAudioCDTrackPlayer() override;

    bool open_track(int driveNumber, int& lengthMs, const Tcutpart* cutPart);
    // Opened quietly and shareable, for the drive report; no disc check.
    bool open_quietly(int driveNumber);
    bool Play(bool fromStart) override;
    bool SeekTo(int offsetMs) override;
    bool GetPosition(int& positionMs) override;
    bool Close() override;
    bool IsReady() override;

    // The number of tracks and the first 25 track lengths in whole seconds,
    // joined by ";"; empty when the disc cannot be read.
    QString disc_identity_text(bool quiet);
    bool media_present(bool quiet, bool& present);

    // The one player that holds the drive now, if any.
    static TAudioCDTrackPlayer* current();

  private:
    bool disc_confirmed();
    // A TMSF value; none (with a message) where a byte cannot hold it.
    std::optional<std::uint32_t> tmsf_of(int ms);

    const Tcutpart* cut_part_ = nullptr;
    int track_ = 0;
    int track_start_ = 0;  // ms from the start of the disc
    int start_ = 0;        // within the track
    int end_ = 0;
    int current_ = 0;
};

// MSF value → ms: (minutes × 60 + seconds) × 1000 + frames × 1000 ÷ 75.
int GLB_msf_to_ms(std::uint32_t msf);

// Confirms that the disc in the drive is the audio CD a recording is on.
// One for the whole program; it remembers the last pair the user accepted.
class Taudio_CD_key_checker {
  public:
    // With the lines of texts-file section "AUDIO CD PLAYER".
    Taudio_CD_key_checker();
    bool confirm(const QString& cdName, const QString& storedIdentity, const QString& discIdentity);

  private:
    QString accepted_stored_;
    QString accepted_disc_;
    bool remembered_ = false;
};
Taudio_CD_key_checker& GLB_audio_CD_key_checker();

// The status text of the audio CD in the drive (drive number from 1); none
// when nothing is to be shown.
std::optional<QString> GLB_audio_CD_drive_report(int driveNumber);

// The player a recording is played with.
std::unique_ptr<TMCIDevicePlayer> GLB_make_player(const Tcutpart& cutPart,
                                                 const TClassSoundCarriersUseSpecification& carriers);
// Whether the recording lies in a file: a sound file, or a track of an audio
// CD the disc carries or that was copied to the hard disk.
bool GLB_available_as_file(const Tcutpart& cutPart,
                           const TClassSoundCarriersUseSpecification& carriers);

// The copying hint is shown once a run; tests start a new run.
void GLB_reset_audio_CD_hints();
