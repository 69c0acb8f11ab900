#pragma once

// Whether the key (a Qt::Key) is held down now.
bool GLB_key_down(int qtKey);
