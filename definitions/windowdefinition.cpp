#include "definitions/windowdefinition.h"


namespace corvane {

namespace {

// Member sets of the fields below, by their letters.
constexpr unsigned TL = MembersOf("TL");
constexpr unsigned TLOB = MembersOf("TLOB");
constexpr unsigned TLU = MembersOf("TLU");
constexpr unsigned TLUOB = MembersOf("TLUOB");
constexpr unsigned TLUOVB = MembersOf("TLUOVB");
constexpr unsigned TLUV = MembersOf("TLUV");

// clang-format off
constexpr FieldDef Fields[] = {
    // Page 1: customer and job, results, temperatures.
    {0, 1, "String", TLU, 0}, {1, 1, "String", TLU, 0}, {2, 1, "String", TLU, 0},
    {3, 1, "String", TLU, 0}, {4, 1, "String", TLU, 0}, {5, 1, "String", TLU, 0},
    {6, 1, "String", TLU, 0}, {7, 1, "String", TLU, 0}, {8, 1, "String", TLU, 0},
    {9, 1, "String", TLU, 0}, {10, 1, "String", TLU, 0}, {11, 1, "String", TLU, 0},
    {12, 1, "Number", TLU, 0}, {13, 1, "Number", TLU, 0}, {14, 1, "Number", TLU, 0},
    {15, 1, "Number", TLU, 0}, {16, 1, "Number", TLU, 0},
    {100, 1, "String", TLU, 0}, {101, 1, "String", TLU, 0},
    {102, 1, "Number", TLU, 0}, {103, 1, "Number", TLU, 0},
    // Page 3: wall geometry.
    {212, 3, "Number", TLU, 0}, {213, 3, "Number", TLU, 0}, {214, 3, "Number", TLU, 0},
    // Page 4: products.
    {312, 4, "Number", TLU, 0}, {313, 4, "Number", TLU, 0}, {314, 4, "Number", TLU, 0},
    // Page 5: other loads.
    {400, 5, "Number", TLU, 0}, {401, 5, "Number", TLU, 0}, {402, 5, "Number", TLU, 0},
    {403, 5, "Number", TLU, 0}, {405, 5, "Number", TLU, 0}, {406, 5, "Number", TLU, 0},
    {407, 5, "Number", TLU, 0}, {408, 5, "Number", TLU, 0}, {409, 5, "Number", TLU, 0},
    {410, 5, "String", TLU, 0}, {411, 5, "Number", TLU, 0}, {412, 5, "Number", TLU, 0},
    {413, 5, "String", TLU, 0}, {414, 5, "Number", TLU, 0}, {415, 5, "Number", TLU, 0},
    {416, 5, "String", TLU, 0}, {417, 5, "Number", TLU, 0}, {418, 5, "Number", TLU, 0},
    {419, 5, "String", TLU, 0}, {420, 5, "Number", TLU, 0}, {421, 5, "Number", TLU, 0},
    {422, 5, "Number", TLU, 0}, {423, 5, "Number", TLU, 0},
    // Page 6: equipment requirements, condenser and cooler selection, balance.
    {500, 6, "Number", TLU, 0}, {501, 6, "Number", TLU, 0}, {502, 6, "Number", TLU, 0},
    {503, 6, "Number", TLU, 0}, {504, 6, "List", TLUOVB, 0}, {506, 6, "Number", TLU, 0},
    {510, 6, "String", TLUV, 0}, {514, 6, "String", TLU, 0},
    {520, 6, "List", TLUOVB, 0}, {521, 6, "List", TLUOVB, 0}, {522, 6, "Number", TLU, 0},
    {523, 6, "DataList", TLUOB, 0}, {524, 6, "Number", TLU, 0}, {525, 6, "Number", TLU, 0},
    {530, 6, "String", TLU, 0}, {531, 6, "String", TLU, 0}, {533, 6, "String", TLU, 0},
    {540, 6, "List", TLUOVB, 0}, {541, 6, "List", TLUOVB, 0}, {542, 6, "Number", TLU, 0},
    {543, 6, "DataList", TLUOB, 0}, {544, 6, "Number", TLU, 0},
    {550, 6, "String", TLU, 0}, {551, 6, "String", TLU, 0}, {553, 6, "String", TLU, 0},
    {560, 6, "Number", TLU, 0}, {561, 6, "Number", TLU, 0}, {562, 6, "Number", TLU, 0},
    // Page 7: infiltration.
    {600, 7, "Number", TLU, 0}, {605, 7, "Number", TLU, 601},
    {619, 7, "Number", TLU, 602}, {620, 7, "Number", TLU, 602}, {621, 7, "Number", TLU, 602},
    {622, 7, "Number", TLU, 602}, {623, 7, "Number", TLU, 602}, {624, 7, "Number", TLU, 602},
    {625, 7, "SELECTLIST", TLUOVB, 602},
    {640, 7, "Number", TLU, 603}, {641, 7, "Number", TLU, 603}, {642, 7, "Number", TLU, 603},
    {659, 7, "Number", TLU, 0}, {660, 7, "Number", TLU, 0},
    {669, 7, "Number", TLU, 0}, {670, 7, "Number", TLU, 0}, {680, 7, "Number", TLU, 0},
    // Page 8: contacts.
    {700, 8, "String", TLU, 0}, {701, 8, "String", TLU, 0}, {702, 8, "String", TLU, 0},
    {703, 8, "String", TLU, 0}, {704, 8, "String", TLU, 0}, {705, 8, "String", TLU, 0},
    {706, 8, "String", TLU, 0}, {707, 8, "String", TLU, 0}, {708, 8, "String", TLU, 0},
    {709, 8, "String", TLU, 0}, {710, 8, "String", TLU, 0}, {711, 8, "String", TLU, 0},
    {712, 8, "String", TLU, 0}, {713, 8, "String", TLU, 0}, {714, 8, "String", TLU, 0},
    {715, 8, "String", TLU, 0}, {716, 8, "String", TLU, 0},
    // Page 9: options.
    {720, 9, "String", TLU, 0}, {721, 9, "String", TLU, 0},
    {803, 9, "DATALIST", TLOB, 0}, {804, 9, "DATALIST", TLOB, 0}, {805, 9, "Number", TL, 0},
};

constexpr LabelDef Labels[] = {
    {17, 2, "", 0}, {99, 1, "Number", 0}, {299, 3, "", 0}, {399, 4, "", 0}, {499, 5, "Number", 0},
    {599, 6, "Number", 0}, {699, 7, "", 0}, {799, 8, "Number", 0}, {899, 9, "", 0},
    {800, 9, "", 0}, {801, 9, "", 0}, {802, 9, "", 0},
    {840, 9, "DATALIST", 840}, {842, 9, "DATALIST", 842}, {844, 9, "DATALIST", 844},
    {846, 9, "DATALIST", 846}, {848, 9, "DATALIST", 0},
};

constexpr PlacedDef Radios[] = {
    {100, 3, 100}, {101, 3, 100},
    {200, 3, 200}, {201, 3, 200}, {202, 3, 200}, {203, 3, 200}, {204, 3, 200},
    {500, 6, 501}, {501, 6, 501},
    {600, 7, 600}, {601, 7, 600}, {602, 7, 600},
    {603, 7, 601}, {604, 7, 601}, {605, 7, 601},
    {840, 9, 840}, {841, 9, 840}, {842, 9, 842}, {843, 9, 842},
    {844, 9, 844}, {845, 9, 844}, {846, 9, 846}, {847, 9, 846},
};

constexpr PlacedDef Frames[] = {
    {2, 1, 0}, {4, 3, 0}, {7, 0, 0}, {10, 4, 0}, {100, 3, 0}, {200, 3, 0}, {501, 6, 0},
    {600, 7, 0}, {601, 7, 0}, {602, 7, 0}, {603, 7, 0},
    {840, 9, 0}, {842, 9, 0}, {844, 9, 0}, {846, 9, 0},
};

constexpr PlacedDef Buttons[] = {
    {0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}, {6, 0, 0}, {7, 0, 0},
    {8, 0, 0}, {9, 0, 0}, {10, 0, 0}, {11, 0, 0}, {12, 0, 0}, {13, 0, 0}, {14, 0, 0},
    {15, 1, 0}, {16, 1, 0}, {17, 3, 0}, {18, 4, 0}, {19, 2, 0}, {20, 9, 0}, {21, 4, 10},
};

constexpr PlacedDef Links[] = {
    {800, 9, 0}, {801, 9, 0}, {802, 9, 0}, {803, 9, 0}, {804, 9, 0}, {805, 9, 0},
    {806, 9, 0}, {807, 9, 0}, {808, 9, 0}, {809, 9, 0}, {810, 9, 0}, {811, 9, 0},
};

constexpr PlacedDef SpecLinks[] = {{0, 6, 0}, {1, 6, 0}};

constexpr PlacedDef Lists[] = {{0, 6, 0}, {201, 3, 0}, {206, 3, 0}, {301, 4, 0}, {302, 4, 0}};

constexpr GridDef Grids[] = {
    {200, 3, 4, 10, 8, 2}, {300, 4, 0, 14, 3, 2}, {520, 6, 0, 1, 6, 0}, {540, 6, 0, 1, 6, 0},
};

constexpr const char* PageCaptions[PageCount] = {
    "0 : Other Stuff", "1 : USER INFORMATION", "", "3 : Wall Geometry", "4 : Products",
    "5 : Other Loads", "6 : search", "7 : Infiltration", "8 : Contacts", "9 : Options and Web",
};

using P = Placed;
constexpr Placement Placements[] = {
    // Page 1.
    {1, 0, 0, P::Field, 0}, {1, 0, 0, P::Field, 1}, {1, 0, 0, P::Field, 2},
    {1, 0, 0, P::Field, 3}, {1, 0, 0, P::Field, 4}, {1, 0, 0, P::Field, 5},
    {1, 0, 0, P::Field, 6}, {1, 0, 0, P::Field, 7}, {1, 0, 0, P::Field, 8},
    {1, 0, 0, P::Field, 9}, {1, 0, 0, P::Field, 10}, {1, 0, 0, P::Field, 11},
    {1, 0, 1, P::Field, 100}, {1, 0, 1, P::Field, 101}, {1, 0, 1, P::Field, 102},
    {1, 0, 1, P::Field, 103}, {1, 0, 1, P::Field, 12}, {1, 0, 1, P::Field, 13},
    {1, 0, 1, P::Field, 14}, {1, 0, 1, P::Field, 15}, {1, 0, 1, P::Field, 16},
    {1, 0, 1, P::Frame, 2},
    // Page 2.
    {2, 0, 0, P::History, 0}, {2, 1, 0, P::Button, 19},
    // Page 3.
    {3, 0, 0, P::Frame, 200}, {3, 0, 1, P::Frame, 100}, {3, 0, 1, P::Field, 212},
    {3, 0, 1, P::Field, 213}, {3, 0, 1, P::Field, 214}, {3, 0, 2, P::Sketch, 0},
    {3, 0, 2, P::Button, 17}, {3, 1, 0, P::Frame, 4},
    // Page 4.
    {4, 0, 0, P::Field, 312}, {4, 0, 0, P::Field, 313}, {4, 0, 0, P::Field, 314},
    {4, 0, 1, P::Button, 18}, {4, 0, 1, P::Frame, 10}, {4, 1, 0, P::Grid, 300},
    // Page 5.
    {5, 0, 0, P::Field, 400}, {5, 0, 0, P::Field, 401}, {5, 0, 0, P::Field, 402},
    {5, 0, 0, P::Field, 403}, {5, 0, 0, P::Field, 423}, {5, 0, 0, P::Field, 405},
    {5, 0, 0, P::Field, 406}, {5, 0, 0, P::Field, 407}, {5, 0, 0, P::Field, 408},
    {5, 0, 0, P::Field, 409}, {5, 0, 0, P::Field, 422}, {5, 0, 1, P::Field, 410},
    {5, 0, 1, P::Field, 411}, {5, 0, 1, P::Field, 412}, {5, 0, 1, P::Field, 413},
    {5, 0, 1, P::Field, 414}, {5, 0, 1, P::Field, 415}, {5, 0, 1, P::Field, 416},
    {5, 0, 1, P::Field, 417}, {5, 0, 1, P::Field, 418}, {5, 0, 1, P::Field, 419},
    {5, 0, 1, P::Field, 420}, {5, 0, 1, P::Field, 421},
    // Page 6.
    {6, 0, 0, P::Field, 501}, {6, 0, 0, P::Field, 500}, {6, 0, 0, P::Field, 502},
    {6, 0, 0, P::Field, 506}, {6, 0, 0, P::Field, 503}, {6, 0, 0, P::Frame, 501},
    {6, 0, 0, P::Field, 525}, {6, 0, 0, P::Underline, 525}, {6, 0, 0, P::Field, 510},
    {6, 0, 0, P::Field, 514}, {6, 0, 0, P::Field, 560}, {6, 0, 0, P::Field, 561},
    {6, 0, 0, P::Field, 562}, {6, 0, 1, P::Field, 504}, {6, 0, 1, P::Field, 520},
    {6, 0, 1, P::Field, 521}, {6, 0, 1, P::Field, 522}, {6, 0, 1, P::Field, 523},
    {6, 0, 1, P::Field, 524}, {6, 0, 1, P::SpecLink, 0}, {6, 0, 1, P::Field, 530},
    {6, 0, 1, P::Field, 531}, {6, 0, 1, P::Field, 533}, {6, 0, 1, P::Field, 540},
    {6, 0, 1, P::Field, 541}, {6, 0, 1, P::Field, 542}, {6, 0, 1, P::Field, 543},
    {6, 0, 1, P::Field, 544}, {6, 0, 1, P::SpecLink, 1}, {6, 0, 1, P::Field, 550},
    {6, 0, 1, P::Field, 551}, {6, 0, 1, P::Field, 553}, {6, 1, 0, P::Grid, 520},
    {6, 2, 0, P::Grid, 540},
    // Page 7.
    {7, 0, 0, P::Field, 600}, {7, 0, 0, P::Frame, 600}, {7, 0, 0, P::Field, 659},
    {7, 0, 0, P::Field, 660}, {7, 0, 0, P::Field, 669}, {7, 0, 0, P::Field, 670},
    {7, 0, 0, P::Field, 680}, {7, 0, 1, P::Frame, 601}, {7, 0, 1, P::Frame, 602},
    {7, 0, 1, P::Frame, 603},
    // Page 8.
    {8, 0, 0, P::Field, 700}, {8, 0, 0, P::Field, 701}, {8, 0, 0, P::Field, 702},
    {8, 0, 0, P::Field, 703}, {8, 0, 0, P::Field, 704}, {8, 0, 0, P::Field, 705},
    {8, 0, 0, P::Field, 706}, {8, 0, 0, P::Field, 707}, {8, 0, 0, P::Field, 708},
    {8, 0, 1, P::Field, 709}, {8, 0, 1, P::Field, 710}, {8, 0, 1, P::Field, 711},
    {8, 0, 1, P::Field, 712}, {8, 0, 1, P::Field, 713}, {8, 0, 1, P::Field, 714},
    {8, 0, 1, P::Field, 715}, {8, 0, 1, P::Field, 716},
    // Page 9.
    {9, 0, 0, P::Field, 720}, {9, 0, 0, P::Field, 721}, {9, 0, 0, P::Field, 803},
    {9, 0, 0, P::Field, 804}, {9, 0, 0, P::Field, 805}, {9, 0, 0, P::Label, 802},
    {9, 0, 0, P::Frame, 840}, {9, 0, 0, P::Frame, 842}, {9, 0, 0, P::Frame, 844},
    {9, 0, 0, P::Frame, 846}, {9, 0, 0, P::Label, 848}, {9, 0, 0, P::Check, 0},
    {9, 0, 1, P::Label, 800}, {9, 0, 1, P::Links, 0}, {9, 0, 1, P::Button, 20},
    {9, 0, 1, P::Label, 801},
};

// Indexed by page: the button each page-turn arrow runs.
constexpr int BackArrows[PageCount] = {-1, -1, -1, 0, 6, 3, 4, 2, 5, 0};
constexpr int ForwardArrows[PageCount] = {-1, 2, -1, 6, 4, 5, 7, 3, -1, -1};
// clang-format on

} // namespace

std::span<const FieldDef> FieldDefinitions() { return Fields; }
std::span<const LabelDef> LabelDefinitions() { return Labels; }
std::span<const PlacedDef> RadioDefinitions() { return Radios; }
std::span<const PlacedDef> FrameDefinitions() { return Frames; }
std::span<const PlacedDef> ButtonDefinitions() { return Buttons; }
std::span<const PlacedDef> LinkDefinitions() { return Links; }
std::span<const PlacedDef> SpecLinkDefinitions() { return SpecLinks; }
std::span<const PlacedDef> ListDefinitions() { return Lists; }
std::span<const GridDef> GridDefinitions() { return Grids; }

const FieldDef* FindField(int number) {
    for (const FieldDef& f : Fields)
        if (f.number == number) return &f;
    return nullptr;
}

FieldKind KindOfTagText(const QString& tag) { return KindOfTag(std::string_view(tag.trimmed().toLatin1().constData())); }

std::span<const Placement> PagePlacements() { return Placements; }

bool BlockAlignedRight(int page, int block) { return page == 2 && block == 1; }

int CaptionLimit(int page) { return page == 6 || page == 7 ? 112 : 0; }

bool ChoicesSideBySide(int frame) { return frame == 100; }

int PageTitleLabel(int page) {
    for (const LabelDef& d : Labels)
        if (d.page == page && (d.number % 100 == 99 || d.number == 17)) return d.number;
    return -1;
}

QString PageCaption(int page) {
    return page >= 0 && page < PageCount ? QString::fromLatin1(PageCaptions[page]) : QString();
}

int PageButton(int page) {
    if (page == 1) return 0;
    if (page >= 2 && page <= 9) return page - 1;
    return -1;
}

int BackArrowButton(int page) { return page >= 0 && page < PageCount ? BackArrows[page] : -1; }
int ForwardArrowButton(int page) { return page >= 0 && page < PageCount ? ForwardArrows[page] : -1; }

} // namespace corvane
