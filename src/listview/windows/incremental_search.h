#pragma once

#include "listview/name_search.h"

#include <QFrame>

class QKeyEvent;
class QLineEdit;
class QListWidget;
class TChildForm;

// The line a list window opens over its list when the user starts typing
// (or presses Ctrl+K): the names that hold what is typed are suggested as
// each letter comes, the taxa the window shows only; Enter (or a click)
// unfolds the family and selects the name, Esc closes.
class TIncrementalSearchBox : public QFrame {
    Q_OBJECT
  public:
    TIncrementalSearchBox(TChildForm& window, const TNameSearchIndex& index);

    // Shows the box over the list with the text typed so far.
    void open(const QString& typed);
    // Takes the suggestion of a row (the current one with -1) to the list;
    // false when there was none.
    bool pick(int row = -1);

    QLineEdit& line() { return *edit_; }
    QListWidget& suggestions() { return *list_; }
    // The entry a row of the suggestions stands for.
    const TNameSearchIndex::Entry* entry_at(int row) const;

    // Whether a key typed in the list begins a search: a letter or digit
    // without Ctrl, Alt or Meta.
    static bool starts_search(const QKeyEvent& event);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void update_suggestions();
    void place();

    TChildForm& window_;
    const TNameSearchIndex& index_;
    QLineEdit* edit_;
    QListWidget* list_;
    std::vector<const TNameSearchIndex::Entry*> shown_;
};
