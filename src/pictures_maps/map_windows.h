#pragma once

class Tspecies;
class Tlocality;

// The map windows as the list opens them: a map marker or locality link
// opens the distribution map, the View menu the localities map.
void GLB_open_distribution_map(const Tspecies& species, const Tlocality* locality);
void GLB_open_localities_map();

// Gives the options dialog its area selection frames.
void GLB_install_map_windows();
