// The sonogram's text alternative: the band of its strongest marks.
#include "sound/sonogram.h"
#include "sound/sonogram_summary.h"
#include "sound_media.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

using namespace sonogram;

namespace {

class StrongestBand : public ::testing::Test {
  protected:
    std::shared_ptr<Sonogram> computed(const QString& name, const QByteArray& bytes) {
        auto s = cache_.get({sound_media::write(dir_.filePath(name), bytes)}, Settings{});
        cache_.wait_idle();
        return s;
    }
    QTemporaryDir dir_;
    Cache cache_;
};

TEST_F(StrongestBand, ATonesBandIsNarrowAndHoldsItsFrequency) {
    for (const double hz : {1000.0, 3000.0, 7000.0}) {
        auto s = computed(QStringLiteral("tone%1.wav").arg(hz), sound_media::pcmWave(2000, 22050, hz));
        ASSERT_EQ(s->state(), Sonogram::Done) << qPrintable(s->message());
        const std::optional<Band> band = strongest_band(*s);
        ASSERT_TRUE(band.has_value()) << hz;
        EXPECT_LE(band->low_hz, hz);
        EXPECT_GE(band->high_hz, hz);
        EXPECT_LT(band->high_hz - band->low_hz, 300) << "a pure tone's band spreads from " << band->low_hz
                                                      << " to " << band->high_hz;
    }
}

TEST_F(StrongestBand, SilenceHasNone) {
    auto s = computed(QStringLiteral("silence.wav"), sound_media::pcmWave(1000, 22050, 0));
    ASSERT_EQ(s->state(), Sonogram::Done);
    EXPECT_FALSE(strongest_band(*s).has_value());
}

}  // namespace
