#pragma once

// The one playlist window: a grid of recordings dragged in from the lists,
// the between-sounds options, the playlist files and the playlist show.

#include "playlists/audio_cd_preparation.h"
#include "playlists/show_steps.h"
#include "playlists/playlist.h"
#include "listview/windows/child_form.h"

#include <QPointer>
#include <QTableWidget>
#include <QWidget>
#include <memory>

class QAction;
class QCheckBox;
class QMenuBar;
class QPushButton;
class QTextEdit;

class TPlaySoundOptionsFrame;
class SHST_TClassShowStringsData;
class TShowRecordingSource;

// The grid: drops of recording buttons, Delete, and rows moved by dragging
// their number.
class TPlayListGrid : public QTableWidget {
    Q_OBJECT
  public:
    explicit TPlayListGrid(QWidget* parent);

  signals:
    void recording_dropped(const TPlayListInfo& entry);
    void delete_pressed();
    void row_moved(int from, int to);  // rows from 1

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int pressed_row_ = -1;
};

class TPlayListForm : public QWidget, public TPlayListSource {
    Q_OBJECT
  public:
    // `writer` makes the audio-CD preparation's MP3 files (none: the command
    // does nothing); the playlist show plays what `recordings` gives.
    TPlayListForm(TAudioCDFileWriter* writer, TShowRecordingSource& recordings,
                  QWidget* parent = nullptr);
    ~TPlayListForm() override;

    TPlayList& list() { return list_; }
    // Adds an entry (repeat count 1) at the end and scrolls it into view.
    void add_entry(const TPlayListInfo& entry);
    // Asks to save a changed list; false when the caller must stop.
    bool is_there_unsaved_work();
    // Shows the window; the saved rectangle only when opened at start.
    void show_window(bool atStartup);
    // The show window closed.
    void playing_ended();
    bool playing() const { return show_window_ != nullptr; }
    std::optional<TNextRecording> next_recording() override;
    // The rectangle and the options into section "PLAYLISTS".
    void write_settings() const;

    // Menu commands.
    void new_list();
    bool open_list();
    bool open_file(const QString& path);
    bool save();
    bool save_as();
    void copy_to_clipboard();
    void prepare_for_audio_cd();
    void play_or_stop();

    TPlayListGrid* grid;
    TPlaySoundOptionsFrame* BetweenSoundsOptionsFrame;
    QCheckBox* CheckBox_endless_loop;
    QCheckBox* CheckBox_start_playing_at_selected_recording;
    QPushButton* Button_play_or_stop;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void create_menus();
    void refresh_texts();
    void refresh_caption();
    void set_playing(bool playing);
    void lay_out();
    void take_loaded(const TPlayListLoadResult& result);
    void after_rows_changed();
    bool save_to(const QString& path);
    void repeat_edited(int row, int column);
    void fit_columns();
    int number_column_width() const;
    int repeat_column_width() const;
    static constexpr int kMinimumTitleWidth = 50;
    TTaxonNaming naming() const;
    void refresh_list_state();

    TAudioCDFileWriter* writer_;
    TShowRecordingSource& recordings_;
    TPlayList list_;
    std::unique_ptr<SHST_TClassShowStringsData> list_state_;
    QMenuBar* MainMenu;
    QAction* new_list_menu_item;
    QAction* open_list_menu_item;
    QAction* save_menu_item;
    QAction* save_as_menu_item;
    QAction* copy_to_clipboard_menu_item;
    QAction* prepare_for_audio_CD_menu_item;
    QAction* help_menu_item;
    QString dialog_folder_;
    QPointer<TChildForm> show_window_;
    bool filling_ = false;
    bool fitting_columns_ = false;
    bool columns_sized_by_user_ = false;
    bool growing_ = false;
};
