#pragma once

class TListActions;
class Tspecies;
class Tsubspecies;

// The list's way into the big picture window: the species' pictures, from
// the subspecies' first when one is given. The window's links open their
// windows through `actions`.
void GLB_open_big_picture(TListActions& actions, const Tspecies& species,
                          const Tsubspecies* subspecies);
