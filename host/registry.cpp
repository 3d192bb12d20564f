#include "host/registry.h"

#include <cstring>

#include "host/library_state.h"
#include "platform/name_compare.h"

namespace qarvex::host {
namespace {

template <typename Entry>
Entry* At(std::vector<std::unique_ptr<Entry>>& list, long index) {
  if (index < 0 || static_cast<unsigned long>(index) >= list.size()) return nullptr;
  return list[static_cast<std::size_t>(index)].get();
}

// First entry whose localized, then English, name equals `name`.
template <typename Entry, typename Names>
std::int32_t Lookup(const std::vector<std::unique_ptr<Entry>>& list, WStringView name, Names names) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    auto [english, localized] = names(*list[i]);
    if (platform::NamesEqual(name, localized) || platform::NamesEqual(name, english))
      return static_cast<std::int32_t>(i);
  }
  return -1;
}

}  // namespace

V8Variant* TDefParamList::AddParam(std::int32_t Num) {
  Values.push_back(TDefParamValue{Num - 1, V8Variant{}});
  return &Values.back().Value;
}

V8Variant* TDefParamList::AddTyped(std::int32_t Num, V8Type type) {
  TempParam = AddParam(Num);
  TempParam->vt = type;
  return TempParam;
}

void TDefParamList::AddInt(std::int32_t v, std::int32_t ParamNum) { AddTyped(ParamNum, VTYPE_I4)->lVal = v; }

void TDefParamList::AddDouble(double v, std::int32_t ParamNum) { AddTyped(ParamNum, VTYPE_R8)->dblVal = v; }

void TDefParamList::AddBool(bool v, std::int32_t ParamNum) { AddTyped(ParamNum, VTYPE_BOOL)->bVal = v; }

void TDefParamList::AddDate(double v, std::int32_t ParamNum) { AddTyped(ParamNum, VTYPE_DATE)->date = v; }

void TDefParamList::AddWString(const WCHAR_T* v, std::int32_t ParamNum) {
  auto& text = AddTyped(ParamNum, VTYPE_PWSTR)->vtRecWideString;
  text.pwstrVal = const_cast<WCHAR_T*>(v);
  text.wstrLen = v ? static_cast<std::uint32_t>(std::char_traits<char16_t>::length(v)) : 0;
}

void TDefParamList::AddAString(const char* v, std::int32_t ParamNum) {
  auto& text = AddTyped(ParamNum, VTYPE_PSTR)->vtRecString;
  text.pstrVal = const_cast<char*>(v);
  text.strLen = v ? static_cast<std::uint32_t>(std::strlen(v)) : 0;
}

const V8Variant* TDefParamList::Find(std::int32_t paramIndex) const {
  for (const auto& entry : Values)
    if (entry.Num == paramIndex) return &entry.Value;
  return nullptr;
}

TClassReg::TClassReg(TV8UserClass userClass, WString registerExtensionAs, WString natApiClassName)
    : UserClass(userClass),
      RegisterExtensionAs(std::move(registerExtensionAs)),
      NatApiClassName(std::move(natApiClassName)) {}

TMethReg& TClassReg::AddMethod(WStringView MethName, WStringView MethNameLoc, bool IsFunction,
                               TV8CallAsFunc ExecuteProc, std::int32_t ParamCount) {
  auto entry = std::make_unique<TMethReg>();
  entry->MethName = WString(MethName);
  entry->MethNameLoc = WString(MethNameLoc);
  entry->IsFunction = IsFunction;
  entry->ParamCount = ParamCount;
  entry->Execute = std::move(ExecuteProc);
  MethList.push_back(std::move(entry));
  return *MethList.back();
}

TMethReg& TClassReg::AddFunc(WStringView MethName, WStringView MethNameLoc,
                             TV8CallAsFunc ExecuteProc, std::int32_t ParamCount) {
  return AddMethod(MethName, MethNameLoc, true, std::move(ExecuteProc), ParamCount);
}

TMethReg& TClassReg::AddProc(WStringView MethName, WStringView MethNameLoc,
                             TV8CallAsProc ExecuteProc, std::int32_t ParamCount) {
  // A procedure is stored in the common form and called with a null RetValue.
  TV8CallAsFunc execute;
  if (ExecuteProc) {
    execute = [proc = std::move(ExecuteProc)](TV8UserObject& self, V8Variant*, V8Variant* Params,
                                              std::int32_t Count, TV8AddInDefBaseEx& v8) {
      return proc(self, Params, Count, v8);
    };
  }
  return AddMethod(MethName, MethNameLoc, false, std::move(execute), ParamCount);
}

void TClassReg::AddProp(WStringView PropName, WStringView PropNameLoc, bool IsReadable,
                        bool IsWritable, TV8PropertyGetSet PropGetSet) {
  auto entry = std::make_unique<TPropReg>();
  entry->PropName = WString(PropName);
  entry->PropNameLoc = WString(PropNameLoc);
  entry->IsReadable = IsReadable;
  entry->IsWritable = IsWritable;
  entry->PropGetSet = std::move(PropGetSet);
  PropList.push_back(std::move(entry));
}

std::int32_t TClassReg::FindProp(WStringView name) const {
  return Lookup(PropList, name, [](const TPropReg& p) {
    return std::pair<WStringView, WStringView>(p.PropName, p.PropNameLoc);
  });
}

std::int32_t TClassReg::FindMethod(WStringView name) const {
  return Lookup(MethList, name, [](const TMethReg& m) {
    return std::pair<WStringView, WStringView>(m.MethName, m.MethNameLoc);
  });
}

TPropReg* TClassReg::Prop(long index) { return At(PropList, index); }
TMethReg* TClassReg::Method(long index) { return At(MethList, index); }

TClassReg& TClassRegList::RegisterClass(TV8UserClass UserClass, WStringView RegisterExtensionAs,
                                        WStringView NatApiClassName) {
  ClassList.push_back(std::make_unique<TClassReg>(UserClass, WString(RegisterExtensionAs),
                                                  WString(NatApiClassName)));
  if (!classNames_.empty()) classNames_ += u'|';
  classNames_ += NatApiClassName;
  return *ClassList.back();
}

TClassReg* TClassRegList::FindClass(WStringView natApiClassName) const {
  for (const auto& entry : ClassList)
    if (entry->NatApiClassName == natApiClassName) return entry.get();
  return nullptr;
}

void TClassRegList::Clear() {
  ClassList.clear();
  classNames_.clear();
}

TClassRegList& ClassRegistry() { return Library().Registry; }

}  // namespace qarvex::host
