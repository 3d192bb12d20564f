// The three export marks a driver class attaches to its members. A mark is
// an immutable value built from constants written where the member is listed
// in its class's member table (driver_class.h).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "common/text.h"

namespace qarvex::driver {

// On a method with the exported signature: the host sees it under NameLoc
// and is told it takes ParamCount parameters. A method may name what each
// parameter is for (ParamRoles, one per parameter, e.g. "receipt_number"):
// the host never sees them, but tools that call the component show its
// answers under them instead of keeping a copy of their own.
class ExportMethAttribute {
 public:
  constexpr ExportMethAttribute(WStringView ANameLoc, std::int32_t AParamCount)
      : FNameLoc(ANameLoc), FParamCount(AParamCount) {}
  constexpr ExportMethAttribute(WStringView ANameLoc, std::span<const std::string_view> AParamRoles)
      : FNameLoc(ANameLoc), FParamCount(static_cast<std::int32_t>(AParamRoles.size())), FParamRoles(AParamRoles) {}
  constexpr WStringView NameLoc() const { return FNameLoc; }
  constexpr std::int32_t ParamCount() const { return FParamCount; }
  constexpr std::span<const std::string_view> ParamRoles() const { return FParamRoles; }

 private:
  WStringView FNameLoc;
  std::int32_t FParamCount;
  std::span<const std::string_view> FParamRoles;
};

// On a property: its host name, its caption and default text in the
// parameter table, and whether the host may write it.
class ExportPropAttribute {
 public:
  constexpr ExportPropAttribute(WStringView ANameLoc, WStringView ACaption, WStringView ADefValue,
                                bool AReadOnly)
      : FNameLoc(ANameLoc), FCaption(ACaption), FDefValue(ADefValue), FReadOnly(AReadOnly) {}
  constexpr WStringView NameLoc() const { return FNameLoc; }
  constexpr WStringView Caption() const { return FCaption; }
  constexpr WStringView DefValue() const { return FDefValue; }
  constexpr bool ReadOnly() const { return FReadOnly; }

 private:
  WStringView FNameLoc;
  WStringView FCaption;
  WStringView FDefValue;
  bool FReadOnly;
};

// On a parameterless method the host may run by name as an additional action.
class AdditionalActionAttribute {
 public:
  explicit constexpr AdditionalActionAttribute(WStringView ACaption) : FCaption(ACaption) {}
  constexpr WStringView Caption() const { return FCaption; }

 private:
  WStringView FCaption;
};

}  // namespace qarvex::driver
