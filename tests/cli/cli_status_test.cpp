// Exit statuses and bad input: 0 for True, 1 for False with the last error
// on standard error, 2 for usage errors and host-level failures; a usage
// error prints nothing on standard output and leaves the journal alone.
#include "cli/cli_runner.h"

namespace qarvex::clitest {
namespace {

using nlohmann::json;

TEST_F(CliTest, FalseIsStatusOneWithTheComponentsMessage) {
  const ToolRun cancel = Tool({"--json", "cancel", "000005", "10"});
  EXPECT_EQ(cancel.status, 1);
  const json j = cancel.Json();
  EXPECT_EQ(j["return"], false);
  EXPECT_EQ(j["last_error"], "Транзакция не найдена");
  EXPECT_EQ(j["exit_status"], 1);
  EXPECT_NE(cancel.err.find("Транзакция не найдена"), std::string::npos) << cancel.err;

  const ToolRun copy = Tool({"copy", "7"});
  EXPECT_EQ(copy.status, 1);
  EXPECT_NE(copy.err.find("Транзакция не найдена"), std::string::npos) << copy.err;

  const ToolRun setting = Tool({"set", "CurrencyCode", "i:5"});
  EXPECT_EQ(setting.status, 1);
  EXPECT_NE(setting.err.find("Value type unacceptable"), std::string::npos) << setting.err;
}

// A question the host cannot show: the component fails the operation with
// its own message, and nothing is stored.
TEST_F(CliTest, QuestionRefusedWithoutATerminal) {
  const ToolRun pay = Tool({"--dialogs", "pay", "100"});
  EXPECT_EQ(pay.status, 1);
  EXPECT_NE(pay.err.find("Could not display dialog box"), std::string::npos) << pay.err;
  EXPECT_NE(pay.err.find("--approve"), std::string::npos) << "says how to answer it: " << pay.err;
  EXPECT_EQ(pay.out, "");
  EXPECT_TRUE(Tool({"--json", "journal"}).Json()["operations"].empty());
}

TEST_F(CliTest, HostLevelFailuresAreStatusTwo) {
  const ToolRun missing = Tool({"--library", (root_ / "nowhere.so").string(), "pay", "1"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("nowhere.so"), std::string::npos) << missing.err;
  EXPECT_EQ(missing.out, "");

  const fs::path junk = root_ / "junk.so";
  std::ofstream(junk) << "not a library";
  EXPECT_EQ(Tool({"--library", junk.string(), "version"}).status, 2);

  // The program loads the library beside it and no other: without one it
  // asks for --library, and a broken one is reported by its path.
  const fs::path installed = root_ / "bin";
  fs::create_directories(installed);
  fs::copy_file(program_, installed / QARVEX_CLI_PROGRAM_NAME);
  program_ = (installed / QARVEX_CLI_PROGRAM_NAME).string();
  const ToolRun alone = Tool({"version"});
  EXPECT_EQ(alone.status, 2);
  EXPECT_NE(alone.err.find(" or " QARVEX_CLI_LIBRARY_NAME " beside this program"), std::string::npos) << alone.err;
  std::ofstream(installed / QARVEX_CLI_LIBRARY_NAME) << "not a library either";
  const ToolRun beside = Tool({"version"});
  EXPECT_EQ(beside.status, 2);
  EXPECT_NE(beside.err.find((installed / QARVEX_CLI_LIBRARY_NAME).string()), std::string::npos) << beside.err;
  program_ = QARVEX_CLI_PATH;

  // A narrow text cannot be written into the call's trace: the failure
  // escapes the method and reaches the host as an error report.
  const ToolRun report = Tool({"--json", "call", "ПолучитьОшибку", "a:x"});
  EXPECT_EQ(report.status, 2) << report.out << report.err;
  const json j = report.Json();
  ASSERT_EQ(j["host_errors"].size(), 1u) << j.dump();
  EXPECT_EQ(j["host_errors"][0]["code"], 1006);
  EXPECT_EQ(j["handled"], false);
  EXPECT_NE(report.err.find("1006"), std::string::npos) << report.err;
}

TEST_F(CliTest, BadArgumentsChangeNothing) {
  ASSERT_EQ(Tool({"pay", "1500"}).status, 0);
  const std::string before = ReadFile(JournalFile());
  const auto stamp = fs::last_write_time(JournalFile());
  ASSERT_FALSE(before.empty());

  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"frobnicate"}, "no command \"frobnicate\""},
      {{}, "no command given"},
      {{"pay"}, "needs AMOUNT"},
      {{"pay", "abc"}, "\"abc\" is not an amount"},
      {{"pay", "1e3"}, "not an amount"},
      {{"pay", "nan"}, "not an amount"},
      {{"pay", "10", "20"}, "takes AMOUNT"},
      {{"cancel", "x1", "10"}, "\"x1\" is not a receipt number"},
      {{"cancel", "-1", "10"}, "not a receipt number"},
      {{"confirm", "000001"}, "needs RECEIPT AMOUNT"},
      {{"copy", "first"}, "not a receipt number"},
      {{"pay", "10", "--bogus"}, "no option --bogus"},
      {{"pay", "10", "--card"}, "--card needs N"},
      {{"journal", "--card", "1"}, "--card does not apply to `journal`"},
      // Made without the library: its options would be taken and ignored.
      {{"report", "--library", "other.so"}, "--library does not apply to `report`"},
      {{"copy", "--log"}, "--log does not apply to `copy`"},
      {{"journal", "--dialogs"}, "--dialogs does not apply to `journal`"},
      {{"--line-length", "wide", "pay", "1"}, "--line-length \"wide\" is not an integer"},
      {{"--approve", "--decline", "pay", "1"}, "cannot both"},
      {{"set", "Nope", "1"}, "no setting \"Nope\""},
      {{"set", "linelength", "40"}, "no setting \"linelength\""},
      {{"set", "LineLength", "forty"}, "is a Number"},
      {{"set", "UseDialogs", "maybe"}, "not true or false"},
      {{"call"}, "needs METHOD"},
      {{"call", "NoSuchMethod"}, "no method \"NoSuchMethod\""},
      {{"call", "ОплатитьПлатежнойКартой", "100"}, "has no type"},
      {{"call", "ОплатитьПлатежнойКартой", "n:abc"}, "not a number"},
      {{"call", "GetVersion", "i:1"}, "takes 0 parameter(s), 1 given"},
  };
  for (const auto& [args, message] : cases) {
    const ToolRun run = Tool(args);
    std::string shown;
    for (const auto& a : args) shown += a + " ";
    EXPECT_EQ(run.status, 2) << shown;
    EXPECT_EQ(run.out, "") << shown;
    EXPECT_NE(run.err.find(message), std::string::npos) << shown << "\n" << run.err;
  }
  EXPECT_EQ(ReadFile(JournalFile()), before);
  EXPECT_EQ(fs::last_write_time(JournalFile()), stamp);
  EXPECT_EQ(Tool({"--json", "journal"}).Json()["operations"].size(), 1u);
}

// Whatever is typed, the program answers with one of its three statuses.
TEST_F(CliTest, OddArgumentsEndWithAStatusNotACrash) {
  const std::vector<std::vector<std::string>> cases = {
      {""},
      {"-"},
      {"--"},
      {"--", "--json"},
      {"--=x"},
      {"--json=1", "version"},
      {"pay", ""},
      {"pay", "-"},
      {"pay", "."},
      {"pay", ","},
      {"pay", "1,2,3"},
      {"pay", "--", "-1"},
      {"call", ""},
      {"call", "s:"},
      {"call", "ПолучитьОшибку", "s"},
      {"call", "ПолучитьОшибку", "b:"},
      {"call", "ПолучитьОшибку", "i:99999999999"},
      {"set", "", ""},
      {"copy", ""},
      {"cancel", "99999999999", "1"},
      {"\xff\xfe"},
      {"pay", "1", "--card", "\xff"},
      {"help", "nope"},
      {"--data", "", "version"},
      {"--line-length", "99999999999", "pay", "1"},
  };
  for (const auto& args : cases) {
    const ToolRun run = Tool(args);
    std::string shown;
    for (const auto& a : args) shown += "[" + a + "] ";
    EXPECT_TRUE(run.status == 0 || run.status == 1 || run.status == 2) << shown << run.status << "\n" << run.err;
    if (run.status == 2) {
      EXPECT_FALSE(run.err.empty()) << shown;
    }
  }
}

TEST_F(CliTest, UsageErrorOnAFreshFolderCreatesNothing) {
  EXPECT_EQ(Tool({"pay", "abc"}).status, 2);
  EXPECT_EQ(Tool({"cancel", "one", "1"}).status, 2);
  EXPECT_FALSE(fs::exists(ComponentFolder())) << "the data folder was created for a run that did nothing";
}

TEST_F(CliTest, HelpForTheProgramAndEveryCommand) {
  const ToolRun overview = Tool({"--help"});
  EXPECT_EQ(overview.status, 0);
  for (const char* command :
       {"pay", "return", "preauth", "cancel", "confirm", "cancel-preauth", "reverse", "settle", "test", "version",
        "describe", "params", "actions", "set", "call", "copy", "report", "journal"}) {
    EXPECT_NE(overview.out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
    const ToolRun help = Tool({command, "--help"});
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_NE(help.out.find(std::string("Usage: qarvex-termemu [OPTIONS] ") + command), std::string::npos) << command;
    EXPECT_NE(help.out.find(std::string("Example:\n  qarvex-termemu ") + command), std::string::npos) << command;
    EXPECT_EQ(Tool({"help", command}).out, help.out) << command;
  }
  EXPECT_FALSE(fs::exists(ComponentFolder()));
}

TEST_F(CliTest, SettingsAndRawCalls) {
  const ToolRun set = Tool({"set", "LineLength", "40"});
  EXPECT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(set.out.substr(0, 16), "LineLength = 40\n");

  const json list = Tool({"--json", "call", "--list"}).Json();
  ASSERT_EQ(list["methods"].size(), 19u);
  EXPECT_EQ(list["methods"][7]["method_name"], "Settelment");

  // Parameters left out are filled in; the English name is found as well.
  const ToolRun last = Tool({"--json", "call", "GetLastError"});
  EXPECT_EQ(last.status, 0) << last.err;
  EXPECT_EQ(last.Json()["out"]["error_description"], "");

  // Not connected: the operation fails at the journal, through the component.
  const ToolRun unconnected = Tool({"--json", "call", "--no-connect", "АварийнаяОтменаОперации", "s:T"});
  EXPECT_EQ(unconnected.status, 1) << unconnected.out;
  EXPECT_EQ(unconnected.Json()["return"], false);
  EXPECT_FALSE(unconnected.Json()["last_error"].get<std::string>().empty());
}

}  // namespace
}  // namespace qarvex::clitest
