#include "driver/uCommonDriver.h"

#include "driver/uVInfo.h"
#include "driver/xml_tables.h"
#include "host/library_state.h"
#include "log/Common.Log.h"
#include "log/ufmLog.h"
#include "platform/module_resource.h"

namespace qarvex::driver {

TDriverInfo& DriverInfo() { return host::Library().DriverDescription; }

QARVEX_DEFINE_DRIVER_CLASS(TCommonDriver, TCustomDriver, nullptr, &TCommonDriver::UpdateDriverInfo)

namespace {
constexpr std::uint8_t kLogEverything = 3;
constexpr std::uint8_t kLogNothing = 0;
}  // namespace

TCommonDriver::~TCommonDriver() { TCommonDriver::Close(); }

void TCommonDriver::RegisterDriver(const TDriverClass& AClass, WStringView AExtension,
                                   WStringView AName, WStringView ADescription) {
  TCustomDriver::RegisterDriver(AClass, AExtension);
  // Computed afresh from the class alone, so nothing of an earlier
  // registration is left in it.
  TDriverInfo info;
  info.Name.assign(AName);
  info.Description.assign(ADescription);
  for (const TDriverClass* c = &AClass; c != nullptr; c = c->Base) {
    if (c->UpdateDriverInfo != nullptr) {
      c->UpdateDriverInfo(&info);
      break;
    }
  }
  DriverInfo() = std::move(info);
}

void TCommonDriver::UpdateDriverInfo(PDriverInfo ADriverInfo) {
  ADriverInfo->EquipmentType = TEquipmentType::etUnknown;
  ADriverInfo->InterfaceRevision = 2004;
  ADriverInfo->IntegrationLibrary = false;
  ADriverInfo->MainDriverInstalled = false;
  ADriverInfo->DownloadURL = kDriverDownloadURL;
}

bool TCommonDriver::GetLogEnabled() const { return TLog::LogLevel.load() != kLogNothing; }

void TCommonDriver::SetLogEnabled(bool AValue) {
  TLog::LogLevel.store(AValue ? kLogEverything : kLogNothing);
}

void TCommonDriver::DoDeviceTest(WString& AResultText, WString& AExtraText) {
  AResultText.clear();
  AExtraText.clear();
  try {
    try {
      Open();
      AResultText = DriverInfo().Description;
    } catch (...) {
      Close();
      throw;
    }
    Close();
  } catch (...) {
    AResultText = MessageOfCurrentException();
  }
}

void TCommonDriver::BuildParametersXML(WString& AXML) {
  if (const auto replacement = platform::ModuleRawResource(u"Parameters")) {
    AXML = LoadParametersDocument(*replacement);
    return;
  }
  AXML = BuildParametersDocument(DriverClass());
}

void TCommonDriver::BuildActionsXML(WString& AXML) { AXML = BuildActionsDocument(DriverClass()); }

void TCommonDriver::DoAction(WStringView AName) {
  bool found = false;
  ForEachMember(DriverClass(), [&](const TMember& m) {
    if (!m.AdditionalAction || m.Name != AName) return;
    m.Action(*this);
    found = true;
  });
  if (!found) throw Failure("Action not found");
}

void TCommonDriver::ViewLog() {
  TfrmLog viewer;
  viewer.ShowModal();
}

// --- exported methods ------------------------------------------------------

bool TCommonDriver::GetVersion(host::V8Variant* RetValue, host::V8Variant*, std::int32_t,
                               host::TV8AddInDefBaseEx&) {
  // Not a guarded method: it leaves the last result alone, so a version the
  // host refused memory for fails the call itself.
  return RetValue == nullptr || PutText(RetValue, FileVersionText());
}

bool TCommonDriver::GetDescription(host::V8Variant* RetValue, host::V8Variant* Params,
                                   std::int32_t ParamCount, host::TV8AddInDefBaseEx&) {
  const THostParams params(Params, ParamCount);
  // Every value is computed before anything is written, so a failure leaves
  // the host's parameters as they were.
  const WString typeName = EquipmentTypeName(DriverInfo().EquipmentType);
  bool written = true;
  const auto text = [&](std::int32_t index, WStringView value) {
    if (auto* p = params.Out(index)) written = PutText(p, value) && written;
  };
  text(0, DriverInfo().Name);
  text(1, DriverInfo().Description);
  text(2, typeName);
  if (auto* p = params.Out(3)) V8SetInt(p, DriverInfo().InterfaceRevision);
  if (auto* p = params.Out(4)) V8SetBool(p, DriverInfo().IntegrationLibrary);
  if (auto* p = params.Out(5)) V8SetBool(p, DriverInfo().MainDriverInstalled);
  text(6, DriverInfo().DownloadURL);
  // The host is told the description was written, as after any success;
  // the last result stays as it was. A description the host could not
  // take in full fails the call itself.
  if (RetValue != nullptr) V8SetBool(RetValue, written);
  return written;
}

bool TCommonDriver::GetLastError(host::V8Variant* RetValue, host::V8Variant* Params,
                                 std::int32_t ParamCount, host::TV8AddInDefBaseEx&) {
  const THostParams params(Params, ParamCount);
  if (RetValue != nullptr) V8SetBool(RetValue, LastResult().BoolResult);
  // The error text is the answer itself: without it the call fails, and the
  // last result stays for the next ask.
  auto* p = params.Out(0);
  return p == nullptr || PutText(p, LastResult().ErrorDescription);
}

bool TCommonDriver::Open(host::V8Variant* RetValue, host::V8Variant*, std::int32_t,
                         host::TV8AddInDefBaseEx&) {
  return Guarded(RetValue, [&] { Open(); });
}

bool TCommonDriver::Close(host::V8Variant* RetValue, host::V8Variant*, std::int32_t,
                          host::TV8AddInDefBaseEx&) {
  return Guarded(RetValue, [&] { Close(); });
}

bool TCommonDriver::AnswerDocument(void (TCommonDriver::*ABuild)(WString&), host::V8Variant* RetValue,
                                   host::V8Variant* Params, std::int32_t ParamCount) {
  const THostParams params(Params, ParamCount);
  return Guarded(RetValue, [&] {
    WString xml;
    (this->*ABuild)(xml);
    if (auto* p = params.Out(0)) HandOverText(p, xml);
  });
}

bool TCommonDriver::GetParameters(host::V8Variant* RetValue, host::V8Variant* Params,
                                  std::int32_t ParamCount, host::TV8AddInDefBaseEx&) {
  return AnswerDocument(&TCommonDriver::BuildParametersXML, RetValue, Params, ParamCount);
}

bool TCommonDriver::SetParameter(host::V8Variant* RetValue, host::V8Variant* Params,
                                 std::int32_t ParamCount, host::TV8AddInDefBaseEx&) {
  const THostParams params(Params, ParamCount);
  return Guarded(RetValue, [&] {
    const WString name = host::V8AsWString(params.In(0));
    host::V8Variant value = *params.In(1);  // the writers only read it
    PropertySet(name, &value);
  });
}

bool TCommonDriver::DeviceTest(host::V8Variant* RetValue, host::V8Variant* Params,
                               std::int32_t ParamCount, host::TV8AddInDefBaseEx&) {
  const THostParams params(Params, ParamCount);
  return Guarded(RetValue, [&] {
    WString resultText, extraText;
    DoDeviceTest(resultText, extraText);
    if (auto* p = params.Out(0)) HandOverText(p, resultText);
    if (auto* p = params.Out(1)) HandOverText(p, extraText);
  });
}

bool TCommonDriver::GetAdditionalActions(host::V8Variant* RetValue, host::V8Variant* Params,
                                         std::int32_t ParamCount, host::TV8AddInDefBaseEx&) {
  return AnswerDocument(&TCommonDriver::BuildActionsXML, RetValue, Params, ParamCount);
}

bool TCommonDriver::DoAdditionalAction(host::V8Variant* RetValue, host::V8Variant* Params,
                                       std::int32_t ParamCount, host::TV8AddInDefBaseEx&) {
  const THostParams params(Params, ParamCount);
  return Guarded(RetValue, [&] { DoAction(host::V8AsWString(params.In(0))); });
}

}  // namespace qarvex::driver
