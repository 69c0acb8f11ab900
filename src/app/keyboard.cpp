#include "app/keyboard.h"

#include "platform/desktop.h"

bool GLB_key_down(int qtKey) {
    return platform::isKeyDown(qtKey);
}
