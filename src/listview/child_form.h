#pragma once

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;

// A list window: the main window of the program or one of its further list
// windows, with the common menu and the status bar.
class TChildForm : public QMainWindow {
    Q_OBJECT
  public:
    explicit TChildForm(bool secondary, QWidget* parent = nullptr);

    bool is_secondary() const { return secondary_; }
    QAction* menu_action(int menuLine) const;  // by its line in "MENUS", from 1
    void set_caption_panel_text(const QString& text);
    void set_cd_status_text(const QString& text);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void create_menus();
    void layout_status_panels();

    bool secondary_;
    QList<QAction*> actions_;  // index = line of "MENUS" - 1
    QLabel* caption_panel_ = nullptr;
    QLabel* cd_status_panel_ = nullptr;
};
