#pragma once
// Date-times as the list file stores them: days since 30 December 1899 with
// the time of day as the fraction, and their formatting with the pattern
// letters of the dictionary's "_DateFormat" and "_DateTimeFormat" texts.
#include <string>
#include <string_view>

namespace dictionary {

using TDateTime = double;

struct TDateParts {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

bool IsLeapYear(int year);
// Raises platform::TConversionError for an impossible date or time.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second);
TDateParts DecodeDateTime(TDateTime value);
TDateTime Now();     // local time
TDateTime Today();   // local date, time 0

// Pattern letters: d dd m mm yy yyyy h hh n nn s ss; "/" prints dateSeparator,
// ":" prints timeSeparator; text in single or double quotes is copied; any
// other character is copied as it stands.
std::string FormatDateTime(std::string_view pattern, TDateTime value, char dateSeparator, char timeSeparator);

}  // namespace dictionary
