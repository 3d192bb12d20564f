// The kinds of equipment the host's equipment library knows, with their host
// names.
#pragma once

#include "common/text.h"
#include "host/driver_description.h"

namespace qarvex::driver {

namespace TEquipmentType = host::TEquipmentType;

// The host name of an equipment type; raises "Enum value unacceptable" for
// a value outside the enumeration.
WString EquipmentTypeName(TEquipmentType::TValue AType);

}  // namespace qarvex::driver
