#include "common/datetime.h"

#include <cmath>

#include "common/error.h"

namespace qarvex {
namespace {

// Days from 1970-01-01 to the civil date (proleptic Gregorian calendar).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long yy = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

const long long kEpochOffset = DaysFromCivil(1899, 12, 30);

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

}  // namespace

bool IsValidDateTime(const LocalDateTime& t) {
  return t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour < 24 && t.minute >= 0 &&
         t.minute < 60 && t.second >= 0 && t.second < 60 && t.millisecond >= 0 &&
         t.millisecond < 1000;
}

TDateTime EncodeDateTime(const LocalDateTime& t) {
  if (!IsValidDateTime(t)) throw Failure("Invalid date or time");
  const double days = static_cast<double>(DaysFromCivil(t.year, t.month, t.day) - kEpochOffset);
  const double time =
      (((t.hour * 60.0 + t.minute) * 60.0 + t.second) * 1000.0 + t.millisecond) / 86400000.0;
  // Dates before the epoch carry the time of day as a positive fraction
  // counted away from zero, as the host's date values do.
  return days >= 0 ? days + time : days - time;
}

LocalDateTime DecodeDateTime(TDateTime value) {
  double whole = std::trunc(value);
  double frac = std::fabs(value - whole);
  long long ms = std::llround(frac * 86400000.0);
  if (ms >= 86400000LL) {  // rounding reached midnight of the next day
    ms -= 86400000LL;
    whole += value >= 0 ? 1 : -1;
  }
  LocalDateTime t;
  CivilFromDays(static_cast<long long>(whole) + kEpochOffset, t.year, t.month, t.day);
  t.millisecond = static_cast<int>(ms % 1000);
  t.second = static_cast<int>((ms / 1000) % 60);
  t.minute = static_cast<int>((ms / 60000) % 60);
  t.hour = static_cast<int>(ms / 3600000);
  return t;
}

}  // namespace qarvex
