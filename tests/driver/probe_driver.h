// Test-only driver classes: a common driver with properties of every value
// kind the framework knows (its own listed before the inherited LogEnabled),
// a read-only one, actions, and connect/disconnect hooks that can be told to
// fail.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "common/error.h"
#include "driver/uCommonDriver.h"

namespace qarvex::testing {

enum class TProbeMode : std::uint8_t { pmOff, pmOn };

class TProbeDriver : public driver::TCommonDriver {
 public:
  // Hooks.
  void Open() override {
    ++opens;
    if (failOpen) throw Failure("journal cannot be opened");
    TCommonDriver::Open();
  }
  void Close() override {
    ++closes;
    TCommonDriver::Close();
  }

  const WString& GetTitle() const { return title; }
  std::int32_t GetCount() const { return count; }
  void SetCount(std::int32_t v) { count = v; }
  std::int64_t GetTotal() const { return total; }
  void SetTotal(std::int64_t v) { total = v; }
  double GetRatio() const { return ratio; }
  void SetRatio(double v) { ratio = v; }
  TProbeMode GetMode() const { return mode; }
  void SetMode(TProbeMode v) { mode = v; }
  char16_t GetLetter() const { return letter; }
  void SetLetter(char16_t v) { letter = v; }
  const WString& GetNote() const { return note; }
  void SetNote(const WString& v) {
    note = v;
    ++noteWrites;
  }

  void Refresh() { ++refreshes; }
  void Explode() { throw std::runtime_error(""); }
  bool Ping(host::V8Variant* RetValue, host::V8Variant*, std::int32_t, host::TV8AddInDefBaseEx&) {
    return Guarded(RetValue, [] {});
  }

  using TCustomDriver::AskConfirmation;
  using TCustomDriver::EndWithException;
  using TCustomDriver::EndWithSuccess;

  bool failOpen = false;
  int opens = 0, closes = 0, refreshes = 0, noteWrites = 0;
  WString title = u"probe";
  std::int32_t count = 7;
  std::int64_t total = 5;
  double ratio = 0.5;
  TProbeMode mode = TProbeMode::pmOn;
  char16_t letter = u'x';
  WString note = u"<a & \"b\">";

  static constexpr driver::TMember kExports[] = {
      QARVEX_EXPORT_READONLY_PROP(TProbeDriver, Title, u"Заголовок", u"Заголовок", u"probe"),
      QARVEX_EXPORT_PROP(TProbeDriver, Count, u"Количество", u"Количество", u"7", false),
      QARVEX_EXPORT_PROP(TProbeDriver, Total, u"Итого", u"Итого", u"5", false),
      QARVEX_EXPORT_PROP(TProbeDriver, Ratio, u"Доля", u"Доля", u"0.5", false),
      QARVEX_EXPORT_PROP(TProbeDriver, Mode, u"Режим", u"Режим", u"pmOn", false),
      QARVEX_EXPORT_PROP(TProbeDriver, Letter, u"Буква", u"Буква", u"x", false),
      QARVEX_EXPORT_PROP(TProbeDriver, Note, u"Заметка", u"<a & \"b\">", u"", false),
      QARVEX_EXPORT_METH(TProbeDriver, Ping, u"Пинг", 3),
      QARVEX_ADDITIONAL_ACTION(TProbeDriver, Refresh, u"Обновить"),
      QARVEX_ADDITIONAL_ACTION(TProbeDriver, Explode, u"Взорвать"),
  };
  QARVEX_DRIVER_CLASS(TProbeDriver)
};

}  // namespace qarvex::testing
