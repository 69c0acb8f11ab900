#pragma once

// Playlists on the demo edition, in a private program directory with a
// scripted dialog service.

#include "app/editions.h"
#include "app/globals.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "playlists/playlist_file.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>
#include <QFile>
#include <optional>

namespace playlist_testing {

class PlayListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing_support::installDemoEdition(dir);
        visible = std::make_unique<TClassVisibleSpeciesAndRecordings>(GLB_data(), "WINDOW 1");
        visible->reset_carriers();
    }
    void TearDown() override {
        visible.reset();
        edition_.reset();
        testing_support::removeDemoEdition();
    }

    // The first `count` playable recordings of the demo, one per species,
    // as the list numbers them.
    std::vector<TPlayListInfo> playable(int count) const {
        std::vector<TPlayListInfo> out;
        for (const Tspecies* s : GLB_data().species_by_id_text()) {
            for (const Tcupaitem* i = s->first_item; i; i = i->next_of_species) {
                const int n = visible->item_position(*i);
                if (n > 0 && visible->carrier_playable(*i->cut_part)) {
                    out.push_back({i, n, 1});
                    break;
                }
            }
            if (static_cast<int>(out.size()) == count) break;
        }
        return out;
    }

    // The edition runs until the next choice or the test's end.
    void use_edition(int productNumber) {
        edition_.reset();
        edition_.emplace(GLB_edition_for_product(productNumber));
    }

    QByteArray header() const {
        const TEdition& e = GLB_edition();
        return "[GENERAL]\nCDROM=" + e.title_english.toUtf8() + "\nVersion=" + e.version.toUtf8() +
               "\n";
    }
    static QByteArray key(const TPlayListInfo& entry) {
        return TPlayListFile::entry_text(entry).toUtf8();
    }

    testing_support::ProgramDirectory dir;
    testing_support::DialogScript dialogs;
    std::unique_ptr<TClassVisibleSpeciesAndRecordings> visible;

  private:
    std::optional<TEditionOverride> edition_;
};

}  // namespace playlist_testing
