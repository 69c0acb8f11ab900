#include "listview/fold_snapshot.h"
#include "listview/window_state.h"
#include "app/editions.h"
#include "listview/top_forms.h"

#include <gtest/gtest.h>

// The "Visible" setting as windows read it back: what the round trip and
// the bad-field rule of the snapshot's own tests leave out.
TEST(VisibleText, ShortFlagsOpenEveryClassAndLimitsHold) {
    const TFoldSnapshot garbage = TFoldSnapshot::from_text(QStringLiteral("Main"), true);
    EXPECT_EQ(garbage.class_open, (std::array<bool, 6>{true, true, true, true, true, true}));
    EXPECT_EQ(garbage.top_family, 1);
    EXPECT_EQ(garbage.open_family_count, 0);

    const TFoldSnapshot clamped = TFoldSnapshot::from_text(QStringLiteral("000000,9,1,0,1,0"), true);
    EXPECT_EQ(clamped.top_class, 6);
    EXPECT_FALSE(clamped.class_open[0]);

    QString many = QStringLiteral("1,1,0,1,0");
    for (int i = 1; i <= 30; ++i) many += ',' + QString::number(i);
    EXPECT_EQ(TFoldSnapshot::from_text(many, false).open_family_count, 20);
    EXPECT_EQ(TFoldSnapshot::from_text(QStringLiteral("1,1,0,1,0,4,x,6"), false).open_family_count, 1);
}

TEST(CoordText, FourNumbersOrTheDefaultPlacement) {
    const QRect rect(QPoint(10, 20), QSize(684, 512));
    EXPECT_EQ(GLB_format_coord(rect), QStringLiteral("10,20,694,532"));
    EXPECT_EQ(GLB_parse_coord(GLB_format_coord(rect)), rect);
    EXPECT_EQ(GLB_parse_coord(QStringLiteral("1,2,3")), std::nullopt);
    EXPECT_EQ(GLB_parse_coord(QStringLiteral("a,b,c,d")), std::nullopt);
    EXPECT_EQ(GLB_parse_coord(QStringLiteral("100,100,50,50")), std::nullopt);
    EXPECT_EQ(GLB_default_window_rect(QRect(0, 0, 1280, 1024)), QRect(160, 128, 960, 768));
}

namespace {

struct FakeWindow : TRegisteredListWindow {
    QString caption;
    int refreshed = 0;
    void set_window_caption(const QString& c) override { caption = c; }
    void refresh_list() override { ++refreshed; }
    void focus_list() override {}
    void write_window_state(int) const override {}
};

}  // namespace

TEST(ListWindowRegister, CaptionsNumberTheWindowsAndHideVersionOne) {
    TEdition edition = GLB_edition_for_product(1011);
    edition.title = QStringLiteral("Birds & Bees");
    EXPECT_EQ(GLB_list_window_caption(edition, 0), QStringLiteral("Birds and Bees"));
    EXPECT_EQ(GLB_list_window_caption(edition, 2), QStringLiteral("Birds and Bees : 2"));
    edition.version = QStringLiteral("2.0");
    EXPECT_EQ(GLB_list_window_caption(edition, 1), QStringLiteral("Birds and Bees 2.0 : 1"));
}

TEST(ListWindowRegister, ClosingTheSecondRenumbersTheThirdAndCyclingWraps) {
    const TEditionOverride edition(GLB_edition_for_product(1011));
    Ttop_forms forms;
    FakeWindow main, second, third;
    for (FakeWindow* w : {&main, &second, &third}) forms.add_form(w);
    forms.rewrite_captions();
    EXPECT_EQ(main.caption, GLB_edition().title);
    EXPECT_EQ(third.caption, GLB_edition().title + QStringLiteral(" : 2"));
    EXPECT_EQ(forms.next(&third), &main);
    EXPECT_EQ(forms.previous(&main), &third);
    EXPECT_EQ(forms.next(&main), &second);

    forms.delete_form(&second);
    forms.rewrite_captions();
    EXPECT_EQ(third.caption, GLB_edition().title + QStringLiteral(" : 1"));
    EXPECT_EQ(forms.main_child_form(), &main);
    EXPECT_EQ(forms.count(), 2);
    forms.refresh_all_forms();
    EXPECT_EQ(main.refreshed + third.refreshed, 2);
}
