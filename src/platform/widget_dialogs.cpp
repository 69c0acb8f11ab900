#include "platform/widget_dialogs.h"

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

QWidget* dialogParent() {
    return QApplication::activeWindow();
}

// A box asked while a stay-on-top window shows (the playlist window, the
// recent list) must not open hidden behind it.
bool stayOnTopWindowShowing() {
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return true;
    return false;
}

}  // namespace

int WidgetDialogs::message(const MessageRequest& request) {
    QMessageBox box(iconOf(request.style), request.caption, request.text, QMessageBox::NoButton,
                    dialogParent());
    if (stayOnTopWindowShowing()) box.setWindowFlag(Qt::WindowStaysOnTopHint);
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
    const QString dir = QFileDialog::getExistingDirectory(dialogParent(), caption, startDirectory);
    if (dir.isEmpty()) return std::nullopt;
    return dir;
}

std::optional<QString> WidgetDialogs::openFileName(const FileRequest& request) {
    const QString file = QFileDialog::getOpenFileName(dialogParent(), request.caption,
                                                      request.directory, request.filter);
    if (file.isEmpty()) return std::nullopt;
    return file;
}

std::optional<QString> WidgetDialogs::saveFileName(const FileRequest& request) {
    const QString file = QFileDialog::getSaveFileName(dialogParent(), request.caption,
                                                      request.directory, request.filter);
    if (file.isEmpty()) return std::nullopt;
    return file;
}

std::optional<QString> WidgetDialogs::inputText(const QString& caption, const QString& prompt,
                                                const QString& initial) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(dialogParent(), caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}

void WidgetDialogs::beep() {
    QApplication::beep();
}

}  // namespace platform
