// Without --data the component's own folder rule decides, as inside the
// platform: the first entry of XDG_DATA_DIRS.
#include "cli/cli_runner.h"

namespace qarvex::clitest {
namespace {

TEST_F(CliTest, WithoutDataTheComponentsOwnFolderIsUsed) {
  const fs::path machine = root_ / "machine";
  const fs::path user = root_ / "user";
  const ToolRun pay = Spawn({"--log", "pay", "12"},
                            {{"XDG_DATA_DIRS", machine.string() + ":/usr/share"}, {"XDG_DATA_HOME", user.string()}});
  ASSERT_EQ(pay.status, 0) << pay.err;
  EXPECT_TRUE(fs::exists(machine / "qarvex_termemu" / "OperJournal" / "journal.db3"));
  bool logged = false;
  for (const auto& entry : fs::directory_iterator(machine / "qarvex_termemu"))
    logged = logged || entry.path().extension() == ".log";
  EXPECT_TRUE(logged) << "--log switches the component's log on, in its data folder";
  EXPECT_FALSE(fs::exists(user / "qarvex_termemu"));
}

}  // namespace
}  // namespace qarvex::clitest
