// The host's variant (the Native API's tVariant) and the free functions that
// read it. Writers that need host memory are members of TV8UserObject.
#pragma once

#include <cstdint>

#include "common/datetime.h"
#include "common/text.h"
#include "host/abi.h"

namespace qarvex::host {

// Type codes (low 12 bits of vt; higher bits are flags).
enum V8Type : std::uint16_t {
  VTYPE_EMPTY = 0,
  VTYPE_I2 = 2,
  VTYPE_I4 = 3,
  VTYPE_R4 = 4,
  VTYPE_R8 = 5,
  VTYPE_DATE = 6,
  VTYPE_TM = 7,
  VTYPE_PSTR = 8,
  VTYPE_INTERFACE = 9,
  VTYPE_ERROR = 10,
  VTYPE_BOOL = 11,
  VTYPE_UI1 = 14,
  VTYPE_PWSTR = 22,
  VTYPE_BLOB = 23,
};
inline constexpr std::uint16_t kV8TypeMask = 0xFFF;

struct V8Guid {
  std::uint32_t data1;
  std::uint16_t data2, data3;
  std::uint8_t data4[8];
};

// Layout is left to the compiler on purpose: with the platform's own field
// types it reproduces the platform's offsets on every target (checked below).
struct V8Variant {
  union {
    std::int8_t i8Val;
    std::int16_t shortVal;
    std::int32_t lVal;
    std::int32_t intVal;
    std::uint32_t uintVal;
    std::int64_t llVal;
    std::uint8_t ui8Val;
    std::uint16_t ushortVal;
    std::uint32_t ulVal;
    std::uint64_t ullVal;
    std::int32_t errCode;
    std::int32_t hRes;
    float fltVal;
    double dblVal;
    bool bVal;
    char chVal;
    WCHAR_T wchVal;
    double date;
    V8Guid IDVal;
    V8Variant* pvarVal;
    V8Tm tmVal;
    struct {
      void* pInterfaceVal;
      V8Guid InterfaceID;
    } vtRecInterface;
    struct {
      char* pstrVal;
      std::uint32_t strLen;
    } vtRecString;
    struct {
      WCHAR_T* pwstrVal;
      std::uint32_t wstrLen;
    } vtRecWideString;
  };
  std::uint32_t cbElements;
  std::uint16_t vt;
  std::uint16_t vtPadding;  // written as zero: the type word's upper half
};
static_assert(sizeof(V8Variant) == kVariantSize, "variant size does not match the platform");
static_assert(offsetof(V8Variant, vt) == kVariantTypeOffset, "vt offset does not match the platform");

using PV8Variant = V8Variant*;
// Consecutive variants of one call; parameters are in/out.
using PV8ParamArray = V8Variant*;

inline std::uint16_t V8TypeCode(const V8Variant* v) { return v->vt & kV8TypeMask; }

// Readers look only at the type code; they never fail on an unexpected type
// (0, false, empty text), except V8TmToDateTime for a time that names no
// real date (Failure).
bool V8AsBool(const V8Variant* v);
std::int32_t V8AsInt(const V8Variant* v);
double V8AsDouble(const V8Variant* v);  // text uses the regional decimal separator
TDateTime V8AsDate(const V8Variant* v);
const WCHAR_T* V8AsPWideChar(const V8Variant* v);
WString V8AsWString(const V8Variant* v);  // up to the terminating zero; wstrLen not used
bool V8IsString(const V8Variant* v);
std::int32_t V8ToInt(const V8Variant* v);
double V8ToDouble(const V8Variant* v);
TDateTime V8TmToDateTime(const V8Variant* v);

// Trace conversions, selecting on the whole 32-bit type word: anything
// outside empty, I4, R8, TM, INTERFACE, BOOL, PWSTR and BLOB raises
// Failure("Unsupported data type").
WString V8ToStr(const V8Variant* v);
// "{" + V8ToStr of each joined by "; " + "]".
WString V8ParamsToStr(const V8Variant* params, long count);

}  // namespace qarvex::host
