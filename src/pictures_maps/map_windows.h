#pragma once

// Plugs the map windows into the list: a map marker or locality link opens
// the distribution map, the View menu the localities map, and the options
// dialog gets its area selection frames.

void GLB_install_map_windows();
