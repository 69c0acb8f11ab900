// Listening to the demo's recordings as a user does.
#include "journeys/journey.h"

#include "listview/windows/child_form.h"

using testing_support::Journey;

TEST_F(Journey, AUserUnfoldsASpeciesClicksARecordingAndItsPositionAdvances) {
    unfoldFirstSpecies();
    Tsound_bar* button = recordingButton(1);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(&button->button(), Qt::LeftButton);
    ASSERT_TRUE(eventually([&] { return button->is_playing(); }));
    const int start = button->bar().value();
    EXPECT_TRUE(eventually([&] { return button->bar().value() > start; }));
    QTest::mouseClick(&button->button(), Qt::LeftButton);
    EXPECT_FALSE(button->is_playing());
}
