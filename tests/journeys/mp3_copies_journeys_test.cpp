// MP3 copies of the demo's own recordings as a user makes them: "Save as MP3
// file..." from a recording's menu and File, "Make mp3s"; ffprobe reads the
// copies back.
#include "journeys/journey.h"

#include "listview/windows/child_form.h"
#include "playlists/windows/make_all_mp3_files_form.h"
#include "playlists/mp3_copy.h"
#include "sound/id3_tag.h"
#include "sound/recording_paths.h"
#include "sound/windows/volume_control_form.h"
#include "support/mp3_probe.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDirIterator>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>

using namespace testing_support;

namespace {

// "Make mp3s" is the seventh line of the menus.
constexpr int kMakeMp3sMenuLine = 7;

// The bytes of the audio frames ffprobe finds in a file, in their order.
QByteArray probedFrameBytes(const QString& file, const QByteArray& contents, int* count = nullptr) {
    const std::vector<ProbedFrame> frames = probeFrames(file);
    if (count) *count = static_cast<int>(frames.size());
    return frameBytes(contents, frames);
}

// MP3 data: an MP3 file, or a WAV file whose format tag is 0x55 (some of
// the demo's recordings are plain PCM and cannot be copied).
bool holdsMp3(const QString& file) {
    if (file.endsWith(".mp3", Qt::CaseInsensitive)) return true;
    const QByteArray head = readFile(file).left(22);
    return head.size() == 22 && head.startsWith("RIFF") && head[20] == '\x55' && head[21] == '\0';
}

QStringList mp3FilesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, {"*.mp3"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next();
    files.sort();
    return files;
}

// A box on screen runs an event loop of its own until the user answers:
// the program's timers go on firing meanwhile. The answers come from the
// program's script.
class WaitingDialogs final : public platform::DialogBackend {
  public:
    WaitingDialogs() : answers_(platform::DialogService::setBackend(nullptr)) {}
    ~WaitingDialogs() override = default;

    // Installs itself in front of the script; gives the script back when
    // the guard goes.
    struct Installed {
        Installed() { platform::DialogService::setBackend(std::make_unique<WaitingDialogs>()); }
        ~Installed() {
            auto self = platform::DialogService::setBackend(nullptr);
            platform::DialogService::setBackend(
                std::move(static_cast<WaitingDialogs&>(*self).answers_));
        }
    };

    int message(const platform::MessageRequest& request) override {
        QTest::qWait(80);
        return answers_->message(request);
    }
    std::optional<QString> chooseDirectory(const QString& caption, const QString& start) override {
        QTest::qWait(80);
        return answers_->chooseDirectory(caption, start);
    }
    std::optional<QString> openFileName(const platform::FileRequest& request) override {
        return answers_->openFileName(request);
    }
    std::optional<QString> saveFileName(const platform::FileRequest& request) override {
        return answers_->saveFileName(request);
    }
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initial) override {
        return answers_->inputText(caption, prompt, initial);
    }

  private:
    std::unique_ptr<platform::DialogBackend> answers_;
};

class Mp3CopiesJourney : public Journey {
  protected:
    void SetUp() override {
        GLB_mp3_folder_of_run().clear();
        Journey::SetUp();
    }
    void TearDown() override {
        Journey::TearDown();
        GLB_mp3_folder_of_run().clear();
    }
    // The "Make mp3s" window of the main list window, as the menu opens it.
    TMakeAllMP3FilesForm* makeMp3s() {
        QAction* action = main_->menu_action(kMakeMp3sMenuLine);
        if (!action || !action->isEnabled()) return nullptr;
        action->trigger();
        return main_->findChild<TMakeAllMP3FilesForm*>();
    }
};

}  // namespace

TEST_F(Mp3CopiesJourney, SaveAsMp3FromARecordingsMenuCopiesItsSound) {
    if (!haveFfprobe()) GTEST_SKIP() << "ffprobe is not installed (scripts/install-dependencies.sh installs it)";
    unfoldFirstSpecies();
    // The first recording of the species whose sound is MP3 data.
    Tsound_bar* button = nullptr;
    QString source;
    for (int n = 1; Tsound_bar* b = recordingButton(n); ++n) {
        source = GLB_recording_file(b->cut_part());
        if (QFileInfo(source).isFile() && holdsMp3(source)) {
            button = b;
            break;
        }
    }
    ASSERT_NE(button, nullptr);

    // The user last touched the volume window: the copy still follows the
    // list whose recording was asked for.
    TVolume_control_form* volume = TVolume_control_form::instance();
    ASSERT_NE(volume, nullptr);
    volume->show();
    volume->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(volume));
    // The user creates the proposed folder.
    program().script().dialogs().messageAnswers = {platform::answer::Yes};
    QString chosen;
    useRecordingMenu(*button, [&chosen](QMenu& menu) {
        for (QAction* action : menu.actions())
            if (action->text().contains("MP3") && action->isEnabled()) {
                chosen = action->text();
                action->trigger();
                return;
            }
    });
    ASSERT_FALSE(chosen.isEmpty()) << "the menu offers no MP3 copy";

    const QStringList copies = mp3FilesBelow(program().home());
    ASSERT_EQ(copies.size(), 1) << copies.join(", ").toStdString();
    EXPECT_TRUE(copies.front().startsWith(GLB_mp3_folder_of_run()));
    const QByteArray audio = audioOf(readFile(copies.front()));
    const std::vector<ProbedFrame> probed = probeFrames(source);
    const int frames = static_cast<int>(probed.size());
    const QByteArray sourceFrames = frameBytes(readFile(source), probed);
    ASSERT_GT(frames, 10);
    EXPECT_GT(audio.size(), 1000);
    EXPECT_TRUE(audio == sourceFrames) << audio.size() << " bytes copied of " << sourceFrames.size();
    // The copy lasts as long as its source, to a frame (1,152 samples in
    // MPEG-1, 576 in MPEG-2 and 2.5, at the source's own rate).
    const double frame = probed.front().duration;
    EXPECT_NEAR(probeDuration(copies.front()), probeDuration(source), frame);
    EXPECT_NEAR(probeDuration(copies.front()), frames * frame, frame);
}

TEST_F(Mp3CopiesJourney, MakeMp3sCopiesEveryPlayableRecordingWithItsSound) {
    if (!haveFfprobe()) GTEST_SKIP() << "ffprobe is not installed (scripts/install-dependencies.sh installs it)";
    // The user creates the proposed folder and goes on after every
    // recording that is not MP3 data.
    program().script().dialogs().messageAnswers = {platform::answer::Yes};
    for (int i = 0; i < 20; ++i) program().script().dialogs().messageAnswers.push_back(platform::answer::No);
    QPointer<TMakeAllMP3FilesForm> form = makeMp3s();
    ASSERT_FALSE(form.isNull());
    ASSERT_TRUE(eventually([&] { return !form->job().running(); }, 120000));
    const TMakeAllMP3sJob& job = form->job();
    ASSERT_GT(job.total(), 100);
    EXPECT_LT(job.failure_count(), 10) << job.failures_text().toStdString();
    EXPECT_EQ(job.done() + job.failure_count(), job.total());
    EXPECT_TRUE(job.progress_text().startsWith("Ready: " + QString::number(job.done()) + " MP3 files were made."))
        << job.progress_text().toStdString();
    EXPECT_EQ(program().script().messages().size(), 1u + job.failure_count());

    const QStringList copies = mp3FilesBelow(GLB_mp3_folder_of_run());
    EXPECT_EQ(copies.size(), job.done());
    int silent = 0;
    for (qsizetype i = 0; i < copies.size(); ++i) {
        const QByteArray contents = readFile(copies[i]);
        const QByteArray audio = audioOf(contents);
        if (audio.size() < 1000) {
            ++silent;
            continue;
        }
        // Every byte behind the tag is a frame ffprobe reads (one copy in
        // eight: ffprobe takes its time).
        if (i % 8 != 0) continue;
        int frames = 0;
        if (probedFrameBytes(copies[i], contents, &frames) != audio || frames == 0) ++silent;
    }
    EXPECT_EQ(silent, 0) << "copies without their sound";

    // Escape closes the finished window.
    form->activateWindow();
    QTest::keyClick(form.data(), Qt::Key_Escape);
    EXPECT_TRUE(eventually([&] { return form.isNull(); }, 2000));
}

TEST_F(Mp3CopiesJourney, CancelOnTheFolderQuestionStopsMakeMp3sWithNothingCounted) {
    const WaitingDialogs::Installed boxesWait;
    program().script().dialogs().messageAnswers = {platform::answer::Cancel};
    QPointer<TMakeAllMP3FilesForm> form = makeMp3s();
    ASSERT_FALSE(form.isNull());
    ASSERT_TRUE(eventually([&] { return !form->job().running(); }, 20000));
    QTest::qWait(100);

    EXPECT_EQ(program().script().messages().size(), 1u) << "the question came again";
    EXPECT_EQ(form->job().done(), 0);
    EXPECT_TRUE(form->job().progress_text().startsWith("Ready: 0 MP3 files were made."))
        << form->job().progress_text().toStdString();
    EXPECT_TRUE(GLB_mp3_folder_of_run().isEmpty());
    EXPECT_TRUE(mp3FilesBelow(program().home()).isEmpty());

    // Escape closes the finished window, without a question.
    QTest::keyClick(form.data(), Qt::Key_Escape);
    EXPECT_TRUE(eventually([&] { return form.isNull(); }, 2000));
    EXPECT_EQ(program().script().messages().size(), 1u);
}
