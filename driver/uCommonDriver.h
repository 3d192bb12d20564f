// TCommonDriver: the methods every equipment driver offers the host's
// equipment library (version, description, last error, connect and
// disconnect, device test, parameter and action tables), the library-wide
// LogEnabled switch, and the connect/disconnect hooks a concrete driver
// overrides.
//
// Threading: one host thread per object at a time. DriverInfo is written
// only at registration; the log level is library-wide.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/text.h"
#include "driver/driver_info.h"
#include "driver/uCustomDriver.h"

namespace qarvex::driver {

class TCommonDriver : public TCustomDriver {
 public:
  TCommonDriver() = default;
  // Disconnects first (the Close hook of this class; a derived class that
  // overrides Close calls it from its own destructor).
  ~TCommonDriver() override;

  // Registers AClass with the host (TCustomDriver::RegisterDriver) and
  // computes the library's DriverInfo: AName, ADescription, and the fields
  // of the nearest UpdateDriverInfo in AClass's chain.
  static void RegisterDriver(const TDriverClass& AClass, WStringView AExtension, WStringView AName,
                             WStringView ADescription);
  // Fixed fields of the description: unknown equipment, revision 2004, no
  // integration library, no main driver, the download address.
  static void UpdateDriverInfo(PDriverInfo ADriverInfo);

  // Hooks: connect and disconnect. These versions only track Enabled;
  // overrides call them first.
  virtual void Open() { FEnabled = true; }
  virtual void Close() { FEnabled = false; }
  bool Enabled() const { return FEnabled; }

  // The device test: tries the Open hook, always runs the Close hook, and
  // tells the outcome in AResultText (the description, or the failure's
  // message). AExtraText stays empty. Never raises.
  virtual void DoDeviceTest(WString& AResultText, WString& AExtraText);
  virtual void BuildParametersXML(WString& AXML);
  virtual void BuildActionsXML(WString& AXML);
  // Runs the additional action whose English name is exactly AName; raises
  // "Action not found" when no action has it.
  virtual void DoAction(WStringView AName);

  // LogEnabled: true while the library-wide log level is not 0; writing
  // switches every object's logging (level 3 or 0).
  bool GetLogEnabled() const;
  void SetLogEnabled(bool AValue);

  // Exported methods.
  TExportedSignature GetVersion;
  TExportedSignature GetDescription;
  TExportedSignature GetLastError;
  TExportedSignature Open;
  TExportedSignature Close;
  TExportedSignature GetParameters;
  TExportedSignature SetParameter;
  TExportedSignature DeviceTest;
  TExportedSignature GetAdditionalActions;
  TExportedSignature DoAdditionalAction;

  // Additional action: the log viewer window.
  void ViewLog();

 private:
  // GetParameters and GetAdditionalActions: the document ABuild makes, in
  // the call's one parameter.
  bool AnswerDocument(void (TCommonDriver::*ABuild)(WString&), host::V8Variant* RetValue, host::V8Variant* Params,
                      std::int32_t ParamCount);

  bool FEnabled = false;

 public:
  // What the exported methods' parameters are for, in their order.
  static constexpr std::string_view kDescriptionParams[] = {
      "name", "description", "equipment_type", "interface_revision", "integration_library",
      "main_driver_installed", "download_url"};
  static constexpr std::string_view kErrorParams[] = {"error_description"};
  static constexpr std::string_view kDeviceParams[] = {"device"};
  static constexpr std::string_view kParametersParams[] = {"parameters_xml"};
  static constexpr std::string_view kSetParameterParams[] = {"name", "value"};
  static constexpr std::string_view kDeviceTestParams[] = {"result_text", "extra_text"};
  static constexpr std::string_view kActionsParams[] = {"actions_xml"};
  static constexpr std::string_view kActionParams[] = {"action"};

  static constexpr TMember kExports[] = {
      QARVEX_EXPORT_METH(TCommonDriver, GetVersion, u"ПолучитьНомерВерсии", 0),
      QARVEX_EXPORT_METH(TCommonDriver, GetDescription, u"ПолучитьОписание", kDescriptionParams),
      QARVEX_EXPORT_METH(TCommonDriver, GetLastError, u"ПолучитьОшибку", kErrorParams),
      QARVEX_EXPORT_METH(TCommonDriver, Open, u"Подключить", kDeviceParams),
      QARVEX_EXPORT_METH(TCommonDriver, Close, u"Отключить", kDeviceParams),
      QARVEX_EXPORT_METH(TCommonDriver, GetParameters, u"ПолучитьПараметры", kParametersParams),
      QARVEX_EXPORT_METH(TCommonDriver, SetParameter, u"УстановитьПараметр", kSetParameterParams),
      QARVEX_EXPORT_METH(TCommonDriver, DeviceTest, u"ТестУстройства", kDeviceTestParams),
      QARVEX_EXPORT_METH(TCommonDriver, GetAdditionalActions, u"ПолучитьДополнительныеДействия", kActionsParams),
      QARVEX_EXPORT_METH(TCommonDriver, DoAdditionalAction, u"ВыполнитьДополнительноеДействие", kActionParams),
      QARVEX_EXPORT_PROP(TCommonDriver, LogEnabled, u"ЛогВключен", u"Вести лог", u"False", false),
      QARVEX_ADDITIONAL_ACTION(TCommonDriver, ViewLog, u"Просмотр лога"),
  };
  QARVEX_DRIVER_CLASS(TCommonDriver)
};

}  // namespace qarvex::driver
