// The demo edition delivered with the program loads whole and consistent.

#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "data/areas.h"
#include "small_edition.h"

#include <QFile>
#include <set>

namespace {

class DataDemo : public data_testing::DataTest {
  protected:
    void SetUp() override {
        DataTest::SetUp();
        const QString demo = testing_support::sourceTree() + "/editions/demo/";
        for (const char* name :
             {"mapsdata.txt", "people.txt", "names_sc.txt", "taxa.txt", "locality.txt",
              "big_pict.txt", "othermedia.txt", "cutparts.txt", "cupaitem.txt", "syst_ord.txt"}) {
            QFile file(demo + name);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
            dir.write(name, file.readAll());
        }
        data = loadWritten();
    }

    std::unique_ptr<Tdata> data;
};

// Records of a file: lines that are exactly the empty header.
int recordsIn(const QString& name) {
    QFile file(testing_support::sourceTree() + "/editions/demo/" + name);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    int n = 0;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.trimmed() == "@#[]") ++n;
    return n;
}

}  // namespace

TEST_F(DataDemo, CountsMatchTheFiles) {
    EXPECT_EQ(static_cast<int>(data->maps().size()), recordsIn("mapsdata.txt"));
    EXPECT_EQ(static_cast<int>(data->people().size()), recordsIn("people.txt"));
    EXPECT_EQ(static_cast<int>(data->localities().size()), recordsIn("locality.txt"));
    EXPECT_EQ(data->audio_cd_count(), recordsIn("othermedia.txt"));
    EXPECT_EQ(static_cast<int>(data->cut_parts().size()), recordsIn("cutparts.txt"));
    EXPECT_EQ(data->species_count(), recordsIn("names_sc.txt"));
    int pictures = 0;
    for (const Tfamily* f = data->first_family(1); f; f = f->next)
        for (const Tspecies* s = f->first_species; s; s = s->next(1)) pictures += s->picture_count;
    EXPECT_EQ(pictures, recordsIn("big_pict.txt"));
    EXPECT_GT(data->family_count(1), 10);
    EXPECT_TRUE(data->loaded());
    // Every subspecies named by a picture or recording exists.
    EXPECT_TRUE(script.messages().empty()) << script.lastMessage().toStdString();
}

TEST_F(DataDemo, EveryLinkLeadsBackToItsRecord) {
    int species = 0;
    std::set<const Tspecies*> seen;
    for (const Tfamily* f = data->first_family(1); f; f = f->next) {
        EXPECT_EQ(f->order, 1);
        for (const Tspecies* s = f->first_species; s; s = s->next(1)) {
            ++species;
            EXPECT_TRUE(seen.insert(s).second) << s->scientific_name.toStdString();
            EXPECT_EQ(s->family(1), f);
            EXPECT_EQ(data->species_by_unique_id(s->unique_id), s);
            EXPECT_FALSE(s->common_name.isEmpty()) << s->scientific_name.toStdString();
            // Edition 101: every species has its distribution among the units.
            ASSERT_NE(s->distribution, nullptr);
            EXPECT_TRUE(s->distribution->any_selected()) << s->scientific_name.toStdString();
            EXPECT_EQ(s->has_recording_items, s->first_item != nullptr)
                << s->scientific_name.toStdString();
            int pictures = 0;
            for (const Tbig_picture* p = s->first_picture; p; p = p->next) {
                EXPECT_EQ(p->species, s);
                EXPECT_EQ(p->sequence_number, ++pictures);
            }
            for (const Tcupaitem* i = s->first_item; i; i = i->next_of_species) {
                EXPECT_EQ(i->species, s);
                ASSERT_NE(i->cut_part, nullptr);
                bool inCutChain = false;
                for (const Tcupaitem* c = i->cut_part->first_item(1); c; c = c->next_of_cut_part(1))
                    inCutChain |= c == i;
                EXPECT_TRUE(inCutChain);
            }
        }
    }
    EXPECT_EQ(species, data->species_count());
    for (const Tcutpart* c : data->cut_parts()) {
        ASSERT_NE(c->locality, nullptr) << c->identifier.toStdString();
        if (!c->is_sound_file) {
            EXPECT_NE(c->audio_cd, nullptr);
        }
    }
}

TEST_F(DataDemo, FurtherOrdersHoldTheSameSpecies) {
    for (int slot = 1; slot <= data->order_slot_count(); ++slot) {
        const int order = data->order_of_slot(slot);
        int species = 0;
        int lastPosition = -1;
        for (const Tfamily* f = data->first_family(order); f; f = f->next) {
            EXPECT_EQ(f->order, order);
            EXPECT_NE(f->first_species, nullptr) << f->scientific_name.toStdString();
            for (const Tspecies* s = f->first_species; s; s = s->next(order)) {
                ++species;
                EXPECT_EQ(s->family(order), f);
                EXPECT_GT(s->position(order), lastPosition);
                lastPosition = s->position(order);
            }
        }
        if (data->order_complete(order)) {
            EXPECT_EQ(species, data->species_count());
        } else {
            EXPECT_LT(species, data->species_count());
        }
        for (const Tcutpart* c : data->cut_parts()) {
            int inOrder1 = 0;
            int inOrder = 0;
            int position = -2;
            for (const Tcupaitem* i = c->first_item(1); i; i = i->next_of_cut_part(1)) ++inOrder1;
            for (const Tcupaitem* i = c->first_item(order); i; i = i->next_of_cut_part(order)) {
                ++inOrder;
                EXPECT_GE(i->species->position(order), position);
                position = i->species->position(order);
            }
            EXPECT_EQ(inOrder, inOrder1);
        }
    }
}

TEST_F(DataDemo, TheDefaultFilterShowsTheMainCountries) {
    TClassVisibleSpeciesAndRecordings filter(*data, "NO SUCH SECTION");
    const TArea* area = filter.selected_area();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->selection_text(), "PE-BO-PA-OT");
    const int visible = data->visible_species_total(1, filter);
    EXPECT_GT(visible, 0);
    EXPECT_LE(visible, data->species_count());
    EXPECT_EQ(data->visible_family_count(1, filter),
              data->visible_family_count_of_class(1, animal_class::Any, filter));
    EXPECT_GT(
        data->visible_recording_count(1, filter, TClassVisibleSpeciesAndRecordings::kAllKinds), 0);
}
