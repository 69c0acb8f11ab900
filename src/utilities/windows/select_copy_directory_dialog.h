#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks where the copy of the disc goes: the folder, with the space the copy
// needs and the space free on the folder's drive. Its twelve texts are the
// section "COPY_TO_HARD_DISK_SELECT_DIR_DIALOG".
class TSelectCopyDirectoryDialog : public QDialog {
    Q_OBJECT
  public:
    enum Text {
        kCaption,
        kExplanation,
        kNeeded,
        kFree,
        kMegabytes,
        kFolder,
        kBrowse,
        kOk,
        kCancel,
        kBrowseCaption,
        kNoFolder,
        kTooLittleRoom,
        kTextCount
    };

    TSelectCopyDirectoryDialog(const QStringList& texts, const QString& defaultDirectory,
                               qint64 neededMegabytes, QWidget* parent = nullptr);

    // Free bytes where a folder would be made (replaceable by tests).
    std::function<qint64(const QString&)> free_bytes;

    QString directory() const;
    void set_directory(const QString& directory);
    QLineEdit* folder_edit() const { return folder_edit_; }
    QLabel* free_label() const { return free_label_; }
    QLabel* warning_label() const { return warning_label_; }
    QPushButton* ok_button() const { return ok_button_; }
    QPushButton* browse_button() const { return browse_button_; }

    void accept() override;

    // Shows the dialog modally; the chosen folder, or nothing on cancel.
    static std::optional<QString> choose(const QStringList& texts,
                                         const QString& defaultDirectory,
                                         qint64 neededMegabytes);

  private:
    QString text(Text which) const;
    void update_free_space();
    void browse();

    QStringList texts_;
    qint64 needed_megabytes_;
    QLineEdit* folder_edit_ = nullptr;
    QLabel* free_label_ = nullptr;
    QLabel* warning_label_ = nullptr;
    QPushButton* ok_button_ = nullptr;
    QPushButton* browse_button_ = nullptr;
};
