#include "app/messages.h"

#include "app/globals.h"
#include "platform/dialog_service.h"

int GLB_show_message(const QString& text, int style) {
    return platform::DialogService::message(text, GLB().message_box_caption, style);
}

void GLB_fatal_message(const QString& text) {
    platform::DialogService::fatal(text, GLB().message_box_caption);
}
