#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The one Find dialog of the program: a text and "search from the top".
class TFindInShowStringsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TFindInShowStringsDialog(QWidget* parent = nullptr);

    // Shows the dialog modally with the text (all selected) and the flag; on
    // OK copies both back and returns true.
    bool run(QString& text, bool& fromTop);

    // The two halves of run, for callers that show the dialog themselves.
    void load(const QString& text, bool fromTop);
    void store(QString& text, bool& fromTop) const;

    QLineEdit* Edit_control = nullptr;
    QCheckBox* CheckBox_search_from_top = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
};
