#pragma once

#include <QString>

// Plugs help, readme, the recent-info page, About
// and the introduction into the list windows. Called once at start, before
// the first list window is made.
void GLB_install_information_windows();

// The readme beside the program ("Readme.html", "Readme.txt" or
// "Readme.wri"); empty when the edition ships none.
QString GLB_readme_path();
