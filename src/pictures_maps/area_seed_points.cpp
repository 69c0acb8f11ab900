#include "pictures_maps/area_seed_points.h"

#include "data/areas.h"

static void initialiseContourResources() {
    Q_INIT_RESOURCE(maps);
}

const std::vector<TUnitSeedPoints>& GLB_bolivia_etc_seed_points() {
    using A = TBoliviaEtcArea;
    static const std::vector<TUnitSeedPoints> seeds = {
        {A::PE, {{40, 120}}},
        {A::BO, {{90, 150}}},
        {A::PA, {{110, 180}, {125, 195}}},
        {A::OT, {{50, 50},   {25, 80},   {70, 30},   {77, 55},   {90, 45},   {104, 25},
                 {107, 28},  {109, 21},  {120, 50},  {135, 50},  {146, 54},  {120, 75},
                 {90, 80},   {75, 105},  {164, 78},  {163, 72},  {130, 130}, {130, 230},
                 {120, 210}, {90, 210},  {63, 260},  {87, 331},  {80, 332},  {10, 32}}},
    };
    return seeds;
}

const std::vector<TUnitSeedPoints>& GLB_tropical_asia_seed_points() {
    using A = TTropicalAsiaArea;
    static const std::vector<TUnitSeedPoints> seeds = {
        {A::IN, {{78, 180}}},
        {A::SR, {{108, 284}}},
        {A::NE, {{142, 79}}},
        {A::BU, {{257, 159}}},
        {A::TH, {{302, 202}}},
        {A::IC, {{354, 228}}},
        {A::MA, {{315, 315}}},
        {A::SI, {{335, 342}}},
        {A::BO, {{441, 337}}},
        {A::SU, {{314, 364}}},
        {A::JA, {{402, 429}, {423, 425}}},
        {A::BA, {{443, 438}}},
        {A::LE, {{533, 377}, {561, 385}, {593, 389}}},
        {A::SW, {{547, 278}}},
        {A::HA, {{639, 275}}},
        {A::MO, {{649, 319}, {622, 328}, {653, 357}}},
        {A::CH, {{230, 50}, {387, 170}}},
        {A::HK, {{431, 135}}},
        {A::TA, {{494, 126}}},
        {A::PH, {{497, 201}, {499, 228}, {523, 236}, {513, 246}, {521, 253}, {527, 255},
                 {530, 260}, {537, 254}, {540, 243}, {539, 280}, {482, 256}}},
    };
    return seeds;
}

QImage GLB_contour_map(const QString& name) {
    static const bool initialised = (initialiseContourResources(), true);
    (void)initialised;
    const QImage image(QStringLiteral(":/contours/") + name);
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}
