#pragma once

#include <QPoint>
#include <QStringList>
#include <memory>

class QWidget;

class Tspecies;
class Tsubspecies;
class Tlocality;
class Tperson;
class TaudioCD;
class TClassVisibleSpeciesAndRecordings;

// The windows a click in the list opens: big pictures, distribution maps and
// the small information windows. Each is one place where its window plugs
// in; until it does, the request is dropped and nothing opens.
// The small information windows belong to the list they explain: `host` is
// that list's drawing surface, which owns them, and points are in its
// coordinates.
class TListActions {
  public:
    virtual ~TListActions() = default;
    virtual void open_big_picture(const Tspecies&, const Tsubspecies*) {}
    // A distribution map of the species, with the locality marked when given.
    virtual void open_distribution_map(const Tspecies&, const Tlocality*) {}
    // The places of the recordings the list shows, on the edition's map.
    virtual void open_localities_map(const TClassVisibleSpeciesAndRecordings&) {}
    virtual void open_person(QWidget* /*host*/, const Tperson&, QPoint) {}
    virtual void open_literature(QWidget* /*host*/, const Tspecies&, QPoint) {}
    virtual void open_threatened_status(QWidget* /*host*/, QPoint, const QStringList&) {}
    virtual void open_audio_cd(QWidget* /*host*/, const TaudioCD&, QPoint) {}
    virtual void close_information_windows(QWidget* /*host*/) {}
};
