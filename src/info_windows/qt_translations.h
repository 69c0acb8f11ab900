#pragma once

enum class TLanguage;

// Qt's own words (the buttons of message boxes, the file and folder dialogs)
// in the interface language, from Qt's translations installed on the system.
// English, or a language whose translations are missing, leaves Qt's English.
// True when a translation is in use.
bool GLB_load_qt_translations(TLanguage language);
// The same for the running edition's interface language.
bool GLB_load_qt_translations();
