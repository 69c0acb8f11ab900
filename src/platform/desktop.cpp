#include "platform/desktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

namespace platform {

bool openWithAssociatedProgram(const QString& documentOrAddress) {
    const QUrl url = QFileInfo::exists(documentOrAddress)
                         ? QUrl::fromLocalFile(QFileInfo(documentOrAddress).absoluteFilePath())
                         : QUrl::fromUserInput(documentOrAddress);
    return QDesktopServices::openUrl(url);
}

bool isKeyDown(int qtKey) {
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    switch (qtKey) {
        case Qt::Key_Shift:
            return mods.testFlag(Qt::ShiftModifier);
        case Qt::Key_Control:
            return mods.testFlag(Qt::ControlModifier);
        case Qt::Key_Alt:
            return mods.testFlag(Qt::AltModifier);
        default:
            return false;
    }
}

}  // namespace platform
