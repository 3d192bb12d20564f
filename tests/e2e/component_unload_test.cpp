// The real component library's unload, seen from a child process that loads
// it and ends (POSIX only: the child is forked).
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace qarvex::testing {
namespace {

class ComponentUnload : public HostFixture {
 protected:
  ComponentUnload() : HostFixture(QARVEX_COMPONENT_PATH) {}
};

// The library's unload is the last thing it does: the stop line follows
// every line written while it was loaded. (The library holds unique
// symbols, so dlclose leaves it loaded; it is unloaded when the process
// ends, here a child's.)
TEST_F(ComponentUnload, UnloadWritesTheStopLineAfterEveryOtherLine) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto c = Ready(u"qarvex_termemu");
    std::vector<HostValue> error{HostValue(u"")};
    const bool ok = c && c->SetProp(u"LogEnabled", HostValue(true)) && c->CallFunc(u"ПолучитьОшибку", error).ok;
    c.reset();
    std::exit(ok ? 0 : 3);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

  std::string text;
  for (const auto& entry : std::filesystem::directory_iterator(folders.machine() + "/qarvex_termemu")) {
    std::ifstream file(entry.path(), std::ios::binary);
    text += std::string(std::istreambuf_iterator<char>(file), {});
  }
  const std::string stopLine = "============Stop log===============\r\n\r\n";
  ASSERT_NE(text.find("GetLastError"), std::string::npos) << text;
  EXPECT_EQ(text.find(stopLine), text.size() - stopLine.size()) << text;
}

}  // namespace
}  // namespace qarvex::testing
