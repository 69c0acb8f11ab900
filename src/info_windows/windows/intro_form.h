#pragma once

#include <QDialog>
#include <QImage>

// The window that greets the user at start: the edition's picture, its title
// and the people whose recordings and photographs it holds. A click or a key
// closes it.
class TIntroForm : public QDialog {
    Q_OBJECT
  public:
    explicit TIntroForm(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QImage picture_;
    QString title_;
    QStringList credits_;
    QString hint_;
};
