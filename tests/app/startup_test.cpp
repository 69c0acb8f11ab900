#include "app/windows/startup.h"
#include "app/editions.h"
#include "app/globals.h"
#include "app/messages.h"
#include "app/settings.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <stdexcept>
#include <chrono>
#include <thread>

using testing_support::DialogScript;
using testing_support::ProgramDirectory;

namespace {

const QByteArray kTexts =
    "$[MESSAGES_CAPTION]\nKorvelan\n$[OUT_OF_MEMORY]\nNo memory\n"
    "$[OTHER_INSTANCE]\nAlready running.\nStart again?\n";

class Startup : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("Korvelan.txt", kTexts);
        dir.write("PROGR_NM.TXT", "1011\n");
        dir.write("Korvelan.ini", "[GENERAL]\nJust Installed=Yes\nBase Directory=/media/cdrom/x\n");
        // Tests run side by side, several of them as the same edition: each
        // keeps its copies' markers (and its probes', which inherit this) in
        // a folder of its own.
        previousRuntime_ = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", previousRuntime_); }
    ProgramDirectory dir;
    DialogScript script;

  private:
    QTemporaryDir runtime_;
    QByteArray previousRuntime_;
};

}  // namespace

TEST_F(Startup, StepsRunInOrderAndShutDownWritesTheBaseDirectory) {
    std::vector<QString> order;
    {
        TStartup startup({.load_species_database =
                              [&](auto&) {
                                  // The edition is known before the database loads.
                                  order.push_back("database " +
                                                  QString::number(GLB_edition().edition_code));
                              },
                          .create_windows = {},
                          .free_species_database = [&] { order.push_back("free"); }});
        startup.initialise(dir.path(), dir.path());
        EXPECT_EQ(GLB().message_box_caption, GLB_edition().title);
        EXPECT_EQ(GLB().out_of_memory_text, QStringLiteral("No memory"));
        EXPECT_EQ(GLB_text("OTHER_INSTANCE", 2), QStringLiteral("Start again?"));
        EXPECT_TRUE(GLB().base_directory.endsWith(u'/'));
        GLB().base_directory = QStringLiteral("/media/dvd/");
        startup.shut_down();
    }
    EXPECT_EQ(order, (std::vector<QString>{"database 101", "free"}));
    EXPECT_FALSE(GLB_read_flag("GENERAL", "Just Installed", true));
    EXPECT_EQ(GLB_read_string("GENERAL", "Base Directory", {}), QStringLiteral("/media/dvd/"));
    EXPECT_TRUE(script.messages().empty());
}

TEST_F(Startup, TheTextsFileNamedInTheSettingsIsUsed) {
    dir.write("Korvelan.ini", "[GENERAL]\nText File=Spanish.txt\n");
    dir.write("Spanish.txt", "$[MESSAGES_CAPTION]\nKorvelan ES\n$[OUT_OF_MEMORY]\nSin memoria\n");
    TStartup startup({});
    startup.initialise(dir.path(), dir.path());
    EXPECT_EQ(GLB().out_of_memory_text, QStringLiteral("Sin memoria"));
}

TEST_F(Startup, AMissingTextsFileEndsTheProgramWithItsMessage) {
    QFile::remove(dir.file("Korvelan.txt"));
    TStartup startup({});
    try {
        startup.initialise(dir.path(), dir.path());
        FAIL() << "the start went on without texts";
    } catch (const platform::FatalStop& stop) {
        EXPECT_EQ(stop.message,
                  "The text file \"" + dir.file("Korvelan.txt") + "\" was not found!");
        EXPECT_EQ(stop.exitCode, 1);
    }
}

TEST_F(Startup, AnInconsistentDatabaseEndsTheProgramWithTheEditionsCaption) {
    TStartup startup({.load_species_database =
                          [](auto&) { throw TLoadError(QStringLiteral("Locality is empty string!?")); },
                      .create_windows = {},
                      .free_species_database = {}});
    try {
        startup.initialise(dir.path(), dir.path());
        FAIL() << "the start went on with a broken database";
    } catch (const platform::FatalStop& stop) {
        EXPECT_EQ(stop.message, QStringLiteral("Locality is empty string!?"));
        EXPECT_EQ(stop.exitCode, 1);
    }
    ASSERT_EQ(script.messages().size(), 1u);
    EXPECT_EQ(script.messages().front().caption, GLB_edition().title);
    EXPECT_EQ(script.messages().front().style, platform::box::IconStop);
}

TEST_F(Startup, ASecondCopyAsksAndTheAnswerDecides) {
    TStartup startup({});
    startup.initialise(dir.path(), dir.path());
    QProcess firstCopy;
    firstCopy.start(QStringLiteral(SINGLE_INSTANCE_PROBE), {TStartup::mutex_name()});
    ASSERT_TRUE(firstCopy.waitForReadyRead(5000));

    script.dialogs().messageAnswers = {platform::answer::No, platform::answer::Yes};
    EXPECT_FALSE(startup.claim_single_instance());
    ASSERT_EQ(script.messages().size(), 1u);
    EXPECT_EQ(script.lastMessage(), QStringLiteral("Already running.\nStart again?"));
    EXPECT_EQ(script.messages()[0].style, 36);
    EXPECT_EQ(script.messages()[0].caption, GLB_edition().title);
    EXPECT_TRUE(startup.claim_single_instance());

    firstCopy.kill();
    firstCopy.waitForFinished(5000);
}

TEST_F(Startup, ADifferentEditionIsNoSecondCopy) {
    TStartup startup({});
    startup.initialise(dir.path(), dir.path());
    QProcess otherEdition;
    otherEdition.start(QStringLiteral(SINGLE_INSTANCE_PROBE),
                       {QStringLiteral("Korvelan MutexSome Other Title 1.0")});
    ASSERT_TRUE(otherEdition.waitForReadyRead(5000));
    EXPECT_TRUE(startup.claim_single_instance());
    EXPECT_TRUE(script.messages().empty());
    otherEdition.kill();
    otherEdition.waitForFinished(5000);
}

TEST_F(Startup, TheWindowsArePreparedBesideTheLoadsLastStep) {
    const std::thread::id here = std::this_thread::get_id();
    std::thread::id loadingThread;
    std::thread::id preparingThread;
    std::atomic<bool> threadsMet{false};
    std::atomic<bool> preparing{false};
    std::atomic<bool> preparedTooEarly{false};
    bool sawThePreparation = true;
    TStartup startup({.load_species_database =
                          [&](const std::function<void()>& tellThreadsMet) {
                              loadingThread = std::this_thread::get_id();
                              // Until the loading threads have met, the
                              // preparation would only slow them.
                              std::this_thread::sleep_for(std::chrono::milliseconds(50));
                              if (preparing) preparedTooEarly = true;
                              threadsMet = true;
                              tellThreadsMet();
                              // The last step: the preparation runs beside it.
                              const auto until =
                                  std::chrono::steady_clock::now() + std::chrono::seconds(5);
                              while (!preparing && std::chrono::steady_clock::now() < until)
                                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
                              if (!preparing) sawThePreparation = false;
                          },
                      .create_windows = {},
                      .free_species_database = {},
                      .prepare_windows =
                          [&] {
                              preparingThread = std::this_thread::get_id();
                              if (!threadsMet) preparedTooEarly = true;
                              preparing = true;
                          }});
    startup.initialise(dir.path(), dir.path());
    EXPECT_FALSE(preparedTooEarly);
    EXPECT_TRUE(sawThePreparation);
    EXPECT_EQ(preparingThread, here);
    EXPECT_NE(loadingThread, here);
    EXPECT_NE(loadingThread, std::thread::id());
    EXPECT_TRUE(script.messages().empty());
}

TEST_F(Startup, ALoadThatNeverSaysItsThreadsMetStillLetsTheWindowsBePrepared) {
    bool prepared = false;
    {
        TStartup startup({.load_species_database = [](auto&) {},
                          .create_windows = {},
                          .free_species_database = {},
                          .prepare_windows = [&] { prepared = true; }});
        startup.initialise(dir.path(), dir.path());
    }
    EXPECT_TRUE(prepared);
    // Nor one that fails before: its end is shown after the preparation.
    bool preparedBeforeTheEnd = false;
    TStartup failing({.load_species_database =
                          [](auto&) { throw TLoadError(QStringLiteral("Locality is empty string!?")); },
                      .create_windows = {},
                      .free_species_database = {},
                      .prepare_windows = [&] { preparedBeforeTheEnd = true; }});
    EXPECT_THROW(failing.initialise(dir.path(), dir.path()), platform::FatalStop);
    EXPECT_TRUE(preparedBeforeTheEnd);
}

TEST_F(Startup, WhatTheLoaderSaidShowsBeforeTheEndItMet) {
    TStartup startup({.load_species_database =
                          [](auto&) {
                              GLB_show_message(QStringLiteral("Error occured with a subspecies \"x\""),
                                               platform::box::IconStop);
                              throw TLoadError(QStringLiteral("Locality is empty string!?"));
                          },
                      .create_windows = {},
                      .free_species_database = {},
                      .prepare_windows = [] {}});
    try {
        startup.initialise(dir.path(), dir.path());
        FAIL() << "the start went on with a broken database";
    } catch (const platform::FatalStop& stop) {
        EXPECT_EQ(stop.message, QStringLiteral("Locality is empty string!?"));
    }
    ASSERT_EQ(script.messages().size(), 2u);
    EXPECT_EQ(script.messages()[0].text, QStringLiteral("Error occured with a subspecies \"x\""));
    EXPECT_EQ(script.messages()[1].text, QStringLiteral("Locality is empty string!?"));
}

// The texts and the edition are the start's to set, once: a second start
// while the first runs is refused before it changes either, and once the
// first has ended a next start reads them afresh.
TEST_F(Startup, ASecondStartBeforeTheEndIsRefusedAndANextStartReadsAfresh) {
    {
        TStartup first({});
        first.initialise(dir.path(), dir.path());
        dir.write("Korvelan.txt", QByteArray(kTexts).replace("Already running.", "Still running."));
        dir.write("PROGR_NM.TXT", "1012\n");
        TStartup second({});
        EXPECT_THROW(second.initialise(dir.path(), dir.path()), std::logic_error);
        EXPECT_EQ(GLB_text("OTHER_INSTANCE", 1), QStringLiteral("Already running."));
        EXPECT_EQ(GLB_edition().product_number, 1011);
    }
    TStartup next({});
    next.initialise(dir.path(), dir.path());
    EXPECT_EQ(GLB_text("OTHER_INSTANCE", 1), QStringLiteral("Still running."));
    EXPECT_EQ(GLB_edition().product_number, 1012);
    next.shut_down();
    EXPECT_FALSE(GLB_edition().known);
    EXPECT_EQ(GLB_text("OTHER_INSTANCE", 1), QString());
    EXPECT_TRUE(script.messages().empty());
}
