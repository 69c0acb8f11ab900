// The players' rules on the engine: the 700 ms rule, cutting, cut parts,
// audio-CD tracks with disc confirmation, TMSF limits and the drive report.
#include "data/media_records.h"
#include "data/visibility_filter.h"
#include "formats/textfile.h"
#include "platform/audio/engine.h"
#include "sound/players.h"
#include "sound/recording_paths.h"
#include "sound/volume.h"
#include "sound_media.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace platform::audio;
using testing_support::DialogScript;

namespace {

const char* kTexts =
    "$[MESSAGES_CAPTION]\nKorvelan\n"
    "$[AUDIO CD PLAYER]\nNot the CD\nPlay anyway?\nNo disc.\nNot audio.\n"
    "$[AUDIO_CD_2]\nNo disc in the drive\nAudio CD:\nunknown disc\n";

class PlayersTest : public testing::Test {
  protected:
    testing_support::IsolatedProgram program{QString::fromLatin1(kTexts), 1};
    DialogScript script;
    QTemporaryDir dir;
    QString wave(const QString& name, int ms) {
        return sound_media::write(dir.filePath(name), sound_media::pcmWave(ms));
    }
};

TEST_F(PlayersTest, AFileMustLastSevenHundredMillisecondsBeyondTheStart) {
    TSoundFilePlayer player;
    int length = 1000;
    bool notFound = false;
    EXPECT_FALSE(player.open_file(wave("short.wav", 1699), 1000, length, notFound));
    EXPECT_TRUE(notFound);
    EXPECT_FALSE(player.opened());
    length = 1000;
    ASSERT_TRUE(player.open_file(wave("enough.wav", 1700), 1000, length, notFound));
    EXPECT_FALSE(notFound);
    EXPECT_EQ(length, 700);
    EXPECT_TRUE(script.messages().empty());
}

TEST_F(PlayersTest, RangesAreCutToTheFileAndPositionsCountFromTheStart) {
    TSoundFilePlayer player;
    int length = 100000;
    bool notFound = false;
    ASSERT_TRUE(player.open_file(wave("tone.wav", 3000), 1000, length, notFound));
    EXPECT_EQ(length, 2000);
    ASSERT_TRUE(player.SeekTo(1500));
    int position = -1;
    ASSERT_TRUE(player.GetPosition(position));
    EXPECT_EQ(position, 1500);
    ASSERT_TRUE(player.Play(false));
    EXPECT_TRUE(player.is_playing());
    for (int i = 0; i < 100 && player.is_playing(); ++i) QThread::msleep(20);
    ASSERT_TRUE(player.GetPosition(position));
    EXPECT_EQ(position, 2000);
    // From the start again after the end.
    ASSERT_TRUE(player.Play(true));
    QThread::msleep(100);
    ASSERT_TRUE(player.GetPosition(position));
    EXPECT_LT(position, 600);
    EXPECT_TRUE(player.stop());
    EXPECT_TRUE(player.Close());
    EXPECT_FALSE(player.Close());
}

TEST_F(PlayersTest, ACutPartPlaysWholeAndMissingFilesAreOnlyFlagged) {
    TCutPartFilePlayer player;
    int length = 0;
    bool notFound = false;
    ASSERT_TRUE(player.open_cut_part(sound_media::demoBase() + "tapes/1305/A02_WH.WMA", false, length, notFound));
    EXPECT_NEAR(length, 13000, 60);
    player.Close();
    EXPECT_FALSE(player.open_cut_part(dir.filePath("gone.wav"), true, length, notFound));
    EXPECT_TRUE(notFound);
    EXPECT_TRUE(script.messages().empty());
}

TEST_F(PlayersTest, ErrorsNameTheCommandTheCodeAndTheText) {
    TSoundFilePlayer player;
    player.ReportError("mci_Play", mci::kErrorHardware);
    player.ReportError("mci_Seek to", 4711);
    ASSERT_EQ(script.messages().size(), 2u);
    EXPECT_EQ(script.messages()[0].text, "mci_Play 262: " + Engine::instance().errorText(262));
    EXPECT_EQ(script.messages()[1].text, "mci_Seek to Unknown Error 4711");
}

TEST(MsfTest, TrackStartsConvertToMilliseconds) {
    EXPECT_EQ(GLB_msf_to_ms(mci::msf(2, 3, 37)), 123493);
    EXPECT_EQ(mci::tmsf(5, 1, 2, 3), 0x03020105u);
}

// A disc of 30 tracks of 1 to 3 seconds in drive 1 and an empty drive 2.
class AudioCdTest : public PlayersTest {
  protected:
    std::vector<int> frames;
    TaudioCD cd;
    Tcutpart cut;
    void SetUp() override {
        for (int t = 0; t < 30; ++t) frames.push_back(75 * (1 + t % 3) + t);
        Engine::instance().setCdDrives({sound_media::discImage(dir.path(), frames), dir.filePath("none.cue")});
        cd.name = "Test disc";
        cd.identity_text = expectedIdentity();
        cut.is_sound_file = false;
        cut.audio_cd = &cd;
        cut.track = 6;
        cut.offset = 500;
        GLB_reset_audio_CD_hints();
    }
    void TearDown() override { Engine::instance().setCdDrives({}); }
    QString expectedIdentity() const {
        QString s = "30";
        for (int t = 0; t < 25; ++t) s += ";" + QString::number(frames[static_cast<std::size_t>(t)] / 75);
        return s;
    }
};

TEST_F(AudioCdTest, ATrackOpensOnTheConfirmedDiscAndIsCutToItsEnd) {
    TAudioCDTrackPlayer player;
    int length = 100000;
    ASSERT_TRUE(player.open_track(1, length, &cut));
    EXPECT_EQ(length, (frames[5] * 1000 / 75) - 500);
    EXPECT_EQ(TAudioCDTrackPlayer::current(), &player);
    EXPECT_TRUE(script.messages().empty());
    ASSERT_TRUE(player.SeekTo(1000));
    ASSERT_TRUE(player.Play(false));
    int position = 1000;
    for (int i = 0; i < 150 && position <= 1050; ++i) {
        QThread::msleep(20);
        ASSERT_TRUE(player.GetPosition(position));
    }
    EXPECT_GT(position, 1050);
    EXPECT_LT(position, 1500);
    for (int i = 0; i < 150 && player.is_playing(); ++i) QThread::msleep(20);
    ASSERT_TRUE(player.GetPosition(position));
    EXPECT_NEAR(position, length, 30);
    player.Close();
    EXPECT_EQ(TAudioCDTrackPlayer::current(), nullptr);
}

TEST_F(AudioCdTest, AnotherDiscIsPlayedOnlyWhenTheUserAcceptsIt) {
    cd.identity_text = "12;1;2;3";
    TAudioCDTrackPlayer player;
    int length = 1000;
    script.dialogs().messageAnswers = {platform::answer::Cancel};
    EXPECT_FALSE(player.open_track(1, length, &cut));
    ASSERT_EQ(script.messages().size(), 1u);
    EXPECT_EQ(script.messages()[0].text, "Not the CD \"Test disc\". Play anyway?");
    EXPECT_EQ(script.messages()[0].style, 257);
    script.dialogs().messageAnswers = {platform::answer::Ok};
    ASSERT_TRUE(player.open_track(1, length, &cut));
    player.Close();
    // The accepted pair is remembered: no second question.
    ASSERT_TRUE(player.open_track(1, length, &cut));
    EXPECT_EQ(script.messages().size(), 2u);
    player.Close();
    // Once an exact match came between, the question comes again.
    EXPECT_TRUE(GLB_audio_CD_key_checker().confirm("x", "a", "a"));
    script.dialogs().messageAnswers = {platform::answer::Cancel};
    EXPECT_FALSE(player.open_track(1, length, &cut));
    EXPECT_EQ(script.messages().size(), 3u);
}

TEST_F(AudioCdTest, NumbersABytesCannotHoldAreRefusedBeforeAnyCommand) {
    cut.track = 300;
    TAudioCDTrackPlayer player;
    int length = 1000;
    EXPECT_FALSE(player.open_track(1, length, &cut));
    ASSERT_EQ(script.messages().size(), 1u);
    EXPECT_FALSE(player.opened());
}

TEST_F(AudioCdTest, AnEmptyDriveSaysSo) {
    TAudioCDTrackPlayer player;
    int length = 1000;
    EXPECT_FALSE(player.open_track(2, length, &cut));
    ASSERT_EQ(script.messages().size(), 1u);
    EXPECT_EQ(script.messages()[0].text, "No disc.");
    EXPECT_EQ(GLB_audio_CD_drive_report(2), std::optional<QString>("No disc in the drive"));
}

TEST_F(AudioCdTest, TheDriveReportComparesTheTrackCountAndTwentyFiveLengths) {
    TAudioCDTrackPlayer player;
    ASSERT_TRUE(player.open_quietly(1));
    EXPECT_EQ(player.disc_identity_text(true), expectedIdentity());
    player.Close();
    // Without a database no CD is known.
    EXPECT_EQ(GLB_audio_CD_drive_report(1), std::optional<QString>("Audio CD: unknown disc"));
    EXPECT_EQ(GLB_audio_CD_drive_report(0), std::nullopt);
    EXPECT_EQ(GLB_audio_CD_drive_report(3), std::nullopt);
}

// A fake media control that records what was opened.
struct RecordingControl : MediaControl {
    unsigned openedType = 0;
    unsigned open(unsigned type, const QString&, bool, unsigned& id) override {
        openedType = type;
        id = 0;
        return mci::kErrorHardware;
    }
    unsigned setTimeFormat(unsigned, unsigned) override { return 0; }
    unsigned status(unsigned, unsigned, unsigned, std::uint32_t&) override { return 0; }
    unsigned seek(unsigned, std::uint32_t) override { return 0; }
    unsigned play(unsigned, std::optional<std::uint32_t>, std::optional<std::uint32_t>) override { return 0; }
    unsigned stop(unsigned) override { return 0; }
    unsigned close(unsigned) override { return 0; }
    QString errorText(unsigned) const override { return {}; }
    int waveOutputDevices() override { return 1; }
    int cdAudioDevices() override { return 2; }
    void setGain(double) override {}
    double gain() const override { return 1; }
};

TEST_F(AudioCdTest, TheSecondDriveIsTheCdAudioTypeWithOrdinalOne) {
    RecordingControl control;
    setMediaControl(&control);
    TAudioCDTrackPlayer player;
    int length = 1000;
    EXPECT_FALSE(player.open_track(2, length, &cut));
    setMediaControl(nullptr);
    EXPECT_EQ(control.openedType, 66052u);
    ASSERT_EQ(script.messages().size(), 1u);
    EXPECT_EQ(script.messages()[0].text, "mci_Open, Device type = CD Audio,  Unknown Error 262");
}

TEST(VolumeTest, SliderPositionsAndLevels) {
    EXPECT_EQ(volume::position_for_level(65535, 65535, true), 0);
    EXPECT_EQ(volume::position_for_level(32767, 32767, true), 50);
    EXPECT_EQ(volume::level_for_position(25), 49151);
    EXPECT_EQ(volume::level_for_position(100), 0);
}

TEST(RecordingPathsTest, PartsMatchInAnyCaseWithEitherSeparator) {
    QTemporaryDir dir;
    sound_media::write(dir.filePath("Tapes/1207/b03a_MF.wav"), "x");
    EXPECT_EQ(GLB_resolve_path(dir.path(), "tapes\\1207\\B03A_MF.WAV"), dir.filePath("Tapes/1207/b03a_MF.wav"));
    EXPECT_EQ(GLB_resolve_path(dir.path() + "/", "tapes/1207/B03A_MF.WAV"), dir.filePath("Tapes/1207/b03a_MF.wav"));
    EXPECT_EQ(GLB_resolve_path(dir.path(), "tapes\\9\\x.wav"), dir.filePath("Tapes/9/x.wav"));
}

TEST(RecordingPathsTest, ATrackFileIsFoundByItsTwoDigitNumber) {
    QTemporaryDir dir;
    sound_media::write(dir.filePath("Disc/Track 07.mp3"), "x");
    sound_media::write(dir.filePath("Disc/Track 17.mp3"), "x");
    TaudioCD cd;
    cd.hard_disk_directory = dir.filePath("Disc") + "//";
    EXPECT_EQ(GLB_audio_CD_track_file(cd, 7, false), dir.filePath("Disc/Track 07.mp3"));
    EXPECT_EQ(GLB_audio_CD_track_file(cd, 17, false), dir.filePath("Disc/Track 17.mp3"));
    EXPECT_EQ(GLB_audio_CD_track_file(cd, 8, false), QString());
}

}  // namespace
