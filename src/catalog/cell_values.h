// cell_values.h - reading numbers, dates and favourite stars out of cells,
// as sorting and the catalog's commands read them.
#pragma once

#include <array>
#include <string>
#include <string_view>

// The cell as a decimal number: leading blanks, an optional sign, digits;
// whatever follows is ignored, and a cell without digits reads 0. Values past
// the 64-bit range read as its ends.
long long cellNumber(std::string_view text);

// Year, month, day, hour and minute read with the pattern
// "%04d/%02d/%02d %02d:%02d": reading stops at the first field that does not
// match, and the fields not read are 0. A counter cell "12" reads as year 12.
std::array<int, 5> cellDate(std::string_view text);

// The favourite stars: how many "★" the cell begins with, and a run of them.
inline constexpr int kMaxStars = 10;
int leadingStars(std::string_view text);
std::string stars(int count);
