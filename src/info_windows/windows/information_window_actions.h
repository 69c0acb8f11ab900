#pragma once

#include "listview/list_actions.h"

// The small information windows a click in a list opens. Each list gets its
// own four windows, made on first use as children of the list's surface, so
// that they close and die with that list.
class TInformationWindowActions : public TListActions {
  public:
    void open_person(QWidget* host, const Tperson& person, QPoint at) override;
    void open_literature(QWidget* host, const Tspecies& species, QPoint at) override;
    void open_threatened_status(QWidget* host, QPoint at, const QStringList& labels) override;
    void open_audio_cd(QWidget* host, const TaudioCD& cd, QPoint at) override;
    void close_information_windows(QWidget* host) override;
};
