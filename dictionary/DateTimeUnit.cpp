#include "dictionary/DateTimeUnit.h"

#include "platform/XmlDocumentUnit.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <ctime>

namespace dictionary {

namespace {

constexpr std::int64_t MillisecondsPerDay = 86400000;
// Day 0 of TDateTime (1899-12-30) counted from 1970-01-01.
constexpr std::int64_t UnixEpochOffset = 25569;

int MonthLength(int year, int month)
{
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : lengths[month - 1];
}

// Proleptic Gregorian day number counted from 1970-01-01 (H. Hinnant's
// civil-calendar arithmetic): exact for every year we accept.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int &year, int &month, int &day)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yoe + era * 400 + (month <= 2));
}

// Dates are formatted per row in the writers: digits go straight into out.
void AppendPadded(std::string &out, int value, int width)
{
    if (value < 0) out += '-';
    char digits[16];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value < 0 ? -std::int64_t(value) : std::int64_t(value));
    (void)ec;
    for (std::ptrdiff_t n = end - digits; n < width; ++n) out += '0';
    out.append(digits, end);
}

std::string Padded(int value, int width)
{
    std::string out;
    AppendPadded(out, value, width);
    return out;
}

std::string DateText(int year, int month, int day)
{
    return Padded(year, 4) + "/" + Padded(month, 2) + "/" + Padded(day, 2);
}

TDateTime FromTm(const std::tm &t, int milliseconds)
{
    const TDateTime date = EncodeDate(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    const double time = (t.tm_hour * 3600000.0 + t.tm_min * 60000.0 + t.tm_sec * 1000.0 + milliseconds) /
                        double(MillisecondsPerDay);
    return date + time;
}

std::tm LocalNow(int &milliseconds)
{
    std::timespec now{};
    std::timespec_get(&now, TIME_UTC);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    milliseconds = int(now.tv_nsec / 1000000);
    return local;
}

}  // namespace

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

TDateTime EncodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > MonthLength(year, month))
        throw platform::TConversionError("DateTimeUnit: Invalid date " + DateText(year, month, day));
    return double(DaysFromCivil(year, month, day) + UnixEpochOffset);
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second)
{
    const TDateTime date = EncodeDate(year, month, day);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        throw platform::TConversionError("DateTimeUnit: Invalid time " + Padded(hour, 2) + ":" + Padded(minute, 2) +
                                         ":" + Padded(second, 2));
    return date + (hour * 3600 + minute * 60 + second) / 86400.0;
}

TDateParts DecodeDateTime(TDateTime value)
{
    // Before day 0 the fraction still counts forward from midnight, so
    // -1.25 is 29 December 1899, 06:00.
    std::int64_t day = std::int64_t(std::trunc(value));
    std::int64_t ms = std::llround(std::fabs(value - double(day)) * double(MillisecondsPerDay));
    if (ms >= MillisecondsPerDay) {
        ms -= MillisecondsPerDay;
        day += value < 0 ? -1 : 1;
    }
    TDateParts parts;
    CivilFromDays(day - UnixEpochOffset, parts.Year, parts.Month, parts.Day);
    const std::int64_t seconds = ms / 1000;
    parts.Hour = int(seconds / 3600);
    parts.Minute = int(seconds / 60 % 60);
    parts.Second = int(seconds % 60);
    return parts;
}

TDateTime Now()
{
    int ms = 0;
    const std::tm local = LocalNow(ms);
    return FromTm(local, ms);
}

TDateTime Today()
{
    int ms = 0;
    const std::tm local = LocalNow(ms);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::string FormatDateTime(std::string_view pattern, TDateTime value, char dateSeparator, char timeSeparator)
{
    const TDateParts p = DecodeDateTime(value);
    std::string out;
    out.reserve(pattern.size() + 8);
    std::size_t i = 0;
    auto runOf = [&](char letter, std::size_t most) {
        std::size_t n = 0;
        while (i + n < pattern.size() && n < most && (pattern[i + n] | 0x20) == letter) ++n;
        return n;
    };
    while (i < pattern.size()) {
        const char c = pattern[i];
        const char lower = char(c | 0x20);
        if (c == '"' || c == '\'') {
            const std::size_t close = pattern.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
            out.append(pattern.substr(i + 1, end - i - 1));
            i = close == std::string_view::npos ? end : end + 1;
            continue;
        }
        if (c == '/') {
            out += dateSeparator;
            ++i;
            continue;
        }
        if (c == ':') {
            out += timeSeparator;
            ++i;
            continue;
        }
        if (lower == 'y') {
            const std::size_t n = runOf('y', std::string_view::npos);
            if (n <= 2)
                AppendPadded(out, p.Year % 100, 2);
            else
                AppendPadded(out, p.Year, 4);
            i += n;
            continue;
        }
        int number = -1;
        switch (lower) {
        case 'd': number = p.Day; break;
        case 'm': number = p.Month; break;
        case 'h': number = p.Hour; break;
        case 'n': number = p.Minute; break;
        case 's': number = p.Second; break;
        default: break;
        }
        if (number < 0 || !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) {
            out += c;
            ++i;
            continue;
        }
        const std::size_t n = runOf(lower, 2);
        AppendPadded(out, number, n == 2 ? 2 : 1);
        i += n;
    }
    return out;
}

}  // namespace dictionary
