#include "emulator/uDriver.h"

#include "common/error.h"
#include "resources/resource_strings.h"

namespace qarvex::emulator {

QARVEX_DEFINE_DRIVER_CLASS(TDriver, acquiring::TAcquiringTerminalDriver,
                           &driver::CreateDriverObject<TDriver>, nullptr)

namespace {
// The card operations and the panel come with the terminal emulation; until
// then every one of them fails the call with this message.
[[noreturn]] void NotAvailableYet() { throw Failure("Operation is not available yet"); }
}  // namespace

TDriver::TDriver() = default;

TDriver::~TDriver() { TDriver::Close(); }

void TDriver::Register() {
  RegisterDriver(ClassInfo(), u"qarvex_termemu", ResString(StringId::DriverName),
                 ResString(StringId::DriverDescription));
}

void TDriver::Open() { TAcquiringTerminalDriver::Open(); }

void TDriver::Close() { TAcquiringTerminalDriver::Close(); }

void TDriver::PayOperation(acquiring::TTransactParams&) { NotAvailableYet(); }
void TDriver::ReturnPaymentOperation(acquiring::TTransactParams&) { NotAvailableYet(); }
void TDriver::CancelPaymentOperation(acquiring::TTransactParams&) { NotAvailableYet(); }
void TDriver::AuthorisationOperation(acquiring::TTransactParams&) { NotAvailableYet(); }
void TDriver::AuthConfirmationOperation(acquiring::TTransactParams&) { NotAvailableYet(); }
void TDriver::CancelAuthorisationOperation(acquiring::TTransactParams&) { NotAvailableYet(); }
void TDriver::EmergencyReversalOperation() { NotAvailableYet(); }
void TDriver::SettlementOperation(WString&) { NotAvailableYet(); }
bool TDriver::PrintSlipOnTerminalOperation() { NotAvailableYet(); }

void TDriver::ShowAdditionalOperationPanel() { NotAvailableYet(); }

}  // namespace qarvex::emulator
