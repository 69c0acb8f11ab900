// The program at a large text size, chosen as a user does in the Options
// dialog: what the list and its windows show must stay inside them.
#include "journeys/playlist_journey.h"

#include "listview/formatted_text.h"
#include "listview/list_fonts.h"
#include "listview/windows/child_form.h"
#include "playlists/windows/play_sound_options_frame.h"
#include "utilities/windows/list_settings_frame.h"
#include "utilities/windows/options_form.h"
#include "utilities/windows/program_settings_frame.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>

using playlist_journey::PlayListJourney;

namespace {

// Lines of the texts-file section "MENUS".
constexpr int kOptionsMenuLine = 16;
constexpr int kAboutMenuLine = 22;

}  // namespace

class LargeTextJourney : public PlayListJourney {
  protected:
    void TearDown() override {
        PlayListJourney::TearDown();
        // The fonts' table outlives the program: the next journey starts at
        // the usual size.
        GLB_list_fonts().set_base_height(list_font::kDefaultTextSize);
    }
    // The list's text size set in the Options dialog and confirmed with OK.
    void chooseTextSize(int size) {
        QAction* options = mainWindow().menu_action(kOptionsMenuLine);
        ASSERT_TRUE(options && options->isEnabled());
        const bool answered = answerModal<TOptionsForm>(*options, [size](TOptionsForm& dialog) {
            dialog.settings_frame->text_size->Edit_text_size->setValue(size);
            dialog.OKBtn->click();
        });
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

TEST_F(LargeTextJourney, ThePlaylistWindowGrowsToShowItsControlsAtDoubleSize) {
    TPlayListForm& usual = openPlayListWindow();
    const QSize usualSize = usual.size();
    EXPECT_EQ(usualSize, QSize(520, 480)) << "the window's usual size changed at the usual text";
    usual.close();

    chooseTextSize(2 * list_font::kDefaultTextSize);
    TPlayListForm& form = openPlayListWindow();
    repaint();
    for (QWidget* control : std::initializer_list<QWidget*>{
             form.CheckBox_endless_loop, form.CheckBox_start_playing_at_selected_recording,
             form.Button_play_or_stop}) {
        const QString what = control->property("text").toString();
        EXPECT_GE(control->width(), control->sizeHint().width()) << qPrintable(what) << " is cut";
        EXPECT_LE(control->geometry().right(), form.width()) << qPrintable(what)
                                                             << " runs off the window";
    }
    EXPECT_LE(form.BetweenSoundsOptionsFrame->geometry().right(), form.width())
        << "the pause box runs off the window";
    // The Repeat column and its title are inside the grid's view.
    QHeaderView& header = *form.grid->horizontalHeader();
    const int repeatRight = header.sectionViewportPosition(2) + header.sectionSize(2);
    EXPECT_LE(repeatRight, form.grid->viewport()->width()) << "the Repeat column is cut off";
    EXPECT_GE(header.sectionSize(2), header.sectionSizeHint(2))
        << "the Repeat column's title is cut";
    EXPECT_GT(form.width(), usualSize.width()) << "the window kept its usual size";
}

TEST_F(LargeTextJourney, TheNumbersOverARecordingButtonStayApartAtTheLargestTextSize) {
    chooseTextSize(72);
    unfoldFirstSpecies();
    repaint();
    int buttons = 0;
    for (int n = 1; TRecordShowStringData* button = nth(line_kind::kRecordingButton, n); ++n) {
        // The user scrolls to it: a button is made when its line shows.
        form().scroll_to(std::max(0, list().top_of(*button) - 100));
        repaint();
        Tsound_bar* bar = recordingButton(n);
        ASSERT_NE(bar, nullptr);
        const QFontMetrics metrics(Tsound_bar::label_font());
        const int width = bar->bar().width();
        // Start at the left, position in the middle, length at the right.
        const int startRight = metrics.horizontalAdvance(QStringLiteral("0.0"));
        const int position = metrics.horizontalAdvance(QStringLiteral("0.0"));
        const int lengthLeft = width - metrics.horizontalAdvance(Tsound_bar::duration_label(bar->cut_part()));
        EXPECT_LE(startRight, (width - position) / 2) << "recording " << n << ": start and position overlap";
        EXPECT_LE((width + position) / 2, lengthLeft) << "recording " << n << ": position and length overlap";
        // The description still starts after the button.
        TRecordShowStringData* line = nth(line_kind::kRecordingButton, n);
        while (line && line->kind != line_kind::kDescription) line = line->next;
        ASSERT_NE(line, nullptr);
        EXPECT_GE(line->drawn_x, bar->x() + form().horizontalScrollBar()->value() + bar->width());
        ++buttons;
    }
    EXPECT_GE(buttons, 2);
}

TEST_F(LargeTextJourney, TheListScrollsSidewaysToTheEndOfItsWidestNameAtDoubleSize) {
    chooseTextSize(2 * list_font::kDefaultTextSize);
    mainWindow().resize(560, 700);
    ASSERT_TRUE(eventually([&] { return mainWindow().width() == 560; }));
    repaint();
    // The right ends of the names in view, measured as they are drawn.
    const auto widestInView = [&] {
        const int top = form().verticalScrollBar()->value();
        const int bottom = top + form().viewport()->height();
        int widest = 0;
        for (TRecordShowStringData* l = list().model().first_line(); l; l = l->next) {
            if (!l->font || l->drawn_y < top || l->drawn_y > bottom) continue;
            const QFontMetrics metrics(l->font->font);
            for (const QString& row : list().model().display_text(*l).split(QChar(text_code::kLineFeed)))
                widest = std::max(widest, l->drawn_x + metrics.horizontalAdvance(GLB_without_codes(row)));
        }
        return widest;
    };
    QScrollBar& sideways = *form().horizontalScrollBar();
    int widest = widestInView();
    ASSERT_GT(widest, form().viewport()->width()) << "no name is wider than the view: too few to tell";
    EXPECT_TRUE(eventually([&] { return sideways.maximum() + form().viewport()->width() >= widest; }))
        << "the sideways scroll ends at " << sideways.maximum() + form().viewport()->width()
        << " px, the widest name at " << widest << " px";
    // Scrolled to the end, the widest name's last letter is in view.
    sideways.setValue(sideways.maximum());
    repaint();
    widest = widestInView();
    EXPECT_LE(widest, sideways.value() + form().viewport()->width());
    EXPECT_GT(sideways.value(), 0);
}

TEST_F(LargeTextJourney, TheOptionsAndAboutDialogsKeepTheirButtonsOnTheScreenWithALargeFont) {
    const QFont usualFont = QApplication::font();
    const auto check = [&](int menuLine, const std::function<QList<QPushButton*>(QDialog&)>& buttonsOf,
                           const char* what) {
        QAction* action = mainWindow().menu_action(menuLine);
        ASSERT_TRUE(action && action->isEnabled()) << what;
        const bool seen = answerModal<QDialog>(*action, [&](QDialog& dialog) {
            const QRect area = dialog.screen()->availableGeometry();
            EXPECT_TRUE(area.contains(dialog.frameGeometry()))
                << what << " at " << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y() << " "
                << dialog.frameGeometry().width() << "x" << dialog.frameGeometry().height()
                << " does not fit the screen's " << area.width() << "x" << area.height();
            for (QPushButton* button : buttonsOf(dialog)) {
                const QRect inDialog(button->mapTo(&dialog, QPoint(0, 0)), button->size());
                EXPECT_TRUE(dialog.rect().contains(inDialog))
                    << what << ": its button " << qPrintable(button->text()) << " is cut off";
            }
            dialog.reject();
        });
        ASSERT_TRUE(seen) << what;
    };
    const auto optionsButtons = [](QDialog& d) {
        auto& options = dynamic_cast<TOptionsForm&>(d);
        return QList<QPushButton*>{options.OKBtn, options.CancelBtn};
    };
    const auto aboutButtons = [](QDialog& d) { return d.findChildren<QPushButton*>(); };

    // At the usual font the settings page shows whole, without scrolling.
    {
        const bool seen = answerModal<TOptionsForm>(
            *mainWindow().menu_action(kOptionsMenuLine), [](TOptionsForm& dialog) {
                const auto* page = dynamic_cast<QAbstractScrollArea*>(dialog.TabSheet_settings);
                EXPECT_NE(page, nullptr) << "the settings page cannot scroll";
                if (page) {
                    EXPECT_GE(page->viewport()->width(), dialog.settings_frame->sizeHint().width());
                    EXPECT_GE(page->viewport()->height(), dialog.settings_frame->sizeHint().height());
                }
                dialog.reject();
            });
        ASSERT_TRUE(seen);
    }

    // A font three times the usual size: the natural sizes are far larger
    // than the screen.
    QFont large = usualFont;
    large.setPointSizeF(usualFont.pointSizeF() * 3);
    QApplication::setFont(large);
    check(kOptionsMenuLine, optionsButtons, "Options");
    check(kAboutMenuLine, aboutButtons, "About");
    QApplication::setFont(usualFont);
}
