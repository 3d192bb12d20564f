// Moving values between HostValue and the platform's variant, shared by the
// replacement hosts of every target. Each host declares the variant itself
// (its layout differs per target); the field names and type codes are the
// platform's on every target. Memory is the host's tracking manager:
// Allocate(bytes) for blocks handed to the component, Release(block) for
// blocks taken back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "tools/host/host_value.h"

namespace qarvex::nativehost {

// The platform's type codes of the values the host exchanges.
inline constexpr std::uint16_t kHostEmpty = 0, kHostI4 = 3, kHostR8 = 5, kHostDate = 6, kHostTm = 7,
                               kHostPstr = 8, kHostBool = 11, kHostPwstr = 22, kHostBlob = 23;

// Writes `value` into `v`, taking text and byte blocks from `memory`.
template <class Variant, class Memory>
void FillVariant(Variant& v, const HostValue& value, Memory& memory) {
  std::memset(&v, 0, sizeof v);
  switch (value.kind()) {
    case HostValue::Kind::Empty:
      break;
    case HostValue::Kind::Int:
      v.vt = kHostI4;
      v.lVal = value.AsInt();
      break;
    case HostValue::Kind::Double:
      v.vt = kHostR8;
      v.dblVal = value.AsDouble();
      break;
    case HostValue::Kind::Bool:
      v.vt = kHostBool;
      v.bVal = value.AsBool();
      break;
    case HostValue::Kind::Date:
      v.vt = kHostDate;
      v.date = value.AsDouble();
      break;
    case HostValue::Kind::DateTime: {
      auto t = value.AsBroken();
      v.vt = kHostTm;
      v.tmVal.tm_year = t.year - 1900;
      v.tmVal.tm_mon = t.month - 1;
      v.tmVal.tm_mday = t.day;
      v.tmVal.tm_hour = t.hour;
      v.tmVal.tm_min = t.minute;
      v.tmVal.tm_sec = t.second;
      break;
    }
    case HostValue::Kind::Text: {
      const auto& text = value.AsText();
      auto* block = static_cast<char16_t*>(memory.Allocate((text.size() + 1) * 2));
      std::memcpy(block, text.c_str(), (text.size() + 1) * 2);
      v.vt = kHostPwstr;
      v.vtRecWideString.pwstrVal = block;
      v.vtRecWideString.wstrLen = static_cast<std::uint32_t>(text.size());
      break;
    }
    case HostValue::Kind::AnsiText:
    case HostValue::Kind::Blob: {
      const auto& bytes = value.AsBytes();
      bool ansi = value.kind() == HostValue::Kind::AnsiText;
      auto* block = static_cast<char*>(memory.Allocate(bytes.size() + (ansi ? 1 : 0)));
      std::memcpy(block, bytes.data(), bytes.size());
      v.vt = ansi ? kHostPstr : kHostBlob;
      v.vtRecString.pstrVal = block;
      v.vtRecString.strLen = static_cast<std::uint32_t>(bytes.size());
      break;
    }
    case HostValue::Kind::RawType: {
      std::uint32_t word = value.RawTypeWord();
      std::memcpy(reinterpret_cast<char*>(&v) + offsetof(Variant, vt), &word, sizeof word);
      break;
    }
  }
}

// Reads `v`, gives its block back to `memory` and leaves `v` empty.
template <class Variant, class Memory>
HostValue TakeVariant(Variant& v, Memory& memory) {
  std::uint32_t word;
  std::memcpy(&word, reinterpret_cast<char*>(&v) + offsetof(Variant, vt), sizeof word);
  HostValue result;
  switch (word) {
    case kHostEmpty:
      break;
    case kHostI4:
      result = HostValue(static_cast<int>(v.lVal));
      break;
    case kHostR8:
      result = HostValue(v.dblVal);
      break;
    case kHostBool:
      result = HostValue(v.bVal);
      break;
    case kHostDate:
      result = HostValue::Date(v.date);
      break;
    case kHostTm:
      result = HostValue::DateTime({v.tmVal.tm_year + 1900, v.tmVal.tm_mon + 1, v.tmVal.tm_mday,
                                    v.tmVal.tm_hour, v.tmVal.tm_min, v.tmVal.tm_sec});
      break;
    case kHostPwstr:
      if (v.vtRecWideString.pwstrVal != nullptr) {
        result = HostValue(std::u16string(v.vtRecWideString.pwstrVal, v.vtRecWideString.wstrLen));
        memory.Release(v.vtRecWideString.pwstrVal);
      } else {
        result = HostValue(std::u16string());
      }
      break;
    case kHostPstr:
    case kHostBlob: {
      std::string bytes;
      if (v.vtRecString.pstrVal != nullptr) {
        bytes.assign(v.vtRecString.pstrVal, v.vtRecString.strLen);
        memory.Release(v.vtRecString.pstrVal);
      }
      result = word == kHostPstr ? HostValue::Ansi(bytes)
                                  : HostValue::Blob({bytes.begin(), bytes.end()});
      break;
    }
    default:
      result = HostValue::Raw(word);
      break;
  }
  std::memset(&v, 0, sizeof v);
  return result;
}

}  // namespace qarvex::nativehost
