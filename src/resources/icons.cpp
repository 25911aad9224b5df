// icons.cpp - the viewer's icon "1VOXA": an open book on a dark tile whose
// spine is drawn as a red V. Kept as XPM text, which Qt reads without any
// image plug-in; '.' is transparent.
#include "resources/icons.h"

namespace resources {
namespace {

// clang-format off
const char* const kLarge[] = {
    "32 32 5 1",
    ". c None",
    "# c #26324a",
    "w c #f4efe2",
    "c c #ddd5c0",
    "r c #c8323c",
    "...##########################...",
    ".##############################.",
    ".##############################.",
    "################################",
    "################################",
    "################################",
    "################################",
    "################################",
    "####wwww################cccc####",
    "####wwwwrrrw########crrrcccc####",
    "####wwwwrrrwwwwwcccccrrrcccc####",
    "####wwwwrrrrwwwwccccrrrrcccc####",
    "####wwwwwrrrwwwwccccrrrccccc####",
    "####wwwwwrrrrwwwcccrrrrccccc####",
    "####wwwwwwrrrwwwcccrrrcccccc####",
    "####wwwwwwrrrrwwccrrrrcccccc####",
    "####wwwwwwrrrrwwccrrrrcccccc####",
    "####wwwwwwwrrrrwcrrrrccccccc####",
    "####wwwwwwwrrrrwcrrrrccccccc####",
    "####wwwwwwwwrrrwcrrrcccccccc####",
    "####wwwwwwwwrrrrrrrrcccccccc####",
    "####wwwwwwwwwrrrrrrccccccccc####",
    "####wwwwwwwwwrrrrrrccccccccc####",
    "########wwwwwwrrrrcccccc########",
    "############wwrrrrcc############",
    "################################",
    "################################",
    "################################",
    "################################",
    ".##############################.",
    ".##############################.",
    "...##########################...",
};

const char* const kSmall[] = {
    "16 16 5 1",
    ". c None",
    "# c #26324a",
    "w c #f4efe2",
    "c c #ddd5c0",
    "r c #c8323c",
    ".##############.",
    "################",
    "################",
    "################",
    "##ww########cc##",
    "##wwrrwwccrrcc##",
    "##wwrrrwcrrrcc##",
    "##wwwrrwcrrccc##",
    "##wwwrrrrrrccc##",
    "##wwwrrrrrrccc##",
    "##wwwwrrrrcccc##",
    "##wwwwrrrrcccc##",
    "######wrrc######",
    "################",
    "################",
    ".##############.",
};
// clang-format on

constexpr platform::IconImages kVoxaIcon{kLarge, kSmall};

} // namespace

const platform::IconImages& voxaIcon() {
    return kVoxaIcon;
}

} // namespace resources
