// The host's parameter block of one call, guarded by the count the host
// passed: a position past that count reads as an empty value and is never
// written, so a caller passing fewer parameters than a method expects cannot
// make it read or write outside the block.
#pragma once

#include <cstdint>

#include "host/v8variant.h"

namespace qarvex::driver {

class THostParams {
 public:
  THostParams(host::V8Variant* params, std::int32_t count)
      : params_(params), count_(params == nullptr || count < 0 ? 0 : count) {}

  // The value at `index`, or an empty value past the count.
  const host::V8Variant* In(std::int32_t index) const {
    return index < count_ ? &params_[index] : &kEmpty;
  }
  // The slot at `index` to write into, or null past the count.
  host::V8Variant* Out(std::int32_t index) const {
    return index < count_ ? &params_[index] : nullptr;
  }

 private:
  static constexpr host::V8Variant kEmpty{};
  host::V8Variant* params_;
  std::int32_t count_;
};

}  // namespace qarvex::driver
