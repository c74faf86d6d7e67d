#pragma once
// The separators of the user's locale, read once at start-up from the C
// library (LC_NUMERIC decimal point, date and time separators from the short
// date and time formats) without changing the process locale.

namespace platform {

struct TSystemSeparators {
    char Date = '/';
    char Decimal = '.';
    char Time = ':';
};

TSystemSeparators ReadSystemSeparators();

}  // namespace platform
