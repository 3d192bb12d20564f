// A small component library for end-to-end tests of the host binding: one
// class "probe" with cheap methods and properties registered directly with
// the registry, built with the same host binding as the real component.
#include <memory>

#include "common/error.h"
#include "host/abi.h"
#include "host/component.h"
#include "host/registry.h"
#include "log/Common.Log.h"

namespace qarvex::host {
namespace {

class TProbe : public TV8UserObject {
 public:
  std::int32_t value = 0;
  int touched = 0;
};

TProbe& Probe(TV8UserObject& self) { return static_cast<TProbe&>(self); }

std::unique_ptr<TV8UserObject> NewProbe() { return std::make_unique<TProbe>(); }

std::unique_ptr<TV8UserObject> FailingConstructor() { throw Failure("cannot construct"); }

void RegisterProbe() {
  TClassReg& reg = ClassRegistry().RegisterClass(&NewProbe, u"probe_ext", u"probe");
  reg.AddFunc(u"Add", u"Сложить",
              [](TV8UserObject& self, V8Variant* ret, V8Variant* p, std::int32_t, TV8AddInDefBaseEx&) {
                self.V8SetInt(ret, V8AsInt(&p[0]) + V8AsInt(&p[1]));
                return true;
              },
              2);
  reg.AddFunc(u"CountParams", u"ЧислоПараметров",
              [](TV8UserObject& self, V8Variant* ret, V8Variant*, std::int32_t count, TV8AddInDefBaseEx&) {
                self.V8SetInt(ret, count);
                return true;
              },
              3);
  reg.AddFunc(u"Fail", u"Ошибка",
              [](TV8UserObject&, V8Variant*, V8Variant* p, std::int32_t, TV8AddInDefBaseEx&) -> bool {
                throw Failure(V8AsWString(&p[0]));
              },
              1);
  reg.AddFunc(u"WriteOut", u"ЗаписатьВыход",
              [](TV8UserObject& self, V8Variant* ret, V8Variant* p, std::int32_t, TV8AddInDefBaseEx&) {
                self.V8SetWString(&p[0], u"выход");
                self.V8SetInt(&p[1], 42);
                return self.V8SetWString(ret, u"готово");
              },
              2);
  reg.AddProc(u"Touch", u"Отметить",
              [](TV8UserObject& self, V8Variant*, std::int32_t, TV8AddInDefBaseEx&) {
                return ++Probe(self).touched % 2 == 1;  // true on odd calls
              },
              0);
  reg.AddFunc(u"Touched", u"Отмечено",
              [](TV8UserObject& self, V8Variant* ret, V8Variant*, std::int32_t, TV8AddInDefBaseEx&) {
                self.V8SetInt(ret, Probe(self).touched);
                return true;
              },
              0);
  reg.AddFunc(u"Ask", u"Спросить",
              [](TV8UserObject& self, V8Variant* ret, V8Variant* p, std::int32_t, TV8AddInDefBaseEx& v8) {
                V8Variant answer{};
                if (!v8.Confirm(V8AsPWideChar(&p[0]), &answer)) throw Failure("Could not display dialog box");
                self.V8SetBool(ret, V8AsBool(&answer));
                return true;
              },
              1);
  reg.AddFunc(u"EnableLog", u"ВключитьЛог",
              [](TV8UserObject& self, V8Variant* ret, V8Variant* p, std::int32_t, TV8AddInDefBaseEx&) {
                TLog::SetLogName(u"qarvex_probe");
                TLog::LogLevel = V8AsBool(&p[0]) ? 3 : 0;
                TLog::Start();
                return self.V8SetWString(ret, TLog::GetAbsolutePath(false));
              },
              1);
  TMethReg& withDefault = reg.AddFunc(
      u"WithDefault", u"СУмолчанием",
      [](TV8UserObject& self, V8Variant* ret, V8Variant*, std::int32_t, TV8AddInDefBaseEx&) {
        self.V8SetBool(ret, true);
        return true;
      },
      2);
  withDefault.DefParams.AddInt(7, 2);
  reg.AddProp(u"Value", u"Значение", true, true,
              [](TV8UserObject& self, const WString&, V8Variant* v, bool get, TV8AddInDefBaseEx&) {
                if (get)
                  self.V8SetInt(v, Probe(self).value);
                else
                  Probe(self).value = V8AsInt(v);
                return true;
              });
  reg.AddProp(u"Fixed", u"Постоянное", true, false,
              [](TV8UserObject& self, const WString& name, V8Variant* v, bool get, TV8AddInDefBaseEx&) {
                if (!get) throw Failure(u"Свойство " + name + u" только для чтения");
                return self.V8SetWString(v, u"неизменно");
              });
  reg.AddProp(u"NoAccessor", u"БезДоступа", true, true, nullptr);
  ClassRegistry().RegisterClass(&FailingConstructor, u"broken_ext", u"broken");
}

// The unload (stop line, names, registry) is the library state's own.
struct LibraryStartUp {
  LibraryStartUp() { RegisterProbe(); }
} g_startUp;

}  // namespace
}  // namespace qarvex::host

using qarvex::host::HostLong;
using qarvex::host::WCHAR_T;

V8_EXPORT const WCHAR_T* GetClassNames() { return qarvex::host::GetClassNamesImpl(); }
V8_EXPORT HostLong GetClassObject(const WCHAR_T* name, void** component) {
  return qarvex::host::GetClassObjectImpl(name, component);
}
V8_EXPORT HostLong DestroyObject(void** component) {
  return qarvex::host::DestroyObjectImpl(component);
}
