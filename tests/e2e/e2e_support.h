// Fixture for end-to-end tests: temporary XDG data folders, then a host that
// loads a component library; at the end every host block must be balanced.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/temp_folders.h"
#include "tools/host/replacement_host.h"

namespace qarvex::testing {

using nativehost::Component;
using nativehost::HostValue;
using nativehost::ReplacementHost;

// The component library under test: the one built with the tests, unless
// QARVEX_COMPONENT_UNDER_TEST names another (the portable build, or a copy
// taken out of the add-in package). Test programs that use it define
// QARVEX_COMPONENT_PATH.
#ifdef QARVEX_COMPONENT_PATH
inline std::string ComponentUnderTest() {
  const char* other = std::getenv("QARVEX_COMPONENT_UNDER_TEST");
  return other && *other ? other : QARVEX_COMPONENT_PATH;
}
#endif

class HostFixture : public ::testing::Test {
 protected:
  explicit HostFixture(std::string library) : library_(std::move(library)) {}
  void SetUp() override { host = std::make_unique<ReplacementHost>(library_); }
  void TearDown() override {
    auto memory = host->Memory();
    EXPECT_TRUE(memory.Balanced()) << memory.Describe();
    host.reset();
  }
  // A component with the handshake done.
  std::unique_ptr<Component> Ready(std::u16string_view className) {
    auto component = host->Create(className);
    if (component) {
      EXPECT_TRUE(component->Handshake());
    }
    return component;
  }

  TempFolders folders;  // before the host: the library may read them at load
  std::unique_ptr<ReplacementHost> host;

 private:
  std::string library_;
};

}  // namespace qarvex::testing
