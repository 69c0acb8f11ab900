#pragma once

// A species list on the demo edition (or on a small edition written by the
// test), with the demo's texts, in a private program directory.

#include "app/editions.h"
#include "data/species_database.h"
#include "formats/textfile.h"
#include "listview/formatted_text.h"
#include "listview/list_fonts.h"
#include "listview/show_strings_model.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <map>

namespace line_model_testing {

inline QByteArray demoFile(const QString& name) {
    return testing_support::demoEditionFile(name);
}

// The code characters of formatted texts, short for expected texts.
inline const QChar kI(text_code::kItalic);
inline const QChar kB(text_code::kBold);
inline const QChar kU(text_code::kUnderline);
inline const QChar kSmall(text_code::kSmaller);
inline const QChar kLarge(text_code::kLarger);

// Records the buttons the model moves and frees, by id and y.
class FakeButtons : public TRecordingButtonList {
  public:
    void shift_buttons(int baseId, int dy) override {
        for (auto& [id, y] : y_by_id)
            if (id > baseId) y += dy;
    }
    void remove_button(int id) override {
        y_by_id.erase(id);
        ++removed;
    }
    std::map<int, int> y_by_id;
    int removed = 0;
};

class FakeButton : public TRecordingButton {
  public:
    explicit FakeButton(int tenths) : tenths_(tenths) {}
    int position_tenths() const override { return tenths_; }

  private:
    int tenths_;
};

class LineModelTest : public ::testing::Test {
  protected:
    void SetUp() override { GLB_list_fonts().set_base_height(15); }
    void TearDown() override {
        model.reset();
        settings.reset();
        data.reset();
    }

    // Loads the demo edition's data files.
    void loadDemo() {
        for (const QString& name : testing_support::demoDataFiles())
            dir.write(name, demoFile(name));
        loadWritten();
    }
    void loadWritten() {
        data = std::make_unique<Tdata>();
        data->set_write_settings_at_end(false);
        data->load();
        settings = std::make_unique<SHST_TClassShowStringsData>(*data, QStringLiteral("WINDOW 1"));
        settings->visible_set.reset_carriers();
    }
    // The list built anew with these small pictures.
    void usePictures(std::unique_ptr<TSmallPictureSource> source) {
        model.reset();
        pictures = std::move(source);
        makeModel();
    }
    void makeModel() {
        model = std::make_unique<TShowStringsModel>(*settings, geometry, pictures.get());
        model->set_button_list(&buttons);
        model->build();
    }

    int lh() const { return GLB_list_fonts().line_height(); }
    int S() const { return std::max(30, 3 * lh() / 2); }

    // The lines after the given one up to the next line of a kind in `stop`.
    static std::vector<const TRecordShowStringData*> following(const TRecordShowStringData* line,
                                                               std::initializer_list<int> stop) {
        std::vector<const TRecordShowStringData*> lines;
        for (const TRecordShowStringData* l = line->next; l; l = l->next) {
            if (std::find(stop.begin(), stop.end(), l->kind) != stop.end()) break;
            lines.push_back(l);
        }
        return lines;
    }
    static std::vector<int> kindsOf(const std::vector<const TRecordShowStringData*>& lines) {
        std::vector<int> kinds;
        for (const auto* l : lines) kinds.push_back(l->kind);
        return kinds;
    }
    int sumOfAdvances() const {
        int sum = 0;
        for (const TRecordShowStringData* l = model->first_line(); l; l = l->next)
            sum += l->advance;
        return sum;
    }
    TRecordShowStringData* familyToggle(int i) const {
        const auto row = model->find_row(i, 0);
        return row.head ? row.head->previous : nullptr;
    }
    TRecordShowStringData* speciesToggle(int i, int j) const {
        const auto row = model->find_row(i, j);
        return row.head ? row.head->previous : nullptr;
    }
    TToggleResult toggle(TRecordShowStringData* line) {
        return model->toggle(line, TViewBand{0, 600});
    }

    testing_support::DialogScript script;
    testing_support::IsolatedProgram program{QString::fromUtf8(demoFile("Korvelan.txt")), 1011};
    testing_support::ProgramDirectory& dir = program.dir;
    std::unique_ptr<Tdata> data;
    std::unique_ptr<SHST_TClassShowStringsData> settings;
    TListGeometry geometry;
    FakeButtons buttons;
    // The small pictures of the model's thumbnails; none unless a test
    // gives some. Made before the model, so that it outlives its lines.
    std::unique_ptr<TSmallPictureSource> pictures;
    std::unique_ptr<TShowStringsModel> model;
};

// The demo edition's list, built; a test may install its own small pictures.
class DemoLineModelTest : public LineModelTest {
  protected:
    void SetUp() override {
        LineModelTest::SetUp();
        loadDemo();
        makeModel();
    }
};

}  // namespace line_model_testing
