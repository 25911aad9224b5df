// engine_names.h - the names of the scaling engines as the options offer them.
// A stored engine value is the index of its name in the table of its situation.
#pragma once

#include <array>
#include <string_view>

inline constexpr std::array<std::string_view, 2> kEnlargeEngineNames = {"近傍点", "線形"};
inline constexpr std::array<std::string_view, 4> kReduceEngineNames = {"近傍点", "線形", "平均1",
                                                                       "平均2(高精度)"};
inline constexpr std::array<std::string_view, 2> kMixedEngineNames = {"近傍点", "線形"};
