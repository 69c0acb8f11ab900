#pragma once

#include <QPoint>
#include <QStringList>
#include <memory>

class Tspecies;
class Tsubspecies;
class Tlocality;
class Tperson;
class TaudioCD;

// The windows a click in the list opens: big pictures, distribution maps and
// the small information windows. Each is one place where its window plugs
// in; until it does, the request is dropped and nothing opens.
class TListActions {
  public:
    virtual ~TListActions() = default;
    virtual void open_big_picture(const Tspecies&, const Tsubspecies*) {}
    // A distribution map of the species, with the locality marked when given.
    virtual void open_distribution_map(const Tspecies&, const Tlocality*) {}
    // Every recording locality on the edition's map.
    virtual void open_localities_map() {}
    virtual void open_person(const Tperson&, QPoint) {}
    virtual void open_literature(const Tspecies&, QPoint) {}
    virtual void open_threatened_status(QPoint, const QStringList&) {}
    virtual void open_audio_cd(const TaudioCD&) {}
    virtual void close_information_windows() {}
};

// The actions of every list; replaced as the windows arrive.
TListActions& GLB_list_actions();
void GLB_set_list_actions(std::unique_ptr<TListActions> actions);
