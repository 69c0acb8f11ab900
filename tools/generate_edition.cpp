// Writes a complete, internally consistent set of the ten species-database
// files for the South-American edition, at any size, so that loading,
// filtering and list building can be measured on data as large as the
// biggest real editions. Everything is derived from one seed through our own
// random generator (the standard distributions differ between libraries), so
// a given seed gives the same bytes on every machine.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// ---------------------------------------------------------------- random

class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed ^ 0x9E3779B97F4A7C15ULL) {}

    std::uint64_t next() {
        // splitmix64: tiny, fast and fully specified.
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [0, n); n > 0.
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
    int between(int lo, int hi) {
        return lo + static_cast<int>(below(static_cast<std::size_t>(hi - lo + 1)));
    }
    bool chance(double p) {
        return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0) < p;
    }
    template <class T>
    const T& pick(const std::vector<T>& v) {
        return v[below(v.size())];
    }
    template <class T, std::size_t N>
    const T& pick(const std::array<T, N>& v) {
        return v[below(N)];
    }

  private:
    std::uint64_t state_;
};

// ---------------------------------------------------------------- options

struct Options {
    std::filesystem::path out;
    int species = 3000;
    int recordings = 30000;
    int items = 40000;
    int pictures = 5000;
    int localities = 2000;
    int families = 300;
    int largest_family = 0;  // 0: the sizes as they fall
    std::uint64_t seed = 1;
};

void usage() {
    std::cerr << "usage: korvelan_generate_edition <output-dir> [--species N] [--recordings N] "
                 "[--items N]\n"
                 "       [--pictures N] [--localities N] [--families N] [--largest-family N]\n"
                 "       [--seed S]\n"
                 "--largest-family N: the family in the middle of the list holds exactly N "
                 "species\n";
}

bool parse_number(const char* text, long long lo, long long hi, long long& value) {
    char* end = nullptr;
    const long long v = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || v < lo || v > hi) return false;
    value = v;
    return true;
}

bool parse_options(int argc, char** argv, Options& o) {
    if (argc < 2) return false;
    o.out = argv[1];
    for (int i = 2; i < argc; i += 2) {
        const std::string_view name = argv[i];
        if (i + 1 >= argc) {
            std::cerr << "missing value after " << name << "\n";
            return false;
        }
        long long v = 0;
        bool ok = false;
        // The limits are those the loader lives with: at most 300 families,
        // 5000 lines per systematic order, 399 species per family.
        if (name == "--species")
            ok = parse_number(argv[i + 1], 1, 5000, v) && (o.species = static_cast<int>(v), true);
        else if (name == "--recordings")
            ok = parse_number(argv[i + 1], 1, 2000000, v) &&
                 (o.recordings = static_cast<int>(v), true);
        else if (name == "--items")
            ok = parse_number(argv[i + 1], 1, 4000000, v) && (o.items = static_cast<int>(v), true);
        else if (name == "--pictures")
            ok = parse_number(argv[i + 1], 0, 2000000, v) &&
                 (o.pictures = static_cast<int>(v), true);
        else if (name == "--localities")
            ok = parse_number(argv[i + 1], 2, 200000, v) &&
                 (o.localities = static_cast<int>(v), true);
        else if (name == "--families")
            ok = parse_number(argv[i + 1], 1, 300, v) && (o.families = static_cast<int>(v), true);
        else if (name == "--largest-family")
            ok = parse_number(argv[i + 1], 1, 399, v) &&
                 (o.largest_family = static_cast<int>(v), true);
        else if (name == "--seed")
            ok = parse_number(argv[i + 1], 0, 0x7FFFFFFFFFFFFFFFLL, v) &&
                 (o.seed = static_cast<std::uint64_t>(v), true);
        else {
            std::cerr << "unknown option " << name << "\n";
            return false;
        }
        if (!ok) {
            std::cerr << "bad value for " << name << ": " << argv[i + 1] << "\n";
            return false;
        }
    }
    if (o.species < o.families) {
        std::cerr << "every family needs a species: --species must be at least --families\n";
        return false;
    }
    if (o.species > o.families * 399) {
        std::cerr << "at most 399 species per family\n";
        return false;
    }
    if (o.largest_family > 0 && (o.species - (o.families - 1) < o.largest_family ||
                                 o.species - o.largest_family > (o.families - 1) * 399)) {
        std::cerr << "--largest-family does not fit the species and families\n";
        return false;
    }
    if (o.items < o.recordings) {
        std::cerr << "every recording needs an item: --items must be at least --recordings\n";
        return false;
    }
    if (static_cast<long long>(o.items) > static_cast<long long>(o.species) * 450) {
        std::cerr << "too many items for the species (at most 450 each)\n";
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- geography

// Distribution units in the order of the South-American area class.
constexpr std::array<const char*, 21> kUnits = {"ME", "GA", "ES", "BE", "HO", "NI", "CR",
                                                "PN", "VE", "TR", "GU", "CO", "EC", "PE",
                                                "BO", "PA", "BR", "AR", "UR", "CH", "OT"};
constexpr int kPE = 13, kBO = 14, kPA = 15;

int unit_index(std::string_view code) {
    for (std::size_t i = 0; i < kUnits.size(); ++i)
        if (code == kUnits[i]) return static_cast<int>(i);
    return -1;
}

struct Country {
    const char* name;
    const char* unit;
    int weight;
    double lat_lo, lat_hi, lon_lo, lon_hi;
    std::vector<const char*> regions;
};

const std::vector<Country>& countries() {
    static const std::vector<Country> list = {
        {"Peru",
         "PE",
         40,
         -18.0,
         -3.5,
         -79.8,
         -69.5,
         {"Amazonas",   "Áncash",       "Apurímac",   "Arequipa",      "Ayacucho", "Cajamarca",
          "Cusco",      "Huancavelica", "Huánuco",    "Ica",           "Junín",    "La Libertad",
          "Lambayeque", "Lima",         "Loreto",     "Madre de Dios", "Moquegua", "Pasco",
          "Piura",      "Puno",         "San Martín", "Tacna",         "Tumbes",   "Ucayali"}},
        {"Bolivia",
         "BO",
         30,
         -22.5,
         -10.0,
         -69.3,
         -58.0,
         {"Beni", "Chuquisaca", "Cochabamba", "La Paz", "Oruro", "Pando", "Potosí", "Santa Cruz",
          "Tarija"}},
        {"Paraguay",
         "PA",
         18,
         -27.2,
         -19.5,
         -62.4,
         -54.6,
         {"Alto Paraguay", "Alto Paraná", "Amambay", "Boquerón", "Caaguazú", "Caazapá", "Canindeyú",
          "Central", "Concepción", "Cordillera", "Guairá", "Itapúa", "Misiones", "Ñeembucú",
          "Paraguarí", "Presidente Hayes", "San Pedro"}},
        {"Brazil",
         "BR",
         4,
         -20.0,
         -8.0,
         -66.0,
         -50.0,
         {"Acre", "Rondônia", "Mato Grosso", "Mato Grosso do Sul"}},
        {"Argentina",
         "AR",
         4,
         -27.5,
         -22.0,
         -66.0,
         -54.0,
         {"Jujuy", "Salta", "Formosa", "Chaco", "Misiones"}},
        {"Ecuador",
         "EC",
         2,
         -4.8,
         -0.5,
         -79.5,
         -75.5,
         {"Napo", "Pastaza", "Loja", "Zamora-Chinchipe"}},
        {"Chile", "CH", 1, -21.0, -17.8, -70.2, -68.5, {"Arica y Parinacota", "Tarapacá"}},
        {"Colombia", "CO", 1, -4.0, 0.5, -76.0, -70.0, {"Putumayo", "Amazonas"}},
    };
    return list;
}

std::size_t pick_country(Rng& rng) {
    int total = 0;
    for (const auto& c : countries()) total += c.weight;
    int r = static_cast<int>(rng.below(static_cast<std::size_t>(total)));
    for (std::size_t i = 0; i < countries().size(); ++i) {
        r -= countries()[i].weight;
        if (r < 0) return i;
    }
    return 0;
}

// ---------------------------------------------------------------- words

const std::vector<std::string> kRoots = {
    "thamno",  "myrmo",   "chloro",  "xantho", "leuco",   "melano",  "poecilo", "cyano",
    "erythro", "hylo",    "dendro",  "oreo",   "phaeo",   "micro",   "pachy",   "lepto",
    "brachy",  "campylo", "ortho",   "hemi",   "sclero",  "ochtho",  "cranio",  "gymno",
    "platy",   "rhampho", "hapalo",  "sitta",  "pyrrho",  "chryso",  "glauco",  "lampro",
    "cnemo",   "psilo",   "spizo",   "tachy",  "agelo",   "automo",  "cinclo",  "conopo",
    "dysi",    "elaeno",  "formico", "grallo", "hetero",  "idio",    "knipo",   "lochmo",
    "mecocer", "neo",     "ocreo",   "phylo",  "rhyncho", "schisto", "tarapho", "uro",
};
const std::vector<std::string> kGenusEnds = {
    "ptila",  "philus", "ornis",     "spiza", "thraupis", "rhynchus", "cichla", "myias",
    "pterus", "cercus", "ceps",      "dytes", "dromus",   "colaptes", "ops",    "stoma",
    "tes",    "legus",  "trochilus", "phaga", "cincla",   "laemus",
};
const std::vector<std::string> kEpithetHeads = {
    "rufi",     "albi",   "nigri",  "cinerei", "flavi",   "olivaci", "fusci",
    "castanei", "cyano",  "rubri",  "auri",    "ochro",   "griseo",  "leuco",
    "melano",   "xantho", "chryso", "brunnei", "erythro", "poli"};
const std::vector<std::string> kEpithetTails = {
    "gularis", "ventris", "collis", "ceps",   "pectus", "frons", "capilla",  "pennis", "cauda",
    "notus",   "rostris", "pygius", "gaster", "lophus", "ptera", "cephalus", "thorax", "frenata"};
const std::vector<std::string> kPlaceEpithets = {
    "boliviana",   "peruviana",  "paraguayensis", "andina",        "chacoensis", "yungensis",
    "punensis",    "amazonica",  "cuzcoensis",    "beniensis",     "madidii",    "pilcomayensis",
    "titicacae",   "urubambae",  "tarijensis",    "apurimacensis", "huallagae",  "maranonensis",
    "cochabambae", "sanmartini", "ucayalensis",   "moxensis",      "chiquitana", "tucumana",
};
const std::vector<std::string> kSimpleEpithets = {
    "olivaceus", "fuscatus",   "ochraceus",  "striatus",   "maculatus",
    "melanotis", "leucophrys", "obscurus",   "pallidus",   "elegans",
    "minor",     "major",      "variegatus", "ornatus",    "nigrescens",
    "rufescens", "plumbeus",   "guttatus",   "squamatus",  "cinnamomeus",
    "virescens", "concolor",   "torquatus",  "longicauda", "tenuirostris",
};
const std::vector<std::string> kSyllables = {
    "pa",  "cha", "hua", "qui", "ya", "ma", "ta", "cu", "lla", "pi", "co", "ru", "ja", "po", "ty",
    "mbo", "gua", "ra",  "yu",  "ca", "to", "ni", "sa", "na",  "ri", "pu", "ti", "lu", "mi", "mo"};

struct BodyPart {
    const char* en;  // "breasted"
    const char* es;  // "Pecho"
    bool fem;
};
const std::vector<BodyPart> kParts = {{"breasted", "Pecho", false},   {"crowned", "Corona", true},
                                      {"throated", "Garganta", true}, {"bellied", "Vientre", false},
                                      {"backed", "Dorso", false},     {"tailed", "Cola", true},
                                      {"headed", "Cabeza", true},     {"cheeked", "Mejilla", true},
                                      {"rumped", "Rabadilla", true},  {"browed", "Ceja", true}};
struct Colour {
    const char* en;
    const char* es_m;
    const char* es_f;
};
const std::vector<Colour> kColours = {
    {"Gray", "Gris", "Gris"},           {"Rufous", "Rufo", "Rufa"},
    {"Black", "Negro", "Negra"},        {"White", "Blanco", "Blanca"},
    {"Yellow", "Amarillo", "Amarilla"}, {"Cinnamon", "Canela", "Canela"},
    {"Olive", "Oliva", "Oliva"},        {"Chestnut", "Castaño", "Castaña"},
    {"Blue", "Azul", "Azul"},           {"Red", "Rojo", "Roja"},
    {"Green", "Verde", "Verde"},        {"Buff", "Leonado", "Leonada"},
    {"Ochre", "Ocráceo", "Ocrácea"},    {"Ash", "Cenizo", "Ceniza"},
    {"Tawny", "Pardo", "Parda"},
};
struct Quality {
    const char* en;
    const char* es_m;
    const char* es_f;
};
const std::vector<Quality> kQualities = {
    {"Andean", "Andino", "Andina"},
    {"Chaco", "Chaqueño", "Chaqueña"},
    {"Amazonian", "Amazónico", "Amazónica"},
    {"Peruvian", "Peruano", "Peruana"},
    {"Bolivian", "Boliviano", "Boliviana"},
    {"Paraguayan", "Paraguayo", "Paraguaya"},
    {"Lesser", "Chico", "Chica"},
    {"Greater", "Grande", "Grande"},
    {"Spotted", "Moteado", "Moteada"},
    {"Barred", "Barrado", "Barrada"},
    {"Streaked", "Listado", "Listada"},
    {"Scaled", "Escamoso", "Escamosa"},
    {"Masked", "Enmascarado", "Enmascarada"},
    {"Crested", "Crestado", "Crestada"},
    {"Variable", "Variable", "Variable"},
    {"Pale", "Pálido", "Pálida"},
    {"Dusky", "Oscuro", "Oscura"},
    {"Elegant", "Elegante", "Elegante"},
    {"Plain", "Liso", "Lisa"},
    {"Yungas", "Yungueño", "Yungueña"},
};
struct GroupNoun {
    const char* en;  // singular
    const char* en_plural;
    const char* es;
    bool fem;
};
const std::vector<GroupNoun> kNouns = {
    {"Tinamou", "Tinamous", "Perdiz", true},
    {"Duck", "Ducks", "Pato", false},
    {"Guan", "Guans", "Pava", true},
    {"Dove", "Doves", "Paloma", true},
    {"Hummingbird", "Hummingbirds", "Colibrí", false},
    {"Owl", "Owls", "Lechuza", true},
    {"Trogon", "Trogons", "Trogón", false},
    {"Motmot", "Motmots", "Relojero", false},
    {"Toucan", "Toucans", "Tucán", false},
    {"Woodpecker", "Woodpeckers", "Carpintero", false},
    {"Falcon", "Falcons", "Halcón", false},
    {"Parakeet", "Parakeets", "Cotorra", true},
    {"Antbird", "Antbirds", "Hormiguero", false},
    {"Antshrike", "Antshrikes", "Batará", false},
    {"Antpitta", "Antpittas", "Tororoi", false},
    {"Tapaculo", "Tapaculos", "Tapaculo", false},
    {"Spinetail", "Spinetails", "Cola-Espina", true},
    {"Woodcreeper", "Woodcreepers", "Trepador", false},
    {"Manakin", "Manakins", "Saltarín", false},
    {"Cotinga", "Cotingas", "Cotinga", true},
    {"Flycatcher", "Flycatchers", "Mosquero", false},
    {"Tyrant", "Tyrants", "Tirano", false},
    {"Wren", "Wrens", "Cucarachero", false},
    {"Thrush", "Thrushes", "Zorzal", false},
    {"Siskin", "Siskins", "Jilguero", false},
    {"Oropendola", "Oropendolas", "Oropéndola", true},
    {"Tanager", "Tanagers", "Tangara", true},
    {"Finch", "Finches", "Fringilo", false},
    {"Seedeater", "Seedeaters", "Espiguero", false},
    {"Warbler", "Warblers", "Reinita", true},
    {"Swift", "Swifts", "Vencejo", false},
    {"Nightjar", "Nightjars", "Chotacabras", false},
    {"Kingfisher", "Kingfishers", "Martín Pescador", false},
    {"Jacamar", "Jacamars", "Jacamar", false},
    {"Puffbird", "Puffbirds", "Buco", false},
    {"Barbet", "Barbets", "Barbudo", false},
    {"Heron", "Herons", "Garza", true},
    {"Rail", "Rails", "Rascón", false},
    {"Hawk", "Hawks", "Gavilán", false},
    {"Swallow", "Swallows", "Golondrina", true},
    {"Vireo", "Vireos", "Vireo", false},
    {"Jay", "Jays", "Urraca", true},
    {"Pipit", "Pipits", "Cachirla", true},
    {"Sparrow", "Sparrows", "Gorrión", false},
    {"Grosbeak", "Grosbeaks", "Picogrueso", false},
    {"Blackbird", "Blackbirds", "Tordo", false},
    {"Euphonia", "Euphonias", "Eufonia", true},
    {"Becard", "Becards", "Cabezón", false},
    {"Tityra", "Tityras", "Titira", true},
    {"Foliage-gleaner", "Foliage-gleaners", "Hojarasquero", false},
    {"Earthcreeper", "Earthcreepers", "Bandurrita", true},
    {"Canastero", "Canasteros", "Canastero", false},
    {"Thornbird", "Thornbirds", "Espinero", false},
    {"Gnatcatcher", "Gnatcatchers", "Perlita", true},
    {"Mockingbird", "Mockingbirds", "Calandria", true},
    {"Dipper", "Dippers", "Mirlo Acuático", false},
    {"Plover", "Plovers", "Chorlo", false},
    {"Sandpiper", "Sandpipers", "Playero", false},
    {"Grebe", "Grebes", "Zambullidor", false},
    {"Ibis", "Ibises", "Ibis", false},
};
struct NounPrefix {
    const char* en;  // joined with a hyphen before the noun
    const char* es;  // placed after the Spanish noun
};
const std::vector<NounPrefix> kNounPrefixes = {{"", ""},
                                               {"Ground", "Terrestre"},
                                               {"Tree", "Arborícola"},
                                               {"Bush", "de Matorral"},
                                               {"Marsh", "de Pantano"},
                                               {"Forest", "de Bosque"},
                                               {"Rock", "de Roca"},
                                               {"Cloud", "de Neblina"}};

const std::vector<const char*> kFirstNames = {
    "Adela",    "Bruno",    "Carmen", "Dario",  "Elena",  "Fabián", "Gisela",  "Hugo",    "Irene",
    "Joaquín",  "Karin",    "Lucas",  "Mirta",  "Néstor", "Olga",   "Pieter",  "Quirino", "Renata",
    "Sven",     "Tamara",   "Ulises", "Vera",   "Walter", "Ximena", "Yannick", "Zulema",  "Anneke",
    "Benedikt", "Consuelo", "Dagmar", "Emilio", "Flor",   "Gerrit", "Hilda",   "Ignacio",
};
const std::vector<const char*> kSurnames = {
    "Achával",  "Barrientos", "Cordero",  "Duarte",    "Echeverry", "Fonseca",
    "Galarza",  "Herrera",    "Iturri",   "Jáuregui",  "Kessler",   "Lanza",
    "Miranda",  "Noguera",    "Ordóñez",  "Pacheco",   "Quispe",    "Rojas",
    "Saavedra", "Toledo",     "Urquidi",  "Villca",    "Wachtel",   "Yupanqui",
    "Zeballos", "Brinkhof",   "Terhorst", "Lindqvist", "Aramburu",  "Choque",
    "Mendieta", "Benítez",    "Vaca",     "Arce",      "Soliz",     "Gimeno",
};

std::string capitalise(std::string s) {
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s;
}

// Upper case in plain ASCII (keys are typed by data editors): the accented
// letters of Spanish place names lose their accents.
std::string upper_ascii(std::string_view s) {
    static const std::array<std::pair<std::string_view, char>, 12> kAccents = {{{"á", 'A'},
                                                                                {"é", 'E'},
                                                                                {"í", 'I'},
                                                                                {"ó", 'O'},
                                                                                {"ú", 'U'},
                                                                                {"ñ", 'N'},
                                                                                {"Á", 'A'},
                                                                                {"É", 'E'},
                                                                                {"Í", 'I'},
                                                                                {"Ó", 'O'},
                                                                                {"Ú", 'U'},
                                                                                {"Ñ", 'N'}}};
    std::string r;
    for (std::size_t i = 0; i < s.size();) {
        bool replaced = false;
        for (const auto& [from, to] : kAccents)
            if (s.substr(i, from.size()) == from) {
                r += to;
                i += from.size();
                replaced = true;
                break;
            }
        if (!replaced) {
            const char c = s[i++];
            r += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    return r;
}

std::string place_word(Rng& rng) {
    std::string w;
    const int n = rng.between(2, 4);
    for (int i = 0; i < n; ++i) w += rng.pick(kSyllables);
    return capitalise(w);
}

std::string two_digits(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string four_digits(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", v);
    return buf;
}

// ---------------------------------------------------------------- records

struct Family {
    std::string sci, folder, en;
    GroupNoun noun;
    NounPrefix prefix;
    std::vector<std::string> genera;
    std::vector<int> species;  // indices, order 1
};

struct Species {
    int family = 0;
    std::string sci, en, es, notes, habitat;
    std::vector<std::string> ssp;        // lines as written (with the not-real marker)
    std::vector<std::string> ssp_names;  // names the other files refer to
    std::vector<bool> units = std::vector<bool>(kUnits.size(), false);
    int number = 0, uid = 0, credit = 0;
    std::string threat, maps, literature;
    bool extralimital = false;
    bool e_flag = true;
    int record_weight = 0, picture_weight = 0;
    std::vector<int> present_items, background_items;
    bool has_photo = false;
};

struct Locality {
    std::string key, name, region, country, prefix, text, coords, elevation, site;
    int unit = -1;
};

struct AudioCD {
    int number = 0;
    std::string title, name, web, folder;
    bool carried = false;
    std::vector<int> track_tenths;  // used length of each track
};

struct Cut {
    std::string id;
    bool on_cd = false;
    int cd = -1, track = 0, offset = 0, cd_length = 0;
    bool selected = false;
    int compression = 0, seconds = 0;
    int time = -1, date = -1, source = -1;
    int locality = 0, recordist = 0;
    std::string text1, text2;
    std::vector<int> items;
};

struct Item {
    int species = 0, cut = 0;
    bool present = true;
    char kind = 'A';
    std::string percent = "100", ssp, text, remark, more;
    int number = -9991234;
};

struct Picture {
    int species = 0;
    std::string ssp;
    int photographer = -1, date = -1, locality = -1;
    bool nss = false;
    std::string text;
};

struct Database {
    std::vector<Family> families;
    std::set<std::string> genera;
    std::vector<Species> species;
    std::vector<std::string> literature;
    std::vector<std::array<std::string, 4>> people;
    std::vector<int> recordists, photographers;
    std::vector<Locality> localities;
    std::vector<std::vector<int>> localities_by_unit;
    std::vector<AudioCD> cds;
    std::vector<Cut> cuts;
    std::vector<Item> items;
    std::vector<Picture> pictures;
};

// ---------------------------------------------------------------- taxa

std::string genus_name(Rng& rng) {
    return capitalise(rng.pick(kRoots) + rng.pick(kGenusEnds));
}

// A family is named on the stem of a genus: Thamnophilus gives Thamnophilidae.
std::string family_name(std::string genus) {
    while (!genus.empty() && std::string("aeiouys").find(genus.back()) != std::string::npos)
        genus.pop_back();
    return genus + "idae";
}

std::string epithet(Rng& rng) {
    switch (rng.below(4)) {
        case 0:
            return rng.pick(kPlaceEpithets);
        case 1:
            return rng.pick(kSimpleEpithets);
        default:
            return rng.pick(kEpithetHeads) + rng.pick(kEpithetTails);
    }
}

void make_families(const Options& o, Rng& rng, Database& db) {
    std::set<std::string> sci_used, folders, groups;
    for (int f = 0; f < o.families; ++f) {
        Family fam;
        do fam.sci = family_name(genus_name(rng));
        while (!sci_used.insert(fam.sci).second);
        std::string folder = upper_ascii(fam.sci.substr(0, 8));
        for (int n = 1; !folders.insert(folder).second; ++n)
            folder = folder.substr(0, 5) + std::to_string(100 + n % 900);
        fam.folder = folder;
        std::string group;
        do {
            fam.noun = rng.pick(kNouns);
            fam.prefix = f < 40 ? kNounPrefixes[0] : rng.pick(kNounPrefixes);
            group = std::string(fam.prefix.en) + "|" + fam.noun.en;
        } while (!groups.insert(group).second &&
                 groups.size() < kNouns.size() * kNounPrefixes.size());
        const std::string plural = *fam.prefix.en
                                       ? std::string(fam.prefix.en) + "-" + fam.noun.en_plural
                                       : std::string(fam.noun.en_plural);
        fam.en = rng.chance(0.3) ? plural + " and Allies" : plural;
        db.families.push_back(std::move(fam));
    }
}

// Spreads the species over the families: a few large families, many small.
std::vector<int> family_sizes(const Options& o, Rng& rng) {
    std::vector<int> size(static_cast<std::size_t>(o.families), 1);
    std::vector<int> weight(size.size());
    for (auto& w : weight) w = rng.chance(0.15) ? rng.between(20, 60) : rng.between(1, 10);
    int left = o.species - o.families;
    // One family of a given size, as the largest real editions have, for
    // measuring what unfolding it costs; the others share the rest.
    if (o.largest_family > 0) {
        const std::size_t big = size.size() / 2;
        size[big] = o.largest_family;
        weight[big] = 0;
        left -= o.largest_family - 1;
    }
    int total = 0;
    for (int w : weight) total += w;
    for (; left > 0;) {
        int r = static_cast<int>(rng.below(static_cast<std::size_t>(total)));
        std::size_t f = 0;
        while (r >= weight[f]) r -= weight[f++];
        if (size[f] < 399) {
            ++size[f];
            --left;
        } else {
            total -= weight[f];
            weight[f] = 0;
        }
    }
    return size;
}

void make_distribution(Rng& rng, Species& s) {
    static const std::vector<std::vector<const char*>> kRanges = {
        {"EC", "PE", "BO", "AR", "CH"},
        {"VE", "GU", "CO", "EC", "PE", "BO", "BR"},
        {"BO", "PA", "AR"},
        {"PA", "BR", "AR", "UR"},
        {"ME", "GA", "ES", "BE", "HO", "NI", "CR", "PN", "VE", "TR",
         "GU", "CO", "EC", "PE", "BO", "PA", "BR", "AR", "UR", "OT"},
        {"CO", "EC", "PE"},
        {"PE", "BO"},
    };
    if (s.extralimital) {
        // Vagrants and species of the borders: known from the region only by records outside the
        // main countries.
        for (const char* u : {"BR", "AR", "UR", "CH", "OT"})
            if (rng.chance(0.5)) s.units[static_cast<std::size_t>(unit_index(u))] = true;
        s.units[static_cast<std::size_t>(unit_index("AR"))] = true;
        return;
    }
    const double kind = static_cast<double>(rng.below(100));
    if (kind < 12) {
        s.units[static_cast<std::size_t>(rng.pick(std::vector<int>{kPE, kPE, kBO, kPA}))] = true;
        return;
    }
    for (const char* u : rng.pick(kRanges))
        if (rng.chance(0.85)) s.units[static_cast<std::size_t>(unit_index(u))] = true;
    if (!s.units[kPE] && !s.units[kBO] && !s.units[kPA])
        s.units[static_cast<std::size_t>(rng.pick(std::vector<int>{kPE, kBO, kPA}))] = true;
}

std::string distribution_text(const Species& s) {
    std::string t;
    for (std::size_t u = 0; u < kUnits.size(); ++u)
        if (s.units[u]) {
            if (!t.empty()) t += '-';
            t += kUnits[u];
        }
    return t;
}

std::string species_maps(Rng& rng, const Species& s) {
    std::vector<std::string> maps = {"UPPER_AMAZONIA_MAP", "SOUTHERN_HALF_ANDES_MAP",
                                     "SOUTH_OF_AMAZON_MAP", "NEOTROPICS_MAP",
                                     "BOLIVIA_AND_PUNO_ANDES_MAP"};
    int count = 0;
    for (bool b : s.units) count += b ? 1 : 0;
    std::string main = rng.pick(maps);
    if (count == 1 && s.units[kPE])
        main = "PERU_MAP";
    else if (count == 1 && s.units[kBO])
        main = "BOLIVIA_MAP";
    else if (count == 1 && s.units[kPA])
        main = "PARAGUAY_MAP";
    std::string d = "D(\"" + main + "\" ----Main";
    if (rng.chance(0.1)) {
        const std::string second = main == "PERU_MAP" ? "BOLIVIA_MAP" : "PERU_MAP";
        d += ",\"" + second + "\" Mask----";
    }
    return d + ")";
}

void make_species(const Options& o, Rng& rng, Database& db) {
    const std::vector<int> sizes = family_sizes(o, rng);
    std::set<std::string> binomials;
    int number = 10, uid = 10000;
    static const std::vector<std::string> kHabitats = {
        "Humid lowland forest.",
        "Varzea and river-edge forest.",
        "Humid montane forest, 1500-2800 m.",
        "Elfin forest and shrubbery at the treeline.",
        "Puna grassland and rocky slopes.",
        "Dry Chaco woodland.",
        "Savanna with gallery forest.",
        "Dry inter-Andean valleys with scrub.",
        "<I>Polylepis</I> woodland.",
        "Marshes and lake shores.",
        "Atlantic forest.",
        "Bamboo thickets.",
        "Forest edge, clearings and gardens.",
        "Reed beds of <I>totora</I> on high Andean lakes.",
    };
    for (std::size_t f = 0; f < db.families.size(); ++f) {
        Family& fam = db.families[f];
        // Enough genera that the epithets never run out inside one family.
        const int genera = std::max(rng.between(1, 6), sizes[f] / 40 + 1);
        while (static_cast<int>(fam.genera.size()) < genera) {
            std::string g = genus_name(rng);
            if (db.genera.insert(g).second) fam.genera.push_back(g);
        }
        std::set<std::string> names_en;
        for (int k = 0; k < sizes[f]; ++k) {
            Species s;
            s.family = static_cast<int>(f);
            std::string sci;
            do sci = rng.pick(fam.genera) + " " + epithet(rng);
            while (!binomials.insert(sci).second);
            s.sci = sci;
            // Vernacular names: a quality, a coloured body part, or both, before the family's noun.
            for (int tries = 0;; ++tries) {
                const auto& q = rng.pick(kQualities);
                const auto& p = rng.pick(kParts);
                const auto& c = rng.pick(kColours);
                const bool noun_fem = fam.noun.fem;
                const std::string noun_en = *fam.prefix.en
                                                ? std::string(fam.prefix.en) + "-" + fam.noun.en
                                                : std::string(fam.noun.en);
                std::string noun_es = fam.noun.es;
                const std::string noun_es_tail =
                    *fam.prefix.es ? std::string(" ") + fam.prefix.es : "";
                const std::size_t form = tries > 40 ? 2 : rng.below(3);
                std::string en, es;
                if (form == 0) {
                    en = std::string(q.en) + " " + noun_en;
                    es = noun_es + " " + (noun_fem ? q.es_f : q.es_m) + noun_es_tail;
                } else {
                    en = std::string(c.en) + "-" + p.en + " " + noun_en;
                    es = noun_es + noun_es_tail + " de " + p.es + " " + (p.fem ? c.es_f : c.es_m);
                    if (form == 2) {
                        en = std::string(q.en) + " " + en;
                        es = noun_es + " " + (noun_fem ? q.es_f : q.es_m) + noun_es_tail + " de " +
                             p.es + " " + (p.fem ? c.es_f : c.es_m);
                    }
                }
                if (names_en.insert(en).second) {
                    s.en = en;
                    s.es = es;
                    break;
                }
            }
            s.extralimital = rng.chance(0.02);
            s.e_flag = rng.chance(0.9);
            number += rng.between(1, 12);
            s.number = s.extralimital ? 1000000 + number : number;
            uid += rng.between(1, 30);
            s.uid = uid;
            make_distribution(rng, s);
            // Subspecies, the nominate one usually among them.
            const std::string species_epithet = sci.substr(sci.find(' ') + 1);
            const int nssp = rng.chance(0.45) ? 0 : rng.between(2, 7);
            std::set<std::string> seen;
            for (int n = 0; n < nssp; ++n) {
                std::string name = (n == 0 && rng.chance(0.7)) ? species_epithet : epithet(rng);
                if (!seen.insert(name).second) continue;
                s.ssp_names.push_back(name);
                s.ssp.push_back(name);
            }
            if (rng.chance(0.015)) {
                const std::string odd = rng.chance(0.5)       ? "undescribed taxon"
                                        : s.ssp_names.empty() ? std::string("unnamed form")
                                                              : s.ssp_names[0] + " group";
                if (seen.insert(odd).second) {
                    s.ssp_names.push_back(odd);
                    s.ssp.push_back(odd + "-NOT REAL SSP");
                }
            }
            if (rng.chance(0.05))
                s.threat =
                    rng.pick(std::vector<std::string>{"VU", "VU", "VU", "EN", "EN", "CR", "EX"});
            if (rng.chance(0.15)) s.maps = species_maps(rng, s);
            if (rng.chance(0.05)) s.credit = rng.between(1, 4);
            s.habitat = rng.pick(kHabitats);
            if (rng.chance(0.4)) {
                s.notes = "Song a series of " +
                          rng.pick(std::vector<std::string>{"high", "low", "rising", "falling",
                                                            "accelerating", "whistled"}) +
                          " notes" +
                          rng.pick(std::vector<std::string>{".", ", given mainly at dawn.",
                                                            ", often in duet."});
                if (!s.ssp_names.empty() && rng.chance(0.5))
                    s.notes += " The race <I>" + s.ssp_names.back() + "</I> is " +
                               rng.pick(std::vector<std::string>{"darker", "paler", "larger",
                                                                 "more heavily streaked"}) +
                               ".";
                if (rng.chance(0.08)) s.notes += "LINEFEED_ONLY_REPLACERLocally common.";
            }
            if (!db.literature.empty() && rng.chance(0.08)) {
                const int n = rng.between(1, 3);
                for (int e = 0; e < n; ++e) {
                    if (e) s.literature += "%$#fgd&";
                    s.literature +=
                        std::to_string(rng.between(1, static_cast<int>(db.literature.size()))) +
                        "," +
                        rng.pick(std::vector<std::string>{"Voice", "Taxonomy", "Nesting",
                                                          "Distribution", "Conservation status",
                                                          "Plumage variation"});
                }
            }
            s.record_weight =
                rng.chance(0.08) ? 0 : (rng.chance(0.2) ? rng.between(10, 40) : rng.between(1, 8));
            s.picture_weight = rng.chance(0.4) ? 0 : rng.between(1, 6);
            fam.species.push_back(static_cast<int>(db.species.size()));
            db.species.push_back(std::move(s));
        }
    }
}

void make_literature(Rng& rng, Database& db) {
    static const std::vector<std::string> kJournals = {"Revista Andina de Campo",
                                                       "Neotropical Field Notes",
                                                       "Journal of Field Bioacoustics",
                                                       "Chaco Natural History",
                                                       "Bulletin of Neotropical Systematics",
                                                       "Occasional Papers in Conservation"};
    static const std::vector<std::string> kTopics = {
        "Notes on the voices of", "Breeding of",          "Geographic variation in", "A survey of",
        "The status of",          "Seasonal movements of"};
    static const std::vector<std::string> kSubjects = {"Andean birds",     "birds of the Yungas",
                                                       "Chaco birds",      "Amazonian antbirds",
                                                       "highland finches", "forest raptors"};
    const int n = 60;
    for (int i = 0; i < n; ++i)
        db.literature.push_back(
            std::string(rng.pick(kSurnames)) + ", " + static_cast<char>('A' + rng.below(26)) +
            ". (" + std::to_string(rng.between(1960, 2009)) + ") " + rng.pick(kTopics) + " " +
            rng.pick(kSubjects) + ". <I>" + rng.pick(kJournals) + "</I> " +
            std::to_string(rng.between(1, 40)) + ": " + std::to_string(rng.between(1, 200)) + "-" +
            std::to_string(rng.between(201, 320)) + ".");
}

// ---------------------------------------------------------------- people and places

void make_people(const Options& o, Rng& rng, Database& db) {
    const int recordists = std::clamp(o.recordings / 150, 8, 400);
    const int photographers = std::clamp(o.pictures / 60, 4, 200);
    std::set<std::string> used;
    const int total = recordists + photographers;
    for (int i = 0; i < total; ++i) {
        std::string name;
        do {
            name = std::string(rng.pick(kFirstNames)) + " " + rng.pick(kSurnames);
            if (rng.chance(0.4)) name += std::string(" ") + rng.pick(kSurnames);
        } while (!used.insert(name).second);
        std::string mail = "";
        for (char c : name)
            if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
                mail += static_cast<char>(c | 0x20);
        db.people.push_back({name, i < recordists ? "Sound recordist" : "Photographer",
                             rng.chance(0.7) ? mail + "@example.org" : "",
                             rng.chance(0.4) ? "https://www.example.org/people/" + mail : ""});
        (i < recordists ? db.recordists : db.photographers).push_back(i);
    }
    // A few people both record and photograph.
    for (int i = 0; i < recordists / 10; ++i) db.photographers.push_back(rng.pick(db.recordists));
}

std::string coordinate(Rng& rng, double lo, double hi, bool with_seconds) {
    const double v = lo + (hi - lo) * static_cast<double>(rng.below(1000000)) / 1000000.0;
    const double a = v < 0 ? -v : v;
    const int deg = static_cast<int>(a);
    const int min = static_cast<int>((a - deg) * 60.0);
    const int sec = with_seconds ? static_cast<int>(((a - deg) * 60.0 - min) * 60.0) : 0;
    int packed = deg * 6000 + min * 100 + sec;
    if (v < 0) packed = -packed;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08d%c", packed, with_seconds ? 'D' : ' ');
    return buf;
}

void make_localities(const Options& o, Rng& rng, Database& db) {
    static const std::vector<std::string> kKinds = {
        "Cerro ", "Laguna ", "Río ", "Estancia ", "Puerto ", "San ", "", "", "", "Abra "};
    static const std::vector<std::string> kPrefixes = {"Parque Nacional", "Reserva Natural",
                                                       "Estación Biológica", "Santuario Nacional"};
    static const std::vector<std::string> kTexts = {"Humid lowland forest along a river.",
                                                    "Cloud forest on a steep slope.",
                                                    "Dry Chaco woodland on sandy soils.",
                                                    "<I>Polylepis</I> woodland and puna.",
                                                    "Seasonally flooded savanna with palm groves.",
                                                    "Inter-Andean valley with thorn scrub.",
                                                    "Lake shore with reed beds.",
                                                    "Secondary growth and plantations."};
    db.localities_by_unit.assign(kUnits.size(), {});
    for (int i = 1; i < o.localities; ++i) {
        Locality l;
        const Country& c = countries()[pick_country(rng)];
        l.name = rng.pick(kKinds) + place_word(rng);
        if (rng.chance(0.3)) l.name += " " + place_word(rng);
        l.region = rng.pick(c.regions);
        l.country = c.name;
        l.unit = unit_index(c.unit);
        l.prefix = rng.chance(0.15) ? rng.pick(kPrefixes) : "";
        l.text = rng.chance(0.8) ? rng.pick(kTexts) : "";
        const bool seconds = rng.chance(0.2);
        l.coords = coordinate(rng, c.lat_lo, c.lat_hi, seconds);
        l.coords += coordinate(rng, c.lon_lo, c.lon_hi, seconds);
        l.elevation = std::to_string(rng.between(1, 46) * 100) + " m";
        if (rng.chance(0.05)) l.site = "site" + four_digits(i) + ".htm";
        l.key = std::string(c.unit) + "-" + four_digits(i) + " " + upper_ascii(l.name);
        db.localities_by_unit[static_cast<std::size_t>(l.unit)].push_back(
            static_cast<int>(db.localities.size()));
        db.localities.push_back(std::move(l));
    }
    Locality zero;
    zero.key = "ZERO";
    zero.name = "ZERO LOCATION";
    zero.text = "Locality not known.";
    zero.coords = "00000000 00000000 ";
    db.localities.push_back(std::move(zero));
}

int zero_locality(const Database& db) {
    return static_cast<int>(db.localities.size()) - 1;
}

// ---------------------------------------------------------------- recordings

// Picks recorded species for a place, by their weight, among those whose
// distribution covers the place's country.
class SpeciesPicker {
  public:
    SpeciesPicker(const Database& db, bool by_pictures) : db_(db), by_unit_(kUnits.size()), any_{} {
        for (std::size_t i = 0; i < db.species.size(); ++i) {
            const Species& s = db.species[i];
            const int w = by_pictures ? s.picture_weight : s.record_weight;
            if (w == 0) continue;
            add(any_, static_cast<int>(i), w);
            for (std::size_t u = 0; u < kUnits.size(); ++u)
                if (s.units[u]) add(by_unit_[u], static_cast<int>(i), w);
        }
    }
    bool empty() const { return any_.index.empty(); }
    int pick(Rng& rng, int unit, const std::vector<int>& load, int cap) const {
        const Table& t = (unit >= 0 && !by_unit_[static_cast<std::size_t>(unit)].index.empty())
                             ? by_unit_[static_cast<std::size_t>(unit)]
                             : any_;
        for (int tries = 0; tries < 20 && !t.index.empty(); ++tries) {
            const int i = draw(rng, t);
            if (load[static_cast<std::size_t>(i)] < cap) return i;
        }
        for (std::size_t i = 0; i < db_.species.size(); ++i)
            if (load[i] < cap) return static_cast<int>(i);
        return -1;
    }

  private:
    struct Table {
        std::vector<int> index;
        std::vector<long long> cumulative;
    };
    static void add(Table& t, int i, int w) {
        t.index.push_back(i);
        t.cumulative.push_back((t.cumulative.empty() ? 0 : t.cumulative.back()) + w);
    }
    static int draw(Rng& rng, const Table& t) {
        const long long r =
            static_cast<long long>(rng.below(static_cast<std::size_t>(t.cumulative.back())));
        const auto it = std::upper_bound(t.cumulative.begin(), t.cumulative.end(), r);
        return t.index[static_cast<std::size_t>(it - t.cumulative.begin())];
    }
    const Database& db_;
    std::vector<Table> by_unit_;
    Table any_;
};

constexpr int kItemCap = 450;  // keeps every species inside the list's button-id range

int pick_locality(Rng& rng, const Database& db, std::size_t country) {
    const auto& list =
        db.localities_by_unit[static_cast<std::size_t>(unit_index(countries()[country].unit))];
    if (list.empty() || rng.chance(0.004)) return zero_locality(db);
    return rng.pick(list);
}

std::string pick_ssp(Rng& rng, const Species& s) {
    if (s.ssp_names.empty() || rng.chance(0.25)) return "";
    // The last-named subspecies stays unrecorded in most species.
    const std::size_t n = s.ssp_names.size() > 2 ? s.ssp_names.size() - 1 : s.ssp_names.size();
    std::string name = s.ssp_names[rng.below(n)];
    if (rng.chance(0.05)) name += " (P)";
    return name;
}

char pick_kind(Rng& rng) {
    const int r = static_cast<int>(rng.below(100));
    return r < 45 ? 'A' : r < 75 ? 'B' : r < 90 ? 'C' : r < 97 ? 'X' : r < 99 ? 'D' : ' ';
}

std::string pick_description(Rng& rng) {
    static const std::vector<std::string> k = {"Song.",
                                               "Song at dawn.",
                                               "Calls.",
                                               "Song and calls.",
                                               "Alarm calls.",
                                               "Duet.",
                                               "Flight calls.",
                                               "Song of a male.",
                                               "Calls of a pair.",
                                               "Contact calls of a flock.",
                                               "Drumming.",
                                               "Song at night.",
                                               "Song, answered by a second bird.",
                                               "Begging calls of young.",
                                               "Display calls at a lek."};
    return rng.pick(k);
}

void add_item(Database& db, Rng& rng, int cut, int species, bool present, std::vector<int>& load) {
    Item it;
    it.species = species;
    it.cut = cut;
    it.present = present;
    const Species& s = db.species[static_cast<std::size_t>(species)];
    if (present) {
        it.kind = pick_kind(rng);
        it.percent = rng.chance(0.85)  ? "100"
                     : rng.chance(0.1) ? "?"
                                       : std::to_string(rng.between(30, 95));
        it.ssp = pick_ssp(rng, s);
        it.text = pick_description(rng);
        if (rng.chance(0.15))
            it.remark = rng.pick(std::vector<std::string>{
                "Recorded after playback.", "Distant bird.", "Two individuals.",
                "Bird seen while recording.", "Possibly a juvenile."});
        if (!it.remark.empty() && rng.chance(0.2)) it.more = "Identification confirmed by sight.";
    } else {
        it.kind = 'C';
        it.percent = std::to_string(rng.between(5, 40));
        it.text = "Heard in the background.";
    }
    const int id = static_cast<int>(db.items.size());
    db.items.push_back(std::move(it));
    db.cuts[static_cast<std::size_t>(cut)].items.push_back(id);
    Species& sp = db.species[static_cast<std::size_t>(species)];
    (present ? sp.present_items : sp.background_items).push_back(id);
    ++load[static_cast<std::size_t>(species)];
}

std::string equipment(Rng& rng) {
    static const std::vector<std::string> k = {
        "Parabolic reflector, cassette recorder.", "Shotgun microphone, cassette recorder.",
        "Shotgun microphone, DAT recorder.", "Omnidirectional microphone pair.",
        "Shotgun microphone, solid-state recorder."};
    return rng.pick(k);
}

int random_date(Rng& rng, int year_lo, int year_hi) {
    return rng.between(year_lo, year_hi) * 10000 + rng.between(1, 12) * 100 + rng.between(1, 28);
}

int random_time(Rng& rng) {
    return rng.chance(0.1) ? rng.between(19, 23) * 100 + rng.between(0, 59)
                           : rng.between(5, 18) * 100 + rng.between(0, 59);
}

void make_audio_cds(Rng& rng, Database& db, int parts) {
    if (parts == 0) return;
    static const std::vector<std::string> kSubjects = {
        "the Yungas",         "the Gran Chaco",    "the Altiplano",     "the Amazonian lowlands",
        "the Andean valleys", "the Pantanal edge", "the Beni savannas", "the Atlantic forest"};
    const int ncd = std::clamp(parts / 120, 1, 255);
    for (int i = 0; i < ncd; ++i) {
        AudioCD cd;
        cd.number = 100 + 3 * i;
        const std::string subject = rng.pick(kSubjects);
        cd.title = "Bird voices of " + subject +
                   ". Songs and calls recorded in Peru, Bolivia and Paraguay, volume " +
                   std::to_string(i + 1);
        cd.name = "Bird voices of " + subject + ", volume " + std::to_string(i + 1);
        cd.web = "https://www.example.org/audio/cd" + std::to_string(cd.number);
        cd.carried = rng.chance(0.5);
        cd.folder = "CD" + std::to_string(cd.number);
        db.cds.push_back(std::move(cd));
    }
}

void make_recordings(const Options& o, Rng& rng, Database& db) {
    SpeciesPicker picker(db, false);
    std::vector<int> load(db.species.size(), 0);
    const int cd_parts = o.recordings >= 20 ? o.recordings / 10 : 0;
    make_audio_cds(rng, db, cd_parts);
    const int file_parts = o.recordings - cd_parts;

    // Sound files: field tapes, each a trip of one recordist to a few places of one country.
    int tape = 1000;
    int source = 20000;
    while (static_cast<int>(db.cuts.size()) < file_parts) {
        tape += rng.between(1, 3);
        const int recordist = rng.pick(db.recordists);
        const std::size_t country = pick_country(rng);
        std::vector<int> places;
        for (int n = rng.between(1, 4); n > 0; --n)
            places.push_back(pick_locality(rng, db, country));
        int date = random_date(rng, 1975, 2009);
        const int left = file_parts - static_cast<int>(db.cuts.size());
        const int cuts = std::min(left, rng.between(10, 80));
        const std::size_t before = db.cuts.size();
        int part[2] = {0, 0};
        for (int n = 0; n < cuts; ++n) {
            const int side = n < (cuts + 1) / 2 ? 0 : 1;
            part[side] += rng.chance(0.2) ? 2 : 1;
            if (rng.chance(0.2) && date % 100 < 28) ++date;
            const int loc = rng.pick(places);
            const int unit = db.localities[static_cast<std::size_t>(loc)].unit;
            const int species = picker.pick(rng, unit, load, kItemCap);
            if (species < 0) break;
            // Now and then one field recording gives two cuts, kept apart by a second letter.
            const bool split = n + 1 < cuts && rng.chance(0.03);
            const int time = rng.chance(0.05) ? -1 : random_time(rng);
            ++source;
            for (int half = 0; half < (split ? 2 : 1); ++half) {
                Cut c;
                c.id = std::to_string(tape) + (side ? "B" : "A") + four_digits(part[side]) +
                       (split ? (half ? "B" : "A") : "");
                const int r = static_cast<int>(rng.below(100));
                c.compression = r < 20   ? 0
                                : r < 80 ? 2
                                : r < 90 ? 3
                                : r < 95 ? 1
                                         : rng.between(4, 6);
                c.seconds = rng.chance(0.01) ? 0 : rng.between(5, 180);
                c.time = time;
                c.date = rng.chance(0.02) ? -1 : date;
                c.source = source;
                c.locality = loc;
                c.recordist = recordist;
                c.text1 = equipment(rng);
                c.text2 = rng.chance(0.3)
                              ? rng.pick(std::vector<std::string>{
                                    "Light wind.", "Light rain, frogs calling.", "Insects calling.",
                                    "River noise in the background."})
                              : "";
                db.cuts.push_back(std::move(c));
                add_item(db, rng, static_cast<int>(db.cuts.size()) - 1, species, true, load);
            }
            if (split) ++n;
        }
        if (db.cuts.size() == before) break;  // every species is full
    }

    // Parts of audio-CD tracks: one to four parts a track, each from a single field recording.
    int done = 0;
    for (std::size_t ci = 0; ci < db.cds.size(); ++ci) {
        AudioCD& cd = db.cds[ci];
        const int share = (cd_parts - done) / static_cast<int>(db.cds.size() - ci);
        int in_cd = 0;
        // Big editions put more parts on a track rather than more than 99 tracks on a disc.
        const int per_track = std::max(4, 2 * ((share + 98) / 99));
        while (in_cd < share && static_cast<int>(cd.track_tenths.size()) < 99) {
            const int track = static_cast<int>(cd.track_tenths.size()) + 1;
            const int nparts = std::min({share - in_cd, rng.between(1, per_track), 99});
            int offset = rng.between(0, 30);
            const std::size_t country = pick_country(rng);
            const int loc0 = pick_locality(rng, db, country);
            const int species = picker.pick(rng, db.localities[static_cast<std::size_t>(loc0)].unit,
                                            load, kItemCap - 4);
            if (species < 0) break;
            for (int k = 1; k <= nparts; ++k) {
                Cut c;
                c.on_cd = true;
                c.cd = static_cast<int>(ci);
                c.track = track;
                c.id = std::to_string(cd.number) + "T" + two_digits(track) + two_digits(k);
                c.offset = offset;
                c.cd_length = rng.between(150, 1200);
                offset += c.cd_length + rng.between(5, 40);
                c.locality =
                    k == 1 ? loc0
                           : pick_locality(rng, db, rng.chance(0.8) ? country : pick_country(rng));
                const Locality& l = db.localities[static_cast<std::size_t>(c.locality)];
                c.selected = l.unit == kPE || l.unit == kBO || l.unit == kPA;
                c.recordist = rng.pick(db.recordists);
                c.time = random_time(rng);
                c.date = random_date(rng, 1980, 2009);
                c.text1 = equipment(rng);
                db.cuts.push_back(std::move(c));
                add_item(db, rng, static_cast<int>(db.cuts.size()) - 1, species, true, load);
            }
            cd.track_tenths.push_back(offset);
            in_cd += nparts;
        }
        done += in_cd;
    }

    // The remaining items: other species heard in the same recordings, mostly
    // in the background, sometimes as a second species of the cut.
    const int first_extra = static_cast<int>(db.items.size());
    for (int n = first_extra; n < o.items && !db.cuts.empty(); ++n) {
        const int cut = static_cast<int>(rng.below(db.cuts.size()));
        const Cut& c = db.cuts[static_cast<std::size_t>(cut)];
        int species = picker.pick(rng, db.localities[static_cast<std::size_t>(c.locality)].unit,
                                  load, kItemCap);
        bool clash = species < 0;
        for (int other : c.items)
            clash = clash || db.items[static_cast<std::size_t>(other)].species == species;
        if (clash) {
            species = picker.pick(rng, -1, load, kItemCap);
            for (int other : c.items)
                if (species < 0 || db.items[static_cast<std::size_t>(other)].species == species)
                    species = -1;
        }
        if (species < 0) {
            // Fall back to any species not yet in this cut.
            for (std::size_t s = 0; s < db.species.size() && species < 0; ++s) {
                bool used = load[s] >= kItemCap;
                for (int other : c.items)
                    used = used ||
                           db.items[static_cast<std::size_t>(other)].species == static_cast<int>(s);
                if (!used) species = static_cast<int>(s);
            }
        }
        if (species < 0) continue;
        add_item(db, rng, cut, species, rng.chance(0.3), load);
    }
}

// Present items first (grouped by subspecies, then sound files before audio
// CDs, then by date), items heard only in the background last: the list stops
// at the first item that is not present.
void order_items(Database& db) {
    for (Species& s : db.species) {
        auto ssp_rank = [&](const Item& it) {
            std::string name = it.ssp;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, " (P)") == 0)
                name.resize(name.size() - 4);
            for (std::size_t i = 0; i < s.ssp_names.size(); ++i)
                if (s.ssp_names[i] == name) return static_cast<int>(i);
            return -1;
        };
        std::stable_sort(s.present_items.begin(), s.present_items.end(), [&](int a, int b) {
            const Item& x = db.items[static_cast<std::size_t>(a)];
            const Item& y = db.items[static_cast<std::size_t>(b)];
            const Cut& cx = db.cuts[static_cast<std::size_t>(x.cut)];
            const Cut& cy = db.cuts[static_cast<std::size_t>(y.cut)];
            if (ssp_rank(x) != ssp_rank(y)) return ssp_rank(x) < ssp_rank(y);
            if (cx.on_cd != cy.on_cd) return !cx.on_cd;
            return cx.date < cy.date;
        });
        // Item numbers: a new group of ten for each subspecies.
        int group = 0, within = 0, last_rank = -2;
        for (int id : s.present_items) {
            Item& it = db.items[static_cast<std::size_t>(id)];
            const int rank = ssp_rank(it);
            if (rank != last_rank) {
                ++group;
                within = 0;
                last_rank = rank;
            } else {
                ++within;
            }
            it.number = within < 10 ? group * 10 + within : -9991234;
        }
    }
}

void make_pictures(const Options& o, Rng& rng, Database& db) {
    SpeciesPicker picker(db, true);
    if (picker.empty()) return;
    std::vector<int> load(db.species.size(), 0);
    static const std::vector<std::string> kTexts = {
        "Adult.",         "Male.",           "Female.", "Juvenile.", "Pair.", "Adult at the nest.",
        "Adult feeding.", "Male displaying."};
    for (int n = 0; n < o.pictures; ++n) {
        const int species = picker.pick(rng, -1, load, 1 << 30);
        ++load[static_cast<std::size_t>(species)];
        Species& s = db.species[static_cast<std::size_t>(species)];
        Picture p;
        p.species = species;
        p.nss = rng.chance(0.08);
        if (!p.nss) {
            p.ssp = pick_ssp(rng, s);
            s.has_photo = true;
        }
        p.photographer = rng.chance(0.97) ? rng.pick(db.photographers) : -1;
        p.date = rng.chance(0.85) ? random_date(rng, 1985, 2009) : -1;
        if (rng.chance(0.7)) {
            int unit = -1;
            for (int u : {kPE, kBO, kPA})
                if (s.units[static_cast<std::size_t>(u)] && unit < 0) unit = u;
            const auto& list =
                db.localities_by_unit[static_cast<std::size_t>(unit < 0 ? kPE : unit)];
            if (!list.empty()) p.locality = rng.pick(list);
        }
        p.text = p.nss ? "Habitat of the species." : rng.pick(kTexts);
        db.pictures.push_back(std::move(p));
    }
}

// ---------------------------------------------------------------- writing

class Out {
  public:
    void line(std::string_view s) {
        text_.append(s);
        text_ += '\n';
    }
    void line(int v) { line(std::to_string(v)); }
    void number_or_empty(int v) { line(v < 0 ? std::string() : std::to_string(v)); }
    bool save(const std::filesystem::path& path) const {
        std::ofstream f(path, std::ios::binary);
        f.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        return static_cast<bool>(f);
    }

  private:
    std::string text_;
};

std::string flags_line(const Species& s) {
    std::string f;
    if (!s.present_items.empty() || !s.background_items.empty()) f += 'C';
    if (!s.maps.empty()) f += 'D';
    if (s.e_flag)
        f += 'E';
    else if (!s.ssp.empty())
        f += 'N';
    if (s.has_photo) f += 'S';
    if (!s.threat.empty()) f += 'T';
    f += ',';
    f += s.maps;
    if (!s.threat.empty()) f += "T(" + s.threat + ")";
    return f;
}

struct Order2Family {
    std::string sci, en;
    std::vector<int> species;
};

// The second systematic order: the same species, the families in an older
// sequence, a few families split in two and the species shuffled locally.
std::vector<Order2Family> clements_order(Rng& rng, const Database& db) {
    std::vector<std::size_t> seq(db.families.size());
    for (std::size_t i = 0; i < seq.size(); ++i) seq[i] = i;
    for (std::size_t i = 0; i + 1 < seq.size(); ++i)
        if (rng.chance(0.2)) std::swap(seq[i], seq[i + 1]);
    std::vector<Order2Family> out;
    std::set<std::string> names;
    for (const Family& f : db.families) names.insert(f.sci);
    for (std::size_t fi : seq) {
        const Family& f = db.families[fi];
        std::vector<int> spp = f.species;
        for (std::size_t i = 0; i + 1 < spp.size(); ++i)
            if (rng.chance(0.15)) std::swap(spp[i], spp[i + 1]);
        if (spp.size() >= 6 && rng.chance(0.08)) {
            const std::size_t cut = spp.size() * 2 / 3;
            out.push_back(
                {f.sci, f.en,
                 std::vector<int>(spp.begin(), spp.begin() + static_cast<std::ptrdiff_t>(cut))});
            std::string split;
            do split = family_name(genus_name(rng));
            while (!names.insert(split).second);
            out.push_back(
                {split, std::string(f.noun.en) + " Allies",
                 std::vector<int>(spp.begin() + static_cast<std::ptrdiff_t>(cut), spp.end())});
        } else {
            out.push_back({f.sci, f.en, spp});
        }
    }
    return out;
}

bool write_all(const Options& o, Rng& rng, const Database& db) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(o.out, ec);
    bool ok = true;
    auto save = [&](const Out& out, const char* name) {
        if (!out.save(o.out / name)) {
            std::cerr << "cannot write " << (o.out / name).string() << "\n";
            ok = false;
        }
    };

    {  // mapsdata.txt: name, map type, west, east, north, south
        Out m;
        const std::vector<std::array<const char*, 6>> maps = {
            {"BOLIVIA_MAP", "3", "-69.57", "-58.17", "-10.93", "-22.82"},
            {"BOLIVIA_AND_PUNO_ANDES_MAP", "2", "-69.57", "-58.17", "-10.93", "-22.82"},
            {"RIBERALTA_MAP", "4", "-66.342", "-65.825", "-10.766", "-11.204"},
            {"NEOTROPICS_MAP", "5", "-105.5", "-38.6", "20.4", "-33.75"},
            {"UPPER_AMAZONIA_MAP", "6", "-79.4", "-41.12", "5.45", "-19.1"},
            {"SOUTHERN_HALF_ANDES_MAP", "7", "-81.15", "-62.5", "-4.7", "-29"},
            {"SOUTH_OF_AMAZON_MAP", "8", "-69.85", "-34.1", "2", "-30.45"},
            {"PERU_MAP", "9", "-80.2", "-68.69", "-0.04", "-17.64"},
            {"PARAGUAY_MAP", "10", "-62.67", "-53.64", "-19.32", "-28"},
            {"LITTLE_SOUTH_AMERICA_MAP", "1", "-81.28", "-34.8", "12.5", "-56"},
        };
        for (const auto& r : maps) {
            m.line("@#[]");
            m.line(r[0]);
            m.line(r[1]);
            m.line(std::string(r[2]) + "," + r[3] + "," + r[4] + "," + r[5]);
        }
        save(m, "mapsdata.txt");
    }
    {
        Out p;
        for (const auto& person : db.people) {
            p.line("@#[]");
            for (const auto& t : person) p.line(t);
        }
        save(p, "people.txt");
    }
    {
        Out n, t;
        n.line("@#[FAMILIES]");
        t.line("@#[FAMILIES]");
        for (const Family& f : db.families) {
            n.line(f.sci);
            n.line(f.folder);
            t.line(f.en);
        }
        n.line("@#[LIT. REFERENCES]");
        for (const auto& l : db.literature) n.line(l);
        for (std::size_t k = 0; k < db.families.size(); ++k) {
            const Family& f = db.families[k];
            n.line("@#[SPECIES " + std::to_string(k + 1) + "]");
            n.line(f.sci);
            t.line("@#[SPECIES " + std::to_string(k + 1) + "]");
            for (int si : f.species) {
                const Species& s = db.species[static_cast<std::size_t>(si)];
                n.line("@#[]");
                n.line(s.sci);
                n.line(std::to_string(s.number) + " " + std::to_string(s.uid));
                n.line(flags_line(s));
                n.line(distribution_text(s));
                n.line(s.credit ? std::to_string(s.credit) : "");
                n.line(s.literature);
                for (const auto& x : s.ssp) n.line(x);
                t.line(s.en);
                t.line(s.es);
                t.line(s.notes);
                t.line(s.habitat);
            }
        }
        save(n, "names_sc.txt");
        save(t, "taxa.txt");
    }
    {
        Out l;
        for (const Locality& x : db.localities) {
            l.line("@#[]");
            for (const std::string* f : {&x.key, &x.name, &x.region, &x.country, &x.prefix, &x.text,
                                         &x.coords, &x.elevation, &x.site})
                l.line(*f);
        }
        save(l, "locality.txt");
    }
    {
        // Pictures grouped by species in the order of the names file.
        std::vector<std::vector<int>> by_species(db.species.size());
        for (std::size_t i = 0; i < db.pictures.size(); ++i)
            by_species[static_cast<std::size_t>(db.pictures[i].species)].push_back(
                static_cast<int>(i));
        Out b;
        for (const Family& f : db.families)
            for (int si : f.species)
                for (int pi : by_species[static_cast<std::size_t>(si)]) {
                    const Picture& p = db.pictures[static_cast<std::size_t>(pi)];
                    b.line("@#[]");
                    b.line(db.species[static_cast<std::size_t>(si)].uid);
                    b.line(p.ssp);
                    b.line(p.photographer < 0
                               ? ""
                               : db.people[static_cast<std::size_t>(p.photographer)][0]);
                    b.number_or_empty(p.date);
                    b.line(p.locality < 0
                               ? ""
                               : db.localities[static_cast<std::size_t>(p.locality)].key);
                    b.line(p.nss ? "NSS" : "");
                    b.line(p.text);
                }
        save(b, "big_pict.txt");
    }
    {
        Out m;
        for (const AudioCD& cd : db.cds) {
            m.line("@#[]");
            m.line(cd.number);
            m.line(cd.title);
            m.line(cd.name);
            m.line(cd.web);
            m.line(cd.carried ? "TRUE" : "FALSE");
            std::string ident = std::to_string(cd.track_tenths.size());
            for (std::size_t t = 0; t < cd.track_tenths.size() && t < 25; ++t)
                ident += ";" + std::to_string((cd.track_tenths[t] + 9) / 10 + 1);
            m.line(ident);
            m.line(cd.folder);
        }
        save(m, "othermedia.txt");
    }
    {
        Out c;
        for (const Cut& x : db.cuts) {
            c.line("@#[]");
            c.line(x.id);
            if (x.on_cd) {
                c.line("CD track " + std::to_string(x.track) + " offset " +
                       std::to_string(x.offset) + " length " + std::to_string(x.cd_length) +
                       " selected " + (x.selected ? "1" : "0"));
                c.line("");
            } else {
                c.line(x.compression);
                c.line(x.seconds);
            }
            c.number_or_empty(x.time);
            c.number_or_empty(x.date);
            c.line(db.localities[static_cast<std::size_t>(x.locality)].key);
            c.line(db.people[static_cast<std::size_t>(x.recordist)][0]);
            c.line(x.text1);
            c.line(x.text2);
            c.number_or_empty(x.source);
        }
        save(c, "cutparts.txt");
    }
    {
        Out c;
        for (std::size_t k = 0; k < db.families.size(); ++k) {
            int j = 0;
            for (int si : db.families[k].species) {
                const Species& s = db.species[static_cast<std::size_t>(si)];
                if (s.present_items.empty() && s.background_items.empty()) continue;
                c.line("@#[" + std::to_string(k + 1) + "_" + std::to_string(++j) + "]");
                for (const auto* list : {&s.present_items, &s.background_items})
                    for (int id : *list) {
                        const Item& it = db.items[static_cast<std::size_t>(id)];
                        c.line(it.number == -9991234 ? std::string() : std::to_string(it.number));
                        c.line(it.kind == ' ' ? std::string() : std::string(1, it.kind));
                        c.line(it.percent);
                        c.line(it.ssp);
                        c.line(it.text);
                        c.line(it.present ? "P" : "");
                        c.line(it.remark);
                        c.line(it.more);
                        c.line(db.cuts[static_cast<std::size_t>(it.cut)].id);
                    }
            }
        }
        save(c, "cupaitem.txt");
    }
    {
        const std::vector<Order2Family> order = clements_order(rng, db);
        Out s;
        s.line("@#[ORDERS]");
        s.line("Clements 2000");
        s.line("@#[FAMILIES_1]");
        for (const auto& f : order) s.line(f.sci + "," + f.en);
        s.line("@#[SPECIES_1]");
        for (std::size_t k = 0; k < order.size(); ++k)
            for (int si : order[k].species)
                s.line(std::to_string(k + 1) + "," +
                       std::to_string(db.species[static_cast<std::size_t>(si)].uid));
        save(s, "syst_ord.txt");
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse_options(argc, argv, o)) {
        usage();
        return 2;
    }
    Rng rng(o.seed);
    Database db;
    make_literature(rng, db);
    make_families(o, rng, db);
    make_species(o, rng, db);
    make_people(o, rng, db);
    make_localities(o, rng, db);
    make_recordings(o, rng, db);
    order_items(db);
    make_pictures(o, rng, db);
    if (!write_all(o, rng, db)) return 1;
    std::size_t subspecies = 0;
    for (const Species& s : db.species) subspecies += s.ssp.size();
    std::cout << "families " << db.families.size() << ", species " << db.species.size()
              << ", subspecies " << subspecies << ", recordings " << db.cuts.size() << ", items "
              << db.items.size() << ", pictures " << db.pictures.size() << ", localities "
              << db.localities.size() << ", people " << db.people.size() << ", audio CDs "
              << db.cds.size() << "\n";
    return 0;
}
