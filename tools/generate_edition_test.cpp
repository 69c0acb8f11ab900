// Checks the demo edition's data files and the generator's output against
// the rules that make the species database refuse to load: every section the
// loader asks for exists in the order it asks, every key one file gives
// another resolves, every number it converts is a number. Until the loader
// exists this is the only guard that hand edits or generator changes keep
// the files loadable.
//
// usage: korvelan_generate_edition_test <generator> <demo-dir> <scratch-dir>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

int g_failures = 0;

#define CHECK(cond, what)                                                 \
    do {                                                                  \
        if (!(cond)) {                                                    \
            ++g_failures;                                                 \
            std::cerr << "FAILED " << __LINE__ << ": " << (what) << "\n"; \
        }                                                                 \
    } while (0)

using Lines = std::vector<std::string>;

Lines read_lines(const fs::path& p) {
    Lines out;
    std::ifstream f(p, std::ios::binary);
    std::string l;
    while (std::getline(f, l)) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        const std::string_view marker = "LINEFEED_ONLY_REPLACER";
        std::string joined;
        std::size_t start = 0;
        for (std::size_t at; (at = l.find(marker, start)) != std::string::npos;
             start = at + marker.size()) {
            joined.append(l, start, at - start);
            joined += '\n';
        }
        joined.append(l, start, std::string::npos);
        out.push_back(std::move(joined));
    }
    return out;
}

bool is_header(const std::string& l) {
    return l.rfind("@#[", 0) == 0;
}

// The records of a file of records: the lines after each "@#[]".
std::vector<Lines> records(const Lines& lines) {
    std::vector<Lines> out;
    bool in = false;
    for (const auto& l : lines) {
        if (is_header(l)) {
            in = l == "@#[]";
            if (in) out.emplace_back();
        } else if (in) {
            out.back().push_back(l);
        }
    }
    return out;
}

std::string field(const Lines& r, std::size_t n) {
    return n <= r.size() ? r[n - 1] : std::string();
}

// Sections are found only forward from the reader's position, as the loader reads them.
struct SectionReader {
    const Lines& lines;
    std::size_t pos = 0;
    bool section(const std::string& name, Lines& out) {
        const std::string head = "@#[" + name + "]";
        std::size_t i = pos;
        while (i < lines.size() && lines[i].rfind(head, 0) != 0) ++i;
        if (i == lines.size()) return false;
        out.clear();
        for (++i; i < lines.size() && !is_header(lines[i]); ++i) out.push_back(lines[i]);
        pos = i;
        return true;
    }
};

bool is_int(const std::string& t) {
    std::size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    if (i == t.size()) return false;
    for (; i < t.size(); ++i)
        if (t[i] < '0' || t[i] > '9') return false;
    return true;
}

bool is_decimal(const std::string& t) {
    const auto dot = t.find('.');
    if (dot == std::string::npos) return is_int(t);
    return is_int(t.substr(0, dot)) && is_int(t.substr(dot + 1)) && t[dot + 1] != '-';
}

std::vector<std::string> split(const std::string& t, const std::string& sep) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t at; (at = t.find(sep, start)) != std::string::npos; start = at + sep.size())
        out.push_back(t.substr(start, at - start));
    out.push_back(t.substr(start));
    return out;
}

// The distribution grammar of the South-American area: unit codes joined by single dashes.
bool valid_distribution(const std::string& text) {
    static const std::set<std::string> units = {"ME", "GA", "ES", "BE", "HO", "NI", "CR",
                                                "PN", "VE", "TR", "GU", "CO", "EC", "PE",
                                                "BO", "PA", "BR", "AR", "UR", "CH", "OT"};
    std::set<std::string> seen;
    std::string t = text;
    while (!t.empty()) {
        const std::string two = t.substr(0, 2);
        if (!units.count(two) || !seen.insert(two).second) return false;
        if (t.size() <= 2) break;
        if (t[2] != '-') return false;
        t = t.substr(3);
    }
    return true;
}

std::string strip_p(const std::string& ssp) {
    return ssp.size() > 4 && ssp.compare(ssp.size() - 4, 4, " (P)") == 0
               ? ssp.substr(0, ssp.size() - 4)
               : ssp;
}

struct CutKey {
    long number;
    char first;
    long part;
    char second;
    bool operator<(const CutKey& o) const {
        return std::tie(number, first, part, second) <
               std::tie(o.number, o.first, o.part, o.second);
    }
};

// Digits, one character, digits, one character: how an item names its recording.
CutKey cut_key(const std::string& t) {
    CutKey k{0, ' ', 0, ' '};
    std::size_t i = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])))
        k.number = k.number * 10 + (t[i++] - '0');
    if (i < t.size()) k.first = t[i++];
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])))
        k.part = k.part * 10 + (t[i++] - '0');
    if (i < t.size()) k.second = t[i];
    return k;
}

struct Counts {
    std::size_t families = 0, species = 0, cuts = 0, cd_cuts = 0, items = 0, pictures = 0,
                localities = 0, cds = 0;
    std::size_t threatened = 0, with_subspecies = 0, zero_localities = 0, carried = 0,
                not_carried = 0;
    std::size_t largest_family = 0;
};

// Every check below is one the loader makes fatal (or, for subspecies, reports).
Counts check_edition(const fs::path& dir, const std::string& label) {
    Counts n;
    const int before = g_failures;
    auto fail = [&](const std::string& what) { CHECK(false, label + ": " + what); };

    std::set<std::string> maps;
    for (const auto& r : records(read_lines(dir / "mapsdata.txt"))) {
        maps.insert(field(r, 1));
        if (!is_int(field(r, 2))) fail("map number " + field(r, 1));
        const auto b = split(field(r, 3), ",");
        if (b.size() != 4 || !is_decimal(b[0]) || !is_decimal(b[1]) || !is_decimal(b[2]) ||
            !is_decimal(b[3]))
            fail("map bounds " + field(r, 1));
    }
    std::set<std::string> people;
    for (const auto& r : records(read_lines(dir / "people.txt")))
        if (!people.insert(field(r, 1)).second) fail("person twice " + field(r, 1));

    const Lines names = read_lines(dir / "names_sc.txt"), taxa = read_lines(dir / "taxa.txt");
    SectionReader nr{names}, tr{taxa};
    Lines fam, tfam, lit, sec;
    if (!nr.section("FAMILIES", fam) || !tr.section("FAMILIES", tfam) ||
        !nr.section("LIT. REFERENCES", lit)) {
        fail("family or literature section missing");
        return n;
    }
    n.families = fam.size() / 2;
    if (fam.size() % 2 || tfam.size() != n.families || n.families > 300 || lit.size() > 99)
        fail("family or literature counts");

    struct Sp {
        std::set<std::string> ssp;
        bool c = false;
        int family = 0;
        long uid = 0;
    };
    std::map<long, Sp> species;
    std::vector<std::vector<long>> by_family(n.families);
    for (std::size_t k = 1; k <= n.families; ++k) {
        // The species blocks: every "@#[]" after the family's header, up to the next other header.
        const std::string head = "@#[SPECIES " + std::to_string(k) + "]";
        std::size_t i = nr.pos;
        while (i < names.size() && names[i].rfind(head, 0) != 0) ++i;
        if (i == names.size()) {
            fail("missing " + head);
            continue;
        }
        for (++i; i < names.size() && !is_header(names[i]);) ++i;
        while (i < names.size() && names[i] == "@#[]") {
            Lines b;
            for (++i; i < names.size() && !is_header(names[i]); ++i) b.push_back(names[i]);
            const auto num = split(field(b, 2), " ");
            if (num.size() != 2 || !is_int(num[0]) || !is_int(num[1])) {
                fail("species numbers of " + field(b, 1));
                continue;
            }
            Sp s;
            s.uid = std::stol(num[1]);
            s.family = static_cast<int>(k);
            const std::string l3 = field(b, 3);
            const std::string flags = l3.substr(0, l3.find(','));
            s.c = flags.find('C') != std::string::npos;
            // D("name" ffffffff) with an optional second ,"name" ffffffff before the ")".
            const auto d = l3.find("D(\"");
            if ((d != std::string::npos) != (flags.find('D') != std::string::npos))
                fail("map flag and map part of " + field(b, 1));
            for (std::size_t at = d == std::string::npos ? d : d + 2, ref = 0;
                 at != std::string::npos && ref < 2; ++ref) {
                const auto close = l3.find('"', at + 1);
                if (close == std::string::npos || !maps.count(l3.substr(at + 1, close - at - 1))) {
                    fail("map of " + field(b, 1));
                    break;
                }
                const std::size_t next =
                    close + 10;  // the quote, one character, eight flag characters
                at = (next + 1 < l3.size() && l3[next] == ',') ? next + 1 : std::string::npos;
                if (at != std::string::npos && l3[at] != '"') fail("second map of " + field(b, 1));
            }
            if ((l3.find("T(") != std::string::npos) != (flags.find('T') != std::string::npos))
                fail("status flag and status part of " + field(b, 1));
            if (l3.find("T(") != std::string::npos) {
                const std::string st = l3.substr(l3.find("T(") + 2, 2);
                if (st != "VU" && st != "EN" && st != "CR" && st != "EX")
                    fail("threat status of " + field(b, 1));
                ++n.threatened;
            }
            if (!valid_distribution(field(b, 4)) || field(b, 4).empty())
                fail("distribution of " + field(b, 1) + ": " + field(b, 4));
            if (!field(b, 6).empty())
                for (const auto& piece : split(field(b, 6), "%$#fgd&")) {
                    const std::string ref = piece.substr(0, piece.find(','));
                    if (!is_int(ref) || std::stol(ref) < 1 ||
                        std::stol(ref) > static_cast<long>(lit.size()))
                        fail("literature entry of " + field(b, 1));
                }
            for (std::size_t l = 7; l <= b.size() && !b[l - 1].empty(); ++l)
                s.ssp.insert(b[l - 1].substr(0, b[l - 1].find("-NOT REAL SSP")));
            n.with_subspecies += s.ssp.empty() ? 0 : 1;
            if (species.count(s.uid)) fail("unique identifier twice: " + num[1]);
            by_family[k - 1].push_back(s.uid);
            species[s.uid] = s;
        }
        nr.pos = i;
        if (!tr.section("SPECIES " + std::to_string(k), sec) ||
            sec.size() != 4 * by_family[k - 1].size())
            fail("taxa.txt lines of family " + std::to_string(k));
    }
    n.species = species.size();
    for (const auto& f : by_family) n.largest_family = std::max(n.largest_family, f.size());

    std::set<std::string> localities;
    for (const auto& r : records(read_lines(dir / "locality.txt"))) {
        if (!localities.insert(field(r, 1)).second) fail("locality twice " + field(r, 1));
        const std::string c = field(r, 7);
        if (c.size() < 17 || !is_int(c.substr(0, 8)) || !is_int(c.substr(9, 8)))
            fail("coordinates of " + field(r, 1));
        n.zero_localities += field(r, 2) == "ZERO LOCATION" ? 1 : 0;
    }
    n.localities = localities.size();

    for (const auto& r : records(read_lines(dir / "big_pict.txt"))) {
        ++n.pictures;
        const auto sp = is_int(field(r, 1)) ? species.find(std::stol(field(r, 1))) : species.end();
        if (sp == species.end()) {
            fail("picture of unknown species " + field(r, 1));
            continue;
        }
        if (!field(r, 2).empty() && !sp->second.ssp.count(strip_p(field(r, 2))))
            fail("picture subspecies " + field(r, 2));
        if (!field(r, 3).empty() && !people.count(field(r, 3))) fail("photographer " + field(r, 3));
        if (!field(r, 5).empty() && !localities.count(field(r, 5)))
            fail("picture locality " + field(r, 5));
    }

    std::map<long, long> cd_tracks;
    for (const auto& r : records(read_lines(dir / "othermedia.txt"))) {
        if (!is_int(field(r, 1)))
            fail("audio CD number");
        else
            cd_tracks[std::stol(field(r, 1))] = std::stol(field(r, 6));
        ++(field(r, 5) == "TRUE" ? n.carried : n.not_carried);
    }
    n.cds = cd_tracks.size();

    std::set<CutKey> cuts;
    std::set<std::string> sound_files;
    for (const auto& r : records(read_lines(dir / "cutparts.txt"))) {
        const std::string id = field(r, 1), l2 = field(r, 2);
        const CutKey key = cut_key(id);
        if (!cuts.insert(key).second) fail("recording twice " + id);
        if (l2.rfind("CD", 0) == 0) {
            ++n.cd_cuts;
            const auto cd = cd_tracks.find(key.number);
            if (cd == cd_tracks.end() || l2.find("track") == std::string::npos)
                fail("audio CD part " + id);
            else {
                std::string digits;
                for (char ch : l2.substr(l2.find("track") + 6, 5))
                    if (std::isdigit(static_cast<unsigned char>(ch))) digits += ch;
                if (digits.empty() || std::stol(digits) < 1 || std::stol(digits) > cd->second)
                    fail("track of " + id);
            }
        } else {
            if (!is_int(l2) || !is_int(field(r, 3))) fail("compression or length of " + id);
            // The file name keeps two digits of the part number.
            if (key.part > 99 || !sound_files
                                      .insert(std::to_string(key.number) + key.first +
                                              std::to_string(key.part) + key.second)
                                      .second)
                fail("sound file name of " + id);
        }
        if (field(r, 6).empty() || !localities.count(field(r, 6))) fail("locality of " + id);
        if (!field(r, 7).empty() && !people.count(field(r, 7))) fail("recordist of " + id);
    }
    n.cuts = cuts.size();

    const Lines items = read_lines(dir / "cupaitem.txt");
    SectionReader ir{items};
    std::set<CutKey> cuts_with_items;
    for (std::size_t k = 1; k <= n.families; ++k) {
        int j = 0;
        for (long uid : by_family[k - 1]) {
            const Sp& s = species[uid];
            if (!s.c) continue;
            const std::string name = std::to_string(k) + "_" + std::to_string(++j);
            if (!ir.section(name, sec) || sec.empty()) {
                fail("recording items " + name);
                continue;
            }
            bool absent_seen = false;
            for (std::size_t i = 0; i + 9 <= sec.size(); i += 9) {
                ++n.items;
                if (!cuts.count(cut_key(sec[i + 8]))) fail("item's recording " + sec[i + 8]);
                cuts_with_items.insert(cut_key(sec[i + 8]));
                if (!sec[i + 3].empty() && !s.ssp.count(strip_p(sec[i + 3])))
                    fail("item subspecies " + sec[i + 3]);
                // Items after the first absent one are never shown.
                const bool present = sec[i + 5].find('P') != std::string::npos;
                if (present && absent_seen) fail("present item after an absent one in " + name);
                absent_seen = absent_seen || !present;
            }
        }
    }
    CHECK(cuts_with_items.size() == cuts.size(), label + ": every recording sounds in some item");

    const Lines orders = read_lines(dir / "syst_ord.txt");
    SectionReader orr{orders};
    Lines ord, ofam, ospp;
    if (!orr.section("ORDERS", ord) || ord.empty() || ord.size() > 3) fail("ORDERS");
    for (std::size_t slot = 1; slot <= ord.size(); ++slot) {
        if (!orr.section("FAMILIES_" + std::to_string(slot), ofam) ||
            !orr.section("SPECIES_" + std::to_string(slot), ospp) || ospp.size() > 5000) {
            fail("order sections");
            continue;
        }
        long last = 1;
        std::set<long> placed, used;
        for (const auto& l : ospp) {
            const std::string f = l.substr(0, l.find(','));
            const std::string u = l.substr(l.find(',') + 1);
            // The loader only walks forward through the families.
            if (!is_int(f) || std::stol(f) < last ||
                std::stol(f) > static_cast<long>(ofam.size())) {
                fail("family number in order: " + l);
                continue;
            }
            last = std::stol(f);
            used.insert(last);
            if (!is_int(u) || !species.count(std::stol(u)) || !placed.insert(std::stol(u)).second)
                fail("species in order: " + l);
        }
        CHECK(placed.size() == species.size(), label + ": the second order holds every species");
        CHECK(used.size() == ofam.size(), label + ": every family of the second order has species");
    }
    if (g_failures != before) std::cerr << label << ": " << g_failures - before << " problem(s)\n";
    return n;
}

int run(const std::string& command) {
    const int rc = std::system((command + " >/dev/null 2>&1").c_str());
    return rc == -1 ? -1 : WEXITSTATUS(rc);
}

std::string file_text(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: korvelan_generate_edition_test <generator> <demo-dir> <scratch-dir>\n";
        return 2;
    }
    const std::string gen = std::string("\"") + argv[1] + "\"";
    const fs::path demo = argv[2], scratch = argv[3];
    fs::remove_all(scratch);

    // The demo edition: loadable, and large and varied enough to show every kind of line.
    {
        const Counts c = check_edition(demo, "demo");
        CHECK(c.families >= 12 && c.species >= 60 && c.cuts >= 100 && c.pictures >= 40 &&
                  c.localities >= 25,
              "demo edition has its minimum content");
        CHECK(c.cd_cuts > 0 && c.carried >= 1 && c.not_carried >= 1,
              "demo has parts of both kinds of audio CD");
        CHECK(c.threatened > 0 && c.with_subspecies > 0 && c.zero_localities == 1,
              "demo has statuses, races, zero");
    }

    // Generated editions, from the smallest possible to the default size.
    {
        const fs::path tiny = scratch / "tiny";
        CHECK(run(gen + " \"" + tiny.string() +
                  "\" --species 1 --families 1 --recordings 1 --items 1 --pictures 0 --localities "
                  "2") == 0,
              "tiny edition generated");
        const Counts c = check_edition(tiny, "tiny");
        CHECK(c.species == 1 && c.cuts == 1 && c.items == 1 && c.pictures == 0,
              "tiny edition has exact counts");

        const fs::path small = scratch / "small";
        CHECK(run(gen + " \"" + small.string() +
                  "\" --species 60 --families 12 --recordings 150 --items 200 --pictures 40 "
                  "--localities 25 "
                  "--seed 9") == 0,
              "small edition generated");
        const Counts s = check_edition(small, "small");
        CHECK(s.families == 12 && s.species == 60 && s.cuts == 150 && s.items == 200 &&
                  s.pictures == 40 && s.localities == 25,
              "small edition has the requested counts");
        CHECK(s.cd_cuts > 0 && s.cds > 0, "small edition has audio-CD parts");

        const fs::path full = scratch / "default";
        CHECK(run(gen + " \"" + full.string() + "\"") == 0, "default edition generated");
        const Counts d = check_edition(full, "default");
        CHECK(d.families == 300 && d.species == 3000 && d.cuts == 30000 && d.items == 40000 &&
                  d.pictures == 5000 && d.localities == 2000,
              "default edition has the default counts");
    }

    // One family of the size asked for, the totals as without it: the largest
    // family the list's button numbers allow among 40 families.
    {
        const fs::path big = scratch / "big-family";
        CHECK(run(gen + " \"" + big.string() +
                  "\" --species 1000 --families 40 --recordings 2000 --items 3000 --pictures 50 "
                  "--largest-family 399") == 0,
              "edition with one large family generated");
        const Counts c = check_edition(big, "big-family");
        CHECK(c.largest_family == 399 && c.species == 1000 && c.families == 40 &&
                  c.cuts == 2000 && c.items == 3000,
              "one family of 399 species, the totals kept");
    }

    // The same seed gives the same bytes; another seed other data.
    {
        const fs::path a = scratch / "a", b = scratch / "b", c = scratch / "c";
        const std::string args =
            " --species 200 --families 20 --recordings 800 --items 1000 --pictures 100";
        run(gen + " \"" + a.string() + "\"" + args + " --seed 5");
        run(gen + " \"" + b.string() + "\"" + args + " --seed 5");
        run(gen + " \"" + c.string() + "\"" + args + " --seed 6");
        for (const char* f :
             {"names_sc.txt", "taxa.txt", "locality.txt", "people.txt", "cutparts.txt",
              "cupaitem.txt", "big_pict.txt", "othermedia.txt", "syst_ord.txt", "mapsdata.txt"}) {
            CHECK(!file_text(a / f).empty() && file_text(a / f) == file_text(b / f),
                  std::string("same seed, same ") + f);
        }
        CHECK(file_text(a / "names_sc.txt") != file_text(c / "names_sc.txt"),
              "another seed, other names");
    }

    // Requests the loader could not take are refused before anything is written.
    {
        const fs::path bad = scratch / "bad";
        CHECK(run(gen + " \"" + bad.string() + "\" --families 301") == 2,
              "more than 300 families refused");
        CHECK(run(gen + " \"" + bad.string() + "\" --species 5001") == 2,
              "more than 5000 species refused");
        CHECK(run(gen + " \"" + bad.string() + "\" --species 400 --families 1") == 2,
              "more than 399 species in a family refused");
        CHECK(run(gen + " \"" + bad.string() + "\" --largest-family 400") == 2,
              "a largest family above 399 species refused");
        CHECK(run(gen + " \"" + bad.string() + "\" --species 30 --families 10 --largest-family 22") ==
                  2,
              "a largest family that leaves other families empty refused");
        CHECK(run(gen + " \"" + bad.string() + "\" --recordings 10 --items 9") == 2,
              "recordings without items refused");
        CHECK(run(gen + " \"" + bad.string() + "\" --species 12x") == 2,
              "malformed number refused");
        CHECK(run(gen + " \"" + bad.string() + "\" --speed 1") == 2, "unknown option refused");
        CHECK(!fs::exists(bad), "nothing written for a refused request");
    }

    fs::remove_all(scratch);
    if (g_failures)
        std::cerr << g_failures << " check(s) failed\n";
    else
        std::cout << "all checks passed\n";
    return g_failures ? 1 : 0;
}
