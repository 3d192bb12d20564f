// A cashier's day through qarvex-termemu, read back as a script would: every
// operation's JSON object, the journal listing, the copy, the report and the
// settlement; and the text form a person reads.
#include "cli/cli_runner.h"

namespace qarvex::clitest {
namespace {

using nlohmann::json;

// One operation's object: the call succeeded with these numbers.
void ExpectApproved(const json& j, const std::string& receipt) {
  EXPECT_EQ(j["return"], true) << j.dump();
  EXPECT_EQ(j["out"]["receipt_number"], receipt);
  EXPECT_EQ(j["out"]["reference_number"], std::string(6, '0') + receipt);
  EXPECT_EQ(j["out"]["authorisation_code"], receipt);
  EXPECT_EQ(j["last_error"], "");
  EXPECT_TRUE(j["host_errors"].empty());
  EXPECT_EQ(j["exit_status"], 0);
}

TEST_F(CliTest, DayOfOperationsReadAsJson) {
  const ToolRun pay = Tool({"--json", "pay", "1500", "--card", "4276380012345678"});
  ASSERT_EQ(pay.status, 0) << pay.err;
  const json first = pay.Json();
  EXPECT_EQ(first["command"], "pay");
  EXPECT_EQ(first["method"], "ОплатитьПлатежнойКартой");
  EXPECT_EQ(first["method_name"], "PayByPaymentCard");
  ExpectApproved(first, "000001");
  EXPECT_EQ(first["out"]["card"], "************5678");
  EXPECT_EQ(first["out"]["amount"], 1500);
  const std::string slip = first["out"]["slip"];
  EXPECT_NE(slip.find("ОДОБРЕНО"), std::string::npos);
  EXPECT_NE(slip.find("\r\n[cut]\r\n"), std::string::npos) << "a slip is two copies";

  ExpectApproved(Tool({"--json", "return", "300.5"}).Json(), "000002");
  ExpectApproved(Tool({"--json", "preauth", "2000", "--card", "5469550011112222"}).Json(), "000003");
  const json confirm = Tool({"--json", "confirm", "000003", "1800"}).Json();
  ExpectApproved(confirm, "000003");
  EXPECT_EQ(confirm["method_name"], "AuthConfirmationByPaymentCard");

  // A mistaken payment, cancelled by its receipt number given as plain 4.
  ExpectApproved(Tool({"--json", "pay", "99,9"}).Json(), "000004");
  const ToolRun cancel = Tool({"--json", "cancel", "4", "99.9"});
  EXPECT_EQ(cancel.status, 0) << cancel.err;
  EXPECT_EQ(cancel.Json()["return"], true);

  // Declined by the cashier: a successful call that stores nothing.
  const ToolRun declined = Tool({"--json", "--decline", "pay", "750"});
  ASSERT_EQ(declined.status, 0) << declined.err;
  const json no = declined.Json();
  EXPECT_EQ(no["out"]["receipt_number"], "000000");
  EXPECT_NE(no["out"]["slip"].get<std::string>().find("ОТКЛОНЕНО"), std::string::npos);
  ASSERT_EQ(no["questions"].size(), 1u);
  EXPECT_EQ(no["questions"][0]["answer"], "no");
  EXPECT_EQ(no["questions"][0]["question"], "ОПЛАТА: 750 руб.\r\nОдобрить операцию?");

  // Approved without asking; the cancelled number 4 is handed out again.
  const json yes = Tool({"--json", "--approve", "pay", "10"}).Json();
  ExpectApproved(yes, "000004");
  EXPECT_EQ(yes["questions"][0]["answer"], "yes");
  const ToolRun reverse = Tool({"--json", "reverse"});
  EXPECT_EQ(reverse.status, 0) << reverse.err;

  const json journal = Tool({"--json", "journal"}).Json();
  ASSERT_EQ(journal["operations"].size(), 3u) << journal.dump();
  const json& ops = journal["operations"];
  EXPECT_EQ(ops[0]["receipt_number"], "000001");
  EXPECT_EQ(ops[0]["operation"], "ОПЛАТА");
  EXPECT_EQ(ops[0]["kopecks"], 150000);
  EXPECT_EQ(ops[0]["card"], "************5678");
  EXPECT_EQ(ops[1]["type"], 1);
  EXPECT_EQ(ops[1]["amount"], 300.5);
  EXPECT_EQ(ops[2]["operation"], "ПРЕАВТОРИЗАЦИЯ");
  EXPECT_EQ(ops[2]["kopecks"], 200000) << "a confirmation does not change the stored amount";
  const json unmasked = Tool({"--json", "journal", "--unmasked"}).Json();
  EXPECT_EQ(unmasked["operations"][0]["card"], "4276380012345678");

  const ToolRun report = Tool({"report"});
  EXPECT_EQ(report.status, 0) << report.err;
  EXPECT_NE(report.out.find("ОТЧЕТ"), std::string::npos) << report.out;
  EXPECT_NE(report.out.find("ИТОГ:                 3199.5 Руб\n"), std::string::npos) << report.out;
  EXPECT_NE(Tool({"copy"}).out.find("ПРЕАВТОРИЗАЦИЯ (КОПИЯ)"), std::string::npos) << "the newest operation";
  EXPECT_NE(Tool({"copy", "000001"}).out.find("ОПЛАТА (КОПИЯ)"), std::string::npos);

  const ToolRun settle = Tool({"--json", "settle"});
  ASSERT_EQ(settle.status, 0) << settle.err;
  const std::string settlement = settle.Json()["out"]["settlement_text"];
  EXPECT_NE(settlement.find("СВЕРКА"), std::string::npos);
  EXPECT_NE(settlement.find("3199.5 Руб"), std::string::npos);
  EXPECT_TRUE(Tool({"--json", "journal"}).Json()["operations"].empty());
  ExpectApproved(Tool({"--json", "pay", "1"}).Json(), "000001");
}

TEST_F(CliTest, TextOutputIsTheSlipThenTheNumbers) {
  const ToolRun pay = Tool({"pay", "1500"});
  ASSERT_EQ(pay.status, 0) << pay.err;
  EXPECT_EQ(pay.out.find('\r'), std::string::npos) << "printed with plain line ends";
  EXPECT_EQ(pay.out.substr(0, 33), std::string(32, '=') + "\n");
  const std::string last = "Receipt 000001, reference 000000000001, authorisation code 000001\n";
  ASSERT_GE(pay.out.size(), last.size());
  EXPECT_EQ(pay.out.substr(pay.out.size() - last.size()), last);
  EXPECT_EQ(pay.err, "");

  const ToolRun narrow = Tool({"--line-length", "20", "pay", "5"});
  EXPECT_EQ(narrow.out.substr(0, 21), std::string(20, '=') + "\n");

  const ToolRun journal = Tool({"journal"});
  EXPECT_NE(journal.out.find("000002  ОПЛАТА"), std::string::npos) << journal.out;
  EXPECT_NE(journal.out.find("************1111"), std::string::npos);
  EXPECT_EQ(journal.out.find("4111111111111111"), std::string::npos) << "masked unless asked";
}

}  // namespace
}  // namespace qarvex::clitest
