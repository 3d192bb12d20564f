// What a host that does things out of order or out of range does to the
// terminal, loaded through the replacement host: cases found by fuzzing the
// host-facing surface, kept here so they stay fixed.
#include "e2e_terminal/terminal_fixture.h"

namespace qarvex::testing {
namespace {

using HostileHostTest = TerminalTest;

// A component whose host never handed over its memory manager cannot give
// host text back, so it leaves the host's text parameters as they were
// (the fixture checks that every host block is freed once, and none lost).
TEST_F(HostileHostTest, WithoutAMemoryManagerTheHostsTextParametersAreKept) {
  auto bare = host->Create(u"qarvex_termemu");
  ASSERT_NE(bare, nullptr);
  ASSERT_TRUE(bare->Init());  // no SetMemManager
  for (const char16_t* method : {u"ПолучитьДополнительныеДействия", u"ПолучитьПараметры", u"ПолучитьОшибку"}) {
    std::vector<HostValue> params{HostValue(u"host text")};
    bare->CallFunc(method, params);
    EXPECT_EQ(params[0], HostValue(u"host text")) << Utf8(method);
  }
  std::vector<HostValue> pay{HostValue(u"dev"), HostValue(kCard), HostValue(10.0), HostValue(u"r"),
                             HostValue(u"n"),   HostValue(u"a"),  HostValue(u"slip")};
  bare->CallFunc(u"ОплатитьПлатежнойКартой", pay);
  EXPECT_EQ(pay[1], HostValue(kCard));
  EXPECT_EQ(pay[6], HostValue(u"slip"));
}

}  // namespace
}  // namespace qarvex::testing
