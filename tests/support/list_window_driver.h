#pragma once

// Drives a list window in widget tests as a user would: finds its lines,
// clicks their fold toggles and paints, so that recording buttons exist.

#include "listview/windows/child_form.h"
#include "listview/list_bitmaps.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QtTest>

namespace testing_support {

class ListWindowDriver {
  protected:
    TChildForm* main_ = nullptr;

    TShowForm& form() { return *main_->list_form(); }
    TShowStrings& list() { return form().strings(); }
    void repaint() {
        form().viewport()->repaint();
        QCoreApplication::processEvents();
    }
    // The n-th line (from 1) of a kind in the list as it stands.
    TRecordShowStringData* nth(int kind, int n) {
        for (auto* l = list().model().first_line(); l; l = l->next)
            if (l->kind == kind && --n == 0) return l;
        return nullptr;
    }
    void clickToggle(TRecordShowStringData* toggle) {
        const TListBitmap& bitmap = TListBitmaps::at(list().bitmap_index(*toggle));
        const QPoint p = QPoint(toggle->drawn_x, list().reference_y_of(*toggle)) + bitmap.offset +
                         QPoint(bitmap.size.width() / 2, bitmap.size.height() / 2) -
                         QPoint(0, form().verticalScrollBar()->value());
        QTest::mouseClick(form().viewport(), Qt::LeftButton, {}, p);
        repaint();
    }
};

}  // namespace testing_support
