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

    // The credit paragraphs broken into at most `lines` rows of `width`
    // pixels. When they do not all fit, each paragraph keeps a fair share of
    // the rows and a cut one ends with an ellipsis, so a long list of
    // recordists never hides the photographers or runs under the hint.
    static QStringList fitted_credit_rows(const QStringList& credits, const QFont& font, int width,
                                          int lines);

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
