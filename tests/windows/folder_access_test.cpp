// The grant of full access to Everyone on a new log folder, and the check
// that leaves a folder alone when it already has that grant.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/error.h"
#include "platform/folder_access.h"
#include "platform/windows/everyone_grant.h"
#include "windows_test_support.h"

namespace qarvex::testing {
namespace {

using platform::GrantEveryoneFullAccess;
using platform::windows_impl::AclGrantsEveryoneAll;
using platform::windows_impl::EveryoneSid;

bool HasInheritableFullAccessForEveryone(const std::vector<AceSummary>& dacl) {
  return EveryoneHasInheritableFullAccess(dacl);
}

// Sets the folder's DACL to exactly one entry for Everyone with `mask`.
void GiveEveryoneOnly(const WString& folder, DWORD mask) {
  EveryoneSid everyone;
  EXPLICIT_ACCESS_W access{};
  access.grfAccessPermissions = mask;
  access.grfAccessMode = SET_ACCESS;
  access.grfInheritance = NO_INHERITANCE;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = static_cast<LPWSTR>(everyone.get());
  PACL acl = nullptr;
  ASSERT_EQ(::SetEntriesInAclW(1, &access, nullptr, &acl), static_cast<DWORD>(ERROR_SUCCESS));
  std::wstring name = W(folder);
  ASSERT_EQ(::SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, acl,
                                    nullptr),
            static_cast<DWORD>(ERROR_SUCCESS));
  ::LocalFree(acl);
}

TEST(FolderAccess, NewFolderGetsOneInheritableFullAccessEntryForEveryone) {
  WindowsTempFolder temp;
  const WString folder = temp / u"log";
  ASSERT_TRUE(::CreateDirectoryW(W(folder).c_str(), nullptr));
  ASSERT_FALSE(HasInheritableFullAccessForEveryone(ReadDacl(folder))) << "a new folder is not open to all";
  ASSERT_NO_THROW(GrantEveryoneFullAccess(folder));
  const auto granted = ReadDacl(folder);
  EXPECT_TRUE(HasInheritableFullAccessForEveryone(granted));

  // Granting again finds the entry and changes nothing.
  ASSERT_NO_THROW(GrantEveryoneFullAccess(folder));
  const auto again = ReadDacl(folder);
  ASSERT_EQ(again.size(), granted.size());
  for (size_t i = 0; i < again.size(); ++i) {
    EXPECT_EQ(again[i].mask, granted[i].mask) << i;
    EXPECT_EQ(again[i].flags, granted[i].flags) << i;
  }
}

TEST(FolderAccess, EveryoneEntryWithAnotherMaskDoesNotCountAsGranted) {
  WindowsTempFolder temp;
  const WString folder = temp / u"log";
  ASSERT_TRUE(::CreateDirectoryW(W(folder).c_str(), nullptr));
  GiveEveryoneOnly(folder, GENERIC_READ);
  ASSERT_FALSE(HasInheritableFullAccessForEveryone(ReadDacl(folder)));
  ASSERT_NO_THROW(GrantEveryoneFullAccess(folder));
  EXPECT_TRUE(HasInheritableFullAccessForEveryone(ReadDacl(folder)));
}

TEST(FolderAccess, MissingFolderFailsWithItsNameAndTheSystemsReason) {
  WindowsTempFolder temp;
  const WString missing = temp / u"no such folder";
  try {
    GrantEveryoneFullAccess(missing);
    FAIL() << "no failure for a missing folder";
  } catch (const Failure& e) {
    EXPECT_NE(std::string(e.what()).find("no such folder"), std::string::npos) << e.what();
  }
}

// The already-granted check over lists built in memory: any kind of entry
// counts, but only for Everyone and only with exactly GENERIC_ALL.
TEST(FolderAccess, AlreadyGrantedCheckWantsEveryoneWithExactlyGenericAll) {
  EveryoneSid everyone;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  ASSERT_TRUE(::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                         0, 0, &administrators));
  alignas(DWORD) unsigned char buffer[512];
  auto* acl = reinterpret_cast<PACL>(buffer);
  const auto fresh = [&] { ASSERT_TRUE(::InitializeAcl(acl, sizeof buffer, ACL_REVISION)); };

  fresh();
  EXPECT_FALSE(AclGrantsEveryoneAll(acl, everyone.get())) << "empty list";

  fresh();
  ASSERT_TRUE(::AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_READ, everyone.get()));
  ASSERT_TRUE(::AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, administrators));
  EXPECT_FALSE(AclGrantsEveryoneAll(acl, everyone.get())) << "other mask, other group";

  ASSERT_TRUE(::AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL | GENERIC_READ, everyone.get()));
  EXPECT_FALSE(AclGrantsEveryoneAll(acl, everyone.get())) << "a wider mask is not exactly GENERIC_ALL";

  ASSERT_TRUE(::AddAccessDeniedAce(acl, ACL_REVISION, GENERIC_ALL, everyone.get()));
  EXPECT_TRUE(AclGrantsEveryoneAll(acl, everyone.get())) << "the entry's kind does not matter";

  ::FreeSid(administrators);
}

}  // namespace
}  // namespace qarvex::testing
