// Run-time description of a driver class: the members it exports, each with
// its marks, and its place in the class chain. C++ has no member attributes,
// so every driver class lists its marked members once, in declaration order,
// in a constant table at the end of its class body (the QARVEX_* macros
// below), and names its base's descriptor. The framework walks these tables
// for registration, property access, the parameter and action tables and for
// running actions: the object's own class first, then each base.
//
// Descriptors are constants: built during static initialisation, never
// changed, safe to read from any thread.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <type_traits>
#include <variant>

#include "common/text.h"
#include "driver/export_marks.h"
#include "host/driver_description.h"
#include "host/registry.h"
#include "host/v8variant.h"

namespace qarvex::driver {

class TCustomDriver;

// The value type of an exported property as the framework sees it.
enum class TValueKind : std::uint8_t {
  Int32,        // integers of up to 32 bits
  Int64,
  Float,
  Boolean,
  Enumeration,  // any enumeration other than Boolean: refused
  String,
  Char,         // a single character: refused
  Other,        // anything else: refused
};

// The type name a property shows in the parameter table.
enum TParamType : std::uint8_t { ptString = 0, ptNumber = 1, ptBoolean = 2, ptUnknown = 3 };

TParamType GetParamType(TValueKind AType);
// "String", "Number", "Boolean" or "Unknown"; any other value raises
// "Enum value unacceptable".
WString ParamTypeName(TParamType AType);

// A property value on its way between the host's variant and the property.
using TPropValue = std::variant<std::int32_t, std::int64_t, double, bool, WString>;

template <class T>
constexpr TValueKind ValueKindOf() {
  if constexpr (std::is_same_v<T, bool>) return TValueKind::Boolean;
  else if constexpr (std::is_same_v<T, char> || std::is_same_v<T, signed char> ||
                     std::is_same_v<T, unsigned char> || std::is_same_v<T, char8_t> ||
                     std::is_same_v<T, char16_t> || std::is_same_v<T, char32_t> ||
                     std::is_same_v<T, wchar_t>)
    return TValueKind::Char;
  else if constexpr (std::is_integral_v<T> && sizeof(T) <= 4) return TValueKind::Int32;
  else if constexpr (std::is_integral_v<T> && sizeof(T) == 8) return TValueKind::Int64;
  else if constexpr (std::is_floating_point_v<T>) return TValueKind::Float;
  else if constexpr (std::is_enum_v<T>) return TValueKind::Enumeration;
  else if constexpr (std::is_same_v<T, WString>) return TValueKind::String;
  else return TValueKind::Other;
}

constexpr bool IsAcceptedKind(TValueKind kind) {
  return kind == TValueKind::Int32 || kind == TValueKind::Int64 || kind == TValueKind::Float ||
         kind == TValueKind::Boolean || kind == TValueKind::String;
}

// The exported-method signature: (RetValue, Params, ParamCount, v8) -> handled.
// A driver class declares its exported methods with it.
using TExportedSignature = bool(host::V8Variant* RetValue, host::V8Variant* Params, std::int32_t ParamCount,
                                host::TV8AddInDefBaseEx& v8);
template <class C>
using TExportedMember = TExportedSignature C::*;
// Takes the host's view of the object, so registration hands it to the
// registry as it is, with no adapter around it.
using TExportedEntry = bool (*)(host::TV8UserObject& self, host::V8Variant* RetValue,
                                host::V8Variant* Params, std::int32_t ParamCount,
                                host::TV8AddInDefBaseEx& v8);
using TActionEntry = void (*)(TCustomDriver& self);

// How the framework reaches a property. Read and Write are null for the
// refused kinds; Write is also null for a property without a setter.
struct TPropertyAccess {
  TValueKind Kind = TValueKind::Other;
  TPropValue (*Read)(const TCustomDriver& self) = nullptr;
  void (*Write)(TCustomDriver& self, const TPropValue& value) = nullptr;
};

// One member of a class with the marks it carries; the framework considers it
// once for each mark.
struct TMember {
  WStringView Name;  // the member's own (English) name
  std::optional<ExportMethAttribute> ExportMeth = std::nullopt;
  std::optional<ExportPropAttribute> ExportProp = std::nullopt;
  std::optional<AdditionalActionAttribute> AdditionalAction = std::nullopt;
  TExportedEntry Method = nullptr;  // set with ExportMeth
  TActionEntry Action = nullptr;    // set with AdditionalAction
  TPropertyAccess Property{};       // set with ExportProp
};

struct TDriverClass {
  WStringView Name;
  const TDriverClass* Base = nullptr;  // null at the root
  std::span<const TMember> Members;    // the class's own, declaration order
  host::TV8UserClass Create = nullptr; // null for a class the host cannot create
  // The class-level description update; null: the base class's applies.
  void (*UpdateDriverInfo)(host::TDriverInfo* ADriverInfo) = nullptr;
};

// Visits every member of the class and its bases in member order.
template <class Visit>
void ForEachMember(const TDriverClass& AClass, Visit&& visit) {
  for (const TDriverClass* c = &AClass; c != nullptr; c = c->Base)
    for (const TMember& m : c->Members) visit(m);
}

// --- building the member tables -------------------------------------------

namespace detail {

template <class M>
struct MemberTraits;
template <class C, class R>
struct MemberTraits<R (C::*)() const> {
  using Class = C;
  using Value = std::remove_cvref_t<R>;
};
template <class C, class A>
struct MemberTraits<void (C::*)(A)> {
  using Class = C;
  using Value = std::remove_cvref_t<A>;
};
template <class M>
struct MethodOf;
template <class C, class R, class... A>
struct MethodOf<R (C::*)(A...)> {
  using Class = C;
};

template <auto Method>
bool CallExported(host::TV8UserObject& self, host::V8Variant* RetValue, host::V8Variant* Params,
                  std::int32_t ParamCount, host::TV8AddInDefBaseEx& v8) {
  using C = typename MethodOf<decltype(Method)>::Class;
  return (static_cast<C&>(self).*Method)(RetValue, Params, ParamCount, v8);
}

template <auto Method>
void CallAction(TCustomDriver& self) {
  using C = typename MethodOf<decltype(Method)>::Class;
  (static_cast<C&>(self).*Method)();
}

template <auto Getter>
TPropValue ReadProperty(const TCustomDriver& self) {
  using Traits = MemberTraits<decltype(Getter)>;
  using C = typename Traits::Class;
  using T = typename Traits::Value;
  T value = (static_cast<const C&>(self).*Getter)();
  constexpr TValueKind kind = ValueKindOf<T>();
  if constexpr (kind == TValueKind::Int32) return static_cast<std::int32_t>(value);
  else if constexpr (kind == TValueKind::Int64) return static_cast<std::int64_t>(value);
  else if constexpr (kind == TValueKind::Float) return static_cast<double>(value);
  else if constexpr (kind == TValueKind::Boolean) return value;
  else return WString(value);
}

template <auto Setter>
void WriteProperty(TCustomDriver& self, const TPropValue& value) {
  using Traits = MemberTraits<decltype(Setter)>;
  using C = typename Traits::Class;
  using T = typename Traits::Value;
  constexpr TValueKind kind = ValueKindOf<T>();
  C& object = static_cast<C&>(self);
  if constexpr (kind == TValueKind::Int32) (object.*Setter)(static_cast<T>(std::get<std::int32_t>(value)));
  else if constexpr (kind == TValueKind::Int64) (object.*Setter)(static_cast<T>(std::get<std::int64_t>(value)));
  else if constexpr (kind == TValueKind::Float) (object.*Setter)(static_cast<T>(std::get<double>(value)));
  else if constexpr (kind == TValueKind::Boolean) (object.*Setter)(std::get<bool>(value));
  else (object.*Setter)(std::get<WString>(value));
}

}  // namespace detail

// The entries are built by initialisation, never by assignment to their
// optional marks: an older C++ library (GCC 10's, which the portable Linux
// builds link) cannot assign a std::optional in a constant expression.
template <auto Method>
constexpr TMember ExportedMethod(WStringView name, ExportMethAttribute mark) {
  return TMember{.Name = name, .ExportMeth = mark, .ExportProp = {}, .AdditionalAction = {},
                 .Method = &detail::CallExported<Method>, .Action = nullptr, .Property = {}};
}

template <auto Method>
constexpr TMember ActionMethod(WStringView name, AdditionalActionAttribute mark) {
  return TMember{.Name = name, .ExportMeth = {}, .ExportProp = {}, .AdditionalAction = mark,
                 .Method = nullptr, .Action = &detail::CallAction<Method>, .Property = {}};
}

// Setter may be nullptr for a property the class never lets anyone write.
template <auto Getter, auto Setter>
constexpr TMember ExportedProperty(WStringView name, ExportPropAttribute mark) {
  using T = typename detail::MemberTraits<decltype(Getter)>::Value;
  constexpr TValueKind kind = ValueKindOf<T>();
  TPropertyAccess access{};
  access.Kind = kind;
  if constexpr (IsAcceptedKind(kind)) {
    access.Read = &detail::ReadProperty<Getter>;
    if constexpr (!std::is_same_v<decltype(Setter), std::nullptr_t>)
      access.Write = &detail::WriteProperty<Setter>;
  }
  return TMember{.Name = name, .ExportMeth = {}, .ExportProp = mark, .AdditionalAction = {},
                 .Method = nullptr, .Action = nullptr, .Property = access};
}

}  // namespace qarvex::driver

// Entries of a class's member table. The member's identifier is written
// once and becomes its English name.
#define QARVEX_EXPORT_METH(Class, Method, NameLoc, ParamCount)                                 \
  ::qarvex::driver::ExportedMethod<static_cast<::qarvex::driver::TExportedMember<Class>>(      \
      &Class::Method)>(u"" #Method, ::qarvex::driver::ExportMethAttribute(NameLoc, ParamCount))

#define QARVEX_ADDITIONAL_ACTION(Class, Method, Caption)                       \
  ::qarvex::driver::ActionMethod<static_cast<void (Class::*)()>(&Class::Method)>( \
      u"" #Method, ::qarvex::driver::AdditionalActionAttribute(Caption))

// A property `Name` served by the members GetName() const and SetName(value).
#define QARVEX_EXPORT_PROP(Class, Name, NameLoc, Caption, DefValue, ReadOnly)                    \
  ::qarvex::driver::ExportedProperty<&Class::Get##Name, &Class::Set##Name>(                      \
      u"" #Name, ::qarvex::driver::ExportPropAttribute(NameLoc, Caption, DefValue, ReadOnly))

// A read-only property `Name` served by GetName() const alone.
#define QARVEX_EXPORT_READONLY_PROP(Class, Name, NameLoc, Caption, DefValue) \
  ::qarvex::driver::ExportedProperty<&Class::Get##Name, nullptr>(           \
      u"" #Name, ::qarvex::driver::ExportPropAttribute(NameLoc, Caption, DefValue, true))

// Declares the class descriptor of a driver class (inside the class body);
// the descriptor is defined in the class's source file with
// QARVEX_DEFINE_DRIVER_CLASS. The class's member table is its static
// constexpr array kExports.
#define QARVEX_DRIVER_CLASS(Class)                                       \
 public:                                                                 \
  static const ::qarvex::driver::TDriverClass& ClassInfo();              \
  const ::qarvex::driver::TDriverClass& DriverClass() const override {   \
    return ClassInfo();                                                  \
  }

// Defines Class::ClassInfo(): base descriptor, member table kExports, the
// factory the host creates objects with (null: not creatable) and the
// class-level description update (null: the base's applies).
#define QARVEX_DEFINE_DRIVER_CLASS(Class, Base, CreateFn, UpdateFn)                        \
  const ::qarvex::driver::TDriverClass& Class::ClassInfo() {                               \
    static const ::qarvex::driver::TDriverClass info{u"" #Class, &Base::ClassInfo(),      \
                                                     Class::kExports, CreateFn, UpdateFn}; \
    return info;                                                                           \
  }

namespace qarvex::driver {
// The factory of a creatable driver class, for QARVEX_DEFINE_DRIVER_CLASS.
template <class C>
std::unique_ptr<host::TV8UserObject> CreateDriverObject() {
  return std::make_unique<C>();
}
}  // namespace qarvex::driver
