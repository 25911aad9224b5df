// scanned_page.cpp - a small tokenizer for the few operators a scanned page uses.
#include "pdf/scanned_page.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0'; }
bool isDelimiter(char c) { return std::strchr("()<>[]{}/%", c) != nullptr; }

// c' = m x c: the concatenation a cm operator makes.
PdfMatrix concat(const PdfMatrix& m, const PdfMatrix& c) {
    return {m.a * c.a + m.b * c.c,       m.a * c.b + m.b * c.d,       m.c * c.a + m.d * c.c,
            m.c * c.b + m.d * c.d,       m.e * c.a + m.f * c.c + c.e, m.e * c.b + m.f * c.d + c.f};
}

struct Parser {
    Parser(const char* contents, size_t size) : at(contents), end(contents + size) {}

    const char* at;
    const char* end;
    double numbers[6] = {};
    int numberCount = 0;
    bool hasName = false;
    ImageDraw pending;
    PdfMatrix current;
    PdfMatrix saved[16];
    int depth = 0;
    int draws = 0;

    void skipSpaceAndComments() {
        while (at < end) {
            if (isSpace(*at)) {
                ++at;
            } else if (*at == '%') {
                while (at < end && *at != '\n' && *at != '\r') ++at;
            } else {
                return;
            }
        }
    }

    bool number() {
        if (numberCount == 6 || hasName) return false;
        char text[32];
        size_t n = 0;
        while (at < end && !isSpace(*at) && !isDelimiter(*at)) {
            if (n + 1 >= sizeof text) return false;
            text[n++] = *at++;
        }
        text[n] = 0;
        char* stop = nullptr;
        double value = std::strtod(text, &stop);
        if (n == 0 || *stop != 0 || !std::isfinite(value)) return false;
        numbers[numberCount++] = value;
        return true;
    }

    bool name() {
        if (hasName || numberCount) return false;
        ++at; // the slash
        size_t n = 0;
        while (at < end && !isSpace(*at) && !isDelimiter(*at)) {
            if (n + 1 >= sizeof pending.name) return false;
            pending.name[n++] = *at++;
        }
        pending.name[n] = 0;
        hasName = n > 0;
        return hasName;
    }

    bool apply(const char* op, size_t length) {
        auto is = [&](const char* word) { return length == std::strlen(word) && std::memcmp(op, word, length) == 0; };
        bool noOperands = numberCount == 0 && !hasName;
        if (is("q") && noOperands && depth < 16) {
            saved[depth++] = current;
        } else if (is("Q") && noOperands && depth > 0) {
            current = saved[--depth];
        } else if (is("cm") && numberCount == 6 && !hasName && draws == 0) {
            current = concat({numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]}, current);
        } else if (is("Do") && hasName && numberCount == 0 && draws == 0) {
            pending.matrix = current;
            ++draws;
        } else {
            return false;
        }
        numberCount = 0;
        hasName = false;
        return true;
    }

    bool run(ImageDraw& draw) {
        for (skipSpaceAndComments(); at < end; skipSpaceAndComments()) {
            char c = *at;
            bool ok;
            if (c == '/') {
                ok = name();
            } else if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.') {
                ok = number();
            } else if (isDelimiter(c)) {
                ok = false; // strings, arrays, dictionaries: not a bare image draw
            } else {
                const char* op = at;
                while (at < end && !isSpace(*at) && !isDelimiter(*at)) ++at;
                ok = apply(op, size_t(at - op));
            }
            if (!ok) return false;
        }
        if (draws != 1 || depth != 0 || numberCount || hasName) return false;
        draw = pending;
        return true;
    }
};

} // namespace

bool parseSingleImageDraw(const char* contents, size_t size, ImageDraw& draw) {
    Parser parser(contents, size);
    return parser.run(draw);
}

bool fillsBoxUpright(const PdfMatrix& m, const PdfBox& box, int pixelWidth, int pixelHeight) {
    const double width = box.x1 - box.x0, height = box.y1 - box.y0;
    if (m.b != 0 || m.c != 0 || m.a <= 0 || m.d <= 0 || width <= 0 || height <= 0) return false;
    if (pixelWidth <= 0 || pixelHeight <= 0) return false;
    const double toleranceX = width / 100, toleranceY = height / 100;
    if (std::fabs(m.e - box.x0) > toleranceX || std::fabs(m.e + m.a - box.x1) > toleranceX) return false;
    if (std::fabs(m.f - box.y0) > toleranceY || std::fabs(m.f + m.d - box.y1) > toleranceY) return false;
    const double drawn = m.a / m.d, pixels = double(pixelWidth) / double(pixelHeight);
    return std::fabs(drawn - pixels) <= drawn / 100;
}
