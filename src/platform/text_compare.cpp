#include "platform/text_compare.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <cassert>
#include <cstdlib>
#include <memory>
#include <vector>

namespace platform {

namespace {

// The locale named by the environment, the way setlocale would pick it.
std::string collationLocale() {
    for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (!value || !*value) continue;
        std::string name(value);
        if (name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0) break;
        return name.substr(0, name.find_first_of(".@"));
    }
    return "ja";
}

UCollator* collator() {
    static std::unique_ptr<UCollator, void (*)(UCollator*)> instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* opened = ucol_open(collationLocale().c_str(), &status);
        if (U_FAILURE(status)) {
            status = U_ZERO_ERROR;
            opened = ucol_open("", &status);
        }
        assert(U_SUCCESS(status) && "the root collation is always available");
        return std::unique_ptr<UCollator, void (*)(UCollator*)>(opened, ucol_close);
    }();
    return instance.get();
}

// UTF-8 to case-folded UTF-16.
std::u16string folded(std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    std::u16string wide(text.size() + 1, u'\0');
    u_strFromUTF8WithSub(wide.data(), static_cast<int32_t>(wide.size()), &length, text.data(),
                         static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
    wide.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    std::u16string out(wide.size() * 3 + 1, u'\0');
    status = U_ZERO_ERROR;
    int32_t foldedLength =
        u_strFoldCase(out.data(), static_cast<int32_t>(out.size()), wide.data(),
                      static_cast<int32_t>(wide.size()), U_FOLD_CASE_DEFAULT, &status);
    out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(foldedLength) : 0);
    return out;
}

} // namespace

int compareNoCase(std::string_view a, std::string_view b) {
    std::u16string left = folded(a), right = folded(b);
    return ucol_strcoll(collator(), left.data(), static_cast<int32_t>(left.size()), right.data(),
                        static_cast<int32_t>(right.size()));
}

std::string sortKeyNoCase(std::string_view text) {
    std::u16string wide = folded(text);
    std::vector<uint8_t> key(wide.size() * 4 + 16);
    int32_t needed = ucol_getSortKey(collator(), wide.data(), static_cast<int32_t>(wide.size()),
                                     key.data(), static_cast<int32_t>(key.size()));
    if (needed > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<std::size_t>(needed));
        needed = ucol_getSortKey(collator(), wide.data(), static_cast<int32_t>(wide.size()),
                                 key.data(), needed);
    }
    // The key ends with a zero byte that is not part of the order.
    return std::string(reinterpret_cast<const char*>(key.data()),
                       needed > 0 ? static_cast<std::size_t>(needed - 1) : 0);
}

} // namespace platform
