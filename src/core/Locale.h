// The user's regional settings that text conversions depend on.
#pragma once

#include <string>

namespace plexa {

struct Locale {
    wchar_t decimalSeparator = L'.';
    wchar_t thousandSeparator = L',';
    // The system ANSI code page, as ICU names it.
    std::string codePage = "windows-1252";
};

// English (United States) settings, the default of the simulated host.
inline const Locale& DefaultLocale() {
    static const Locale locale;
    return locale;
}

}  // namespace plexa
