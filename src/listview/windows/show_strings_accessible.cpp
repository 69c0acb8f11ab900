#include "listview/windows/show_strings_accessible.h"

#include "listview/formatted_text.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/windows/sound_bar.h"
#include "listview/windows/sound_bar_accessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QScrollBar>
#include <QWidget>
#include <unordered_map>
#include <vector>

using namespace line_kind;

namespace {

using Line = TRecordShowStringData;

// A row is what the window shows on one line: a line that moves the pen
// down and the lines after it that continue beside it. A family's or
// species' second name goes below the first but names the same row.
bool starts_row(const Line& line) {
    if (!line.previous) return true;
    if (is_name(line.kind) && line.kind != kClassTitle) return false;
    return line.advance != 0;
}

// The depth of a row in the tree, from the kind of the line that starts it:
// class, family, species, the species' block (notes, subspecies headings,
// recordings), a recording's details.
int depth_of(int kind) {
    if (kind <= kClassTitle) return 1;
    if (kind <= kFamilyOtherLanguage) return 2;
    if (kind <= kSpeciesOtherLanguage) return 3;
    if (kind < kDetailsToggle) return 4;
    return 5;
}

// The recording button widget shown on the row, if it has been made.
QWidget* button_widget_of(const Line* start) {
    for (const Line* l = start; l && (l == start || !starts_row(*l)); l = l->next) {
        if (l->kind != kRecordingButton || !l->button_block || !l->button_block->button) continue;
        auto* bar = dynamic_cast<Tsound_bar*>(l->button_block->button.get());
        return bar && bar->shown() ? &bar->button() : nullptr;
    }
    return nullptr;
}

class TListTreeAccessible;

// One row of the list as a tree item. It holds no widget: the tree answers
// for it, and a row folded away leaves it invalid until the tree drops it.
class TListRowAccessible : public QAccessibleInterface, public QAccessibleTextInterface {
  public:
    TListRowAccessible(TListTreeAccessible* tree, const Line* start) : tree_(tree), start_(start) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* focusChild() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::TreeItem; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : nullptr;
    }

    // The row's text, readable as a text (the notes are long).
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override {
        const QString all = text(QAccessible::Name);
        return all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return text(QAccessible::Name).size(); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    const Line* start() const { return start_; }

  private:
    TListTreeAccessible* tree_;
    const Line* start_;
};

// The list window's surface as a tree of its rows.
class TListTreeAccessible : public QAccessibleWidget {
  public:
    explicit TListTreeAccessible(TShowForm* form) : QAccessibleWidget(form, QAccessible::Tree) {}
    ~TListTreeAccessible() override {
        for (const auto& [line, id] : items_) QAccessible::deleteAccessibleInterface(id);
    }

    TShowForm* form() const { return static_cast<TShowForm*>(widget()); }

    QString text(QAccessible::Text t) const override {
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty()) s = QStringLiteral("Species list");
        return s;
    }
    int childCount() const override {
        refresh();
        return static_cast<int>(rows_.size());
    }
    QAccessibleInterface* child(int index) const override {
        refresh();
        if (index < 0 || index >= static_cast<int>(rows_.size())) return nullptr;
        return item(rows_[static_cast<std::size_t>(index)].start);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child || child->role() != QAccessible::TreeItem) return -1;
        const auto* row = static_cast<const TListRowAccessible*>(child);
        return row_index(row->start());
    }
    QAccessibleInterface* focusChild() const override {
        const int index = selected_row();
        return index < 0 ? nullptr : child(index);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        refresh();
        for (const Row& row : rows_) {
            QAccessibleInterface* it = item(row.start);
            if (it->rect().contains(x, y)) return it;
        }
        return nullptr;
    }

    // --- The rows ------------------------------------------------------------
    struct Row {
        const Line* start = nullptr;
        int reference_y = 0;
        int height = 0;
        bool expandable = false;
        bool expanded = false;
    };

    int row_index(const Line* start) const {
        refresh();
        const auto it = index_.find(start);
        return it == index_.end() ? -1 : it->second;
    }
    const Row* row(const Line* start) const {
        const int index = row_index(start);
        return index < 0 ? nullptr : &rows_[static_cast<std::size_t>(index)];
    }
    int selected_row() const {
        refresh();
        if (!form()->has_strings()) return -1;
        const Line* selected = form()->strings().selected();
        while (selected && !starts_row(*selected)) selected = selected->previous;
        return selected ? row_index(selected) : -1;
    }
    int level(const Line* start) const {
        refresh();
        return depth_of(start->kind) - (classes_shown_ ? 0 : 1);
    }
    QString row_name(const Line* start) const {
        return form()->has_strings() ? list_accessibility::row_text(form()->strings(), *start)
                                     : QString();
    }

    QAccessibleInterface* item(const Line* start) const {
        auto it = items_.find(start);
        if (it == items_.end()) {
            auto* row = new TListRowAccessible(const_cast<TListTreeAccessible*>(this), start);
            it = items_.emplace(start, QAccessible::registerAccessibleInterface(row)).first;
        }
        return QAccessible::accessibleInterface(it->second);
    }

    // Tells the readers what changed since the rows were last looked at:
    // rows gone, rows come, rows folded or unfolded.
    void announce_changes() {
        const std::vector<Row> before = rows_;
        refresh();
        for (auto it = items_.begin(); it != items_.end();) {
            if (index_.count(it->first) != 0) {
                ++it;
                continue;
            }
            QAccessibleInterface* gone = QAccessible::accessibleInterface(it->second);
            if (gone) {
                QAccessibleEvent event(gone, QAccessible::ObjectDestroyed);
                QAccessible::updateAccessibility(&event);
            }
            QAccessible::deleteAccessibleInterface(it->second);
            it = items_.erase(it);
        }
        std::unordered_map<const Line*, const Row*> old;
        for (const Row& r : before) old.emplace(r.start, &r);
        for (const Row& r : rows_) {
            const auto was = old.find(r.start);
            if (was == old.end()) {
                QAccessibleEvent event(item(r.start), QAccessible::ObjectCreated);
                QAccessible::updateAccessibility(&event);
            } else if (was->second->expanded != r.expanded) {
                QAccessible::State changed;
                changed.expanded = true;
                changed.collapsed = true;
                QAccessibleStateChangeEvent event(item(r.start), changed);
                QAccessible::updateAccessibility(&event);
            }
        }
    }

    void refresh() const {
        const TShowStrings* strings = form()->has_strings() ? &form()->strings() : nullptr;
        const int version = strings ? strings->lines_version() : -1;
        if (strings == strings_ && version == version_) return;
        strings_ = strings;
        version_ = version;
        rows_.clear();
        index_.clear();
        classes_shown_ = false;
        if (!strings) return;
        int y = 0;
        for (const Line* l = strings->model().first_line(); l; l = l->next) {
            y += l->advance;
            if (l->kind == kClassTitle) classes_shown_ = true;
            if (starts_row(*l)) {
                if (!rows_.empty()) rows_.back().height = y - l->advance - rows_.back().reference_y;
                rows_.push_back({l, y, 0, false, false});
            }
            if (is_toggle(l->kind)) {
                const int bitmap = strings->bitmap_index(*l);
                // A species with nothing to unfold shows no sign and does not fold.
                rows_.back().expandable = bitmap != 0 && bitmap != 5;
                rows_.back().expanded = rows_.back().expandable && l->open;
            }
        }
        if (!rows_.empty()) rows_.back().height = strings->model().line_height();
        // Rows without a text, a sign or a button (spacers, a picture's row)
        // say nothing and are left out.
        std::erase_if(rows_, [this](const Row& r) {
            return !r.expandable && button_widget_of(r.start) == nullptr &&
                   row_name(r.start).trimmed().isEmpty();
        });
        for (std::size_t i = 0; i < rows_.size(); ++i)
            index_.emplace(rows_[i].start, static_cast<int>(i));
    }

  private:
    mutable const TShowStrings* strings_ = nullptr;
    mutable int version_ = -1;
    mutable std::vector<Row> rows_;
    mutable std::unordered_map<const Line*, int> index_;
    mutable std::unordered_map<const Line*, QAccessible::Id> items_;
    mutable bool classes_shown_ = false;
};

bool TListRowAccessible::isValid() const {
    return tree_->isValid() && tree_->row_index(start_) >= 0;
}

QWindow* TListRowAccessible::window() const {
    return tree_->window();
}

QAccessibleInterface* TListRowAccessible::parent() const {
    return tree_;
}

QAccessibleInterface* TListRowAccessible::child(int index) const {
    if (index != 0 || !isValid()) return nullptr;
    QWidget* button = button_widget_of(start_);
    return button ? QAccessible::queryAccessibleInterface(button) : nullptr;
}

int TListRowAccessible::childCount() const {
    return isValid() && button_widget_of(start_) ? 1 : 0;
}

int TListRowAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child && childCount() == 1 && child->object() == button_widget_of(start_) ? 0 : -1;
}

QAccessibleInterface* TListRowAccessible::focusChild() const {
    QWidget* button = isValid() ? button_widget_of(start_) : nullptr;
    return button && button->hasFocus() ? QAccessible::queryAccessibleInterface(button) : nullptr;
}

QString TListRowAccessible::text(QAccessible::Text t) const {
    if (!isValid()) return {};
    switch (t) {
        case QAccessible::Name:
            return tree_->row_name(start_);
        case QAccessible::Description:
            return QStringLiteral("Level %1").arg(tree_->level(start_));
        default:
            return {};
    }
}

QRect TListRowAccessible::rect() const {
    const TListTreeAccessible::Row* row = isValid() ? tree_->row(start_) : nullptr;
    if (!row) return {};
    TShowForm* form = tree_->form();
    QWidget* view = form->viewport();
    const int x = start_->indent != 0 ? start_->indent : start_->drawn_x;
    const QPoint topLeft(x - form->horizontalScrollBar()->value(),
                         row->reference_y - form->verticalScrollBar()->value());
    const QRect local(topLeft, QSize(std::max(1, view->width() - topLeft.x()),
                                     std::max(1, row->height)));
    return QRect(view->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State TListRowAccessible::state() const {
    QAccessible::State s;
    const TListTreeAccessible::Row* row = isValid() ? tree_->row(start_) : nullptr;
    if (!row) {
        s.invalid = true;
        return s;
    }
    s.focusable = true;
    s.selectable = true;
    s.expandable = row->expandable;
    s.expanded = row->expandable && row->expanded;
    s.collapsed = row->expandable && !row->expanded;
    const bool current = tree_->selected_row() == tree_->row_index(start_);
    s.selected = current;
    s.focused = current && tree_->form()->hasFocus();
    const QRect shown = tree_->form()->viewport()->rect();
    const QRect mine = rect();
    // Rows scrolled out of view are there all the same: readers walk them.
    s.offscreen = !shown.intersects(
        QRect(tree_->form()->viewport()->mapFromGlobal(mine.topLeft()), mine.size()));
    return s;
}

QAccessibleInterface* make_interface(const QString& className, QObject* object) {
    if (className == QLatin1String("TShowForm"))
        return new TListTreeAccessible(static_cast<TShowForm*>(object));
    return sound_bar_accessibility::make_interface(className, object);
}

TListTreeAccessible* tree_of(TShowForm& form) {
    if (!QAccessible::isActive()) return nullptr;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&form);
    return iface && iface->role() == QAccessible::Tree ? static_cast<TListTreeAccessible*>(iface)
                                                        : nullptr;
}

}  // namespace

namespace list_accessibility {

void install() {
    static const bool installed = [] {
        QAccessible::installFactory(&make_interface);
        return true;
    }();
    (void)installed;
}

QString row_text(const TShowStrings& list, const TRecordShowStringData& rowStart) {
    QString text;
    for (const Line* l = &rowStart; l && (l == &rowStart || !starts_row(*l)); l = l->next) {
        if (is_bitmap(l->kind) || l->kind == kRecordingButton || l->kind == kThumbnail) continue;
        QString part = GLB_without_codes(list.model().display_text(*l));
        part.replace(u'\n', u' ').replace(u'\r', u' ');
        if (part.trimmed().isEmpty()) continue;
        if (!text.isEmpty() && !text.endsWith(u' ')) text += u' ';
        text += part;
    }
    return text.simplified();
}

void selection_moved(TShowForm& form) {
    TListTreeAccessible* tree = tree_of(form);
    if (!tree) return;
    QAccessibleInterface* current = tree->focusChild();
    if (!current) return;
    // A recording's row gives the keyboard to its button, which speaks for itself.
    if (form.hasFocus()) {
        QAccessibleEvent focus(current, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
    QAccessibleEvent selection(current, QAccessible::Selection);
    QAccessible::updateAccessibility(&selection);
}

void lines_changed(TShowForm& form) {
    if (TListTreeAccessible* tree = tree_of(form)) tree->announce_changes();
}

QString recording_description(QWidget* button) {
    const QAccessibleInterface* row = row_of_button(button);
    if (!row) return {};
    const Line* start = static_cast<const TListRowAccessible*>(row)->start();
    const TShowStrings& list = static_cast<const TListTreeAccessible*>(row->parent())->form()->strings();
    QStringList parts;
    for (const Line* l = start; l && (l == start || !starts_row(*l)); l = l->next)
        if (l->kind == kDescription || l->kind == kAudioCD)
            parts << GLB_without_codes(list.model().display_text(*l)).replace(u'\n', u' ').simplified();
    parts.removeAll(QString());
    return parts.join(u' ');
}

QAccessibleInterface* row_of_button(QWidget* button) {
    TShowForm* form = nullptr;
    for (QWidget* w = button ? button->parentWidget() : nullptr; w && !form; w = w->parentWidget())
        form = qobject_cast<TShowForm*>(w);
    if (!form || !form->has_strings()) return nullptr;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(form);
    if (!iface || iface->role() != QAccessible::Tree) return nullptr;
    auto* tree = static_cast<TListTreeAccessible*>(iface);
    for (int i = 0, n = tree->childCount(); i < n; ++i) {
        auto* row = static_cast<TListRowAccessible*>(tree->child(i));
        if (button_widget_of(row->start()) == button) return row;
    }
    return nullptr;
}

}  // namespace list_accessibility
