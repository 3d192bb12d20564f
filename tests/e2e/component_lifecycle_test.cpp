// The real component library through the replacement host: what the
// platform sees when it loads the library, creates, uses and releases
// components.
#include "e2e_support.h"

namespace qarvex::testing {
namespace {

class ComponentLibrary : public HostFixture {
 protected:
  ComponentLibrary() : HostFixture(ComponentUnderTest()) {}
};

TEST_F(ComponentLibrary, ListsItsOneClass) {
  EXPECT_EQ(host->ClassNamesText(), u"qarvex_termemu");
}

TEST_F(ComponentLibrary, CreatesOnlyUnderTheExactClassName) {
  for (auto name : {u"QARVEX_TERMEMU", u"qarvex_termemu ", u"", u"other"}) {
    EXPECT_EQ(host->Create(name), nullptr);
    EXPECT_EQ(host->LastCreateAnswer(), 0);
    EXPECT_TRUE(host->LastCreateLeftPointer());
  }
  EXPECT_NE(host->Create(u"qarvex_termemu"), nullptr);
  EXPECT_EQ(host->LastCreateAnswer(), 1);
}

TEST_F(ComponentLibrary, BlockHoldsThreeTablesAZeroAndThreeCopiesOfOneObject) {
  auto a = host->Create(u"qarvex_termemu");
  auto b = host->Create(u"qarvex_termemu");
  ASSERT_TRUE(a && b);
  EXPECT_NE(a->Block(), b->Block());
  for (auto* c : {a.get(), b.get()}) {
    EXPECT_NE(c->BlockWord(0), 0u);
    EXPECT_NE(c->BlockWord(1), 0u);
    EXPECT_NE(c->BlockWord(2), 0u);
    EXPECT_EQ(c->BlockWord(3), 0u);
    EXPECT_NE(c->BlockWord(4), 0u);
    EXPECT_EQ(c->BlockWord(5), c->BlockWord(4));
    EXPECT_EQ(c->BlockWord(6), c->BlockWord(4));
  }
  EXPECT_NE(a->BlockWord(4), b->BlockWord(4));  // two objects
  EXPECT_EQ(a->BlockWord(0), b->BlockWord(0));  // one set of tables
}

TEST_F(ComponentLibrary, HandshakeAndInformationInEveryState) {
  auto c = host->Create(u"qarvex_termemu");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->GetInfo(), 2000);
  EXPECT_TRUE(c->Init());  // before the memory manager: order does not matter
  EXPECT_TRUE(c->SetMemManager());
  c->SetLocale(u"ru_RU");
  EXPECT_EQ(c->GetInfo(), 2000);
  c->Done();
  EXPECT_EQ(c->GetInfo(), 2000);
  EXPECT_EQ(c->Destroy(), 0);
}

TEST_F(ComponentLibrary, RegistersItsExtensionInHostMemoryOnceItHasAManager) {
  auto c = host->Create(u"qarvex_termemu");
  ASSERT_TRUE(c);
  std::optional<std::u16string> name = u"untouched";
  EXPECT_TRUE(c->RegisterExtensionAs(name));
  EXPECT_EQ(name, std::nullopt);
  ASSERT_TRUE(c->Handshake());
  EXPECT_TRUE(c->RegisterExtensionAs(name));
  EXPECT_EQ(name, u"qarvex_termemu");
  host->RefuseAllocations(true);
  EXPECT_TRUE(c->RegisterExtensionAs(name));
  EXPECT_EQ(name, std::nullopt);
  host->RefuseAllocations(false);
}

TEST_F(ComponentLibrary, ThousandCreateDestroyCyclesKeepHostMemoryBalanced) {
  for (int i = 0; i < 1000; ++i) {
    auto c = Ready(u"qarvex_termemu");
    ASSERT_TRUE(c);
    ASSERT_EQ(c->ExtensionName(), u"qarvex_termemu");
    ASSERT_EQ(c->Destroy(), 0);
  }
  EXPECT_EQ(host->Memory().allocations, 1000u);
  EXPECT_TRUE(host->Errors().empty());
}

// Script engines release a component with `delete` through whichever
// interface they hold; the object and block must go exactly once (the
// sanitizer build catches a leak or a double free).
TEST_F(ComponentLibrary, DeletingThroughAnyInterfaceReleasesTheComponent) {
  for (int which = 0; which < 3; ++which) {
    auto c = Ready(u"qarvex_termemu");
    ASSERT_TRUE(c);
    c->DeleteThroughInterface(which);
    EXPECT_TRUE(c->Destroyed());
  }
}

}  // namespace
}  // namespace qarvex::testing
