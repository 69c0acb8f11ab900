#pragma once

#include "learning/compare_set.h"
#include "listview/windows/sound_bar.h"
#include "sound/listening_choice.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QScrollBar;
class QSpacerItem;
class QVBoxLayout;
class TClassSoundCarriersUseSpecification;
class Tsound_bar;
class TSonogramView;
namespace sonogram {
class Cache;
}

// The comparison window: up to six recordings, their sonograms stacked on
// one time and frequency scale (the wheel, Ctrl+wheel, + and - on any of
// them zoom all, the bar below scrolls all), each with its species, its
// label and its own recording button; "Play in turn" plays them one after
// the other with a pause between. The set is saved to and opened from a
// small file in the user-files folder.
class TCompareWindow : public QWidget, public TListeningHost {
    Q_OBJECT
  public:
    // The recordings play as the list windows' settings allow (the carriers
    // asked when a recording comes in); the sonograms come from the cache.
    using Carriers = std::function<TClassSoundCarriersUseSpecification()>;
    TCompareWindow(sonogram::Cache& cache, Carriers carriers, QWidget* parent = nullptr);
    ~TCompareWindow() override;

    static constexpr int kPauseBetweenMs = 1000;

    // "Add to comparison": shows the window with the recording added; a
    // seventh is refused with a message. True when added.
    bool add(const Tcupaitem& recording);
    void remove(int row);
    const TComparisonSet& set() const { return set_; }
    int rows() const { return static_cast<int>(rows_.size()); }
    TSonogramView& view(int row);
    Tsound_bar& button(int row);
    const TSharedScale& scale() const { return scale_; }
    QScrollBar& time_bar() { return *time_bar_; }

    // "Play in turn" and its end.
    void play_in_turn();
    void stop();
    bool playing_in_turn() const { return turn_ >= 0; }
    int turn() const { return turn_; }

    // "Save set..." and "Open set..." (file names asked through the dialogs);
    // true when done.
    bool save_set();
    bool open_set();
    // Opens a set's file: a damaged one is said once and put aside, a
    // missing recording is named and left out.
    bool open_set_file(const QString& path);

    // How the rows are heard: the listening tools as on a sonogram panel.
    // A band Shift+dragged on any row applies to every row; a loop plays
    // the whole recording.
    const TListeningChoice& listening() const { return listening_; }
    void choose(TListeningChoice::Choice choice);
    void apply_listening(Tsound_bar& bar) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    struct Row;
    void add_row(const Tcupaitem& recording);
    void clear_rows();
    void apply_scale(const TSonogramView* except = nullptr);
    void update_limits();
    void poll();
    void start_turn(int row);
    void update_buttons();
    void align_sides();
    void listening_changed();

    sonogram::Cache& cache_;
    Carriers carriers_;
    TComparisonSet set_;
    TSharedScale scale_;
    std::vector<std::unique_ptr<Row>> rows_;
    QVBoxLayout* rows_layout_;
    QLabel* empty_note_;
    QScrollBar* time_bar_;
    QSpacerItem* bottom_spacer_ = nullptr;
    QPushButton* play_button_;
    QPushButton* stop_button_;
    QPushButton* save_button_;
    QTimer poll_;
    QTimer pause_;
    TListeningChoice listening_;
    QLabel* listening_label_ = nullptr;
    int turn_ = -1;          // the row playing in turn; -1 when not
    bool turn_started_ = false;
};
