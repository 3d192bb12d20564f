// The driver description the host reads with GetDescription
// (host/driver_description.h): computed by the registration of the driver
// class, read by every driver object.
#pragma once

#include "driver/equipment_type.h"
#include "host/driver_description.h"

namespace qarvex::driver {

using host::TDriverInfo;
using PDriverInfo = TDriverInfo*;

// The library's one description, held by the library's state.
TDriverInfo& DriverInfo();

// The web address where the driver can be obtained.
inline constexpr char16_t kDriverDownloadURL[] = u"https://qarvex.example/termemu";

}  // namespace qarvex::driver
