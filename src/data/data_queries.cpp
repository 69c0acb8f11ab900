#include "data/species_database.h"
#include "data/taxa.h"
#include "data/visibility_filter.h"

// The family and count queries walk the chains of one order through a
// filter; nothing is cached, since every window has a filter of its own.

bool Tdata::family_has_visible_species(const Tfamily& family,
                                       const TClassVisibleSpeciesAndRecordings& filter) const {
    for (const Tspecies* s = family.first_species; s; s = s->next(family.order))
        if (filter.species_visible(*s)) return true;
    return false;
}

int Tdata::visible_species_count(const Tfamily& family,
                                 const TClassVisibleSpeciesAndRecordings& filter) const {
    int count = 0;
    for (const Tspecies* s = family.first_species; s; s = s->next(family.order))
        if (filter.species_visible(*s)) ++count;
    return count;
}

Tspecies* Tdata::visible_species(const Tfamily& family, int n,
                                 const TClassVisibleSpeciesAndRecordings& filter) const {
    int found = 0;
    for (Tspecies* s = family.first_species; s; s = s->next(family.order))
        if (filter.species_visible(*s) && ++found == n) return s;
    return nullptr;
}

int Tdata::visible_family_count(int order, const TClassVisibleSpeciesAndRecordings& filter) const {
    if (!GLB_valid_order(order)) return 0;
    int count = 0;
    for (const Tfamily* f = first_family(order); f; f = f->next)
        if (family_has_visible_species(*f, filter)) ++count;
    return count;
}

Tfamily* Tdata::visible_family(int order, int n,
                               const TClassVisibleSpeciesAndRecordings& filter) const {
    if (!GLB_valid_order(order)) return nullptr;
    int found = 0;
    for (Tfamily* f = first_family(order); f; f = f->next)
        if (family_has_visible_species(*f, filter) && ++found == n) return f;
    return nullptr;
}

int Tdata::visible_family_count_of_class(int order, int animalClass,
                                         const TClassVisibleSpeciesAndRecordings& filter,
                                         int* firstPosition) const {
    if (firstPosition) *firstPosition = 0;
    if (!GLB_valid_order(order)) return 0;
    int position = 0;
    int count = 0;
    for (const Tfamily* f = first_family(order); f; f = f->next) {
        if (!family_has_visible_species(*f, filter)) continue;
        ++position;
        if (animalClass != animal_class::Any && f->animal_class() != animalClass) continue;
        if (count++ == 0 && firstPosition) *firstPosition = position;
    }
    return count;
}

Tfamily* Tdata::first_visible_family_of_class(
    int order, int animalClass, const TClassVisibleSpeciesAndRecordings& filter) const {
    if (!GLB_valid_order(order)) return nullptr;
    for (Tfamily* f = first_family(order); f; f = f->next)
        if ((animalClass == animal_class::Any || f->animal_class() == animalClass) &&
            family_has_visible_species(*f, filter))
            return f;
    return nullptr;
}

int Tdata::visible_species_with_photographs_count(
    const TClassVisibleSpeciesAndRecordings& filter) const {
    int count = 0;
    for (const Tfamily* f = first_family(kFirstOrder); f; f = f->next)
        for (const Tspecies* s = f->first_species; s; s = s->next(kFirstOrder))
            if (s->has_photographs && filter.species_visible(*s)) ++count;
    return count;
}

int Tdata::visible_species_with_playable_recordings_count(
    const TClassVisibleSpeciesAndRecordings& filter, int kindType, bool anySpecies) const {
    int count = 0;
    for (const Tfamily* f = first_family(kFirstOrder); f; f = f->next)
        for (const Tspecies* s = f->first_species; s; s = s->next(kFirstOrder))
            if ((anySpecies || s->has_photographs) && filter.species_visible(*s) &&
                filter.playable_recording_count(*s, kindType) > 0)
                ++count;
    return count;
}

int Tdata::visible_species_total(int order, const TClassVisibleSpeciesAndRecordings& filter) const {
    if (!GLB_valid_order(order)) return 0;
    int count = 0;
    for (const Tfamily* f = first_family(order); f; f = f->next)
        count += visible_species_count(*f, filter);
    return count;
}

int Tdata::visible_recording_count(int order, const TClassVisibleSpeciesAndRecordings& filter,
                                   int kindType) const {
    if (!GLB_valid_order(order)) return 0;
    int count = 0;
    for (const Tfamily* f = first_family(order); f; f = f->next)
        for (const Tspecies* s = f->first_species; s; s = s->next(order))
            if (filter.species_visible(*s)) count += filter.visible_recording_count(*s, kindType);
    return count;
}

int Tdata::visible_subspecies_count(int order,
                                    const TClassVisibleSpeciesAndRecordings& filter) const {
    if (!GLB_valid_order(order)) return 0;
    int count = 0;
    for (const Tfamily* f = first_family(order); f; f = f->next)
        for (const Tspecies* s = f->first_species; s; s = s->next(order))
            if (filter.species_visible(*s)) count += s->subspecies_count;
    return count;
}
