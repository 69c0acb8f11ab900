#include "support/data_dump.h"

#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "data/areas.h"

#include <QHash>
#include <QStringList>

namespace testing_support {

namespace {

// Control characters (the markup codes, line feeds) become visible escapes,
// so that a difference shows in a text diff.
QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"') {
            out += u'\\';
            out += c;
        } else if (c.unicode() < 0x20) {
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
        } else {
            out += c;
        }
    }
    out += u'"';
    return out;
}

QString flag(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

class Dumper {
  public:
    explicit Dumper(const Tdata& data) : d_(data) { label_records(); }

    QByteArray text() {
        header();
        people();
        maps();
        localities();
        audio_cds();
        cut_parts();
        for (int order = kFirstOrder; order <= kLastOrder; ++order) families(order);
        species();
        items();
        return lines_.join(u'\n').toUtf8() + '\n';
    }

  private:
    void add(const QString& line) { lines_.push_back(line); }

    template <typename T>
    QString label(const QHash<const T*, QString>& labels, const T* record) const {
        if (!record) return QStringLiteral("-");
        return labels.value(record, QStringLiteral("?unlisted"));
    }
    QString person(const Tperson* p) const { return p ? escaped(p->name) : QStringLiteral("-"); }
    QString locality(const Tlocality* l) const { return l ? escaped(l->key) : QStringLiteral("-"); }
    QString cut_part(const Tcutpart* c) const {
        return c ? escaped(c->identifier) : QStringLiteral("-");
    }
    QString audio_cd(const TaudioCD* cd) const {
        return cd ? QStringLiteral("CD") + QString::number(cd->sequence_number)
                  : QStringLiteral("-");
    }
    QString subspecies(const std::optional<Tssp_data>& ssp) const {
        if (!ssp) return QStringLiteral("-");
        return (ssp->subspecies ? QString::number(ssp->subspecies->ordinal) : QStringLiteral("?")) +
               u'/' + flag(ssp->p_flag);
    }

    // Species and items get labels from their places, before anything links
    // to them.
    void label_records() {
        int n = 0;
        for (const Tfamily* f = d_.first_family(kFirstOrder); f; f = f->next)
            for (const Tspecies* s = f->first_species; s; s = s->next(kFirstOrder))
                species_labels_.insert(s, QStringLiteral("S") + QString::number(++n));
        for (int order = kFirstOrder; order <= kLastOrder; ++order) {
            int k = 0;
            for (const Tfamily* f = d_.first_family(order); f; f = f->next)
                family_labels_.insert(f, QStringLiteral("F%1.%2").arg(order).arg(++k));
        }
        std::vector<const Tcupaitem*> loaded;
        for (const Tcupaitem* i = d_.last_item_loaded(); i; i = i->previous_loaded)
            loaded.push_back(i);
        items_in_load_order_.assign(loaded.rbegin(), loaded.rend());
        for (size_t k = 0; k < items_in_load_order_.size(); ++k)
            item_labels_.insert(items_in_load_order_[k], QStringLiteral("I") + QString::number(k + 1));
    }

    void header() {
        add(QStringLiteral("loaded %1 species %2").arg(flag(d_.loaded())).arg(d_.species_count()));
        QString orders = QStringLiteral("order slots");
        for (int slot = 1; slot <= d_.order_slot_count(); ++slot)
            orders += u' ' + QString::number(d_.order_of_slot(slot));
        add(orders);
        for (int order = kFirstOrder; order <= kLastOrder; ++order)
            add(QStringLiteral("order %1 families %2 complete %3")
                    .arg(order)
                    .arg(d_.family_count(order))
                    .arg(flag(d_.order_complete(order))));
        for (int n = 1; n <= d_.literature_reference_count(); ++n)
            add(QStringLiteral("literature %1 ").arg(n) + escaped(d_.literature_reference(n)));
        add(QStringLiteral("default person ") + person(d_.default_person()));
    }

    void people() {
        for (const Tperson* p : d_.people())
            add(QStringLiteral("person ") + escaped(p->name) + u' ' + escaped(p->text_1) + u' ' +
                escaped(p->text_2) + u' ' + escaped(p->text_3));
    }

    void maps() {
        for (const Tmap_data* m : d_.maps())
            add(QStringLiteral("map ") + escaped(m->name) +
                QStringLiteral(" %1 %2 %3 %4 %5")
                    .arg(m->number)
                    .arg(m->bounds[0], 0, 'g', 17)
                    .arg(m->bounds[1], 0, 'g', 17)
                    .arg(m->bounds[2], 0, 'g', 17)
                    .arg(m->bounds[3], 0, 'g', 17));
    }

    void localities() {
        for (const Tlocality* l : d_.localities())
            add(QStringLiteral("locality ") + escaped(l->key) + u' ' + escaped(l->name) + u' ' +
                escaped(l->region) + u' ' + escaped(l->country) + u' ' + escaped(l->prefix) + u' ' +
                escaped(l->text) + u' ' + escaped(l->site_description) +
                QStringLiteral(" %1%2 %3%4")
                    .arg(l->latitude)
                    .arg(l->latitude_seconds_given ? "D" : "")
                    .arg(l->longitude)
                    .arg(l->longitude_seconds_given ? "D" : ""));
        QString described = QStringLiteral("described sites");
        for (const Tlocality* l : d_.described_sites()) described += u' ' + locality(l);
        add(described);
    }

    void audio_cds() {
        for (int n = 1; n <= d_.audio_cd_count(); ++n) {
            const TaudioCD* cd = d_.audio_cd_by_sequence(n);
            add(audio_cd(cd) + QStringLiteral(" number %1 ").arg(cd->cd_number) +
                escaped(cd->full_title) + u' ' + escaped(cd->name) + u' ' +
                escaped(cd->web_address) + u' ' + flag(cd->carried_on_disc) + u' ' +
                escaped(cd->identity_text) + u' ' + escaped(cd->folder_name) + u' ' +
                escaped(cd->hard_disk_directory));
        }
        QString byNumber = QStringLiteral("audio CDs by number");
        for (const TaudioCD* cd : d_.audio_cds()) byNumber += u' ' + audio_cd(cd);
        add(byNumber);
    }

    void cut_parts() {
        for (const Tcutpart* c : d_.cut_parts()) {
            add(QStringLiteral("recording ") + cut_part(c) +
                QStringLiteral(" rec %1 %2 part %3 %4 file %5 compression %6 track %7 offset %8 "
                               "length %9")
                    .arg(c->recording_number)
                    .arg(c->first_letter)
                    .arg(c->part_number)
                    .arg(c->second_letter)
                    .arg(flag(c->is_sound_file))
                    .arg(c->compression_number)
                    .arg(c->track)
                    .arg(c->offset)
                    .arg(c->length) +
                QStringLiteral(" fileLength %1 selected %2 n4 %3 date %4 number %5 ")
                    .arg(flag(c->length_is_file_length))
                    .arg(flag(c->selected))
                    .arg(c->number_4)
                    .arg(c->date)
                    .arg(c->number) +
                audio_cd(c->audio_cd) + u' ' + person(c->recordist) + u' ' +
                locality(c->locality) + u' ' + escaped(c->text_1) + u' ' + escaped(c->text_2));
            for (int order = kFirstOrder; order <= kLastOrder; ++order) {
                QString chain = QStringLiteral("  items in order %1:").arg(order);
                for (const Tcupaitem* i = c->first_item(order); i; i = i->next_of_cut_part(order))
                    chain += u' ' + label(item_labels_, i);
                add(chain);
            }
        }
    }

    void families(int order) {
        for (const Tfamily* f = d_.first_family(order); f; f = f->next) {
            add(QStringLiteral("family ") + label(family_labels_, f) +
                QStringLiteral(" order %1 class %2 ").arg(f->order).arg(f->animal_class()) +
                escaped(f->scientific_name) + u' ' + escaped(f->common_name) + u' ' +
                escaped(f->folder_name));
            QString chain = QStringLiteral("  species:");
            for (const Tspecies* s = f->first_species; s; s = s->next(order))
                chain += u' ' + label(species_labels_, s);
            add(chain);
        }
    }

    void species() {
        for (const Tfamily* f = d_.first_family(kFirstOrder); f; f = f->next)
            for (const Tspecies* s = f->first_species; s; s = s->next(kFirstOrder)) one_species(*s);
        QString byId = QStringLiteral("species by identifier");
        for (const Tspecies* s : d_.species_by_id_text()) byId += u' ' + label(species_labels_, s);
        add(byId);
    }

    void one_species(const Tspecies& s) {
        const QString me = label(species_labels_, &s);
        add(QStringLiteral("species ") + me + u' ' + escaped(s.scientific_name) + u' ' +
            escaped(s.common_name) + u' ' + escaped(s.second_name) + u' ' +
            escaped(s.third_text) + u' ' + escaped(s.fourth_text) + u' ' +
            escaped(s.family_folder_name));
        add(QStringLiteral("  number %1 id %2 alternative %3 positions %4 %5 %6")
                .arg(s.species_number)
                .arg(s.unique_id)
                .arg(s.alternative_id)
                .arg(s.position_in_orders_2_to_4[0])
                .arg(s.position_in_orders_2_to_4[1])
                .arg(s.position_in_orders_2_to_4[2]));
        QString families = QStringLiteral("  families");
        for (int order = kFirstOrder; order <= kLastOrder; ++order)
            families += u' ' + label(family_labels_, s.family(order));
        add(families);
        add(QStringLiteral("  flags A%1 R%2 M%3 S%4 C%5 sound%6 present%7 photo%8 E%9")
                .arg(flag(s.is_amphibian), flag(s.is_reptile), flag(s.is_mammal), flag(s.flag_s),
                     flag(s.has_recording_items), flag(s.has_sound_files),
                     flag(s.present_in_region), flag(s.has_photographs), flag(s.flag_e)) +
            QStringLiteral(" N%1 map%2 threatened %3 credited ")
                .arg(flag(s.flag_n), flag(s.has_map))
                .arg(int(s.threatened_status)) +
            person(s.credited_person));
        QString maps = QStringLiteral("  map references %1").arg(s.map_reference_count);
        for (int k = 0; k < s.map_reference_count && k < 2; ++k) {
            const Tmap_reference& r = s.map_references[static_cast<size_t>(k)];
            maps += u' ' + (r.map ? escaped(r.map->name) : QStringLiteral("-")) + u'/' +
                    flag(r.is_mask);
        }
        add(maps);
        add(QStringLiteral("  distribution ") +
            (s.distribution ? escaped(s.distribution->selection_text()) : QStringLiteral("-")));
        for (const Tliterature_entry& e : s.literature)
            add(QStringLiteral("  literature %1 ").arg(e.reference) + escaped(e.text));
        add(QStringLiteral("  subspecies %1").arg(s.subspecies_count));
        for (const Tsubspecies* ssp = s.first_subspecies; ssp; ssp = ssp->next)
            add(QStringLiteral("  ssp %1 not real %2 ").arg(ssp->ordinal).arg(flag(ssp->not_real)) +
                escaped(ssp->name));
        add(QStringLiteral("  pictures %1").arg(s.picture_count));
        const Tbig_picture* previous = nullptr;
        for (const Tbig_picture* p = s.first_picture; p; p = p->next) {
            add(QStringLiteral("  picture %1 back %2 species %3 ssp %4 by ")
                    .arg(p->sequence_number)
                    .arg(flag(p->previous == previous))
                    .arg(label(species_labels_, p->species), subspecies(p->subspecies)) +
                person(p->photographer) + QStringLiteral(" date %1 at ").arg(p->date) +
                locality(p->locality) + QStringLiteral(" photograph %1 ").arg(flag(p->counts_as_photograph)) +
                escaped(p->text));
            previous = p;
        }
        QString items = QStringLiteral("  items:");
        for (const Tcupaitem* i = s.first_item; i; i = i->next_of_species)
            items += u' ' + label(item_labels_, i);
        add(items);
    }

    void items() {
        for (const Tcupaitem* i : items_in_load_order_)
            add(QStringLiteral("item ") + label(item_labels_, i) +
                QStringLiteral(" number %1 kind %2 percentage %3 present %4 ssp %5 species %6 "
                               "recording ")
                    .arg(i->item_number)
                    .arg(i->kind_letter)
                    .arg(int(i->percentage))
                    .arg(flag(i->present), subspecies(i->subspecies),
                         label(species_labels_, i->species)) +
                cut_part(i->cut_part) + u' ' + escaped(i->first_text) + u' ' +
                escaped(i->second_text));
    }

    const Tdata& d_;
    QStringList lines_;
    QHash<const Tspecies*, QString> species_labels_;
    QHash<const Tfamily*, QString> family_labels_;
    QHash<const Tcupaitem*, QString> item_labels_;
    std::vector<const Tcupaitem*> items_in_load_order_;
};

}  // namespace

QByteArray canonicalDump(const Tdata& data) {
    return Dumper(data).text();
}

}  // namespace testing_support
