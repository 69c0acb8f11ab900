#pragma once

class Tspecies;
class Tlocality;
class TClassVisibleSpeciesAndRecordings;

// The map windows as the list opens them: a map marker or locality link
// opens the distribution map, the View menu the localities map of the places
// where the opening list's recordings were made.
void GLB_open_distribution_map(const Tspecies& species, const Tlocality* locality);
void GLB_open_localities_map(const TClassVisibleSpeciesAndRecordings& visibleSet);
