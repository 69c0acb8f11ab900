#pragma once

#include "learning/quiz.h"

#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class TMCIDevicePlayer;
class TSmallPictureSource;
class TSonogramView;
namespace sonogram {
class Cache;
}

// The retention of the answers day by day, as bars.
class TQuizRetentionChart : public QWidget {
    Q_OBJECT
  public:
    explicit TQuizRetentionChart(QWidget* parent = nullptr);
    void set_days(std::vector<TQuizProgress::Day> days);
    const std::vector<TQuizProgress::Day>& days() const { return days_; }
    QSize sizeHint() const override { return {420, 180}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<TQuizProgress::Day> days_;
};

// What the quiz window uses of the program; an empty member does without.
struct TQuizWindowServices {
    sonogram::Cache* sonograms = nullptr;
    TSmallPictureSource* small_pictures = nullptr;
    QString log_path;  // the edition's log; empty: the user-files folder's
    TQuizSession::Clock clock;
};

// The listening quiz over a list window's species: choose the scope, hear
// a recording, answer by a button or by typing, see right or wrong with
// the species' picture and the recording's sonogram; the progress page
// counts the cards and charts the retention.
class TQuizWindow : public QWidget {
    Q_OBJECT
  public:
    enum class Mode { Buttons, Typing };

    TQuizWindow(TQuizWindowServices services, const TClassVisibleSpeciesAndRecordings& filter,
                int order, QWidget* parent = nullptr);
    ~TQuizWindow() override;

    TQuizSession* session() const { return session_.get(); }
    // Starts a new sitting over the scope at that place of the scope box.
    void choose_scope(int index);
    QComboBox& scope_box() const { return *scope_box_; }
    void set_mode(Mode mode);
    // The four name buttons, in their places.
    const std::vector<QPushButton*>& choice_buttons() const { return choices_; }
    QLineEdit& typed_answer() const { return *typed_; }
    QPushButton& answer_button() const { return *answer_button_; }
    QPushButton& next_button() const { return *next_; }
    QPushButton& play_again_button() const { return *play_again_; }
    QLabel& verdict() const { return *verdict_; }
    QLabel& notes() const { return *notes_; }
    TSonogramView& sonogram_view() const { return *sonogram_; }
    TQuizRetentionChart& chart() const { return *chart_; }
    QTabWidget& tabs() const { return *tabs_; }
    QString progress_text() const;
    // The question on screen, until the next one.
    const std::optional<TQuizQuestion>& question() const { return question_; }
    bool playing() const;

    void next_question();
    void play();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void build();
    void fill_scopes();
    void answered(const TQuizResult& result);
    void show_picture(const Tspecies* species);
    void refresh_progress();
    void show_notes();
    void stop();
    void tick();

    TQuizWindowServices services_;
    TClassVisibleSpeciesAndRecordings filter_;
    int order_;
    std::unique_ptr<TQuizLog> log_;
    std::unique_ptr<TQuizSession> session_;
    std::optional<TQuizQuestion> question_;
    std::unique_ptr<TMCIDevicePlayer> player_;
    QTimer playhead_timer_;
    Mode mode_ = Mode::Buttons;
    int question_number_ = 0;
    bool damage_told_ = false;

    QComboBox* scope_box_ = nullptr;
    QComboBox* mode_box_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLabel* prompt_ = nullptr;
    QPushButton* play_again_ = nullptr;
    QStackedWidget* answer_stack_ = nullptr;
    std::vector<QPushButton*> choices_;
    QLineEdit* typed_ = nullptr;
    QPushButton* answer_button_ = nullptr;
    QLabel* verdict_ = nullptr;
    QLabel* picture_ = nullptr;
    TSonogramView* sonogram_ = nullptr;
    QPushButton* next_ = nullptr;
    QLabel* notes_ = nullptr;
    QLabel* counts_ = nullptr;
    TQuizRetentionChart* chart_ = nullptr;
};
