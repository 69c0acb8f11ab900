#include "sound/players.h"

#include "app/base_directory.h"
#include "app/editions.h"
#include "app/globals.h"
#include "app/messages.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"

#include <QStringList>

using namespace platform::audio;

namespace {

TAudioCDTrackPlayer* currentTrackPlayer = nullptr;
bool driveReportBusy = false;
bool copyingHintShown = false;

constexpr int kMinimumPlayableMs = 700;
constexpr int kIdentityTracks = 25;

const QString kPlayerSection = QStringLiteral("AUDIO CD PLAYER");

}  // namespace

int GLB_msf_to_ms(std::uint32_t value) {
    return static_cast<int>((mci::msfMinutes(value) * 60 + mci::msfSeconds(value)) * 1000 +
                            mci::msfFrames(value) * 1000 / 75);
}

void GLB_reset_audio_CD_hints() {
    copyingHintShown = false;
}

// ---------------------------------------------------------------------------

TMCIDevicePlayer::~TMCIDevicePlayer() {
    TMCIDevicePlayer::Close();
}

bool TMCIDevicePlayer::open(unsigned deviceType, const QString& element, bool& notFound, bool quiet,
                            bool shareable) {
    playing_ = false;
    unsigned id = 0;
    const unsigned code = mci().open(deviceType, element, shareable, id) & 0xFFFF;
    if (code == 0) {
        device_id = id;
        return true;
    }
    if (!element.isEmpty() &&
        (code == mci::kErrorFileNotFound || code == mci::kErrorInvalidFile ||
         (code == mci::kErrorCannotLoadDriver && GLB().modern_platform_family))) {
        notFound = true;
        return false;
    }
    if (!quiet) {
        QString context = QStringLiteral("mci_Open, ");
        if (!element.isEmpty())
            context += QStringLiteral("Element name = \"") + element + QStringLiteral("\", ");
        else if ((deviceType & 0xFFFF) == mci::kDeviceCdAudio)
            context += QStringLiteral("Device type = CD Audio, ");
        ReportError(context, code);
    }
    return false;
}

bool TMCIDevicePlayer::set_time_format(unsigned format) {
    if (const unsigned code = mci().setTimeFormat(device_id, format)) {
        ReportError(QStringLiteral("mci_Set"), code);
        return false;
    }
    return true;
}

bool TMCIDevicePlayer::status(unsigned track, unsigned item, std::uint32_t& value, bool quiet) {
    if (const unsigned code = mci().status(device_id, track, item, value)) {
        if (!quiet) ReportError(QStringLiteral("mci_Status"), code);
        return false;
    }
    return true;
}

bool TMCIDevicePlayer::SeekTo(int positionMs) {
    if (device_id == 0) return true;
    if (const unsigned code = mci().seek(device_id, static_cast<std::uint32_t>(std::max(0, positionMs)))) {
        ReportError(QStringLiteral("mci_Seek to"), code);
        return false;
    }
    return true;
}

bool TMCIDevicePlayer::play_range(std::optional<std::uint32_t> from, std::optional<std::uint32_t> to) {
    if (device_id == 0) return true;
    if (const unsigned code = mci().play(device_id, from, to)) {
        ReportError(QStringLiteral("mci_Play"), code);
        return false;
    }
    playing_ = true;
    return true;
}

bool TMCIDevicePlayer::stop() {
    if (device_id == 0) return false;
    if (!playing_) return true;
    playing_ = false;
    if (const unsigned code = mci().stop(device_id)) {
        ReportError(QStringLiteral("mci_Stop"), code);
        Close();
        return false;
    }
    return true;
}

bool TMCIDevicePlayer::Close() {
    playing_ = false;
    if (device_id == 0) return false;
    const unsigned code = mci().close(device_id);
    device_id = 0;
    if (code) {
        ReportError(QStringLiteral("mci_Close"), code);
        return false;
    }
    return true;
}

bool TMCIDevicePlayer::is_playing() {
    std::uint32_t mode = 0;
    return status(0, mci::kStatusMode, mode, false) && mode == mci::kModePlaying;
}

void TMCIDevicePlayer::ReportError(const QString& context, unsigned code) {
    const QString text = mci().errorText(code);
    const QString message = text.isEmpty()
                                ? context + QStringLiteral(" Unknown Error ") + QString::number(code)
                                : context + u' ' + QString::number(code) + QStringLiteral(": ") + text;
    GLB_show_message(message, platform::box::IconStop);
}

// ---------------------------------------------------------------------------

TSoundFilePlayer::~TSoundFilePlayer() {
    Close();
}

bool TSoundFilePlayer::open_file(const QString& fileName, int startMs, int& lengthMs, bool& notFound) {
    start_ = startMs;
    play_from_ = startMs;
    notFound = false;
    const auto attempt = [&](unsigned type) {
        if (!open(type, fileName, notFound, false, false)) return false;
        std::uint32_t length = 0;
        if (set_time_format(mci::kFormatMilliseconds) && status(0, mci::kStatusLength, length, false)) {
            file_length_ = static_cast<int>(std::min<std::uint32_t>(length, INT32_MAX));
            return true;
        }
        TMCIDevicePlayer::Close();
        return false;
    };
    if (!attempt(mci::kDeviceWaveAudio)) {
        if (notFound) return false;
        if (!attempt(0)) return false;
    }
    if (static_cast<qint64>(start_) + kMinimumPlayableMs > file_length_) {
        notFound = true;
        TMCIDevicePlayer::Close();
        return false;
    }
    end_ = static_cast<int>(std::min<qint64>(static_cast<qint64>(start_) + lengthMs, file_length_));
    lengthMs = end_ - start_;
    return true;
}

bool TSoundFilePlayer::Play(bool fromStart) {
    if (fromStart) play_from_ = start_;
    return play_range(static_cast<std::uint32_t>(play_from_), static_cast<std::uint32_t>(end_));
}

bool TSoundFilePlayer::SeekTo(int offsetMs) {
    if (!TMCIDevicePlayer::SeekTo(start_ + offsetMs)) return false;
    play_from_ = start_ + offsetMs;
    return true;
}

bool TSoundFilePlayer::GetPosition(int& positionMs) {
    std::uint32_t value = 0;
    if (!status(0, mci::kStatusPosition, value, true)) return false;
    positionMs = static_cast<int>(value) - start_;
    return true;
}

// ---------------------------------------------------------------------------

bool TCutPartFilePlayer::open_cut_part(const QString& fileName, bool mp3Inside, int& lengthMs,
                                       bool& notFound) {
    mp3_inside_ = mp3Inside;
    lengthMs = 100000000;
    return open_file(fileName, 0, lengthMs, notFound);
}

void TCutPartFilePlayer::ReportError(const QString& context, unsigned code) {
    if (code != mci::kErrorNoSuitableDecoder || !mp3_inside_) {
        TSoundFilePlayer::ReportError(context, code);
        return;
    }
    const bool spanish = GLB_edition().language == TLanguage::Spanish;
    const QString question =
        spanish ? QStringLiteral("Aparentemente, su computadora no cuenta con un descompresor de sonidos "
                                 "comprimidos con \"MPEG layer 3\". ¿Desea instalarlo ahora?")
                : QStringLiteral("Apparently, no MPEG layer 3 audio decompression codec is installed on "
                                 "your system. Do you want to install it now?");
    if (GLB_show_message(question, platform::box::YesNo) != platform::answer::Yes) return;
    // Decoders come with the system's FFmpeg libraries; the program cannot
    // install one, so it says which library is missing.
    GLB_show_message(
        spanish ? QStringLiteral("El descompresor de MPEG layer 3 forma parte de la biblioteca libavcodec "
                                 "de FFmpeg. Instale un paquete completo de libavcodec con el gestor de "
                                 "paquetes de su sistema y vuelva a cargar el programa.")
                : QStringLiteral("The MPEG layer 3 decoder is part of FFmpeg's libavcodec library. Please "
                                 "install a complete libavcodec package with your system's package "
                                 "manager, then start this program again."),
        platform::box::Plain);
}

// ---------------------------------------------------------------------------

TAudioCDTrackPlayer* TAudioCDTrackPlayer::current() {
    return currentTrackPlayer;
}

TAudioCDTrackPlayer::~TAudioCDTrackPlayer() {
    Close();
}

bool TAudioCDTrackPlayer::open_quietly(int driveNumber) {
    bool notFound = false;
    const unsigned type = static_cast<unsigned>(driveNumber - 1) * 65536 + mci::kDeviceCdAudio;
    return driveNumber >= 1 && open(type, {}, notFound, true, true) &&
           mci().setTimeFormat(device_id, mci::kFormatMsf) == 0;
}

bool TAudioCDTrackPlayer::open_track(int driveNumber, int& lengthMs, const Tcutpart* cutPart) {
    if (!cutPart || driveNumber < 1) return false;
    if (!copyingHintShown && GLB_base_directory_on_cdrom() && mci().cdAudioDevices() == 1) {
        copyingHintShown = true;
        GLB_show_message(GLB_texts().joined_text(QStringLiteral("TELL ABOUT COPYING TO HD")),
                         platform::box::Plain);
    }
    track_ = cutPart->track;
    start_ = cutPart->offset;
    current_ = start_;
    cut_part_ = cutPart;
    bool notFound = false;
    const unsigned type = static_cast<unsigned>(driveNumber - 1) * 65536 + mci::kDeviceCdAudio;
    if (!open(type, {}, notFound, false, true) || !set_time_format(mci::kFormatMsf)) {
        Close();
        return false;
    }
    currentTrackPlayer = this;
    const auto fail = [this] {
        Close();
        return false;
    };
    bool present = false;
    if (!media_present(false, present)) return fail();
    if (!present) {
        GLB_show_message(GLB_text(kPlayerSection, 3), platform::box::IconStop);
        return fail();
    }
    std::uint32_t type1 = 0;
    if (!status(1, mci::kStatusTrackType, type1, false)) return fail();
    if (type1 != mci::kTrackAudio) {
        GLB_show_message(GLB_text(kPlayerSection, 4), platform::box::IconStop);
        return fail();
    }
    if (!disc_confirmed()) return fail();
    if (track_ < 1 || track_ > 255) {
        GLB_show_message(QStringLiteral("Track %1 cannot be played: a disc has at most 99 tracks.")
                             .arg(track_),
                         platform::box::IconStop);
        return fail();
    }
    std::uint32_t position = 0, length = 0;
    if (!status(static_cast<unsigned>(track_), mci::kStatusPosition, position, false) ||
        !status(static_cast<unsigned>(track_), mci::kStatusLength, length, false))
        return fail();
    track_start_ = GLB_msf_to_ms(position);
    const int trackLength = GLB_msf_to_ms(length);
    end_ = static_cast<qint64>(start_) + lengthMs < trackLength ? start_ + lengthMs : trackLength;
    lengthMs = end_ - start_;
    return true;
}

bool TAudioCDTrackPlayer::media_present(bool quiet, bool& present) {
    std::uint32_t value = 0;
    if (!status(0, mci::kStatusMediaPresent, value, quiet)) return false;
    present = value != 0;
    return true;
}

QString TAudioCDTrackPlayer::disc_identity_text(bool quiet) {
    std::uint32_t tracks = 0;
    if (mci().setTimeFormat(device_id, mci::kFormatMsf) != 0 ||
        !status(0, mci::kStatusNumberOfTracks, tracks, quiet))
        return {};
    QString text = QString::number(tracks);
    for (unsigned t = 1; t <= std::min<unsigned>(tracks, kIdentityTracks); ++t) {
        std::uint32_t length = 0;
        if (!status(t, mci::kStatusLength, length, quiet)) return {};
        text += u';' + QString::number(mci::msfMinutes(length) * 60 + mci::msfSeconds(length));
    }
    return text;
}

bool TAudioCDTrackPlayer::disc_confirmed() {
    if (!cut_part_ || !cut_part_->audio_cd) return false;
    const QString disc = disc_identity_text(false);
    if (disc.isEmpty()) return false;
    return GLB_audio_CD_key_checker().confirm(cut_part_->audio_cd->name,
                                              cut_part_->audio_cd->identity_text, disc);
}

std::optional<std::uint32_t> TAudioCDTrackPlayer::tmsf_of(int ms) {
    const int minutes = ms / 60000;
    if (track_ < 0 || track_ > 255 || minutes > 255 || ms < 0) {
        GLB_show_message(QStringLiteral("The position %1 ms in track %2 lies beyond what an audio CD "
                                        "address can hold; it is not played.")
                             .arg(ms)
                             .arg(track_),
                         platform::box::IconStop);
        return std::nullopt;
    }
    return mci::tmsf(static_cast<unsigned>(track_), static_cast<unsigned>(minutes),
                     static_cast<unsigned>(ms / 1000 % 60), static_cast<unsigned>(ms % 1000 * 75 / 1000));
}

bool TAudioCDTrackPlayer::Play(bool fromStart) {
    if (!IsReady() || !disc_confirmed() || !set_time_format(mci::kFormatTmsf)) return false;
    if (fromStart) current_ = start_;
    const std::optional<std::uint32_t> from = tmsf_of(current_), to = tmsf_of(end_);
    if (!from || !to) return false;
    return play_range(*from, *to);
}

bool TAudioCDTrackPlayer::SeekTo(int offsetMs) {
    if (!IsReady()) return false;
    if (playing_) {
        int position = 0;
        if (!set_time_format(mci::kFormatMsf) || !GetPosition(position)) return false;
        const std::optional<std::uint32_t> to = tmsf_of(start_ + offsetMs);
        if (!to || !set_time_format(mci::kFormatTmsf) || !TMCIDevicePlayer::SeekTo(static_cast<int>(*to)))
            return false;
        playing_ = false;  // a seek ends the play; the caller plays again
    }
    current_ = start_ + offsetMs;
    return true;
}

bool TAudioCDTrackPlayer::GetPosition(int& positionMs) {
    if (!IsReady()) {
        positionMs = 0;
        return false;
    }
    if (playing_) {
        std::uint32_t value = 0;
        if (mci().setTimeFormat(device_id, mci::kFormatMsf) == 0 &&
            status(0, mci::kStatusPosition, value, true))
            current_ = GLB_msf_to_ms(value) - track_start_;
    }
    positionMs = current_ - start_;
    return true;
}

bool TAudioCDTrackPlayer::IsReady() {
    if (device_id == 0) return false;
    std::uint32_t value = 0;
    return mci().status(device_id, 0, mci::kStatusMediaPresent, value) == 0 && value != 0;
}

bool TAudioCDTrackPlayer::Close() {
    if (currentTrackPlayer == this) currentTrackPlayer = nullptr;
    if (device_id == 0) return true;
    const bool stopped = stop();
    return TMCIDevicePlayer::Close() && stopped;
}

// ---------------------------------------------------------------------------

Taudio_CD_key_checker::Taudio_CD_key_checker() = default;

bool Taudio_CD_key_checker::confirm(const QString& cdName, const QString& storedIdentity,
                                    const QString& discIdentity) {
    if (storedIdentity == discIdentity) {
        remembered_ = false;
        return true;
    }
    if (remembered_ && accepted_stored_ == storedIdentity && accepted_disc_ == discIdentity) return true;
    remembered_ = false;
    const QString question = GLB_text(kPlayerSection, 1) + QStringLiteral(" \"") + cdName +
                             QStringLiteral("\". ") + GLB_text(kPlayerSection, 2);
    if (GLB_show_message(question, platform::box::OkCancelDefaultCancel) != platform::answer::Ok)
        return false;
    remembered_ = true;
    accepted_stored_ = storedIdentity;
    accepted_disc_ = discIdentity;
    return true;
}

Taudio_CD_key_checker& GLB_audio_CD_key_checker() {
    static Taudio_CD_key_checker checker;
    return checker;
}

std::optional<QString> GLB_audio_CD_drive_report(int driveNumber) {
    if (driveNumber == 0 || driveReportBusy) return std::nullopt;
    driveReportBusy = true;
    struct Release {
        ~Release() { driveReportBusy = false; }
    } release;
    std::unique_ptr<TAudioCDTrackPlayer> temporary;
    TAudioCDTrackPlayer* player = TAudioCDTrackPlayer::current();
    if (!player) {
        temporary = std::make_unique<TAudioCDTrackPlayer>();
        if (!temporary->open_quietly(driveNumber)) return std::nullopt;
        player = temporary.get();
    }
    bool present = false;
    if (!player->media_present(true, present)) return std::nullopt;
    const QString section = QStringLiteral("AUDIO_CD_2");
    if (!present) return GLB_text(section, 1);
    const QString identity = player->disc_identity_text(true);
    if (const Tdata* data = GLB_data_or_null())
        for (const TaudioCD* cd : data->audio_cds())
            if (cd->identity_text == identity)
                return GLB_text(section, 2) + u' ' + cd->name;
    return GLB_text(section, 2) + u' ' + GLB_text(section, 3);
}

bool GLB_available_as_file(const Tcutpart& cutPart, const TClassSoundCarriersUseSpecification& carriers) {
    if (cutPart.is_sound_file) return true;
    const TaudioCD* cd = cutPart.audio_cd;
    return cd && (cd->carried_on_disc ||
                  (cd->sequence_number >= 0 && cd->sequence_number < 256 &&
                   carriers.audio_cds_on_hard_disk.test(static_cast<std::size_t>(cd->sequence_number))));
}

std::unique_ptr<TMCIDevicePlayer> GLB_make_player(const Tcutpart& cutPart,
                                                 const TClassSoundCarriersUseSpecification& carriers) {
    if (cutPart.is_sound_file) return std::make_unique<TCutPartFilePlayer>();
    if (GLB_available_as_file(cutPart, carriers)) return std::make_unique<TSoundFilePlayer>();
    return std::make_unique<TAudioCDTrackPlayer>();
}
