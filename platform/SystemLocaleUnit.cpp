#include "platform/SystemLocaleUnit.h"

#include <cctype>
#include <clocale>
#include <cstring>
#include <langinfo.h>

namespace platform {

namespace {
// First character of a strftime pattern that is neither a conversion nor a
// letter or digit, e.g. "." of "%Y.%m.%d".
char SeparatorOf(const char *pattern, char fallback)
{
    for (const char *p = pattern; p && *p; ++p) {
        if (*p == '%') {
            if (p[1]) ++p;
            continue;
        }
        if (!std::isalnum(static_cast<unsigned char>(*p)) && *p != ' ') return *p;
    }
    return fallback;
}
}  // namespace

TSystemSeparators ReadSystemSeparators()
{
    TSystemSeparators s;
    locale_t numeric = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (numeric) {
        const char *point = nl_langinfo_l(RADIXCHAR, numeric);
        if (point && std::strlen(point) == 1) s.Decimal = point[0];
        freelocale(numeric);
    }
    locale_t time = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (time) {
        s.Date = SeparatorOf(nl_langinfo_l(D_FMT, time), '/');
        s.Time = SeparatorOf(nl_langinfo_l(T_FMT, time), ':');
        freelocale(time);
    }
    return s;
}

}  // namespace platform
