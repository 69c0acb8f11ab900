#pragma once

#include <QString>

struct TListWindowCommands;

// Help, readme, the recent-info page, About and the introduction, as the
// list windows' menus run them.
TListWindowCommands GLB_information_window_commands();

// The readme beside the program ("Readme.html", "Readme.txt" or
// "Readme.wri"); empty when the edition ships none.
QString GLB_readme_path();
