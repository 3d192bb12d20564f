#include <gtest/gtest.h>

#include <sys/utsname.h>

#include "platform/os_description.h"

namespace qarvex::platform {
namespace {

TEST(OsDescription, NamesTheSystemAndEndsWithTheKernelRelease) {
  utsname system{};
  ASSERT_EQ(::uname(&system), 0);
  const std::string text = ToUtf8(OsDescription());
  const std::string release = std::string(" ") + system.release;
  ASSERT_GT(text.size(), release.size());
  EXPECT_EQ(text.substr(text.size() - release.size()), release);
  EXPECT_EQ(text.find('"'), std::string::npos);  // os-release quotes removed
}

}  // namespace
}  // namespace qarvex::platform
