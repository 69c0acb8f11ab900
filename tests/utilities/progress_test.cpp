#include "utilities/path_shortening.h"
#include "utilities/show_message_while_executing.h"

#include <gtest/gtest.h>

#include <QMutex>
#include <QMutexLocker>
#include <condition_variable>
#include <thread>
#include <vector>

namespace {

// Fits when the text has at most this many characters.
auto atMost(qsizetype characters) {
    return [characters](const QString& text) { return text.size() <= characters; };
}

}  // namespace

TEST(PathShortening, PathsWithoutDriveLoseTheirBeginningUntilTheyFit) {
    const QString path = QStringLiteral("/media/cdrom/tapes/1234/cut_0001.wav");
    EXPECT_EQ(GLB_shorten_path(path, atMost(100)), path) << "a fitting path stays";
    // Step 1 drops 4 characters, each further step one more.
    EXPECT_EQ(GLB_shorten_path(path, atMost(path.size())), path);
    EXPECT_EQ(GLB_shorten_path(path, atMost(path.size() - 1)), "...." + path.mid(5));
    EXPECT_EQ(GLB_shorten_path(path, atMost(20)), "....234/cut_0001.wav");
    EXPECT_EQ(GLB_shorten_path(path, atMost(3)), "....") << "nothing fits: all of it goes";
}

TEST(PathShortening, DriveLetterPathsKeepTheirFirstTwentyCharacters) {
    const QString path = QStringLiteral("D:\\Quillmarsh\\tapes\\1234\\cut_0001_long_name.wav");
    const QString shortened = GLB_shorten_path(path, atMost(40));
    EXPECT_TRUE(shortened.startsWith(path.left(20) + "....")) << shortened.toStdString();
    EXPECT_TRUE(path.endsWith(shortened.mid(24)));
    EXPECT_EQ(shortened.size(), 40) << "the longest tail that fits";
}

namespace {

// Records what the threads post; waits for the procedure's end.
class RecordingSink final : public TMessageWhileExecutingSink {
  public:
    void post_position(int position) override {
        QMutexLocker lock(&mutex_);
        positions_.push_back(position);
    }
    void post_detail_text(const QString& text) override {
        QMutexLocker lock(&mutex_);
        texts_.push_back(text);
    }
    void post_procedure_done() override {
        std::lock_guard lock(done_mutex_);
        done_ = true;
        done_changed_.notify_all();
    }
    bool wait_done(int milliseconds) {
        std::unique_lock lock(done_mutex_);
        return done_changed_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                      [this] { return done_; });
    }
    std::vector<int> positions() {
        QMutexLocker lock(&mutex_);
        return positions_;
    }
    std::vector<QString> texts() {
        QMutexLocker lock(&mutex_);
        return texts_;
    }

  private:
    QMutex mutex_;
    std::vector<int> positions_;
    std::vector<QString> texts_;
    std::mutex done_mutex_;
    std::condition_variable done_changed_;
    bool done_ = false;
};

}  // namespace

TEST(ShowMessageWhileExecuting, CounterModeShowsTheProcedureCounterAndTexts) {
    RecordingSink sink;
    std::atomic<bool> reported{false};
    TGlobalShowMessageWhileExecutingObject worker(
        [&](const std::atomic<bool>&, const auto& setText, const auto& setCounter) {
            setText(QStringLiteral("tapes"));
            setCounter(42);
            // The event wakes the progress thread well before its 500 ms wait ends.
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            reported = true;
        },
        true, true);
    EXPECT_EQ(worker.maximum(), 100);
    worker.start(sink);
    ASSERT_TRUE(sink.wait_done(5000));
    worker.finish();
    EXPECT_FALSE(worker.cancelled());
    const auto positions = sink.positions();
    // Woken by the event: the counter shows long before the 500 ms time-out.
    EXPECT_NE(std::find(positions.begin(), positions.end(), 42), positions.end());
    EXPECT_EQ(sink.texts(), std::vector<QString>{QStringLiteral("tapes")});
}

TEST(ShowMessageWhileExecuting, PlainModeFillsTheBarAboutOnceASecond) {
    RecordingSink sink;
    TGlobalShowMessageWhileExecutingObject worker(
        [](const std::atomic<bool>&, const auto&, const auto&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1300));
        },
        false, false);
    worker.start(sink);
    ASSERT_TRUE(sink.wait_done(5000));
    worker.finish();
    const auto positions = sink.positions();
    ASSERT_GE(positions.size(), 8u);
    for (int p : positions) {
        EXPECT_GE(p, 0);
        EXPECT_LE(p, 10);
    }
    // After a full bar it starts again from the beginning.
    const bool wrapped = std::adjacent_find(positions.begin(), positions.end(),
                                            [](int a, int b) { return b < a; }) != positions.end();
    EXPECT_TRUE(wrapped);
}

TEST(ShowMessageWhileExecuting, CancelReachesTheProcedureAndNothingIsReportedDone) {
    RecordingSink sink;
    std::atomic<bool> sawCancel{false};
    TGlobalShowMessageWhileExecutingObject worker(
        [&](const std::atomic<bool>& cancelled, const auto&, const auto&) {
            while (!cancelled) std::this_thread::sleep_for(std::chrono::milliseconds(2));
            sawCancel = true;
        },
        false, false);
    worker.start(sink);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    worker.cancel();
    worker.finish();
    EXPECT_TRUE(sawCancel);
    EXPECT_TRUE(worker.cancelled());
    EXPECT_FALSE(sink.wait_done(50));
}
