#pragma once

#include "info_windows/windows/small_information_form.h"

#include <QStringList>

// What the threatened statuses shown in the list mean, and where they come
// from.
class TThreatenedStatusExplicationForm : public TLinkedTextForm {
    Q_OBJECT
  public:
    explicit TThreatenedStatusExplicationForm(QWidget* host);
    // `labels`: the status names as the list shows them.
    void show_statuses(const QStringList& labels, QPoint at);
};
