// The class registry: every class the host may create, with the properties
// and methods it exports. Filled once at library start-up, read-only while
// components exist, destroyed at unload; so it takes no lock.
//
// Ownership: TClassRegList owns its TClassReg entries, a TClassReg owns its
// TPropReg / TMethReg entries, a TMethReg owns its TDefParamList. A text
// default value points at the caller's text, which must outlive the registry.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "common/text.h"
#include "host/user_object.h"

namespace qarvex::host {

// Code registered for a method or property. `v8` is a reference to the
// object's V8 field. A method registered as a procedure is called with a
// null RetValue.
using TV8CallAsFunc = std::function<bool(TV8UserObject& self, V8Variant* RetValue,
                                         V8Variant* Params, std::int32_t ParamCount,
                                         TV8AddInDefBaseEx& v8)>;
using TV8CallAsProc = std::function<bool(TV8UserObject& self, V8Variant* Params,
                                         std::int32_t ParamCount, TV8AddInDefBaseEx& v8)>;
using TV8PropertyGetSet = std::function<bool(TV8UserObject& self, const WString& PropName,
                                             V8Variant* value, bool Get, TV8AddInDefBaseEx& v8)>;

// The virtual constructor of a registered class: a new object of exactly
// that class. May throw.
using TV8UserClass = std::unique_ptr<TV8UserObject> (*)();

struct TDefParamValue {
  std::int32_t Num = 0;  // 0-based parameter index
  V8Variant Value{};
};

class TDefParamList {
 public:
  std::int32_t ValueCount() const { return static_cast<std::int32_t>(Values.size()); }
  // Appends an entry for 1-based parameter `Num` and returns its zeroed value.
  // The pointer stays valid until the next addition.
  V8Variant* AddParam(std::int32_t Num);
  void AddInt(std::int32_t v, std::int32_t ParamNum);
  void AddDouble(double v, std::int32_t ParamNum);
  void AddBool(bool v, std::int32_t ParamNum);
  void AddWString(const WCHAR_T* v, std::int32_t ParamNum);  // not copied
  void AddAString(const char* v, std::int32_t ParamNum);     // not copied
  void AddDate(double v, std::int32_t ParamNum);
  // The first value registered for the 0-based index, or null.
  const V8Variant* Find(std::int32_t paramIndex) const;

  std::vector<TDefParamValue> Values;
  V8Variant* TempParam = nullptr;  // the value added last

 private:
  // AddParam with the value's type set; TempParam points at it.
  V8Variant* AddTyped(std::int32_t Num, V8Type type);
};

struct TPropReg {
  WString PropName;     // English name
  WString PropNameLoc;  // localized name
  bool IsReadable = false;
  bool IsWritable = false;
  TV8PropertyGetSet PropGetSet;
};

struct TMethReg {
  WString MethName;
  WString MethNameLoc;
  bool IsFunction = false;
  std::int32_t ParamCount = 0;
  TDefParamList DefParams;
  TV8CallAsFunc Execute;
};

class TClassReg {
 public:
  TClassReg(TV8UserClass userClass, WString registerExtensionAs, WString natApiClassName);

  TMethReg& AddMethod(WStringView MethName, WStringView MethNameLoc, bool IsFunction,
                      TV8CallAsFunc ExecuteProc, std::int32_t ParamCount);
  TMethReg& AddFunc(WStringView MethName, WStringView MethNameLoc, TV8CallAsFunc ExecuteProc,
                    std::int32_t ParamCount);
  TMethReg& AddProc(WStringView MethName, WStringView MethNameLoc, TV8CallAsProc ExecuteProc,
                    std::int32_t ParamCount);
  void AddProp(WStringView PropName, WStringView PropNameLoc, bool IsReadable, bool IsWritable,
               TV8PropertyGetSet PropGetSet);

  std::int32_t PropCount() const { return static_cast<std::int32_t>(PropList.size()); }
  std::int32_t MethCount() const { return static_cast<std::int32_t>(MethList.size()); }
  // Index of the first entry whose localized, then English, name equals
  // `name` (platform::NamesEqual); -1 when none.
  std::int32_t FindProp(WStringView name) const;
  std::int32_t FindMethod(WStringView name) const;
  // Null for an index outside [0, count).
  TPropReg* Prop(long index);
  TMethReg* Method(long index);

  TV8UserClass UserClass;
  WString RegisterExtensionAs;
  WString NatApiClassName;
  std::vector<std::unique_ptr<TPropReg>> PropList;
  std::vector<std::unique_ptr<TMethReg>> MethList;
};

class TClassRegList {
 public:
  // Appends a class (no validation: duplicates are kept, the first wins in
  // lookups) and its name to the class-name list.
  TClassReg& RegisterClass(TV8UserClass UserClass, WStringView RegisterExtensionAs,
                           WStringView NatApiClassName);
  std::int32_t ClassCount() const { return static_cast<std::int32_t>(ClassList.size()); }
  // Exact, case-sensitive match of NatApiClassName; null when none.
  TClassReg* FindClass(WStringView natApiClassName) const;
  // "name1|name2|..." in registration order; empty with no class.
  const WString& ClassNames() const { return classNames_; }
  void Clear();

  std::vector<std::unique_ptr<TClassReg>> ClassList;

 private:
  WString classNames_;
};

// The library's one registry, held by the library's state
// (library_state.h): empty at load, destroyed at unload.
TClassRegList& ClassRegistry();

}  // namespace qarvex::host
