#include "platform/folder_access.h"

#include <windows.h>
#include <aclapi.h>

#include "platform/windows/everyone_grant.h"
#include "platform/windows/win_system.h"

namespace qarvex::platform {
namespace windows_impl {

EveryoneSid::EveryoneSid() {
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  if (!::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &sid_))
    ThrowSystemError("Cannot build the Everyone group", ::GetLastError());
}

EveryoneSid::~EveryoneSid() {
  if (sid_) ::FreeSid(sid_);
}

bool AclGrantsEveryoneAll(const ACL* dacl, PSID everyone) {
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* entry = nullptr;
    if (!::GetAce(const_cast<ACL*>(dacl), i, &entry)) continue;
    // Allowed, denied and audit entries share this head: type, mask, SID.
    const auto* ace = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
    if (ace->Mask == GENERIC_ALL && ::EqualSid(const_cast<DWORD*>(&ace->SidStart), everyone)) return true;
  }
  return false;
}

}  // namespace windows_impl

// Frees a block the security functions allocated with LocalAlloc.
namespace {
struct LocalBlock {
  HLOCAL block = nullptr;
  ~LocalBlock() { if (block) ::LocalFree(block); }
};
}  // namespace

// The new entry is inherited by every file and sub-folder later created in
// the folder, so the log files of any account stay writable for all others.
void GrantEveryoneFullAccess(WStringView folder) {
  using namespace windows_impl;
  EveryoneSid everyone;
  std::wstring name = Wide(folder);

  PACL dacl = nullptr;
  LocalBlock descriptor;
  const DWORD read = ::GetNamedSecurityInfoW(name.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                             nullptr, &dacl, nullptr,
                                             reinterpret_cast<PSECURITY_DESCRIPTOR*>(&descriptor.block));
  if (read != ERROR_SUCCESS) ThrowSystemError("Cannot read the rights of folder", folder, read);
  // No list at all already lets everybody in.
  if (!dacl || AclGrantsEveryoneAll(dacl, everyone.get())) return;

  EXPLICIT_ACCESS_W access{};
  access.grfAccessPermissions = GENERIC_ALL;
  access.grfAccessMode = GRANT_ACCESS;
  access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
  access.Trustee.pMultipleTrustee = nullptr;
  access.Trustee.MultipleTrusteeOperation = NO_MULTIPLE_TRUSTEE;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = static_cast<LPWSTR>(everyone.get());

  PACL merged = nullptr;
  const DWORD merge = ::SetEntriesInAclW(1, &access, dacl, &merged);
  if (merge != ERROR_SUCCESS) ThrowSystemError("Cannot add the Everyone entry to the rights of folder", folder, merge);
  LocalBlock mergedBlock{merged};
  // A folder whose rights cannot be changed (another owner) is used as it is.
  (void)::SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, merged,
                                nullptr);
}

}  // namespace qarvex::platform
