// The platform's Native API interfaces as the platform declares them on
// Linux: ordinary C++ abstract classes whose first virtual member is the
// destructor, so the compiler, not the component's hand-built tables, decides
// the layout the component has to match. Written for the replacement host
// only; the component never includes this file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

namespace qarvex::nativehost::napi {

using WCHAR_T = char16_t;
using TYPEVAR = std::uint16_t;

enum : TYPEVAR {
  VTYPE_EMPTY = 0,
  VTYPE_I4 = 3,
  VTYPE_R8 = 5,
  VTYPE_DATE = 6,
  VTYPE_TM = 7,
  VTYPE_PSTR = 8,
  VTYPE_INTERFACE = 9,
  VTYPE_BOOL = 11,
  VTYPE_PWSTR = 22,
  VTYPE_BLOB = 23,
};

struct tVariant {
  union {
    std::int32_t lVal;
    double dblVal;
    bool bVal;
    double date;
    struct tm tmVal;
    struct {
      void* pInterfaceVal;
    } vtRecInterface;
    struct {
      char* pstrVal;
      std::uint32_t strLen;
    } vtRecString;
    struct {
      WCHAR_T* pwstrVal;
      std::uint32_t wstrLen;
    } vtRecWideString;
  };
  std::uint32_t cbElements;
  TYPEVAR vt;
};
// The sizes the platform's own declarations have with the target's compiler
// (i386 aligns doubles in structures to 4 bytes).
#if defined(__i386__)
static_assert(sizeof(tVariant) == 52);
static_assert(offsetof(tVariant, cbElements) == 44);
static_assert(offsetof(tVariant, vt) == 48);
#else
static_assert(sizeof(tVariant) == 64);
static_assert(offsetof(tVariant, cbElements) == 56);
static_assert(offsetof(tVariant, vt) == 60);
#endif

// Host side.
class IMemoryManager {
 public:
  virtual ~IMemoryManager() {}
  virtual bool AllocMemory(void** pMemory, unsigned long ulCountByte) = 0;
  virtual void FreeMemory(void** pMemory) = 0;
};

class IAddInDefBase {
 public:
  virtual ~IAddInDefBase() {}
  virtual bool AddError(unsigned short wcode, const WCHAR_T* source, const WCHAR_T* descr,
                        long scode) = 0;
  virtual bool Read(WCHAR_T* propName, tVariant* value, long* errCode, WCHAR_T** errDescr) = 0;
  virtual bool Write(WCHAR_T* propName, tVariant* value) = 0;
  virtual bool RegisterProfileAs(WCHAR_T* profileName) = 0;
  virtual bool SetEventBufferDepth(long depth) = 0;
  virtual long GetEventBufferDepth() = 0;
  virtual bool ExternalEvent(WCHAR_T* source, WCHAR_T* message, WCHAR_T* data) = 0;
  virtual void CleanEventBuffer() = 0;
  virtual bool SetStatusLine(WCHAR_T* statusLine) = 0;
  virtual void ResetStatusLine() = 0;
};

class IInterface {};

enum Interfaces { eIMsgBox = 0, eIPlatformInfo };

class IAddInDefBaseEx : public IAddInDefBase {
 public:
  virtual IInterface* GetInterface(Interfaces iface) = 0;
};

// The callback object of a host that offers only errors and the message
// box: every other entry answers as a host without the service does.
class ErrorsAndMsgBoxOnly : public IAddInDefBaseEx {
 public:
  explicit ErrorsAndMsgBoxOnly(IInterface& msgBox) : msgBox_(msgBox) {}
  bool Read(WCHAR_T*, tVariant*, long*, WCHAR_T**) override { return false; }
  bool Write(WCHAR_T*, tVariant*) override { return false; }
  bool RegisterProfileAs(WCHAR_T*) override { return false; }
  bool SetEventBufferDepth(long) override { return false; }
  long GetEventBufferDepth() override { return 0; }
  bool ExternalEvent(WCHAR_T*, WCHAR_T*, WCHAR_T*) override { return false; }
  void CleanEventBuffer() override {}
  bool SetStatusLine(WCHAR_T*) override { return false; }
  void ResetStatusLine() override {}
  IInterface* GetInterface(Interfaces iface) override { return iface == eIMsgBox ? &msgBox_ : nullptr; }

 private:
  IInterface& msgBox_;
};

// The message box: Confirm is the first entry of its table.
class IMsgBox : public IInterface {
 public:
  virtual bool Confirm(const WCHAR_T* queryText, tVariant* retValue) = 0;
  virtual bool Alert(const WCHAR_T* text) = 0;
};

// Component side.
class IInitDoneBase {
 public:
  virtual ~IInitDoneBase() {}
  virtual bool Init(void* disp) = 0;
  virtual bool setMemManager(void* memory) = 0;
  virtual long GetInfo() = 0;
  virtual void Done() = 0;
};

class ILanguageExtenderBase {
 public:
  virtual ~ILanguageExtenderBase() {}
  virtual bool RegisterExtensionAs(WCHAR_T** extensionName) = 0;
  virtual long GetNProps() = 0;
  virtual long FindProp(const WCHAR_T* propName) = 0;
  virtual const WCHAR_T* GetPropName(long propNum, long propAlias) = 0;
  virtual bool GetPropVal(const long propNum, tVariant* value) = 0;
  virtual bool SetPropVal(const long propNum, tVariant* value) = 0;
  virtual bool IsPropReadable(const long propNum) = 0;
  virtual bool IsPropWritable(const long propNum) = 0;
  virtual long GetNMethods() = 0;
  virtual long FindMethod(const WCHAR_T* methodName) = 0;
  virtual const WCHAR_T* GetMethodName(const long methodNum, const long methodAlias) = 0;
  virtual long GetNParams(const long methodNum) = 0;
  virtual bool GetParamDefValue(const long methodNum, const long paramNum, tVariant* value) = 0;
  virtual bool HasRetVal(const long methodNum) = 0;
  virtual bool CallAsProc(const long methodNum, tVariant* params, const long sizeArray) = 0;
  virtual bool CallAsFunc(const long methodNum, tVariant* retValue, tVariant* params,
                          const long sizeArray) = 0;
};

class LocaleBase {
 public:
  virtual ~LocaleBase() {}
  virtual void SetLocale(const WCHAR_T* locale) = 0;
};

class IComponentBase : public IInitDoneBase, public ILanguageExtenderBase, public LocaleBase {
 public:
  virtual ~IComponentBase() {}
};

// The library's exports.
extern "C" {
using GetClassNamesFn = const WCHAR_T* (*)();
using GetClassObjectFn = long (*)(const WCHAR_T* name, IComponentBase** component);
using DestroyObjectFn = long (*)(IComponentBase** component);
}

}  // namespace qarvex::nativehost::napi
