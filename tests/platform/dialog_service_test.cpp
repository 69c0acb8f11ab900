#include "platform/dialog_service.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(DialogService, UnansweredBoxesGiveTheirDefaultButton) {
    EXPECT_EQ(defaultAnswer(box::Plain), answer::Ok);
    EXPECT_EQ(defaultAnswer(box::IconStop), answer::Ok);
    EXPECT_EQ(defaultAnswer(box::OkCancel), answer::Ok);
    EXPECT_EQ(defaultAnswer(box::OkCancelDefaultCancel), answer::Cancel);
    EXPECT_EQ(defaultAnswer(box::QuestionYesNo), answer::Yes);
    EXPECT_EQ(defaultAnswer(box::QuestionYesNoCancelDefault2), answer::No);
    EXPECT_EQ(box::QuestionYesNo, 36);
    EXPECT_EQ(box::OkCancelDefaultCancel, 257);
    EXPECT_EQ(box::QuestionYesNoCancelDefault2, 291);
}

TEST(DialogService, ScriptAnswersInOrderAndRecordsWhatWasAsked) {
    testing_support::DialogScript script;
    script.dialogs().messageAnswers = {answer::No, answer::Cancel};
    EXPECT_EQ(DialogService::message("first?", "Cap", box::QuestionYesNo), answer::No);
    EXPECT_EQ(DialogService::message("second?", "Cap", box::YesNoCancel), answer::Cancel);
    EXPECT_EQ(DialogService::message("third?", "Cap", box::YesNoCancel), answer::Yes);
    ASSERT_EQ(script.messages().size(), 3u);
    EXPECT_EQ(script.messages()[1].text, QStringLiteral("second?"));
    EXPECT_EQ(script.messages()[1].style, box::YesNoCancel);
    EXPECT_EQ(script.messages()[0].caption, QStringLiteral("Cap"));
}

TEST(DialogService, FatalShowsTheStopIconAndHandsOverTheExit) {
    testing_support::DialogScript script;
    try {
        DialogService::fatal("it broke", "Cap");
        FAIL() << "fatal returned";
    } catch (const FatalStop& stop) {
        EXPECT_EQ(stop.message, QStringLiteral("it broke"));
        EXPECT_EQ(stop.exitCode, 1);
    }
    ASSERT_EQ(script.messages().size(), 1u);
    EXPECT_EQ(script.messages()[0].style, box::IconStop);
}

TEST(DialogServiceDeathTest, FatalEndsTheProcessWithCodeOneAndWritesStderr) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(DialogService::fatal("The end of the road", "Korvelan"),
                ::testing::ExitedWithCode(1), "The end of the road");
}
