// Search as you type in the list window main makes: letters typed into the
// list open the box, suggestions come as each letter does, Enter unfolds
// the family and selects the species in sight, Esc closes.
#include "journeys/journey.h"

#include "data/taxa.h"
#include "listview/windows/child_form.h"
#include "listview/windows/incremental_search.h"

#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>

using testing_support::Journey;

class SearchJourney : public Journey {
  protected:
    // The keys a user types, each to whatever has the focus.
    void type(const QString& text) {
        mainWindow().activateWindow();
        form().setFocus();
        for (const QChar c : text) {
            QWidget* target = QApplication::focusWidget();
            if (!target || target->window() != &mainWindow()) target = &form();
            QTest::keyClick(target, c.toLatin1());
        }
    }
    TIncrementalSearchBox* box() {
        return mainWindow().findChild<TIncrementalSearchBox*>(QString(), Qt::FindDirectChildrenOnly);
    }
};

TEST_F(SearchJourney, TypedWithoutAccentsTheSpeciesIsFoundUnfoldedSelectedAndInSight) {
    ASSERT_EQ(form().verticalScrollBar()->value(), 0);
    type(QStringLiteral("paraiso"));
    TIncrementalSearchBox* search = box();
    ASSERT_NE(search, nullptr) << "typing in the list opens the box";
    ASSERT_TRUE(search->isVisible());
    EXPECT_EQ(search->line().text(), QStringLiteral("paraiso")) << "every letter typed reached the box";
    ASSERT_GE(search->suggestions().count(), 1);
    EXPECT_TRUE(search->suggestions().item(0)->text().startsWith(QStringLiteral("Tangara del Paraíso")))
        << search->suggestions().item(0)->text().toStdString();
    EXPECT_TRUE(search->suggestions().item(0)->text().contains(QStringLiteral("Paradise Tanager")));

    QTest::keyClick(&search->line(), Qt::Key_Return);
    EXPECT_FALSE(search->isVisible());
    repaint();
    TRecordShowStringData* selected = list().selected();
    ASSERT_NE(selected, nullptr);
    EXPECT_TRUE(list().caption_text().contains(QStringLiteral("Paradise Tanager")))
        << list().caption_text().toStdString();
    // The last family of the list was unfolded and the view moved to it.
    const int top = list().top_of(*selected);
    const int scroll = form().verticalScrollBar()->value();
    EXPECT_GT(scroll, 0);
    EXPECT_GE(top, scroll);
    EXPECT_LE(top, scroll + form().viewport()->height() - 10);
    EXPECT_TRUE(form().hasFocus()) << "the list has the keys again";
}

TEST_F(SearchJourney, ArrowsChooseAmongSuggestionsCtrlKOpensAnEmptyBoxAndEscClosesIt) {
    type(QStringLiteral("tina"));
    TIncrementalSearchBox* search = box();
    ASSERT_NE(search, nullptr);
    ASSERT_GE(search->suggestions().count(), 3);
    EXPECT_TRUE(search->suggestions().item(0)->text().startsWith(QStringLiteral("Tinamous")));
    // The third suggestion, a species, chosen with the arrow keys.
    QTest::keyClick(&search->line(), Qt::Key_Down);
    QTest::keyClick(&search->line(), Qt::Key_Down);
    const TNameSearchIndex::Entry* chosen = search->entry_at(2);
    ASSERT_NE(chosen, nullptr);
    ASSERT_NE(chosen->species, nullptr);
    QTest::keyClick(&search->line(), Qt::Key_Enter);
    EXPECT_TRUE(list().caption_text().contains(chosen->species->common_name))
        << list().caption_text().toStdString() << " / " << chosen->name.toStdString();

    // Ctrl+K opens the box with nothing in it; Esc closes it and leaves the list.
    const TRecordShowStringData* before = list().selected();
    // A shortcut needs its window active (the offscreen platform may hand
    // activation elsewhere under load, where a user would click first).
    mainWindow().activateWindow();
    ASSERT_TRUE(testing_support::eventually([&] { return QApplication::activeWindow() == &mainWindow(); }));
    form().setFocus();
    QTest::keyClick(&form(), Qt::Key_K, Qt::ControlModifier);
    ASSERT_TRUE(search->isVisible());
    EXPECT_TRUE(search->line().text().isEmpty());
    EXPECT_EQ(search->suggestions().count(), 0);
    QTest::keyClick(&search->line(), Qt::Key_Escape);
    EXPECT_FALSE(search->isVisible());
    EXPECT_EQ(list().selected(), before);
}

// Typed faster than the focus moves to the box, letters still reach the
// list: they go on the end of what is typed, not into a new search.
TEST_F(SearchJourney, LettersThatReachTheListWhileTheBoxIsOpenGoOnTheEnd) {
    type(QStringLiteral("pa"));
    TIncrementalSearchBox* search = box();
    ASSERT_NE(search, nullptr);
    for (const char c : {'r', 'a', 'i', 's', 'o'}) QTest::keyClick(&form(), c);
    EXPECT_EQ(search->line().text(), QStringLiteral("paraiso"));
    ASSERT_GE(search->suggestions().count(), 1);
    EXPECT_TRUE(search->suggestions().item(0)->text().startsWith(QStringLiteral("Tangara del Paraíso")));
}
