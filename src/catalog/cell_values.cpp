#include "catalog/cell_values.h"

#include <climits>

namespace {

constexpr std::string_view kStar = "★";

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// One "%Nd" field at `at`: blanks skipped, then at most `width` characters
// of sign and digits, at least one digit. False when there is none.
bool readField(std::string_view text, std::size_t& at, int width, int& value) {
    while (at < text.size() && isBlank(text[at])) ++at;
    std::size_t end = std::min(text.size(), at + std::size_t(width));
    std::size_t i = at;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= end || !isDigit(text[i])) return false;
    int number = 0;
    for (; i < end && isDigit(text[i]); ++i) number = number * 10 + (text[i] - '0');
    value = negative ? -number : number;
    at = i;
    return true;
}

} // namespace

long long cellNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        int digit = text[i] - '0';
        value = value > (LLONG_MAX - digit) / 10 ? LLONG_MAX : value * 10 + digit;
    }
    return negative ? -value : value;
}

std::array<int, 5> cellDate(std::string_view text) {
    struct Field {
        int width;
        char after; // the pattern's character after the field; ' ' takes any blanks
    };
    constexpr Field kFields[5] = {{4, '/'}, {2, '/'}, {2, ' '}, {2, ':'}, {2, '\0'}};
    std::array<int, 5> date{};
    std::size_t at = 0;
    for (std::size_t f = 0; f < 5; ++f) {
        if (!readField(text, at, kFields[f].width, date[f])) break;
        char after = kFields[f].after;
        if (after == ' ') {
            while (at < text.size() && isBlank(text[at])) ++at;
        } else if (after) {
            if (at >= text.size() || text[at] != after) break;
            ++at;
        }
    }
    return date;
}

int leadingStars(std::string_view text) {
    int count = 0;
    while (text.substr(std::size_t(count) * kStar.size(), kStar.size()) == kStar) ++count;
    return count;
}

std::string stars(int count) {
    std::string run;
    for (int i = 0; i < count; ++i) run += kStar;
    return run;
}
