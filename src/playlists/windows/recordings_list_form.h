#pragma once

// The "What was that?" window of a list window: the recent list as text.

#include <QWidget>

class QPlainTextEdit;
class TRecordingsAndOrPicturesList;

class TRecordingsAndOrPicturesListForm : public QWidget {
    Q_OBJECT
  public:
    TRecordingsAndOrPicturesListForm(TRecordingsAndOrPicturesList& list, QWidget* parent);
    void refill();
    void copy_to_clipboard();
    QPlainTextEdit* memo;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    TRecordingsAndOrPicturesList& list_;
};
