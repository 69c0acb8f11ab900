// The listening choice a list window keeps: what each choice switches, the
// range and band it hands the engine, and what it remembers.
#include "sound/listening_choice.h"

#include <gtest/gtest.h>

using Speed = TListeningChoice::Speed;

TEST(ListeningChoice, ASpeedReplacesTheSpeedLoopAndBandGoBesideItAndNormalClearsAll) {
    TListeningChoice c;
    EXPECT_TRUE(c.chosen(TListeningChoice::Normal));
    c.choose(TListeningChoice::TapeQuarter);
    c.choose(TListeningChoice::KeptHalf);
    c.choose(TListeningChoice::Loop);
    c.choose(TListeningChoice::Band);
    EXPECT_EQ(c.speed(), Speed::KeptHalf);
    EXPECT_FALSE(c.chosen(TListeningChoice::TapeQuarter));
    EXPECT_TRUE(c.loops() && c.banded() && !c.chosen(TListeningChoice::Normal));
    EXPECT_DOUBLE_EQ(c.rate(), 0.5);
    c.choose(TListeningChoice::Loop);
    EXPECT_FALSE(c.loops());
    c.choose(TListeningChoice::Normal);
    EXPECT_EQ(c, TListeningChoice());
}

TEST(ListeningChoice, TheLoopIsPlacedInTheMediumAndKeysSetItsEnds) {
    TListeningChoice c;
    c.choose(TListeningChoice::Loop);
    // No range: the whole recording, wherever it lies in its file.
    auto l = c.listening(60000, 4000);
    EXPECT_EQ(l.loopFromMs, 60000);
    EXPECT_EQ(l.loopToMs, 64000);
    c.set_range(std::make_pair(2.5, 1.25));  // dragged leftwards
    l = c.listening(60000, 4000);
    EXPECT_EQ(l.loopFromMs, 61250);
    EXPECT_EQ(l.loopToMs, 62500);
    // Outside the recording it is cut to it; no file: no loop.
    c.set_range(std::make_pair(3.0, 9.0));
    EXPECT_EQ(c.listening(0, 4000).loopToMs, 4000);
    EXPECT_FALSE(c.listening(0, 0).loops());

    TListeningChoice keys;
    keys.set_loop_start(1.5);
    EXPECT_FALSE(keys.loops()) << "the start alone does not loop yet";
    EXPECT_TRUE(keys.label().contains(QStringLiteral("1.50")));
    keys.set_loop_end(0.5);  // before the start: the two swap
    ASSERT_TRUE(keys.loops());
    EXPECT_EQ(keys.range(), std::make_pair(0.5, 1.5));
    keys.set_loop_start(1.0);  // the end after it stays
    keys.set_loop_end(2.0);
    EXPECT_EQ(keys.range(), std::make_pair(1.0, 2.0));
    EXPECT_EQ(keys.label(), QStringLiteral("Loop 1.00–2.00 s"));
}

TEST(ListeningChoice, TheBandAndTheRememberedChoice) {
    TListeningChoice c;
    c.set_band(6000, 3000);
    ASSERT_TRUE(c.banded());
    const auto l = c.listening(0, 1000);
    EXPECT_EQ(l.bandLowHz, 3000);
    EXPECT_EQ(l.bandHighHz, 6000);
    EXPECT_FALSE(l.loops());
    c.choose(TListeningChoice::TapeHalf);
    EXPECT_EQ(c.label(), QStringLiteral("½ speed (pitch lowered) · Band 3.0–6.0 kHz"));
    // The choice is remembered, not the band's or the range's values.
    const TListeningChoice back = TListeningChoice::from_setting(c.setting());
    EXPECT_EQ(back.speed(), Speed::TapeHalf);
    EXPECT_TRUE(back.banded());
    EXPECT_FALSE(back.band().has_value());
    EXPECT_EQ(back.label(), QStringLiteral("½ speed (pitch lowered) · Band only: Shift+drag a band"));
    EXPECT_TRUE(TListeningChoice::from_setting(QStringLiteral("nonsense")).chosen(TListeningChoice::Normal));
}
