// Where the journal goes on Windows: the common application-data folder the
// shell names, as inside the platform; --data, which cannot move it there,
// is a usage error that names the folder and changes nothing.
#include "cli/cli_runner.h"

namespace qarvex::clitest {
namespace {

TEST_F(CliTest, TheCommonApplicationDataFolderHoldsTheJournalAndTheLog) {
  const ToolRun pay = Tool({"--log", "pay", "12"});
  ASSERT_EQ(pay.status, 0) << pay.err;
  EXPECT_TRUE(fs::exists(JournalFile()));
  bool logged = false;
  for (const auto& entry : fs::directory_iterator(ComponentFolder()))
    logged = logged || entry.path().extension() == ".log";
  EXPECT_TRUE(logged) << "--log switches the component's log on, in its data folder";
}

TEST_F(CliTest, DataIsRefusedNamingTheFolderUsed) {
  ASSERT_EQ(Tool({"pay", "5"}).status, 0);
  const std::string before = ReadFile(JournalFile());
  const ToolRun moved = Spawn({"--data", data_.string(), "pay", "12"}, {});
  EXPECT_EQ(moved.status, 2);
  EXPECT_EQ(moved.out, "");
  EXPECT_NE(moved.err.find("not available on Windows"), std::string::npos) << moved.err;
  EXPECT_NE(moved.err.find(ComponentFolder().string()), std::string::npos) << moved.err;
  EXPECT_FALSE(fs::exists(data_));
  EXPECT_EQ(ReadFile(JournalFile()), before);
}

}  // namespace
}  // namespace qarvex::clitest
