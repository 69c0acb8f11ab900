#include "platform/windows/widget_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace platform {
namespace {

QMessageBox::Icon iconOf(int style) {
    switch (style & box::IconMask) {
        case box::IconStop:
            return QMessageBox::Critical;
        case box::IconQuestion:
            return QMessageBox::Question;
        case box::IconWarning:
            return QMessageBox::Warning;
        case box::IconInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonSpec> buttonsOf(int style) {
    switch (style & box::ButtonsMask) {
        case box::OkCancel:
            return {{QMessageBox::Ok, answer::Ok}, {QMessageBox::Cancel, answer::Cancel}};
        case box::YesNoCancel:
            return {{QMessageBox::Yes, answer::Yes},
                    {QMessageBox::No, answer::No},
                    {QMessageBox::Cancel, answer::Cancel}};
        case box::YesNo:
            return {{QMessageBox::Yes, answer::Yes}, {QMessageBox::No, answer::No}};
        default:
            return {{QMessageBox::Ok, answer::Ok}};
    }
}

// A dialog belongs to the window the user works in (a modal one first):
// the window manager keeps it above that window and the windows it owns.
QWidget* dialogParent() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

// A dialog asked while a stay-on-top window shows (a progress window) must
// not open hidden behind it.
bool stayOnTopWindowShowing() {
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return true;
    return false;
}

void keepAboveStayOnTopWindows(QWidget& dialog) {
    if (stayOnTopWindowShowing()) dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
}

std::optional<QString> runFileDialog(QFileDialog& dialog) {
    keepAboveStayOnTopWindows(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString file = dialog.selectedFiles().constFirst();
    if (file.isEmpty()) return std::nullopt;
    return file;
}

}  // namespace

int WidgetDialogs::message(const MessageRequest& request) {
    QMessageBox box(iconOf(request.style), request.caption, request.text, QMessageBox::NoButton,
                    dialogParent());
    keepAboveStayOnTopWindows(box);
    const auto buttons = buttonsOf(request.style);
    for (const auto& entry : buttons) box.addButton(entry.button);
    const size_t defaultIndex = std::min<size_t>(
        static_cast<size_t>((request.style & box::DefaultMask) >> 8), buttons.size() - 1);
    box.setDefaultButton(buttons[defaultIndex].button);
    if (buttons.size() > 1) box.setEscapeButton(buttons.back().button);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto& entry : buttons)
        if (entry.button == clicked) return entry.answer;
    return buttons.size() > 1 ? answer::Cancel : answer::Ok;
}

std::optional<QString> WidgetDialogs::chooseDirectory(const QString& caption,
                                                      const QString& startDirectory) {
    QFileDialog dialog(dialogParent(), caption, startDirectory);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return runFileDialog(dialog);
}

std::optional<QString> WidgetDialogs::openFileName(const FileRequest& request) {
    QFileDialog dialog(dialogParent(), request.caption, request.directory, request.filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runFileDialog(dialog);
}

std::optional<QString> WidgetDialogs::saveFileName(const FileRequest& request) {
    QFileDialog dialog(dialogParent(), request.caption, request.directory, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return runFileDialog(dialog);
}

std::optional<QString> WidgetDialogs::inputText(const QString& caption, const QString& prompt,
                                                const QString& initial) {
    QInputDialog dialog(dialogParent());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    keepAboveStayOnTopWindows(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

void WidgetDialogs::beep() {
    QApplication::beep();
}

}  // namespace platform
