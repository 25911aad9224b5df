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

// Converts `in` from the encoding of `from` to that of `to`.
std::optional<std::string> convert(UConverter* to, UConverter* from, std::string_view in) {
    if (!to || !from) return std::nullopt;
    if (in.empty()) return std::string();
    // CP932 takes at most 2 bytes per character, UTF-8 at most 3 per UTF-16
    // unit, and a UTF-16 unit never comes from less than one byte.
    std::string out(in.size() * 3 + 4, '\0');
    char* target = out.data();
    const char* source = in.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_convertEx(to, from, &target, out.data() + out.size(), &source, in.data() + in.size(),
                   nullptr, nullptr, nullptr, nullptr, true, true, &status);
    if (U_FAILURE(status)) return std::nullopt;
    out.resize(static_cast<std::size_t>(target - out.data()));
    return out;
}

} // namespace

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
    Converter from = openStrict("UTF-8"), to = openStrict("windows-31j");
    return convert(to.get(), from.get(), utf8);
}

std::optional<std::string> cp932ToUtf8(std::string_view cp932) {
    Converter from = openStrict("windows-31j"), to = openStrict("UTF-8");
    return convert(to.get(), from.get(), cp932);
}

} // namespace platform
