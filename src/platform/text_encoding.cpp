#include "platform/text_encoding.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <memory>

namespace platform {

namespace {

using Converter = std::unique_ptr<UConverter, void (*)(UConverter*)>;

Converter openStrict(const char* name) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status), ucnv_close);
    if (U_FAILURE(status)) return Converter(nullptr, ucnv_close);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    if (U_FAILURE(status)) return Converter(nullptr, ucnv_close);
    return converter;
}

// Converts `in` from the encoding of `from` to that of `to`, into at most
// `bound` bytes.
std::optional<std::string> convert(UConverter* to, UConverter* from, std::string_view in, std::size_t bound) {
    if (!to || !from) return std::nullopt;
    if (in.empty()) return std::string();
    // Left uninitialised: only the pages the result reaches are ever touched,
    // which matters when a whole list file's texts convert at once.
    std::unique_ptr<char[]> out(new char[bound]);
    char* target = out.get();
    const char* source = in.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_convertEx(to, from, &target, out.get() + bound, &source, in.data() + in.size(),
                   nullptr, nullptr, nullptr, nullptr, true, true, &status);
    if (U_FAILURE(status)) return std::nullopt;
    return std::string(out.get(), target);
}

// ASCII reads the same in both encodings.
bool isAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// The converters are opened once per thread: list files convert every cell.
UConverter* utf8Converter() {
    thread_local Converter converter = openStrict("UTF-8");
    return converter.get();
}

UConverter* cp932Converter() {
    thread_local Converter converter = openStrict("windows-31j");
    return converter.get();
}

} // namespace

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
    if (isAscii(utf8)) return std::string(utf8);
    // A character never takes more bytes in CP932 (1 or 2) than in UTF-8.
    return convert(cp932Converter(), utf8Converter(), utf8, utf8.size() + 4);
}

std::optional<std::string> cp932ToUtf8(std::string_view cp932) {
    if (isAscii(cp932)) return std::string(cp932);
    // A half-width katakana takes 1 byte in CP932 and 3 in UTF-8.
    return convert(utf8Converter(), cp932Converter(), cp932, cp932.size() * 3 + 4);
}

} // namespace platform
