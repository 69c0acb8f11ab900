#pragma once

// The random choices of the shows over a visible set. One generator serves
// the whole program; it is seeded once at start (tests seed it themselves).

#include <optional>
#include <random>
#include <vector>

class Tcupaitem;
class Tspecies;
class TClassVisibleSpeciesAndRecordings;

std::mt19937& GLB_show_random();
void GLB_seed_show_random(unsigned seed);

struct TChosenRecording {
    const Tcupaitem* item = nullptr;
    int recording_number = 0;  // as the list numbers it
};

class TShowChoices {
  public:
    // Quality class 1: recordings of grade A, 2: A and B, 3: all.
    TShowChoices(const TClassVisibleSpeciesAndRecordings& visibleSet, int qualityClass,
                 std::mt19937& random);

    // Each gives another species than the previous one whenever there is
    // another to give; none when there is no species to give at all.
    const Tspecies* species_for_sounds(const Tspecies* previous);
    const Tspecies* species_for_slides_with_sounds(const Tspecies* previous);
    const Tspecies* species_for_slides(const Tspecies* previous);

    // A playable recording of the species of the quality class.
    std::optional<TChosenRecording> recording_of(const Tspecies& species);
    // From 1 to the species' picture count (1 without pictures).
    int picture_of(const Tspecies& species);

  private:
    const Tspecies* draw(const std::vector<const Tspecies*>& from, const Tspecies* previous);

    const TClassVisibleSpeciesAndRecordings& set_;
    int quality_class_;
    std::mt19937& random_;
    std::vector<const Tspecies*> with_recordings_;
    std::vector<const Tspecies*> with_pictures_and_recordings_;
    std::vector<const Tspecies*> with_pictures_;
};
