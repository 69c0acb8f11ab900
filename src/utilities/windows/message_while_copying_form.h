#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;
class TCopyFilesToHardDiskThread;

// The modal progress window of the copy. It starts the copy thread, shows
// each file the thread reports, and asks before it lets the user stop the
// copy; while it asks, the copy waits.
class TMessageWhileCopyingForm : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kRefreshMilliseconds = 50;

    TMessageWhileCopyingForm(TCopyFilesToHardDiskThread& thread, int fileCount,
                             QWidget* parent = nullptr);

    bool finished() const { return finished_; }
    bool succeeded() const { return success_; }
    bool failed() const { return failure_; }
    int files_reported() const { return files_reported_; }

    QLabel* explanation_label() const { return label_1_; }
    QLabel* file_label() const { return label_2_; }
    QProgressBar* progress_bar() const { return progress_bar_; }
    QPushButton* cancel_button() const { return cancel_button_; }

    // The text label 2 shows for a file: the prefix and the path, the path
    // shortened when the text would need more than four of its lines.
    QString file_text_for(const QString& path) const;

    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void copy_ended(bool success, const QString& errorMessage);
    void refresh();

    TCopyFilesToHardDiskThread& thread_;
    bool finished_ = false;
    bool success_ = false;
    bool failure_ = false;
    bool started_ = false;
    int files_reported_ = 0;
    QString current_file_;
    QString copying_prefix_;
    QLabel* label_1_ = nullptr;
    QLabel* label_2_ = nullptr;
    QProgressBar* progress_bar_ = nullptr;
    QPushButton* cancel_button_ = nullptr;
    QTimer refresh_timer_;
};
