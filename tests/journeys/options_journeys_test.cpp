// Changing a list window's options as a user does, from its Options menu.
#include "journeys/journey.h"

#include "listview/windows/child_form.h"
#include "utilities/windows/list_settings_frame.h"
#include "utilities/windows/name_settings_frame.h"
#include "utilities/windows/options_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRegularExpression>

using testing_support::Journey;

namespace {

constexpr int kOptionsMenuLine = 16;

struct ShownLine {
    int kind;
    QString text;
    bool open;
    bool operator==(const ShownLine&) const = default;
};

}  // namespace

class OptionsJourney : public Journey {
  protected:
    // Scrolls the toggle into view, as a user does, and clicks it.
    void clickInView(TRecordShowStringData* toggle) {
        ASSERT_NE(toggle, nullptr);
        form().scroll_to(std::max(0, list().top_of(*toggle) - 50));
        repaint();
        clickToggle(toggle);
    }
    std::vector<ShownLine> shownLines() {
        std::vector<ShownLine> lines;
        for (auto* l = list().model().first_line(); l; l = l->next)
            lines.push_back({l->kind, l->text, l->open});
        return lines;
    }
    int count(int kind) {
        int n = 0;
        for (auto* l = list().model().first_line(); l; l = l->next) n += l->kind == kind;
        return n;
    }
    // The toggle of the first species in the list whose row tells other names.
    TRecordShowStringData* speciesWithOtherNames() {
        for (auto* l = list().model().first_line(); l; l = l->next) {
            if (l->kind != line_kind::kOtherNames) continue;
            for (auto* t = l; t; t = t->previous)
                if (t->kind == line_kind::kSpeciesToggle) return t;
        }
        return nullptr;
    }
    // Opens the Options dialog from the menu; `choose` works its controls
    // before OK is pressed.
    void optionsWithOk(const std::function<void(TOptionsForm&)>& choose) {
        optionsClosedWith(&TOptionsForm::OKBtn, choose);
    }
    void optionsWithCancel(const std::function<void(TOptionsForm&)>& choose) {
        optionsClosedWith(&TOptionsForm::CancelBtn, choose);
    }
    void optionsClosedWith(QPushButton* TOptionsForm::*button,
                           const std::function<void(TOptionsForm&)>& choose) {
        QAction* options = main_->menu_action(kOptionsMenuLine);
        ASSERT_TRUE(options && options->isEnabled());
        const bool answered = answerModal<TOptionsForm>(*options, [&](TOptionsForm& dialog) {
            choose(dialog);
            (dialog.*button)->click();
        });
        repaint();
        EXPECT_TRUE(answered);
    }
};

TEST_F(OptionsJourney, NamesChangedWithOkReachEveryOpenLineAndTheFoldsStay) {
    // Families are opened until a species row tells other names; that
    // species is unfolded with its first recording's details.
    TRecordShowStringData* species = nullptr;
    int familiesOpened = 0;
    while (!species) {
        TRecordShowStringData* toggle = nth(line_kind::kFamilyToggle, ++familiesOpened);
        ASSERT_NE(toggle, nullptr) << "no species of the demo tells other names";
        clickInView(toggle);
        species = speciesWithOtherNames();
    }
    clickInView(species);
    ASSERT_TRUE(species->open);
    const int familyIndex = species->family_index;
    const int speciesIndex = species->species_index;
    if (TRecordShowStringData* details = nth(line_kind::kDetailsToggle, 1)) clickInView(details);
    ASSERT_GT(count(line_kind::kOtherNames), 0);
    ASSERT_GT(count(line_kind::kRecordingButton), 0);

    optionsWithOk([](TOptionsForm& dialog) {
        QCheckBox* common = dialog.settings_frame->names->OtherLanguageCheckbox;
        ASSERT_TRUE(common->isChecked());
        common->click();
    });

    EXPECT_FALSE(list().model().settings().show_other_language);
    EXPECT_EQ(count(line_kind::kOtherNames), 0);
    EXPECT_EQ(count(line_kind::kSpeciesOtherLanguage), 0);
    EXPECT_EQ(count(line_kind::kFamilyOtherLanguage), 0);
    // What was open is open still ...
    const auto row = list().model().find_row(familyIndex, speciesIndex);
    ASSERT_NE(row.head, nullptr);
    EXPECT_TRUE(row.head->previous->open);
    EXPECT_GT(count(line_kind::kRecordingButton), 0);
    // ... and shows exactly what it shows when the user opens it afresh.
    const std::vector<ShownLine> afterOk = shownLines();
    main_->fold_all();
    repaint();
    for (int n = 1; n <= familiesOpened; ++n) clickInView(nth(line_kind::kFamilyToggle, n));
    clickInView(list().model().find_row(familyIndex, speciesIndex).head->previous);
    if (TRecordShowStringData* details = nth(line_kind::kDetailsToggle, 1)) clickInView(details);
    EXPECT_TRUE(afterOk == shownLines());
}

TEST_F(OptionsJourney, NamesChangedAndCancelledLeaveTheListAndTheSettingsFileAsTheyWere) {
    unfoldFirstSpecies();
    ASSERT_GT(count(line_kind::kRecordingButton), 0);
    const std::vector<ShownLine> before = shownLines();
    const QByteArray settingsBefore = program().programDirectory().read(QStringLiteral("Korvelan.ini"));
    ASSERT_FALSE(settingsBefore.isEmpty());

    bool changed = false;
    optionsWithCancel([&](TOptionsForm& dialog) {
        QCheckBox* common = dialog.settings_frame->names->OtherLanguageCheckbox;
        ASSERT_TRUE(common->isChecked());
        common->click();
        changed = !common->isChecked();
    });

    ASSERT_TRUE(changed);
    EXPECT_TRUE(list().model().settings().show_other_language);
    EXPECT_TRUE(before == shownLines());
    // The dialog remembers only which of its pages was shown last.
    QString after = QString::fromUtf8(program().programDirectory().read(QStringLiteral("Korvelan.ini")));
    after.remove(QRegularExpression(QStringLiteral("^Last accessed tab page in options dialog=\\d+\\n"),
                                    QRegularExpression::MultilineOption));
    EXPECT_EQ(after, QString::fromUtf8(settingsBefore));
}
