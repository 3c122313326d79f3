// Date step lengths, rounding and stepping by calendar months.
#include "chart/panel/DateSteps.h"

#include <algorithm>
#include <cmath>

namespace chart {

namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr double kMinute = 60 * kSecond;
constexpr double kHour = 60 * kMinute;
// 1900-01-01 as a day number.
constexpr double kFirstRoundedDate = 2.0;
constexpr int32_t kHalfMonthStep = 18;
constexpr int32_t kYearStep = 24;
constexpr int32_t kLastStepScanned = 23;
constexpr int32_t kMidMonthDay = 15;
constexpr int32_t kMonthsPerYear = 12;
// Day number of 1899-12-30 counted from 0000-03-01 by DaysFromCivil.
constexpr int64_t kEpochOffset = 693899;

int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

bool IsLeapYear(int32_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int32_t DaysInMonth(int32_t year, int32_t month) {
    static constexpr int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Moves (year, month) by a number of months, carrying the year.
void AddMonths(int32_t& year, int32_t& month, int32_t months) {
    const int32_t index = year * kMonthsPerYear + (month - 1) + months;
    year = index >= 0 ? index / kMonthsPerYear : -((-index + kMonthsPerYear - 1) / kMonthsPerYear);
    month = index - year * kMonthsPerYear + 1;
}

}  // namespace

const std::array<double, kDateStepCount>& DateStepDays() {
    static const std::array<double, kDateStepCount> steps = {kSecond,
                                                             5 * kSecond,
                                                             10 * kSecond,
                                                             15 * kSecond,
                                                             30 * kSecond,
                                                             kMinute,
                                                             5 * kMinute,
                                                             10 * kMinute,
                                                             15 * kMinute,
                                                             30 * kMinute,
                                                             kHour,
                                                             2 * kHour,
                                                             6 * kHour,
                                                             12 * kHour,
                                                             1,
                                                             2,
                                                             3,
                                                             7,
                                                             15,
                                                             30,
                                                             60,
                                                             90,
                                                             120,
                                                             182,
                                                             365};
    return steps;
}

double NextDateStep(double length) {
    const auto& steps = DateStepDays();
    for (int32_t i = kLastStepScanned; i >= 0; --i) {
        if (steps[static_cast<size_t>(i)] <= length) {
            return steps[static_cast<size_t>(i) + 1];
        }
    }
    return steps[kYearStep];
}

int32_t DateStepIndex(double length) {
    const auto& steps = DateStepDays();
    for (int32_t i = kDateStepCount - 1; i >= 0; --i) {
        if (std::fabs(steps[static_cast<size_t>(i)] - length) < kSecond) {
            return i;
        }
    }
    return kDateStepCount;
}

TDateFormats& DateFormats() {
    static TDateFormats formats;
    return formats;
}

std::string DateDefaultFormat(double length) {
    return length > 1 ? DateFormats().ShortDateFormat : DateFormats().ShortTimeFormat;
}

TDateTime EncodeDate(int32_t year, int32_t month, int32_t day) {
    return static_cast<double>(DaysFromCivil(year, month, day) - kEpochOffset);
}

void DecodeDate(TDateTime date, int32_t& year, int32_t& month, int32_t& day) {
    const int64_t z = static_cast<int64_t>(std::floor(date)) + kEpochOffset;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int32_t>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

TDateTime RoundDateToStep(int32_t stepIndex, TDateTime date) {
    if (date <= kFirstRoundedDate) {
        return date;
    }
    int32_t year = 0;
    int32_t month = 0;
    int32_t day = 0;
    DecodeDate(date, year, month, day);
    if (stepIndex == kHalfMonthStep) {
        day = day >= kMidMonthDay ? kMidMonthDay : 1;
    } else if (stepIndex > kHalfMonthStep && stepIndex < kYearStep) {
        day = 1;
    } else if (stepIndex == kYearStep) {
        day = 1;
        month = 1;
    }
    return EncodeDate(year, month, day);
}

void StepDate(bool isDateTime, bool forward, TDateTime& value, int32_t stepIndex, double length) {
    if (!isDateTime || stepIndex < kHalfMonthStep || stepIndex > kYearStep) {
        value += forward ? length : -length;
        return;
    }
    int32_t year = 0;
    int32_t month = 0;
    int32_t day = 0;
    DecodeDate(value, year, month, day);
    const int32_t sign = forward ? 1 : -1;
    switch (stepIndex) {
        case kHalfMonthStep:
            // Between the 1st and the 15th of each month, in the requested direction.
            if (forward) {
                if (day < kMidMonthDay) {
                    day = kMidMonthDay;
                } else {
                    AddMonths(year, month, 1);
                    day = 1;
                }
            } else if (day > kMidMonthDay) {
                day = kMidMonthDay;
            } else if (day > 1) {
                day = 1;
            } else {
                AddMonths(year, month, -1);
                day = kMidMonthDay;
            }
            break;
        case kYearStep:
            year += sign;
            day = std::min(day, DaysInMonth(year, month));
            break;
        default: {
            static constexpr int32_t kMonthsOfStep[] = {1, 2, 3, 4, 6};
            AddMonths(year, month, sign * kMonthsOfStep[stepIndex - kHalfMonthStep - 1]);
            day = 1;
            break;
        }
    }
    value = EncodeDate(year, month, day);
}

}  // namespace chart
