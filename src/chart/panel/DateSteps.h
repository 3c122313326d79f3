// Date-time axis steps: the 25 step lengths, finding and rounding to a step, and stepping a
// date by whole months or years.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace chart {

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;

// Number of step lengths.
inline constexpr int32_t kDateStepCount = 25;

// Step lengths in days: 1, 5, 10, 15, 30 seconds; 1, 5, 10, 15, 30 minutes; 1, 2, 6, 12 hours;
// 1, 2, 3, 7, 15, 30, 60, 90, 120, 182, 365 days (indices 0 .. 24).
const std::array<double, kDateStepCount>& DateStepDays();

// The step after the longest one not longer than length (the one-year step when none is).
double NextDateStep(double length);
// The highest index whose step differs from length by less than one second; kDateStepCount
// when none does.
int32_t DateStepIndex(double length);

// The date and time formats of the user's settings.
struct TDateFormats {
    std::string ShortDateFormat = "m/d/yyyy";
    std::string ShortTimeFormat = "h:nn";
};
TDateFormats& DateFormats();
// The short date format for steps above one day, else the short time format.
std::string DateDefaultFormat(double length);

// Dates on or before 1900-01-01 come back unchanged; later ones as their date part, with the
// day set to the 1st or 15th (whichever is not after it) for half months (18), to the 1st for
// months (19 .. 23), and to January 1st for years (24).
TDateTime RoundDateToStep(int32_t stepIndex, TDateTime date);

// Moves value one step forward or back: by length unless it is a date-time axis with a step
// of half a month (18: between the 1st and the 15th), months (19 .. 23: 1, 2, 3, 4, 6 months,
// to the 1st) or a year (24).
void StepDate(bool isDateTime, bool forward, TDateTime& value, int32_t stepIndex, double length);

// Calendar helpers: proleptic Gregorian dates.
TDateTime EncodeDate(int32_t year, int32_t month, int32_t day);
void DecodeDate(TDateTime date, int32_t& year, int32_t& month, int32_t& day);

}  // namespace chart
