#pragma once

class QWidget;

// Shows the page of the user's guide for a help context (see help_pages.h)
// in the help window; the guide's contents for context 0.
void GLB_show_help(int context);
// Closes the help window (at the end of the program).
void GLB_close_help();
