#pragma once

// Playlist entries of the demo edition as the main list window shows them:
// the first playable recording of each species, for so many species.

#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "playlists/playlist_file.h"

#include <vector>

namespace playlist_testing {

inline std::vector<TPlayListInfo> firstPlayableDemoEntries(size_t count) {
    std::vector<TPlayListInfo> entries;
    TClassVisibleSpeciesAndRecordings visible(GLB_data(), QStringLiteral("WINDOW 1"));
    visible.reset_carriers();
    for (const Tspecies* s : GLB_data().species_by_id_text()) {
        for (const Tcupaitem* i = s->first_item; i; i = i->next_of_species) {
            const int n = visible.item_position(*i);
            if (n > 0 && visible.carrier_playable(*i->cut_part)) {
                entries.push_back({i, n, 1});
                break;
            }
        }
        if (entries.size() == count) break;
    }
    return entries;
}

}  // namespace playlist_testing
