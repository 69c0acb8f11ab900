#pragma once

#include <QDialog>

class QTextBrowser;

// The edition's title and version, the people whose recordings and
// photographs it holds, and the licences of what the program is built on.
class TAboutForm : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutForm(QWidget* parent = nullptr);
    QString text() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QTextBrowser* page_ = nullptr;
};
