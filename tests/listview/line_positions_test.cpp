// The y of a line, as the view asks for it at every key: it must agree with
// the sum of the advances above it however the list was folded, unfolded or
// rebuilt since the last question.

#include "line_model_fixture.h"

#include <functional>
#include <random>

using namespace line_model_testing;
using namespace line_kind;

namespace {

// Species with flag "S" get a small picture, whose thumbnail changes the
// advance of the row below it.
class TallPictures : public TSmallPictureSource {
  public:
    QSize acquire(const Tspecies& species) override {
        return species.flag_s ? QSize(120, 200) : QSize();
    }
    void release(const Tspecies&) override {}
};

class LinePositions : public DemoLineModelTest {
  protected:
    int walkedY(const TRecordShowStringData* target) const {
        int y = 0;
        for (const auto* l = model->first_line(); l; l = l->next) {
            y += l->advance;
            if (l == target) break;
        }
        return y;
    }
    std::vector<TRecordShowStringData*> lines() const {
        std::vector<TRecordShowStringData*> all;
        for (auto* l = model->first_line(); l; l = l->next) all.push_back(l);
        return all;
    }
    void openEverything() {
        for (auto* l = model->first_line(); l; l = l->next)
            if (l->kind == kFamilyToggle && !l->open) toggle(l);
        for (auto* l = model->first_line(); l; l = l->next)
            if (l->kind == kSpeciesToggle && !l->open) toggle(l);
    }
    // Asks for the y of the line first, so that the model may remember it.
    void expectRightAfterChange(TRecordShowStringData* asked, const std::function<void()>& change,
                                const char* what) {
        ASSERT_EQ(model->y_of(asked), walkedY(asked)) << what;
        change();
        for (const auto* l : lines()) ASSERT_EQ(model->y_of(l), walkedY(l)) << what;
    }
};

}  // namespace

TEST_F(LinePositions, StepsAndJumpsInAnyDirectionAgreeWithTheWalk) {
    openEverything();
    const std::vector<TRecordShowStringData*> all = lines();
    ASSERT_GT(all.size(), 500u);
    // Line by line down, then up, as the arrow keys go.
    for (const auto* l : all) ASSERT_EQ(model->y_of(l), walkedY(l));
    for (auto it = all.rbegin(); it != all.rend(); ++it) ASSERT_EQ(model->y_of(*it), walkedY(*it));
    // Jumps far and near.
    std::mt19937 random(7);
    for (int k = 0; k < 300; ++k) {
        const auto* l = all[random() % all.size()];
        ASSERT_EQ(model->y_of(l), walkedY(l));
    }
    EXPECT_EQ(model->y_of(all.back()), model->total_height());
}

TEST_F(LinePositions, FoldingAndUnfoldingAboveTheLastAnswerMoveIt) {
    toggle(familyToggle(1));
    toggle(familyToggle(3));
    TRecordShowStringData* below = model->find_row(3, 0).head;
    expectRightAfterChange(below, [&] { toggle(familyToggle(2)); }, "unfold above");
    expectRightAfterChange(below, [&] { toggle(familyToggle(2)); }, "fold above");
    expectRightAfterChange(below, [&] { toggle(speciesToggle(1, 1)); }, "unfold a species above");
    // An answer inside a block that is folded away must not be reused.
    TRecordShowStringData* inside = speciesToggle(1, 1)->next;
    expectRightAfterChange(inside, [&] { toggle(familyToggle(1)); }, "fold the answer's block");
}

TEST_F(LinePositions, AThumbnailThatGoesAwayMovesTheRowsBelowIt) {
    usePictures(std::make_unique<TallPictures>());
    toggle(familyToggle(1));
    const Tspecies* pictured = nullptr;
    int j = 1;
    for (; speciesToggle(1, j); ++j)
        if ((pictured = speciesToggle(1, j)->species) && pictured->flag_s) break;
    ASSERT_TRUE(speciesToggle(1, j)) << "the demo's first family has a species with a picture";
    toggle(speciesToggle(1, j));
    TRecordShowStringData* last = model->last_line();
    // Folding the species puts the next row's advance back to the spacer.
    expectRightAfterChange(last, [&] { toggle(speciesToggle(1, j)); }, "fold the pictured species");
}

TEST_F(LinePositions, RebuildsAndNameChangesStartAfresh) {
    openEverything();
    expectRightAfterChange(model->last_line(), [&] { model->fold_all(); }, "fold all");
    openEverything();
    expectRightAfterChange(model->last_line(), [&] { model->build(); }, "rebuild");
    openEverything();
    SHST_TClassShowStringsData other = *settings;
    other.main_name = other.main_name == 1 ? 2 : 1;
    expectRightAfterChange(
        model->last_line(), [&] { model->change_name_settings(other); }, "change the names");
}
