// Date-times are days since 1899-12-30 as a double, the fraction being the
// time of day: the host's VTYPE_DATE value and the component's own format.
#pragma once

#include <cstdint>

namespace qarvex {

using TDateTime = double;

// A local calendar date and time of day, fields as written by people
// (month 1..12, hour 0..23).
struct LocalDateTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  bool operator==(const LocalDateTime&) const = default;
};

bool IsValidDateTime(const LocalDateTime& t);

// Throws Failure("Invalid date or time") for a date or time that does not exist.
TDateTime EncodeDateTime(const LocalDateTime& t);

// Nearest millisecond; valid for every date-time EncodeDateTime produces.
LocalDateTime DecodeDateTime(TDateTime value);

}  // namespace qarvex
