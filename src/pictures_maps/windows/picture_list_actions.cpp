#include "pictures_maps/windows/picture_list_actions.h"

#include "data/media_records.h"
#include "pictures_maps/windows/big_picture_form.h"

#include <QApplication>

namespace {
// "Common name (Scientific name)", and the subspecies when the picture has one.
QString species_caption(const Tbig_picture& picture, QString& mapCaption, quintptr) {
    const Tspecies* species = picture.species;
    if (!species) return {};
    QString text = species->common_name;
    if (!species->scientific_name.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(" (")) + species->scientific_name +
                (text.isEmpty() ? QString() : QStringLiteral(")"));
    if (picture.subspecies && picture.subspecies->subspecies)
        text += QStringLiteral(", ") + picture.subspecies->subspecies->display_name();
    mapCaption = text;
    return text;
}
}  // namespace

void GLB_open_big_picture(TListActions& actions, const Tspecies& species,
                          const Tsubspecies* subspecies) {
    OpenBigPictureWindow(TPictureTaxon{&species, subspecies}, QApplication::activeWindow(), &actions,
                         species_caption);
}
