#include "host/v8variant.h"

#include <cmath>
#include <limits>

#include "common/error.h"
#include "common/number_format.h"
#include "platform/regional_settings.h"

namespace qarvex::host {
namespace {

// Truncation toward zero that never overflows: a value beyond the 32-bit
// range answers the nearest bound and NaN answers 0, so a reader never fails.
std::int32_t TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

std::uint32_t WholeTypeWord(const V8Variant* v) {
  return static_cast<std::uint32_t>(v->vt) | (static_cast<std::uint32_t>(v->vtPadding) << 16);
}

WString TwoDigits(int value) { return IntToText(value, 2); }

// Trace form of a date-time: the regional date "dd.mm.yyyy" and, unless the
// time is midnight, " hh:nn:ss" with the regional separators.
WString DateTimeText(TDateTime value) {
  const auto& regional = platform::CurrentRegionalSettings();
  LocalDateTime t = DecodeDateTime(value);
  WString text = TwoDigits(t.day) + regional.dateSeparator + TwoDigits(t.month) +
                 regional.dateSeparator + IntToText(t.year, 4);
  if (t.hour != 0 || t.minute != 0 || t.second != 0)
    text += u' ' + TwoDigits(t.hour) + regional.timeSeparator + TwoDigits(t.minute) +
            regional.timeSeparator + TwoDigits(t.second);
  return text;
}

// Byte blobs are traced as upper-case hexadecimal pairs.
WString HexText(const char* bytes, std::uint32_t length) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  WString text;
  if (bytes == nullptr) return text;
  text.reserve(length * 2);
  for (std::uint32_t i = 0; i < length; ++i) {
    auto b = static_cast<unsigned char>(bytes[i]);
    text += kDigits[b >> 4];
    text += kDigits[b & 0xF];
  }
  return text;
}

}  // namespace

bool V8AsBool(const V8Variant* v) {
  if (V8TypeCode(v) == VTYPE_BOOL) return v->bVal;
  return V8ToInt(v) != 0;
}

std::int32_t V8AsInt(const V8Variant* v) {
  if (V8TypeCode(v) == VTYPE_I4) return v->lVal;
  return V8ToInt(v);
}

double V8AsDouble(const V8Variant* v) {
  if (V8TypeCode(v) == VTYPE_R8) return v->dblVal;
  return V8ToDouble(v);
}

TDateTime V8AsDate(const V8Variant* v) {
  switch (V8TypeCode(v)) {
    case VTYPE_R8:
    case VTYPE_DATE: return v->dblVal;
    case VTYPE_TM: return V8TmToDateTime(v);
    default: return 0;
  }
}

const WCHAR_T* V8AsPWideChar(const V8Variant* v) {
  return V8TypeCode(v) == VTYPE_PWSTR ? v->vtRecWideString.pwstrVal : nullptr;
}

WString V8AsWString(const V8Variant* v) {
  const WCHAR_T* text = V8AsPWideChar(v);
  return text ? WString(text) : WString();
}

bool V8IsString(const V8Variant* v) {
  auto t = V8TypeCode(v);
  return t == VTYPE_PSTR || t == VTYPE_PWSTR;
}

std::int32_t V8ToInt(const V8Variant* v) {
  switch (V8TypeCode(v)) {
    case VTYPE_I2: return v->shortVal;
    case VTYPE_I4: return v->lVal;
    case VTYPE_R4: return TruncateToInt32(v->fltVal);
    case VTYPE_R8: return TruncateToInt32(v->dblVal);
    case VTYPE_DATE: return TruncateToInt32(v->date);
    case VTYPE_ERROR: return v->errCode;
    case VTYPE_UI1: return v->ui8Val;
    case VTYPE_PWSTR: {
      int value = 0;
      return TryParseInt32(V8AsWString(v), value) ? value : 0;
    }
    default: return 0;
  }
}

double V8ToDouble(const V8Variant* v) {
  switch (V8TypeCode(v)) {
    case VTYPE_I2: return v->shortVal;
    case VTYPE_I4: return v->lVal;
    case VTYPE_R4: return v->fltVal;
    case VTYPE_R8: return v->dblVal;
    case VTYPE_DATE: return v->date;
    case VTYPE_ERROR: return v->errCode;
    case VTYPE_UI1: return v->ui8Val;
    case VTYPE_PWSTR: {
      double value = 0;
      return TryParseReal(V8AsWString(v), platform::CurrentRegionalSettings().decimalSeparator, value)
                 ? value
                 : 0;
    }
    default: return 0;
  }
}

TDateTime V8TmToDateTime(const V8Variant* v) {
  const V8Tm& tm = v->tmVal;
  // Each field is taken as its low 16 bits before anything is added to it,
  // so a field near INT_MAX cannot overflow; the sums wrap in 16 bits like
  // the fields. No time-zone conversion.
  auto low16 = [](int value) { return static_cast<std::uint16_t>(value); };
  LocalDateTime t;
  t.year = low16(low16(tm.tm_year) + 1900);
  t.month = low16(low16(tm.tm_mon) + 1);
  t.day = low16(tm.tm_mday);
  t.hour = low16(tm.tm_hour);
  t.minute = low16(tm.tm_min);
  t.second = low16(tm.tm_sec);
  return EncodeDateTime(t);  // Failure for a date or time that does not exist
}

WString V8ToStr(const V8Variant* v) {
  switch (WholeTypeWord(v)) {
    case VTYPE_EMPTY: return WString();
    case VTYPE_I4: return IntToText(v->lVal);
    case VTYPE_R8: return FormatGeneral(v->dblVal, platform::CurrentRegionalSettings().decimalSeparator);
    case VTYPE_TM: return DateTimeText(V8TmToDateTime(v));
    case VTYPE_INTERFACE: return WString();  // an interface has no text form
    case VTYPE_BOOL: return V8AsBool(v) ? u"True" : u"False";
    case VTYPE_PWSTR: return V8AsWString(v);
    case VTYPE_BLOB: return HexText(v->vtRecString.pstrVal, v->vtRecString.strLen);
    default: throw Failure("Unsupported data type");
  }
}

WString V8ParamsToStr(const V8Variant* params, long count) {
  WString text = u"{";
  for (long i = 0; params != nullptr && i < count; ++i) {
    if (i > 0) text += u"; ";
    text += V8ToStr(params + i);
  }
  return text + u"]";
}

}  // namespace qarvex::host
