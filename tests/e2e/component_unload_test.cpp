// The real component library's unload: by dlclose in a host that goes on,
// and at the end of a process that loads it (POSIX only: the child is
// forked).
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
  ComponentUnload() : HostFixture(ComponentUnderTest()) {}
};

// Reads every log file of the component's data folder.
std::string LogText(const std::string& machineFolder) {
  std::string text;
  for (const auto& entry : std::filesystem::directory_iterator(machineFolder + "/qarvex_termemu")) {
    std::ifstream file(entry.path(), std::ios::binary);
    text += std::string(std::istreambuf_iterator<char>(file), {});
  }
  return text;
}

const std::string kStopLine = "============Stop log===============\r\n\r\n";

// The library's unload is the last thing it does: the stop line follows
// every line written while it was loaded.
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

  const std::string text = LogText(folders.machine());
  ASSERT_NE(text.find("GetLastError"), std::string::npos) << text;
  EXPECT_EQ(text.find(kStopLine), text.size() - kStopLine.size()) << text;
}

// A host that unloads the library (dlclose) while it goes on running, as the
// platform does when it releases an add-in: the library really goes, so its
// stop line is in the file by the time dlclose has returned, and a second
// load starts a new log session.
TEST_F(ComponentUnload, DlcloseUnloadsTheLibraryAndWritesTheStopLine) {
  {
    auto c = Ready(u"qarvex_termemu");
    ASSERT_TRUE(c);
    ASSERT_TRUE(c->SetProp(u"LogEnabled", HostValue(true)));
    std::vector<HostValue> error{HostValue(u"")};
    ASSERT_TRUE(c->CallFunc(u"ПолучитьОшибку", error).ok);
  }
  ASSERT_TRUE(host->Memory().Balanced()) << host->Memory().Describe();
  host.reset();  // dlclose

  const std::string text = LogText(folders.machine());
  ASSERT_NE(text.find("GetLastError"), std::string::npos) << text;
  ASSERT_GE(text.size(), kStopLine.size());
  EXPECT_EQ(text.rfind(kStopLine), text.size() - kStopLine.size()) << text;

  host = std::make_unique<ReplacementHost>(ComponentUnderTest());
  auto again = Ready(u"qarvex_termemu");
  ASSERT_TRUE(again);
  // LogEnabled is library-wide: a library that had stayed loaded would
  // still have it on.
  const auto logging = again->GetProp(u"LogEnabled");
  ASSERT_TRUE(logging.ok);
  EXPECT_EQ(logging.value, HostValue(false)) << "the library stayed loaded after dlclose";
}

}  // namespace
}  // namespace qarvex::testing
