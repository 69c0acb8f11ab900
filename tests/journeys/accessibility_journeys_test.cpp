// What a screen reader and a keyboard user get from the program as main
// makes it, on the demo edition: the list's rows as a tree, the recording
// buttons, the localities map's dots.
#include "journeys/journey.h"

#include "data/people_places.h"
#include "listview/formatted_text.h"
#include "info_windows/windows/web_browser_form.h"
#include "learning/windows/compare_window.h"
#include "listview/windows/child_form.h"
#include "listview/windows/sonogram_panel.h"
#include "sound/windows/sonogram_view.h"
#include "listview/windows/tooltip_form.h"
#include "pictures_maps/windows/localities_map_form.h"
#include "pictures_maps/windows/map_form.h"
#include "sound/windows/volume_control_form.h"
#include "utilities/windows/select_copy_directory_dialog.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QPointer>
#include <QStatusBar>
#include <cmath>
#include <algorithm>
#include <optional>
#include <set>

using testing_support::Journey;

namespace {

// Lines of the texts-file section "MENUS".
constexpr int kSiteDescriptionsMenu = 14;

struct Item {
    QString name;
    int level = 0;
    bool expandable = false;
    bool expanded = false;
};

Item itemOf(QAccessibleInterface* iface) {
    const QAccessible::State s = iface->state();
    const QString level = iface->text(QAccessible::Description);
    return {iface->text(QAccessible::Name), level.section(u' ', 1).toInt(), bool(s.expandable),
            bool(s.expanded)};
}

}  // namespace

class AccessibilityJourney : public Journey {
  protected:
    QAccessibleInterface* tree() { return QAccessible::queryAccessibleInterface(&form()); }
    // The list takes the keyboard, its window the active one, as after a click.
    void focusList() {
        QApplication::setActiveWindow(&mainWindow());
        form().setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(eventually([&] { return form().hasFocus(); }));
    }
    std::vector<Item> items() {
        std::vector<Item> all;
        QAccessibleInterface* t = tree();
        for (int i = 0; i < t->childCount(); ++i) all.push_back(itemOf(t->child(i)));
        return all;
    }
    int indexOf(const QString& name) {
        const std::vector<Item> all = items();
        for (size_t i = 0; i < all.size(); ++i)
            if (all[i].name == name) return int(i);
        return -1;
    }
    // A key as the keyboard sends it, to what has the list window's focus.
    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focused = mainWindow().focusWidget();
        ASSERT_NE(focused, nullptr);
        QTest::keyClick(focused, Qt::Key(k), modifiers);
        repaint();
    }
    QString focusedName() {
        QAccessibleInterface* f = tree()->focusChild();
        return f ? f->text(QAccessible::Name) : QString();
    }
    QAccessibleInterface* buttonOf(Tsound_bar& bar) {
        return QAccessible::queryAccessibleInterface(&bar.button());
    }
};

TEST_F(AccessibilityJourney, TheListIsATreeOfItsRowsFoldedAndUnfoldedByTheKeyboard) {
    focusList();
    QAccessibleInterface* t = tree();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->role(), QAccessible::Tree);

    // Folded: one item per family, in the window's order, each a folded
    // first level.
    int families = 0;
    for (auto* l = list().model().first_line(); l; l = l->next) families += l->kind == line_kind::kFamilyMarker;
    std::vector<Item> folded = items();
    ASSERT_EQ(int(folded.size()), families);
    EXPECT_EQ(folded[0].name, QStringLiteral("Tinamous. Tinamidae"));
    EXPECT_EQ(folded[1].name, QStringLiteral("Ducks, Geese and Swans. Anatidae"));
    for (const Item& item : folded) {
        EXPECT_EQ(item.level, 1) << qPrintable(item.name);
        EXPECT_TRUE(item.expandable && !item.expanded) << qPrintable(item.name);
    }
    EXPECT_EQ(t->child(0)->role(), QAccessible::TreeItem);
    EXPECT_TRUE(t->child(0)->state().focused);
    EXPECT_EQ(t->indexOfChild(t->child(3)), 3);

    // Return unfolds the family: its species follow it one level down, the
    // second name on the row's own item, and the next family after them.
    key(Qt::Key_Return);
    std::vector<Item> open = items();
    ASSERT_GT(open.size(), folded.size());
    EXPECT_TRUE(open[0].expanded);
    EXPECT_EQ(open[1].level, 2);
    EXPECT_TRUE(open[1].name.startsWith(QStringLiteral("1. Gray Tinamou. Tinamus tao")));
    EXPECT_EQ(open[2].name, QStringLiteral("Perdiz Gris"));  // its other names, below it
    EXPECT_EQ(open[2].level, 3);
    const int nextFamily = indexOf(QStringLiteral("Ducks, Geese and Swans. Anatidae"));
    ASSERT_GT(nextFamily, 1);
    int species = 0;
    for (int i = 1; i < nextFamily; ++i) {
        const Item& item = open[size_t(i)];
        const bool isSpecies = item.name.startsWith(QStringLiteral("%1. ").arg(species + 1));
        species += isSpecies;
        EXPECT_EQ(item.level, isSpecies ? 2 : 3) << qPrintable(item.name);
        EXPECT_EQ(item.expandable, isSpecies) << qPrintable(item.name);
    }
    EXPECT_EQ(species, 6);
    EXPECT_EQ(open.size() - folded.size(), size_t(nextFamily - 1));

    // A species unfolded shows its notes as text and its recordings a level
    // further down.
    key(Qt::Key_Down);
    EXPECT_TRUE(focusedName().startsWith(QStringLiteral("1. Gray Tinamou")));
    key(Qt::Key_Return);
    QAccessibleInterface* notes = nullptr;
    for (int i = 0; i < t->childCount() && !notes; ++i)
        if (t->child(i)->text(QAccessible::Name).startsWith(QStringLiteral("Voice a single long")))
            notes = t->child(i);
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(itemOf(notes).level, 3);
    QAccessibleTextInterface* text = notes->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(0, text->characterCount()), notes->text(QAccessible::Name));
    EXPECT_TRUE(notes->text(QAccessible::Name).contains(QStringLiteral("Species notes by: Aldo")));

    // Folding the family again takes its species' items away (with a
    // reader's bridge running they are deleted, else left invalid).
    const QAccessible::Id notesId = QAccessible::uniqueId(notes);
    key(Qt::Key_Up);
    key(Qt::Key_Return);
    std::vector<Item> again = items();
    ASSERT_EQ(again.size(), folded.size());
    EXPECT_FALSE(again[0].expanded);
    QAccessibleInterface* gone = QAccessible::accessibleInterface(notesId);
    EXPECT_TRUE(!gone || !gone->isValid()) << "an item of a folded row still claims to be there";
}

TEST_F(AccessibilityJourney, TheFocusedItemFollowsTheArrowsAndAMoveIsAnnounced) {
    focusList();
    std::vector<QString> focusEvents;
    static std::vector<QString>* seen = nullptr;
    seen = &focusEvents;
    QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler([](QAccessibleEvent* e) {
        if (e->type() == QAccessible::Focus && e->accessibleInterface() && seen)
            seen->push_back(e->accessibleInterface()->text(QAccessible::Name));
    });

    EXPECT_EQ(focusedName(), QStringLiteral("Tinamous. Tinamidae"));
    key(Qt::Key_Down);
    EXPECT_EQ(focusedName(), QStringLiteral("Ducks, Geese and Swans. Anatidae"));
    EXPECT_FALSE(tree()->child(0)->state().focused);
    EXPECT_TRUE(tree()->child(1)->state().focused && tree()->child(1)->state().selected);
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(focusedName(), items().back().name);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(focusedName(), QStringLiteral("Tinamous. Tinamidae"));

    QAccessible::installUpdateHandler(previous);
    seen = nullptr;
    // Qt hands events on only while a screen reader's bridge is active (the
    // desktop session with the accessibility bus); offscreen there is none.
    if (QAccessible::isActive()) {
        const std::vector<QString> expected{QStringLiteral("Ducks, Geese and Swans. Anatidae"),
                                            items().back().name, QStringLiteral("Tinamous. Tinamidae")};
        EXPECT_EQ(focusEvents, expected);
    }
}

TEST_F(AccessibilityJourney, ARecordingButtonIsNamedForItsRecordingAndPlaysPausesAndSeeksByItsActions) {
    unfoldFirstSpecies();
    Tsound_bar* bar = recordingButton(1);
    ASSERT_NE(bar, nullptr);
    QAccessibleInterface* button = buttonOf(*bar);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(button->text(QAccessible::Name),
              QStringLiteral("Recording 1, Song at dusk. Cusco, Peru, San Pedro, Kosñipata road, 68 seconds"));
    EXPECT_EQ(button->text(QAccessible::Value), QStringLiteral("0 of 68 seconds"));
    EXPECT_FALSE(button->state().checked);

    // The button hangs in the tree under its recording's row.
    QAccessibleInterface* row = button->parent();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->role(), QAccessible::TreeItem);
    EXPECT_TRUE(row->text(QAccessible::Name).startsWith(QStringLiteral("1. A Song at dusk")));
    ASSERT_EQ(row->childCount(), 1);
    EXPECT_EQ(row->child(0)->object(), &bar->button());
    EXPECT_EQ(row->parent()->object(), &form());

    QAccessibleActionInterface* actions = button->actionInterface();
    ASSERT_NE(actions, nullptr);
    for (const char* name : {"Play", "Pause", "Seek forward", "Seek back"})
        EXPECT_TRUE(actions->actionNames().contains(QLatin1String(name))) << name;

    actions->doAction(QStringLiteral("Play"));
    ASSERT_TRUE(eventually([&] { return bar->is_playing(); }));
    EXPECT_TRUE(button->state().checked);
    EXPECT_EQ(button->text(QAccessible::Description), QStringLiteral("Playing"));
    actions->doAction(QStringLiteral("Play"));  // playing already: goes on
    EXPECT_TRUE(bar->is_playing());

    actions->doAction(QStringLiteral("Pause"));
    ASSERT_FALSE(bar->is_playing());
    EXPECT_FALSE(button->state().checked);
    EXPECT_EQ(button->text(QAccessible::Description), QStringLiteral("Paused"));
    const int before = bar->bar().value();
    actions->doAction(QStringLiteral("Seek forward"));
    EXPECT_EQ(bar->bar().value(), before + 50);
    QAccessibleValueInterface* value = button->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_DOUBLE_EQ(value->currentValue().toDouble(), bar->bar().value() / 10.0);
    EXPECT_NEAR(value->maximumValue().toDouble(), 68.0, 0.5);
    EXPECT_EQ(button->text(QAccessible::Value),
              QStringLiteral("%1 of 68 seconds").arg(std::lround(bar->bar().value() / 10.0)));
    actions->doAction(QStringLiteral("Seek back"));
    EXPECT_EQ(bar->bar().value(), before);
    value->setCurrentValue(30.0);
    EXPECT_EQ(bar->bar().value(), 300);
    EXPECT_EQ(button->text(QAccessible::Value), QStringLiteral("30 of 68 seconds"));
}

TEST_F(AccessibilityJourney, TheSonogramPanelSaysWhichRecordingItShowsAndWhereItsStrongestMarksLie) {
    mainWindow().show_sonogram(true);
    TSonogramPanel* panel = mainWindow().sonogram_panel();
    ASSERT_NE(panel, nullptr);
    unfoldFirstSpecies();
    Tsound_bar* bar = recordingButton(1);
    ASSERT_NE(bar, nullptr);
    QTest::mouseClick(&bar->button(), Qt::LeftButton);
    QWidget& view = panel->view();
    ASSERT_TRUE(eventually([&] { return view.accessibleDescription().contains(QStringLiteral("kHz")); }, 10000))
        << qPrintable(view.accessibleDescription());
    bar->click();  // enough heard

    const QString said = view.accessibleDescription();
    const QString start = QStringLiteral("Sonogram of Song at dusk. Cusco, Peru, 68 seconds, strongest marks between ");
    ASSERT_TRUE(said.startsWith(start)) << qPrintable(said);
    const QStringList numbers = said.mid(start.size()).remove(QStringLiteral(" kHz")).split(QStringLiteral(" and "));
    ASSERT_EQ(numbers.size(), 2) << qPrintable(said);
    const double low = numbers[0].toDouble(), high = numbers[1].toDouble();
    EXPECT_LT(low, high);
    EXPECT_GT(low, 0.1) << "a bird's song lies above the hum";
    EXPECT_LT(high, 12.0);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Sonogram"));
    EXPECT_EQ(iface->text(QAccessible::Description), said);
}

TEST_F(AccessibilityJourney, TheArrowsWalkTheLocalitiesMapsDotsShowingTheirTooltipAndEnterOpensThePage) {
    QAction* menu = main_->menu_action(kSiteDescriptionsMenu);
    ASSERT_NE(menu, nullptr);
    menu->trigger();
    TLocalitiesMapForm& map = GLB_localities_map();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    map.activateWindow();
    QWidget* keys = map.focusWidget() ? map.focusWidget() : &map;
    EXPECT_EQ(map.keyboard_dot(), -1);

    QTest::keyClick(keys, Qt::Key_Right);
    const int first = map.keyboard_dot();
    ASSERT_GE(first, 0);
    ASSERT_NE(map.tooltip(), nullptr) << "the focused dot shows no tooltip";
    const Tlocality& place = *map.localities()[size_t(first)];
    EXPECT_TRUE(map.tooltip()->isVisible());
    // It stays while the keyboard is on the dot, though the mouse is elsewhere.
    QTest::qWait(350);
    ASSERT_NE(map.tooltip(), nullptr);
    EXPECT_TRUE(map.tooltip()->isVisible()) << "the keyboard's tooltip went with the mouse's";
    // The tooltip paints its text itself; a reader gets it as its name.
    EXPECT_TRUE(map.tooltip()->accessibleName().contains(place.name))
        << qPrintable(map.tooltip()->accessibleName());
    EXPECT_EQ(map.canvas()->accessibleName(), GLB_without_codes(place.display_text(true)));

    // Every arrow goes on to another dot, the way it points, until the
    // map's edge; a place with a site description is reached.
    std::set<int> visited{first};
    const Qt::Key walk[] = {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up};
    int described = -1;
    for (int step = 0; step < 200 && (visited.size() < 5 || described < 0); ++step) {
        const int from = map.keyboard_dot();
        const Qt::Key k = walk[(step / 5) % 4];
        QTest::keyClick(keys, k);
        const int to = map.keyboard_dot();
        if (to == from) continue;  // the edge that way
        const QPoint a = TLocalitiesLayout::dot_position(map.dots().positions()[size_t(from)]);
        const QPoint b = TLocalitiesLayout::dot_position(map.dots().positions()[size_t(to)]);
        if (a != b) {
            const QPoint d = b - a;
            const int ahead = k == Qt::Key_Right ? d.x() : k == Qt::Key_Left ? -d.x()
                            : k == Qt::Key_Down  ? d.y() : -d.y();
            EXPECT_GT(ahead, 0) << "an arrow went against its way";
        }
        visited.insert(to);
        ASSERT_NE(map.tooltip(), nullptr);
        described = map.localities()[size_t(to)]->site_description.isEmpty() ? -1 : to;
    }
    EXPECT_GE(visited.size(), 5u);
    ASSERT_GE(described, 0) << "no described place reached by the arrows";

    QTest::keyClick(keys, Qt::Key_Return);
    TWebBrowserForm* browser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<TWebBrowserForm*>(w); b && b->isVisible()) browser = b;
    ASSERT_NE(browser, nullptr) << "Enter opened no page";
    EXPECT_EQ(QFileInfo(browser->current_url().toLocalFile()).fileName(),
              map.localities()[size_t(described)]->site_description);
}

namespace {

// What Tab and Escape do in a modal dialog: the widgets Tab visits from
// the first focus until it comes round again, and whether Escape closed it.
struct DialogWalk {
    QString title;
    QList<QWidget*> visited;
    QList<QWidget*> missed;  // visible, enabled, takes Tab, never visited
    bool came_round = false;
    bool escape_closed = false;
    QString visited_names, missed_names;
};

QString names(const QList<QWidget*>& widgets) {
    QStringList all;
    for (QWidget* w : widgets)
        all << QStringLiteral("%1 '%2'").arg(QLatin1String(w->metaObject()->className()), w->objectName());
    return all.join(QStringLiteral(", "));
}

// Walks the window by Tab from where its focus is, as activated, then
// presses Escape.
DialogWalk walkWindow(QWidget& dialog) {
    DialogWalk walk;
    walk.title = QStringLiteral("%1 '%2'").arg(QLatin1String(dialog.metaObject()->className()), dialog.windowTitle());
    // Shown, it is the active window, as a window manager makes it.
    QApplication::setActiveWindow(&dialog);
    eventually([&] { return QApplication::focusWidget() && QApplication::focusWidget()->window() == &dialog; }, 500);
    QWidget* start = QApplication::focusWidget();
    if (!start || start->window() != &dialog) {
        dialog.close();
        return walk;
    }
    QWidget* at = start;
    walk.visited << at;
    // Tab may first walk the inside of a control (a page's links, a grid's
    // cells) before it leaves it; one it never leaves is a trap.
    for (int step = 0, inside = 0; step < 200 && inside < 60; ++step) {
        QWidget* from = at;
        QTest::keyClick(at, Qt::Key_Tab);
        at = QApplication::focusWidget();
        if (!at || (at == start && at != from)) {
            walk.came_round = at == start;
            break;
        }
        if (at == from) {
            ++inside;
            continue;
        }
        inside = 0;
        if (walk.visited.contains(at)) break;  // a loop that never returns to the start
        walk.visited << at;
    }
    for (QWidget* w : dialog.findChildren<QWidget*>())
        if (w->isVisibleTo(&dialog) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
            !w->focusProxy() && !walk.visited.contains(w) && w->window() == &dialog)
            walk.missed << w;
    // The window's only control keeps the focus: Tab has nowhere else to go.
    if (!walk.came_round && walk.visited.size() == 1 && walk.missed.isEmpty() && at == start) walk.came_round = true;
    // Named now: a window closed by Escape may take its widgets with it.
    walk.visited_names = names(walk.visited);
    walk.missed_names = names(walk.missed);
    QPointer<QWidget> alive(&dialog);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog, Qt::Key_Escape);
    walk.escape_closed = !alive || !alive->isVisible();
    return walk;
}

DialogWalk walkDialog(QWidget& dialog) {
    DialogWalk walk = walkWindow(dialog);
    if (dialog.isVisible()) dialog.close();
    return walk;
}


}  // namespace

TEST_F(AccessibilityJourney, EveryDialogOfTheMenusIsWalkedByTabAndClosedByEscape) {
    QStringList opened;
    // Lines of the texts-file section "MENUS", and Find by its caption.
    const std::pair<int, QString> menus[] = {{0, QStringLiteral("Find...")},
                                             {16, QStringLiteral("Options")},
                                             {22, QStringLiteral("About")}};
    for (const auto& [line, caption] : menus) {
        QAction* action = line ? main_->menu_action(line) : nullptr;
        for (QAction* a : mainWindow().findChildren<QAction*>())
            if (!line && a->text().section(u'\t', 0, 0).remove(u'&') == caption) action = a;
        if (!action || !action->isEnabled()) continue;
        std::optional<DialogWalk> walk;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog || walk) return;
            walk = walkDialog(*dialog);
        });
        user.start(50);
        action->trigger();

        eventually([&] { return walk.has_value(); }, 3000);
        user.stop();
        if (QWidget* left = QApplication::activeModalWidget()) left->close();
        ASSERT_TRUE(walk.has_value()) << qPrintable(caption) << " opened no dialog";
        opened << caption;
        EXPECT_TRUE(walk->came_round) << qPrintable(walk->title) << ": Tab went " << qPrintable(walk->visited_names)
                                      << " and never came back to the start";
        EXPECT_GE(walk->visited.size(), 2) << qPrintable(caption);
        EXPECT_TRUE(walk->missed.isEmpty()) << qPrintable(caption) << ": Tab never reaches "
                                            << qPrintable(walk->missed_names);
        EXPECT_TRUE(walk->escape_closed) << qPrintable(caption) << ": Escape left it open";
    }
    EXPECT_EQ(opened.size(), 3) << qPrintable(opened.join(u' '));
}

namespace {

// A status-bar panel's label shows its whole text, or as much as it holds
// cut with "…" (the whole text its tooltip); never a sliver of it.
void expectReadable(const QLabel& label, const QString& whole, const char* what) {
    const QString shown = label.text();
    const QFontMetrics metrics = label.fontMetrics();
    EXPECT_GE(label.width(), metrics.horizontalAdvance(shown)) << what << ": '" << qPrintable(shown) << "' is cut";
    if (shown == whole) return;
    ASSERT_TRUE(shown.endsWith(QChar(0x2026))) << what << " shows '" << qPrintable(shown) << "' of '"
                                               << qPrintable(whole) << "'";
    EXPECT_TRUE(whole.startsWith(shown.chopped(1))) << what;
    EXPECT_EQ(label.toolTip(), whole) << what;
    EXPECT_GE(label.width(), metrics.horizontalAdvance(QStringLiteral("Tinamo"))) << what << " is a few pixels wide";
}

}  // namespace

TEST_F(AccessibilityJourney, TheStatusBarsCaptionStaysReadableInANarrowWindow) {
    QStatusBar* status = mainWindow().statusBar();
    ASSERT_FALSE(mainWindow().area_panel_text().isEmpty()) << "the demo shows no area panel";
    for (int width : {1000, 700, 520, 420}) {
        mainWindow().resize(width, 600);
        ASSERT_TRUE(eventually([&] { return mainWindow().width() == width; }));
        repaint();
        // The first two panels, left to right: the caption, then the area.
        QList<QLabel*> panels;
        for (QLabel* label : status->findChildren<QLabel*>())
            if (label->isVisible()) panels << label;
        std::sort(panels.begin(), panels.end(), [](QLabel* a, QLabel* b) { return a->x() < b->x(); });
        ASSERT_GE(panels.size(), 2);
        SCOPED_TRACE(width);
        const QString caption = mainWindow().caption_panel_text();
        ASSERT_FALSE(caption.trimmed().isEmpty());
        expectReadable(*panels[0], caption, "the caption");
        expectReadable(*panels[1], mainWindow().area_panel_text(), "the area");
        EXPECT_LE(panels[0]->geometry().right(), panels[1]->x()) << "the panels overlap";
        if (width == 1000) {
            EXPECT_EQ(panels[0]->text(), caption) << "a wide window shows the whole caption";
        }
    }
}

namespace {

// The windows on the screen besides the list windows.
QSet<QWidget*> shownWindows() {
    QSet<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !qobject_cast<TChildForm*>(w) && !(w->windowType() == Qt::Popup) &&
            !(w->windowType() == Qt::ToolTip) && !qobject_cast<TTooltipForm*>(w))
            shown << w;
    return shown;
}

}  // namespace

class WindowWalkJourney : public AccessibilityJourney {
  protected:
    struct Walked {
        QString what;
        DialogWalk walk;
        bool modal = false;
    };
    std::vector<Walked> walked_;

    // Opens a window the way `open` does as a user, then walks what came up:
    // a modal dialog while it is up, else the window it left on the screen
    // (one not there before).
    void walkWhatOpens(const QString& what, const std::function<void()>& open, bool walkModal = true) {
        const QSet<QWidget*> before = shownWindows();
        std::optional<DialogWalk> modal;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog || modal || !walkModal) return;
            modal = walkDialog(*dialog);
        });
        user.start(50);
        open();
        if (modal) {
            user.stop();
            walked_.push_back({what, *modal, true});
            return;
        }
        QWidget* opened = nullptr;
        eventually([&] {
            for (QWidget* w : shownWindows())
                if (!before.contains(w)) opened = w;
            return opened != nullptr || modal;
        }, 3000);
        user.stop();
        if (modal) {
            walked_.push_back({what, *modal, true});
            return;
        }
        ASSERT_NE(opened, nullptr) << qPrintable(what) << " opened no window";
        ASSERT_TRUE(QTest::qWaitForWindowExposed(opened));
        walked_.push_back({what, walkWindow(*opened), false});
        for (QWidget* w : shownWindows())
            if (!before.contains(w)) w->close();
    }
    void walkMenu(int line, const QString& what) {
        QAction* action = main_->menu_action(line);
        ASSERT_TRUE(action && action->isEnabled()) << qPrintable(what);
        walkWhatOpens(what, [action] { action->trigger(); });
    }
    void expectWalked(const QString& what, bool escapeCloses) {
        const auto found = std::find_if(walked_.begin(), walked_.end(), [&](const Walked& w) { return w.what == what; });
        ASSERT_NE(found, walked_.end()) << qPrintable(what) << " was not walked";
        const DialogWalk& walk = found->walk;
        EXPECT_TRUE(walk.came_round) << qPrintable(what) << " " << qPrintable(walk.title) << ": Tab went "
                                     << qPrintable(walk.visited_names) << " and never came back to the start";
        EXPECT_TRUE(walk.missed.isEmpty()) << qPrintable(what) << ": Tab never reaches " << qPrintable(walk.missed_names);
        if (escapeCloses) {
            EXPECT_TRUE(walk.escape_closed) << qPrintable(what) << ": Escape left it open";
        }
    }
};

TEST_F(WindowWalkJourney, EveryWindowOfTheListIsWalkedByTabAndTheSmallOnesClosedByEscape) {
    // Lines of the texts-file section "MENUS".
    walkMenu(6, QStringLiteral("playlists"));
    walkMenu(14, QStringLiteral("localities map"));
    walkMenu(19, QStringLiteral("help"));
    walkMenu(20, QStringLiteral("readme"));
    walkMenu(7, QStringLiteral("make mp3s"));

    unfoldFirstSpecies();
    walkWhatOpens(QStringLiteral("big picture"), [&] { clickToggle(nth(line_kind::kMediaMarker, 1)); });
    walkWhatOpens(QStringLiteral("distribution map"), [&] { clickToggle(nth(line_kind::kMapMarker, 1)); });
    focusList();
    key(Qt::Key_Home, Qt::ControlModifier);
    key(Qt::Key_Down);  // the first species
    walkWhatOpens(QStringLiteral("my list"), [&] { QTest::keyClick(&mainWindow(), Qt::Key_L, Qt::ControlModifier); });
    walkWhatOpens(QStringLiteral("quiz"), [&] { mainWindow().findChild<QAction*>(QStringLiteral("quiz"))->trigger(); });
    TVolume_control_form* volume = TVolume_control_form::instance();
    ASSERT_NE(volume, nullptr);
    volume->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(volume));
    walked_.push_back({QStringLiteral("volume"), walkWindow(*volume), false});

    expectWalked(QStringLiteral("playlists"), false);
    expectWalked(QStringLiteral("localities map"), true);
    expectWalked(QStringLiteral("help"), false);
    expectWalked(QStringLiteral("readme"), false);
    expectWalked(QStringLiteral("make mp3s"), true);
    expectWalked(QStringLiteral("big picture"), true);
    expectWalked(QStringLiteral("distribution map"), true);
    expectWalked(QStringLiteral("my list"), true);
    expectWalked(QStringLiteral("quiz"), true);
    // The volume window stays up; Escape hands the keys back to the list.
    expectWalked(QStringLiteral("volume"), false);
    EXPECT_TRUE(eventually([&] { return QApplication::activeWindow() == &mainWindow(); }, 1000))
        << "Escape left the keys with " << (QApplication::activeWindow() ? QApplication::activeWindow()->metaObject()->className() : "none");
}

TEST_F(WindowWalkJourney, TheListWindowsTheShowAndTheComparisonAreWalkedByTab) {
    walked_.push_back({QStringLiteral("list window"), walkWindow(mainWindow()), false});
    expectWalked(QStringLiteral("list window"), false);
    EXPECT_TRUE(mainWindow().isVisible()) << "Escape closed the main window";

    // The show's settings, left with Escape; then asked again and accepted.
    walkMenu(4, QStringLiteral("show settings"));
    expectWalked(QStringLiteral("show settings"), true);
    QTimer okPresser;
    QObject::connect(&okPresser, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
    });
    okPresser.start(20);
    // The show's own window: its pictures, one after another.
    walkWhatOpens(
        QStringLiteral("show window"), [&] { main_->menu_action(4)->trigger(); }, false);
    okPresser.stop();
    expectWalked(QStringLiteral("show window"), true);
    eventually([] { return Tsound_bar::playing_button() == nullptr; }, 3000);

    unfoldFirstSpecies();
    Tsound_bar* bar = recordingButton(1);
    ASSERT_NE(bar, nullptr);
    walkWhatOpens(QStringLiteral("comparison"), [&] {
        for (int attempt = 0; attempt < 5 && !mainWindow().findChild<TCompareWindow*>(); ++attempt)
            useRecordingMenu(*bar, [](QMenu& menu) {
                for (QAction* action : menu.actions())
                    if (action->text() == QStringLiteral("Add to comparison")) action->trigger();
            });
    });
    // A window of its own, where Escape on a sonogram returns to normal listening.
    expectWalked(QStringLiteral("comparison"), false);
}

namespace {

// How many pixels of the region stand out from the colour behind them (a
// difference of lightness a reader's eye takes for ink).
int inkPixels(const QImage& image, const QRect& region, const QColor& behind) {
    int ink = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (std::abs(image.pixelColor(x, y).lightness() - behind.lightness()) > 120) ++ink;
    return ink;
}

// A desktop's high-contrast palette: light text on black.
QPalette highContrast() {
    QPalette dark;
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        dark.setColor(role, Qt::black);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(255, 255, 0));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    return dark;
}

}  // namespace

class HighContrastJourney : public AccessibilityJourney {
  protected:
    void SetUp() override {
        AccessibilityJourney::SetUp();
        normal_ = QApplication::palette();
        QApplication::setPalette(highContrast());
        repaint();
    }
    void TearDown() override {
        QApplication::setPalette(normal_);
        AccessibilityJourney::TearDown();
    }
    QPalette normal_;
};

TEST_F(HighContrastJourney, TextDrawnByTheProgramTakesTheInkOfWhatItStandsOn) {
    // In the list, which keeps its black on white, a recording button's
    // numbers stay black.
    unfoldFirstSpecies();
    Tsound_bar* listed = recordingButton(1);
    ASSERT_NE(listed, nullptr);
    const QImage inList = listed->grab().toImage();
    const QRect numbers(0, 0, inList.width(), listed->bar().y());
    ASSERT_GT(numbers.height(), 4);
    EXPECT_GT(inkPixels(inList, numbers, Qt::white), 10) << "the numbers vanished from the list";
    // The keyboard's mark on the button shows on its dark bevel.
    QWidget& button = listed->button();
    const int unfocused = inkPixels(button.grab().toImage(), button.rect(), Qt::black);
    focusList();
    button.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(eventually([&] { return button.hasFocus(); }));
    const int focused = inkPixels(button.grab().toImage(), button.rect(), Qt::black);
    EXPECT_GT(focused - unfocused, 10) << "the focused button looks as the others";

    // The same button in the comparison window, on its black.
    for (int attempt = 0; attempt < 5 && !mainWindow().findChild<TCompareWindow*>(); ++attempt)
        useRecordingMenu(*listed, [](QMenu& menu) {
            for (QAction* action : menu.actions())
                if (action->text() == QStringLiteral("Add to comparison")) action->trigger();
        });
    auto* compare = mainWindow().findChild<TCompareWindow*>();
    ASSERT_NE(compare, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(compare));
    Tsound_bar& compared = compare->button(0);
    const QImage onDark = compare->grab(QRect(compared.mapTo(compare, QPoint(0, 0)), compared.size())).toImage();
    EXPECT_GT(inkPixels(onDark, QRect(0, 0, onDark.width(), compared.bar().y()), Qt::black), 10)
        << "the numbers are black on black";
    compare->close();

    // The species' distribution map: its texts below the map.
    clickToggle(nth(line_kind::kMapMarker, 1));
    TMapForm* map = nullptr;
    ASSERT_TRUE(eventually([&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* m = qobject_cast<TMapForm*>(w); m && m->isVisible()) map = m;
        return map != nullptr;
    }));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(map));
    const QImage drawn = map->canvas()->grab().toImage();
    const QRect texts(0, drawn.height() - 24, drawn.width(), 24);
    EXPECT_GT(inkPixels(drawn, texts, Qt::black), 100) << "the map's texts are black on black";
    map->close();
}

TEST_F(AccessibilityJourney, ARecordingsTextBrokenOverRowsStartsAfterItsButtonInANarrowWindow) {
    mainWindow().resize(480, 700);
    ASSERT_TRUE(eventually([&] { return mainWindow().width() == 480; }));
    unfoldFirstSpecies();
    repaint();
    int wrapped = 0;
    for (int n = 1; TRecordShowStringData* button = nth(line_kind::kRecordingButton, n); ++n) {
        TRecordShowStringData* text = button->next;
        while (text && text->kind != line_kind::kDescription) text = text->next;
        ASSERT_NE(text, nullptr);
        Tsound_bar* bar = recordingButton(n);
        ASSERT_NE(bar, nullptr);
        wrapped += text->text.contains(QChar(text_code::kLineFeed));
        EXPECT_GE(text->drawn_x, button->drawn_x + bar->total_width())
            << "recording " << n << "'s text '" << qPrintable(GLB_without_codes(text->text).left(30))
            << "' is drawn over its button";
    }
    EXPECT_GE(wrapped, 1) << "no text was broken: the window is not narrow enough to tell";
}

TEST_F(WindowWalkJourney, CopyToHardDiskIsWalkedByTabAsksForItsFolderByKeyAndClosesByEscape) {
    // The demo's base directory is listed as an optical disc in the drive.
    QTemporaryDir mounts;
    QFile table(mounts.path() + QStringLiteral("/mounts"));
    ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    QString disc = QDir::cleanPath(testing_support::RunningDemoProgram::demoBaseDirectory());
    table.write("/dev/sr0 " + disc.replace(u' ', QStringLiteral("\\040")).toUtf8() + " iso9660 ro 0 0\n");
    table.close();
    const QByteArray previousTable = qgetenv("KORVELAN_MOUNT_TABLE");
    qputenv("KORVELAN_MOUNT_TABLE", QFile::encodeName(table.fileName()));
    QTemporaryDir hardDisk;
    program().script().dialogs().directoryAnswers.push_back(hardDisk.path());

    QString chosen;
    bool browsedByKey = false;
    std::optional<DialogWalk> walk;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<TSelectCopyDirectoryDialog*>(QApplication::activeModalWidget());
        if (!dialog || walk) return;
        // Tab to the browse button, Space asks for the folder.
        QApplication::setActiveWindow(dialog);
        for (int step = 0; step < 10 && QApplication::focusWidget() != dialog->browse_button(); ++step)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog, Qt::Key_Tab);
        if (QApplication::focusWidget() == dialog->browse_button()) {
            browsedByKey = true;
            QTest::keyClick(dialog->browse_button(), Qt::Key_Space);
        }
        chosen = dialog->folder_edit()->text();
        walk = walkDialog(*dialog);
    });
    user.start(50);
    QAction* copy = mainWindow().menu_action(17);
    ASSERT_TRUE(copy && copy->isEnabled());
    copy->trigger();
    user.stop();
    if (previousTable.isEmpty())
        qunsetenv("KORVELAN_MOUNT_TABLE");
    else
        qputenv("KORVELAN_MOUNT_TABLE", previousTable);

    ASSERT_TRUE(walk) << "the copy never asked for its folder";
    EXPECT_TRUE(browsedByKey) << "Tab never reaches the browse button";
    EXPECT_TRUE(program().script().dialogs().directoryAnswers.empty()) << "the folder was not asked for";
    EXPECT_EQ(QDir::cleanPath(chosen), QDir::cleanPath(hardDisk.path()));
    EXPECT_TRUE(walk->came_round) << qPrintable(walk->visited_names);
    EXPECT_TRUE(walk->missed.isEmpty()) << qPrintable(walk->missed_names);
    EXPECT_TRUE(walk->escape_closed);
    // Escape copies nothing.
    EXPECT_TRUE(QDir(hardDisk.path()).isEmpty());
}
