#pragma once

class Tspecies;
class Tsubspecies;

// The list's way into the big picture window: the species' pictures, from
// the subspecies' first when one is given.
void GLB_open_big_picture(const Tspecies& species, const Tsubspecies* subspecies);
