// The kinds of equipment the host's equipment library knows, with their host
// names.
#pragma once

#include <cstdint>

#include "common/text.h"

namespace qarvex::driver {

namespace TEquipmentType {
enum TValue : std::uint8_t {
  etScanner = 0,
  etMCR,
  etFR,
  etReceiptPrinter,
  etLabelPrinter,
  etCustomerDisplay,
  etDataCollectionTerminal,
  etAcquiringTerminal,
  etScale,
  etPrintingScale,
  etRFIDReader,
  etECR,
  etUnknown,
};
}  // namespace TEquipmentType

// The host name of an equipment type; raises "Enum value unacceptable" for
// a value outside the enumeration.
WString EquipmentTypeName(TEquipmentType::TValue AType);

}  // namespace qarvex::driver
