// The host's objects as the C++ classes of native_api.h: the compiler lays
// them out as the platform's compiler does.
#include <cstring>

#include "tools/host/host_side.h"
#include "tools/host/linux/native_api.h"

namespace qarvex::nativehost {

using namespace napi;

struct HostSide::Objects {
  class Memory final : public IMemoryManager {
   public:
    explicit Memory(HostSide& owner) : owner_(owner) {}
    bool AllocMemory(void** pMemory, unsigned long ulCountByte) override { return owner_.Alloc(pMemory, ulCountByte); }
    void FreeMemory(void** pMemory) override { owner_.Free(pMemory); }

   private:
    HostSide& owner_;
  };

  class MsgBox final : public IMsgBox {
   public:
    explicit MsgBox(HostSide& owner) : owner_(owner) {}
    bool Confirm(const WCHAR_T* queryText, tVariant* retValue) override {
      bool yes = false;
      if (!owner_.Confirm(queryText, yes)) return false;
      std::memset(retValue, 0, sizeof *retValue);
      retValue->vt = VTYPE_BOOL;
      retValue->bVal = yes;
      return true;
    }
    bool Alert(const WCHAR_T*) override { return true; }

   private:
    HostSide& owner_;
  };

  class Callback final : public ErrorsAndMsgBoxOnly {
   public:
    Callback(HostSide& owner, MsgBox& box) : ErrorsAndMsgBoxOnly(box), owner_(owner) {}
    bool AddError(unsigned short wcode, const WCHAR_T* source, const WCHAR_T* descr, long scode) override {
      return owner_.AddError(wcode, source, descr, scode);
    }

   private:
    HostSide& owner_;
  };

  explicit Objects(HostSide& owner) : memory(owner), box(owner), callback(owner, box) {}
  Memory memory;
  MsgBox box;
  Callback callback;
};

HostSide::HostSide() : objects_(std::make_unique<Objects>(*this)) {}
HostSide::~HostSide() = default;

void* HostSide::MemoryManager() { return static_cast<IMemoryManager*>(&objects_->memory); }
void* HostSide::Callback() { return static_cast<IAddInDefBaseEx*>(&objects_->callback); }

}  // namespace qarvex::nativehost
