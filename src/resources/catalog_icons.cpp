// catalog_icons.cpp - the catalog window's pictures as XPM text, which Qt
// reads without any image plug-in; '.' is transparent.
#include "resources/catalog_icons.h"

namespace resources {
namespace {

// clang-format off
const char* const kToolbarStrip[] = {
    "160 15 8 1",
    ". c None",
    "k c #000000",
    "w c #ffffff",
    "g c #808080",
    "y c #e8c050",
    "b c #2050c0",
    "r c #c03030",
    "G c #30a040",
    "................................................................................................................................................................",
    "...kkkkkkkk......................kkkkkkkkkkkkk....kkkkkkkkk............GG........................kkkk............kkkkkkk............kkkk.................yyk....",
    "...kwwwwwwkk.....kkkk............kbkwwwwwwwkbk....kwwwwwwwk...........GGGG............GGGG......kyyyyk...........kwwwwwkk..........kwwwwk...............yyk.....",
    "...kwwwwwwkwk...kyyyyk...........kbkwwwwwwwkbk....kwkkkkwwk..........GGGGGG...........GGGG......kyyyykkkkkk......kwwwwwkwk........kwwbwwwk.............yyk......",
    "...kwwwwwwkkkk..kyyyykkkkkkk.....kbkwwwwwwwkbk....kwwwwwwwk..r......GGGGGGGG..........GGGG......kyyyyyyyyyk......kwwwwwkkkk.......kwbwwwwk............yyk.......",
    "...kwwwwwwwwwk..kyyyyyyyyyyk.....kbkwwwwwwwkbk....kwkkkkkwk.rrr....GGGGGGGGGG.........GGGG......kyyyyyyyyyk......kwwwwwwwwk.......kwwwwwwk...........yyyyyyk....",
    "...kwwwwwwwwwk..kyyykkkkkkkkkk...kbbkkkkkkkbbk....kwwwwwwwkrrr....GGGGGGGGGGGG........GGGG......kyyyyyyyyyk......kwwwwwwwwk.......kwwwwwwk...............yk.....",
    "...kwwwwwwwwwk..kyykyyyyyyyyyk...kbbbbbbbbbbbk....kwkkkkwwrrr.........GGGG............GGGG......kyyyyyyyyk..GG...kwwwwwwwk..GG.....kwwwwk...............yk......",
    "...kwwwwwwwwwk..kyykyyyyyyyyk....kbbkkkkkkkbbk....kwwwwwwrrrk.........GGGG........GGGGGGGGGGGG..kyyyyyyyyk..GG...kwwwwwwwk..GG......kkkkgk.............yk.......",
    "...kwwwwwwwwwk..kykyyyyyyyyyk....kbbkggkwwkbbk....kwkkkkrrrwk.........GGGG.........GGGGGGGGGG...kyyyyyyyyGGGGGG..kwwwwwwwGGGGGG..........kgk..........yk....r...",
    "...kwwwwwwwwwk..kykyyyyyyyyk.....kbbkggkwwkbbk....kwwwwwgrwwk.........GGGG..........GGGGGGGG....kyyyyyyyyGGGGGG..kwwwwwwwGGGGGG...........kgk........yk....rrr..",
    "...kwwwwwwwwwk..kkyyyyyyyyyk.....kbbkggkwwkbbk....kwwwwwkwwwk.........GGGG...........GGGGGG.....kkkkkkkkkk..GG...kkkkkkkkk..GG.............kgk......yk......r...",
    "...kwwwwwwwwwk..kkkkkkkkkkk.......kbkkkkkkkbbk....kkkkkkkkkkk.........GGGG............GGGG..................GG..............GG..............kk.....yk...........",
    "...kkkkkkkkkkk.....................kkkkkkkkkkk.........................................GG.......................................................................",
    "................................................................................................................................................................",
};

const char* const kList[] = {
    "32 32 7 1",
    "k c #000000",
    "w c #ffffff",
    "g c #808080",
    "y c #e8c050",
    "b c #2050c0",
    "r c #c03030",
    "G c #30a040",
    "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
    "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
    "kkbbbbbbbbbbbbbbbbbbbbbbbbbbbbkk",
    "kkbbbbbbbbbbbbbbbbbbbbbbbbbbbbkk",
    "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
    "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
    "kkwwyyyywwkkkkkkkkkkkkwwwwwwwwkk",
    "kkwwyyyywwkkkkkkkkkkkkwwwwwwwwkk",
    "kkwwyyyywwwwwwwwwwwwwwwwwwwwwwkk",
    "kkwwyyyywwwwwwwwwwwwwwwwwwwwwwkk",
    "kkggggggggggggggggggggggggggggkk",
    "kkggggggggggggggggggggggggggggkk",
    "kkwwrrrrwwkkkkkkkkkkkkkkkkwwwwkk",
    "kkwwrrrrwwkkkkkkkkkkkkkkkkwwwwkk",
    "kkwwrrrrwwwwwwwwwwwwwwwwwwwwwwkk",
    "kkwwrrrrwwwwwwwwwwwwwwwwwwwwwwkk",
    "kkggggggggggggggggggggggggggggkk",
    "kkggggggggggggggggggggggggggggkk",
    "kkwwGGGGwwkkkkkkkkkkkkwwwwwwwwkk",
    "kkwwGGGGwwkkkkkkkkkkkkwwwwwwwwkk",
    "kkwwGGGGwwwwwwwwwwwwwwwwwwwwwwkk",
    "kkwwGGGGwwwwwwwwwwwwwwwwwwwwwwkk",
    "kkggggggggggggggggggggggggggggkk",
    "kkggggggggggggggggggggggggggggkk",
    "kkwwyyyywwkkkkkkkkkkkkkkkkkkwwkk",
    "kkwwyyyywwkkkkkkkkkkkkkkkkkkwwkk",
    "kkwwyyyywwwwwwwwwwwwwwwwwwwwwwkk",
    "kkwwyyyywwwwwwwwwwwwwwwwwwwwwwkk",
    "kkwwwwwwwwwwwwwwwwwwwwwwwwwwwwkk",
    "kkwwwwwwwwwwwwwwwwwwwwwwwwwwwwkk",
    "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
    "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
};

const char* const kList16[] = {
    "16 16 7 1",
    "k c #000000",
    "w c #ffffff",
    "g c #808080",
    "y c #e8c050",
    "b c #2050c0",
    "r c #c03030",
    "G c #30a040",
    "kkkkkkkkkkkkkkkk",
    "kbbbbbbbbbbbbbbk",
    "kkkkkkkkkkkkkkkk",
    "kwyywkkkkkkwwwwk",
    "kwyywwwwwwwwwwwk",
    "kggggggggggggggk",
    "kwrrwkkkkkkkkwwk",
    "kwrrwwwwwwwwwwwk",
    "kggggggggggggggk",
    "kwGGwkkkkkkwwwwk",
    "kwGGwwwwwwwwwwwk",
    "kggggggggggggggk",
    "kwyywkkkkkkkkkwk",
    "kwyywwwwwwwwwwwk",
    "kwwwwwwwwwwwwwwk",
    "kkkkkkkkkkkkkkkk",
};

const char* const kFolder[] = {
    "16 16 3 1",
    ". c None",
    "k c #000000",
    "y c #e8c050",
    "................",
    "................",
    ".kkkkk..........",
    "kyyyyyk.........",
    "kyyyyykkkkkkkk..",
    "kyyyyyyyyyyyyk..",
    "kyyyyyyyyyyyyk..",
    "kyyyyyyyyyyyyk..",
    "kyyyyyyyyyyyyk..",
    "kyyyyyyyyyyyyk..",
    "kyyyyyyyyyyyyk..",
    "kyyyyyyyyyyyyk..",
    "kyyyyyyyyyyyyk..",
    "kkkkkkkkkkkkkk..",
    "................",
    "................",
};

const char* const kPaint[] = {
    "16 16 5 1",
    ". c None",
    "k c #000000",
    "y c #e8c050",
    "G c #30a040",
    "s c #a8d8f0",
    "................",
    "kkkkkkkkkkkkkkkk",
    "kssssssssssssssk",
    "ksssssssssssyysk",
    "kssssssssssyyyyk",
    "kssssssssssyyyyk",
    "ksssssssssssyysk",
    "ksssssGsssssssk.",
    "kssssGGGsssssssk",
    "ksssGGGGGssGssk.",
    "kssGGGGGGGGGGssk",
    "ksGGGGGGGGGGGGsk",
    "kGGGGGGGGGGGGGGk",
    "kGGGGGGGGGGGGGGk",
    "kkkkkkkkkkkkkkkk",
    "................",
};

const char* const kArchive[] = {
    "16 16 4 1",
    ". c None",
    "k c #000000",
    "w c #ffffff",
    "a c #c89858",
    "................",
    "..kkkkkkkkkkkk..",
    ".kaaaaaakaaaaak.",
    "kaaaaaaakaaaaaak",
    "kkkkkkkkkkkkkkkk",
    "kaaaaaakkkaaaaak",
    "kaaaaaakwkaaaaak",
    "kaaaaaakkkaaaaak",
    "kaaaaaakwkaaaaak",
    "kaaaaaakkkaaaaak",
    "kaaaaaakwkaaaaak",
    "kaaaaaakkkaaaaak",
    "kaaaaaaaaaaaaaak",
    "kaaaaaaaaaaaaaak",
    "kkkkkkkkkkkkkkkk",
    "................",
};

// clang-format on

constexpr platform::IconImages kListIcon{kList, kList16};

} // namespace

const platform::IconImages& listIcon() {
    return kListIcon;
}

const char* const* toolbarStrip() {
    return kToolbarStrip;
}

const char* const* folderIcon() {
    return kFolder;
}

const char* const* paintIcon() {
    return kPaint;
}

const char* const* archiveIcon() {
    return kArchive;
}

} // namespace resources
