// The program at a large text size, chosen as a user does in the Options
// dialog: what the list and its windows show must stay inside them.
#include "journeys/journey.h"

#include "listview/formatted_text.h"
#include "listview/list_fonts.h"
#include "listview/windows/child_form.h"
#include "utilities/windows/list_settings_frame.h"
#include "utilities/windows/options_form.h"
#include "utilities/windows/program_settings_frame.h"

#include <QApplication>
#include <QPushButton>
#include <QSpinBox>

using testing_support::Journey;

namespace {

// Lines of the texts-file section "MENUS".
constexpr int kOptionsMenuLine = 16;

}  // namespace

class LargeTextJourney : public Journey {
  protected:
    void TearDown() override {
        Journey::TearDown();
        // The fonts' table outlives the program: the next journey starts at
        // the usual size.
        GLB_list_fonts().set_base_height(list_font::kDefaultTextSize);
    }
    // The list's text size set in the Options dialog and confirmed with OK.
    void chooseTextSize(int size) {
        bool answered = false;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<TOptionsForm*>(QApplication::activeModalWidget());
            if (!dialog || answered) return;
            answered = true;
            dialog->settings_frame->text_size->Edit_text_size->setValue(size);
            dialog->OKBtn->click();
        });
        user.start(20);
        QAction* options = mainWindow().menu_action(kOptionsMenuLine);
        ASSERT_TRUE(options && options->isEnabled());
        options->trigger();
        repaint();
        ASSERT_TRUE(answered);
        ASSERT_EQ(GLB_list_fonts().base_height(), size);
    }
};

TEST_F(LargeTextJourney, ARecordingsDescriptionAtDoubleSizeIsBrokenToTheWidthLeftAfterItsButton) {
    chooseTextSize(2 * list_font::kDefaultTextSize);
    mainWindow().resize(720, 700);
    ASSERT_TRUE(eventually([&] { return mainWindow().width() == 720; }));
    unfoldFirstSpecies();
    repaint();
    const int viewWidth = form().viewport()->width();
    int rows = 0;
    for (int n = 1; TRecordShowStringData* button = nth(line_kind::kRecordingButton, n); ++n) {
        TRecordShowStringData* text = button->next;
        while (text && text->kind != line_kind::kDescription) text = text->next;
        ASSERT_NE(text, nullptr);
        ASSERT_NE(text->font, nullptr);
        const QFontMetrics metrics(text->font->font);
        // Every row starts where the first does (after the button) and must
        // end inside the view.
        const QStringList lines = text->text.split(QChar(text_code::kLineFeed));
        for (const QString& line : lines) {
            const QString shown = GLB_without_codes(line).trimmed();
            const int right = text->drawn_x + metrics.horizontalAdvance(shown);
            EXPECT_LE(right, viewWidth) << "recording " << n << ": '" << qPrintable(shown)
                                        << "' runs off the view's right edge";
            ++rows;
        }
    }
    EXPECT_GE(rows, 4) << "too few rows to tell";
}
