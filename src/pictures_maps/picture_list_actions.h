#pragma once

#include "listview/list_actions.h"

// The list's way into the big picture window.
class TPictureListActions : public TListActions {
  public:
    void open_big_picture(const Tspecies& species, const Tsubspecies* subspecies) override;
};
