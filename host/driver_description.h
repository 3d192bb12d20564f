// The driver description the host's equipment library reads with
// GetDescription: one per loaded library, shared by all driver objects. Held
// by the library's state (library_state.h) and computed once, when the driver
// class is registered at load; read-only afterwards.
#pragma once

#include <cstdint>

#include "common/text.h"

namespace qarvex::host {

// The kinds of equipment the host's equipment library knows.
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

struct TDriverInfo {
  WString Name;
  WString Description;
  TEquipmentType::TValue EquipmentType = TEquipmentType::etUnknown;
  std::int32_t InterfaceRevision = 0;
  bool IntegrationLibrary = false;
  bool MainDriverInstalled = false;
  WString DownloadURL;
};

}  // namespace qarvex::host
