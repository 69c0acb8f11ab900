#pragma once

#include "playlists/make_all_mp3s.h"
#include "playlists/recording_tag_texts.h"

#include <QTimer>
#include <QWidget>
#include <memory>

class QPushButton;

// The window of "Make mp3s": runs the whole job from its timer, one
// recording per tick, and shows progress, folder and failures.
class TMakeAllMP3FilesForm : public QWidget {
    Q_OBJECT
  public:
    // The job copies with the given copier; by default the MP3 copy of one
    // recording with the list's tag texts.
    TMakeAllMP3FilesForm(const Tdata& data, int order,
                         const TClassVisibleSpeciesAndRecordings& visible,
                         std::unique_ptr<TTagTextProvider> texts, QWidget* parent = nullptr,
                         TMakeAllMP3sJob::Copier copier = {});
    ~TMakeAllMP3FilesForm() override;

    void start();
    const TMakeAllMP3sJob& job() const { return job_; }
    QPushButton* cancel_button() const { return cancel_button_; }

    QTimer timer;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void on_timer();
    // Word-wraps the text and places the button under it.
    QString laid_out_text();

    std::unique_ptr<TTagTextProvider> texts_;
    std::unique_ptr<TClassVisibleSpeciesAndRecordings> visible_;
    TMakeAllMP3sJob job_;
    QPushButton* cancel_button_;
};

// Opens the window over a list's visible species and playable recordings.
void GLB_open_make_all_mp3_files_form(const Tdata& data, int order,
                                      const TClassVisibleSpeciesAndRecordings& visible,
                                      std::unique_ptr<TTagTextProvider> texts, QWidget* parent);
