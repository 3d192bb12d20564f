// The driver description the host reads with GetDescription. One per loaded
// library (DriverInfo), shared by all driver objects; written at
// registration and on every object creation, on the host's thread.
#pragma once

#include <cstdint>

#include "common/text.h"
#include "driver/equipment_type.h"

namespace qarvex::driver {

struct TDriverInfo {
  WString Name;
  WString Description;
  TEquipmentType::TValue EquipmentType = TEquipmentType::etUnknown;
  std::int32_t InterfaceRevision = 0;
  bool IntegrationLibrary = false;
  bool MainDriverInstalled = false;
  WString DownloadURL;
};
using PDriverInfo = TDriverInfo*;

extern TDriverInfo DriverInfo;

// The web address where the driver can be obtained.
inline constexpr char16_t kDriverDownloadURL[] = u"https://qarvex.example/termemu";

}  // namespace qarvex::driver
