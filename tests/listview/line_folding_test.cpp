// Folding and unfolding: heights, the recording buttons below a change, the
// selection, thumbnails, fold all, snapshots and copies of a list.

#include "line_model_fixture.h"

using namespace line_model_testing;
using namespace line_kind;

namespace {

// Every species with flag "S" has a small picture of 120 x 90.
class FakeSmallPictures : public TSmallPictureSource {
  public:
    QSize acquire(const Tspecies& species) override {
        if (!species.flag_s) return {};
        ++uses;
        return QSize(120, 90);
    }
    void release(const Tspecies&) override { --uses; }
    inline static int uses = 0;
};

class Folding : public DemoLineModelTest {
  protected:
    // Gives every recording line a button placed at the line's y.
    void paintButtons() {
        for (auto* l = model->first_line(); l; l = l->next) {
            if (l->kind != kRecordingButton || l->button_block->button) continue;
            l->button_block->button = std::make_unique<FakeButton>(42);
            buttons.y_by_id[l->button_block->button_id] = model->y_of(l);
        }
    }
    // Each button still sits where its line is.
    void expectButtonsInPlace() {
        int found = 0;
        for (const auto* l = model->first_line(); l; l = l->next) {
            if (l->kind != kRecordingButton || !l->button_block->button) continue;
            ++found;
            ASSERT_TRUE(buttons.y_by_id.count(l->button_block->button_id));
            EXPECT_EQ(buttons.y_by_id[l->button_block->button_id], model->y_of(l))
                << l->button_block->button_id;
        }
        EXPECT_EQ(found, static_cast<int>(buttons.y_by_id.size()));
    }
    void openSpeciesOf(int i) {
        if (!familyToggle(i)->open) toggle(familyToggle(i));
        for (int j = 1; speciesToggle(i, j); ++j) toggle(speciesToggle(i, j));
    }
};

}  // namespace

TEST_F(Folding, UnfoldAndFoldReportTheHeightOfTheBlock) {
    const int before = model->total_height();
    auto* family = familyToggle(2);
    const TToggleResult open = toggle(family);
    EXPECT_TRUE(open.changed);
    EXPECT_TRUE(family->open);
    int block = 0;
    for (const auto* l : following(family->next, {kFamilyToggle})) block += l->advance;
    EXPECT_EQ(open.height_change, block);
    EXPECT_EQ(model->total_height(), before + block);
    EXPECT_EQ(model->total_height(), sumOfAdvances());

    const TToggleResult close = toggle(family);
    EXPECT_EQ(close.height_change, -block);
    EXPECT_FALSE(family->open);
    EXPECT_EQ(model->total_height(), before);
    EXPECT_EQ(family->next->next->next->next->kind, kFamilyToggle);
    // Lines that are no toggles do nothing.
    EXPECT_FALSE(model->toggle(family->next, TViewBand{}).changed);
}

TEST_F(Folding, FoldingAFamilyMovesLaterButtonsUpByTheRemovedHeight) {
    for (int i = 1; i <= 3; ++i) openSpeciesOf(i);
    paintButtons();
    std::map<int, int> before = buttons.y_by_id;
    int family2 = 0;
    for (const auto& [id, y] : before)
        if (id / 200000 == 2) ++family2;
    ASSERT_GT(family2, 3);

    const TToggleResult r = toggle(familyToggle(2));
    ASSERT_LT(r.height_change, 0);
    EXPECT_EQ(buttons.removed, family2);
    for (const auto& [id, y] : before) {
        const int family = id / 200000;
        const int expected = family == 1 ? y : y + r.height_change;
        if (family == 2) {
            EXPECT_EQ(buttons.y_by_id.count(id), 0u) << id;
        } else {
            EXPECT_EQ(buttons.y_by_id.at(id), expected) << id;
        }
    }
    expectButtonsInPlace();
}

TEST_F(Folding, ButtonsFollowEveryKindOfToggle) {
    for (int i = 1; i <= 3; ++i) openSpeciesOf(i);
    paintButtons();
    // A species above others.
    toggle(speciesToggle(2, 1));
    expectButtonsInPlace();
    toggle(speciesToggle(2, 1));
    paintButtons();
    expectButtonsInPlace();
    // Recording details above later recordings of the same species.
    for (auto* l = model->first_line(); l; l = l->next) {
        if (l->kind == kDetailsToggle && l->family_index == 1 && l->species_index == 1) {
            const TToggleResult r = toggle(l);
            EXPECT_GT(r.height_change, 0);
            expectButtonsInPlace();
            break;
        }
    }
    // A whole family unfolded above.
    toggle(familyToggle(1));
    expectButtonsInPlace();
    toggle(familyToggle(1));
    expectButtonsInPlace();
}

TEST_F(Folding, FoldingForgetsWhatItRemoves) {
    openSpeciesOf(2);
    auto* number = model->find_row(2, 3).head;
    model->set_current_family(model->find_row(2, 0).head);
    model->set_current_species(number);
    TRecordShowStringData* letter = nullptr;
    for (auto* l = number; l && !letter; l = l->next)
        if (l->kind == kRecordingLetter) letter = l;
    ASSERT_NE(letter, nullptr);
    model->select(letter);
    toggle(speciesToggle(2, 3));
    EXPECT_EQ(model->selected(), nullptr);
    EXPECT_EQ(model->current_species(), number);  // its row stays
    model->select(number->next);
    toggle(familyToggle(2));
    EXPECT_EQ(model->selected(), nullptr);
    EXPECT_EQ(model->current_species(), nullptr);
    EXPECT_EQ(model->current_family(), model->find_row(2, 0).head);
}

TEST_F(Folding, SuggestedScrollBringsANewBlockIntoView) {
    toggle(familyToggle(1));
    auto* species = speciesToggle(1, 1);
    const int rowTop = model->y_of(species);
    // Plenty of room below: no scroll.
    EXPECT_EQ(model->toggle(species, TViewBand{0, rowTop + 5000}).suggested_scroll, 0);
    toggle(species);
    // The row near the bottom of the view: scroll, but never past the row.
    const TViewBand view{rowTop - 150, rowTop + 20};
    const TToggleResult r = model->toggle(species, view);
    EXPECT_GT(r.suggested_scroll, 0);
    EXPECT_EQ(r.suggested_scroll, rowTop - view.top - 10);
    // Told the row's y, the model need not walk to it.
    toggle(species);
    EXPECT_EQ(model->toggle(species, view, rowTop).suggested_scroll, r.suggested_scroll);
    // Recording details scroll only as far as their bottom needs.
    TRecordShowStringData* details = nullptr;
    for (auto* l = species; l && !details; l = l->next)
        if (l->kind == kDetailsToggle) details = l;
    ASSERT_NE(details, nullptr);
    const int y = model->y_of(details);
    const TToggleResult d = model->toggle(details, TViewBand{y - 300, y + 5});
    int bottom = y;
    for (auto* l = details->next; l && l->kind != kRecordingNumber && l->kind != kSubspeciesHeading;
         l = l->next)
        bottom += l->advance;
    EXPECT_EQ(d.suggested_scroll,
              geometry.horizontal_scroll_bar_height + bottom + lh() - (y + 5) + 10);
}

TEST_F(Folding, ThumbnailsHoldAPictureAndPushTheNextRowDown) {
    usePictures(std::make_unique<FakeSmallPictures>());
    FakeSmallPictures::uses = 0;
    toggle(familyToggle(1));
    auto* species = speciesToggle(1, 1);
    const int before = model->total_height();
    const TToggleResult r = toggle(species);
    EXPECT_EQ(FakeSmallPictures::uses, 1);
    auto* notes = model->find_row(1, 1).head;
    while (notes->kind != kNotes) notes = notes->next;
    EXPECT_EQ(notes->indent, 145 + 35);
    auto* thumbnail = notes->next;
    ASSERT_EQ(thumbnail->kind, kThumbnail);
    EXPECT_EQ(thumbnail->advance, lh() - notes->advance);
    EXPECT_EQ(thumbnail->indent, 20);
    EXPECT_EQ(thumbnail->thumbnail_size, QSize(120, 90));
    // The first heading rises by the thumbnail line's advance.
    EXPECT_EQ(thumbnail->next->kind, kSubspeciesHeading);
    EXPECT_EQ(thumbnail->next->advance, lh() + 5 - thumbnail->advance);
    // The next species row waits below the picture.
    auto* next = speciesToggle(1, 2);
    int since = 0;
    for (auto* l = thumbnail->next; l != next; l = l->next) since += l->advance;
    EXPECT_EQ(next->advance, std::max(S(), 90 - since + 10));
    EXPECT_EQ(model->total_height(), before + r.height_change);
    EXPECT_EQ(model->total_height(), sumOfAdvances());

    {
        TShowStringsModel copy(*model);
        EXPECT_EQ(FakeSmallPictures::uses, 2);
    }
    EXPECT_EQ(FakeSmallPictures::uses, 1);
    const TToggleResult fold = toggle(species);
    EXPECT_EQ(FakeSmallPictures::uses, 0);
    EXPECT_EQ(next->advance, S());
    EXPECT_EQ(model->total_height(), before);
    EXPECT_EQ(fold.height_change, -r.height_change);
}

TEST_F(Folding, FoldAllFreesEveryLineOfTheOpenItems) {
    const long built = TRecordShowStringData::live_count();
    const int height = model->total_height();
    for (int i = 1; familyToggle(i); ++i) openSpeciesOf(i);
    paintButtons();
    const size_t buttonCount = buttons.y_by_id.size();
    ASSERT_GT(TRecordShowStringData::live_count(), built * 5);
    model->select(model->find_row(4, 2).head->next);
    model->fold_all();
    EXPECT_EQ(TRecordShowStringData::live_count(), built);
    EXPECT_EQ(model->total_height(), height);
    EXPECT_EQ(buttons.removed, static_cast<int>(buttonCount));
    EXPECT_TRUE(buttons.y_by_id.empty());
    EXPECT_EQ(model->selected(), model->first_row_head_selection());
    EXPECT_EQ(model->current_species(), nullptr);
    for (const auto* l = model->first_line(); l; l = l->next) EXPECT_FALSE(l->open);
}

TEST_F(Folding, SnapshotRoundTripOpensTheSameFamiliesAndSelectsTheRow) {
    for (int i : {2, 5, 7}) toggle(familyToggle(i));
    toggle(speciesToggle(5, 2));
    model->select(model->find_row(5, 2).head->next);
    const int top = model->find_row(5, 2).height_above + 1 + S();
    const TFoldSnapshot s = model->take_snapshot(TViewBand{top, top + 5000});
    EXPECT_EQ(s.top_family, 5);
    EXPECT_EQ(s.top_species, 2);
    EXPECT_EQ(s.top_class, 1);
    ASSERT_EQ(s.open_family_count, 2);  // family 2 lies above the view
    EXPECT_EQ(s.open_families[0], 5);
    EXPECT_EQ(s.open_families[1], 7);
    EXPECT_EQ(s.selected_family, 5);
    EXPECT_EQ(s.selected_species, 2);

    const QByteArray bytes = s.to_bytes();
    EXPECT_EQ(bytes.size(), 108);
    EXPECT_EQ(TFoldSnapshot::from_bytes(bytes), s);
    EXPECT_EQ(TFoldSnapshot::from_bytes(bytes.left(100)), TFoldSnapshot::initial());

    TShowStringsModel other(*settings, geometry);
    other.build();
    other.apply_snapshot(TFoldSnapshot::from_bytes(bytes));
    std::vector<int> open;
    for (const auto* l = other.first_line(); l; l = l->next)
        if (l->kind == kFamilyToggle && l->open) open.push_back(l->family_index);
    EXPECT_EQ(open, (std::vector<int>{5, 7}));
    ASSERT_NE(other.selected(), nullptr);
    EXPECT_EQ(other.selected(), other.find_row(5, 2).head->next);
    EXPECT_EQ(other.current_species(), other.find_row(5, 2).head);
    EXPECT_EQ(other.current_family(), other.find_row(5, 0).head);
}

TEST_F(Folding, SnapshotTextKeepsDefaultsAfterABadField) {
    TFoldSnapshot s = TFoldSnapshot::initial();
    s.class_open = {true, false, true, false, false, true};
    s.top_class = 3;
    s.top_family = 12;
    s.top_species = 4;
    s.selected_family = 12;
    s.selected_species = 5;
    s.open_family_count = 2;
    s.open_families[0] = 12;
    s.open_families[1] = 40;
    EXPECT_EQ(s.to_text(true), QStringLiteral("101001,3,12,4,12,5,12,40"));
    EXPECT_EQ(TFoldSnapshot::from_text(s.to_text(true), true), s);
    const TFoldSnapshot bad = TFoldSnapshot::from_text(QStringLiteral("1,7,x,9,9,3"), false);
    EXPECT_EQ(bad.top_family, 7);
    EXPECT_EQ(bad.top_species, 0);
    EXPECT_EQ(bad.selected_family, 1);
    EXPECT_EQ(bad.open_family_count, 0);
    EXPECT_EQ(TFoldSnapshot::from_text(QStringLiteral("11,9"), true).class_open,
              (std::array<bool, 6>{true, true, true, true, true, true}));
    EXPECT_EQ(TFoldSnapshot::from_text(QStringLiteral("9"), false).top_class, 6);
}

TEST_F(Folding, ACopyHasEveryLineButNoButtons) {
    openSpeciesOf(2);
    toggle(familyToggle(4));
    paintButtons();
    TShowStringsModel copy(*model);
    EXPECT_EQ(copy.line_count(), model->line_count());
    EXPECT_EQ(copy.total_height(), model->total_height());
    EXPECT_EQ(copy.selected(), nullptr);
    EXPECT_EQ(copy.settings().main_name, model->settings().main_name);
    const auto* a = model->first_line();
    const auto* b = copy.first_line();
    for (; a && b; a = a->next, b = b->next) {
        EXPECT_NE(a, b);
        EXPECT_EQ(a->kind, b->kind);
        EXPECT_EQ(a->advance, b->advance);
        EXPECT_EQ(a->indent, b->indent);
        EXPECT_EQ(a->open, b->open);
        EXPECT_EQ(a->font, b->font);
        EXPECT_TRUE(a->text.isSharedWith(b->text) || a->text.isEmpty());
        if (a->button_block) {
            ASSERT_NE(b->button_block, nullptr);
            EXPECT_NE(a->button_block->button, nullptr);
            EXPECT_EQ(b->button_block->button, nullptr);
            EXPECT_EQ(b->button_block->saved_position, 0);
            EXPECT_EQ(b->button_block->button_id, a->button_block->button_id);
        }
    }
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(b, nullptr);
    // The copy folds on its own.
    copy.fold_all();
    EXPECT_TRUE(familyToggle(2)->open);
    EXPECT_EQ(model->total_height(), sumOfAdvances());
}

// --- Class rows ---------------------------------------------------------------------

TEST_F(Folding, ClassRowsOpenTheirFamilies) {
    const TEditionOverride edition(GLB_edition_for_product(1071));  // an edition with class rows
    QByteArray names = demoFile("names_sc.txt");
    names.replace("Tinamus tao\n32 20020\nCDES,", "Tinamus tao\n32 20020\nACDES,");
    dir.write("names_sc.txt", names);
    loadWritten();
    makeModel();
    ASSERT_EQ(model->first_line()->kind, kClassToggle);
    EXPECT_EQ(kindsOf(following(model->first_line(), {})),
              (std::vector<int>{kClassTitle, kClassToggle, kClassTitle}));
    auto* birds = model->first_line();
    EXPECT_EQ(birds->next->value, 3);
    EXPECT_EQ(model->display_text(*birds->next), QStringLiteral("Birds"));
    EXPECT_EQ(birds->next->font, &GLB_list_fonts().font(list_font::kBold, 1, 0));
    auto* frogs = birds->next->next;
    EXPECT_EQ(frogs->next->text, QStringLiteral("Frogs and Toads"));
    EXPECT_EQ(frogs->advance, S());
    EXPECT_EQ(frogs->indent, 10);
    EXPECT_EQ(model->selected(), birds->next);

    const TToggleResult r = toggle(frogs);
    EXPECT_EQ(r.height_change, S());
    EXPECT_EQ(frogs->next->next->kind, kFamilyToggle);
    EXPECT_EQ(frogs->next->next->family_index, 1);
    toggle(birds);
    EXPECT_EQ(birds->next->next->family_index, 2);

    const TFoldSnapshot s = model->take_snapshot(TViewBand{0, 100000});
    EXPECT_EQ(s.class_open, (std::array<bool, 6>{false, false, true, false, false, true}));
    model->set_current_family(model->find_row(1, 0).head);
    toggle(frogs);
    EXPECT_EQ(model->current_family(), nullptr);
    model->fold_all();
    EXPECT_EQ(model->line_count(), 4);
}
