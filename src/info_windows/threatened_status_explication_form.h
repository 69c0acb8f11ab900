#pragma once

#include "info_windows/small_information_form.h"

#include <QStringList>

// What the threatened statuses shown in the list mean, and where they come
// from.
class TThreatenedStatusExplicationForm : public TFormWithUnderlinedItems {
    Q_OBJECT
  public:
    explicit TThreatenedStatusExplicationForm(QWidget* host);
    // `labels`: the status names as the list shows them.
    void show_statuses(const QStringList& labels, QPoint at);
    QString text() const { return text_; }

  protected:
    void paint_text(TTextCanvas& canvas) override;

  private:
    QString text_;
};
