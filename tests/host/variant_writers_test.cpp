// Writing host variants: every text or binary value lives in host memory,
// and a value that is overwritten gives its old memory back exactly once.
#include <gtest/gtest.h>

#include <cstring>

#include "host/user_object.h"
#include "host_doubles.h"

namespace qarvex::host {
namespace {

class V8Writers : public ::testing::Test {
 protected:
  void SetUp() override { object.V8MM = memory.Manager(); }
  void TearDown() override { object.V8ClearVar(&v); }

  testing::RecordingMemory memory;
  TV8UserObject object;
  V8Variant v{};
};

TEST_F(V8Writers, EmptyTextIsATwoByteBlockHoldingTheTerminator) {
  ASSERT_TRUE(object.V8SetWString(&v, u""));
  EXPECT_EQ(v.vt, VTYPE_PWSTR);
  EXPECT_EQ(v.vtRecWideString.wstrLen, 0u);
  ASSERT_EQ(memory.allocSizes, std::vector<unsigned long>{2});
  EXPECT_EQ(v.vtRecWideString.pwstrVal[0], 0);
}

TEST_F(V8Writers, OverwritingHostTextFreesItOnceBeforeTakingTheNewBlock) {
  ASSERT_TRUE(object.V8SetWString(&v, u"старый"));
  void* old = v.vtRecWideString.pwstrVal;
  ASSERT_TRUE(object.V8SetWString(&v, u"new"));
  EXPECT_EQ(memory.events, (std::vector<std::string>{"alloc", "free", "alloc"}));
  ASSERT_EQ(memory.freedBlocks, std::vector<void*>{old});
  // FreeMemory gets the address of the variant's own pointer field.
  EXPECT_EQ(memory.freedAddresses[0], reinterpret_cast<void**>(&v.vtRecWideString.pwstrVal));
  EXPECT_EQ(memory.allocSizes.back(), 8u);
  EXPECT_EQ(std::u16string(v.vtRecWideString.pwstrVal), u"new");
  EXPECT_EQ(v.vtRecWideString.wstrLen, 3u);
}

TEST_F(V8Writers, EveryWriterFreesTheTextItReplaces) {
  ASSERT_TRUE(object.V8SetWString(&v, u"a"));
  object.V8SetInt(&v, 5);
  ASSERT_TRUE(object.V8SetPChar(&v, "bytes"));
  object.V8SetBool(&v, true);
  const char blob[] = {1, 2, 3};
  ASSERT_TRUE(object.V8SetBlob(&v, blob, 3));
  object.V8SetDouble(&v, 1.5);
  EXPECT_EQ(memory.freedBlocks.size(), 3u);
  EXPECT_TRUE(memory.live.empty());
  EXPECT_EQ(v.vt, VTYPE_R8);
  EXPECT_EQ(v.dblVal, 1.5);
}

TEST_F(V8Writers, FixedSizeWritersLeaveAllOtherBytesZero) {
  std::memset(static_cast<void*>(&v), 0xAB, sizeof v);
  v.vt = VTYPE_EMPTY;
  object.V8SetBool(&v, true);
  V8Variant expected{};
  expected.vt = VTYPE_BOOL;
  expected.bVal = true;
  EXPECT_EQ(std::memcmp(&v, &expected, sizeof v), 0);
  EXPECT_EQ(v.vtPadding, 0);
}

TEST_F(V8Writers, RefusedMemoryIsReportedAndLeavesAnEmptyTextOfTheRightType) {
  memory.refuse = true;
  EXPECT_FALSE(object.V8SetWString(&v, u"abc"));
  EXPECT_EQ(v.vt, VTYPE_PWSTR);
  EXPECT_EQ(v.vtRecWideString.wstrLen, 0u);
  EXPECT_EQ(v.vtRecWideString.pwstrVal, nullptr);
  EXPECT_FALSE(object.V8SetPChar(&v, "abc"));
  EXPECT_EQ(v.vtRecString.pstrVal, nullptr);
  EXPECT_EQ(V8NewWString(object.V8MM, u"name"), nullptr);
  EXPECT_EQ(V8NewWString(TV8MemoryManager(), u"name"), nullptr);  // no manager at all
}

TEST_F(V8Writers, NullByteTextAndNullBlobLeaveTheVariantAsItWas) {
  object.V8SetInt(&v, 9);
  EXPECT_TRUE(object.V8SetPChar(&v, nullptr));
  EXPECT_TRUE(object.V8SetBlob(&v, nullptr, 4));
  EXPECT_EQ(v.vt, VTYPE_I4);
  EXPECT_EQ(v.lVal, 9);
}

TEST_F(V8Writers, ByteTextAndBlobsCopyExactlyTheirBytes) {
  ASSERT_TRUE(object.V8SetString(&v, std::string_view("ab\0cd", 5)));
  EXPECT_EQ(v.vtRecString.strLen, 2u);  // up to the first zero byte
  EXPECT_EQ(memory.allocSizes.back(), 3u);
  EXPECT_STREQ(v.vtRecString.pstrVal, "ab");
  const unsigned char blob[] = {0, 0xFF, 7};
  ASSERT_TRUE(object.V8SetBlob(&v, blob, 3));
  EXPECT_EQ(v.vt, VTYPE_BLOB);
  EXPECT_EQ(memory.allocSizes.back(), 3u);  // no terminator
  EXPECT_EQ(std::memcmp(v.vtRecString.pstrVal, blob, 3), 0);
}

TEST_F(V8Writers, NameCopyIsAFreshTerminatedHostBlock) {
  WCHAR_T* copy = V8NewWString(object.V8MM, u"qarvex_termemu");
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(memory.allocSizes, std::vector<unsigned long>{30});
  EXPECT_EQ(std::u16string(copy), u"qarvex_termemu");
}

// A COM interface held by a variant is released when the variant is cleared.
struct FakeCom {
  static unsigned long V8_ENTRY Release(void* self) {
    return static_cast<unsigned long>(++static_cast<FakeCom*>(self)->releases);
  }
  void** vtable;
  int releases = 0;
};

TEST_F(V8Writers, ClearingAnInterfaceValueReleasesIt) {
  void* table[3] = {nullptr, nullptr, reinterpret_cast<void*>(&FakeCom::Release)};
  FakeCom com{table};
  v.vt = VTYPE_INTERFACE;
  v.vtRecInterface.pInterfaceVal = &com;
  object.V8ClearVar(&v);
  EXPECT_EQ(com.releases, 1);
  EXPECT_EQ(v.vt, VTYPE_EMPTY);
  EXPECT_EQ(v.vtRecInterface.pInterfaceVal, nullptr);
}

}  // namespace
}  // namespace qarvex::host

namespace qarvex::host {
namespace {

// Found by fuzzing: an object the host never gave a memory manager zeroed a
// variant holding host text without giving the block back, so the host lost
// it. Now such a variant is left as it was, whichever writer is used.
TEST(V8WritersWithoutAMemoryManager, AVariantHoldingHostTextIsLeftAsItWas) {
  TV8UserObject object;  // no memory manager
  char16_t hostText[] = u"host";
  V8Variant v{};
  v.vt = VTYPE_PWSTR;
  v.vtRecWideString.pwstrVal = hostText;
  v.vtRecWideString.wstrLen = 4;
  V8Variant before = v;
  EXPECT_FALSE(object.V8ClearVar(&v));
  object.V8SetBool(&v, true);
  object.V8SetInt(&v, 5);
  object.V8SetDouble(&v, 1.5);
  object.V8SetDate(&v, 2.0);
  EXPECT_FALSE(object.V8SetWString(&v, u"new"));
  EXPECT_FALSE(object.V8SetPChar(&v, "new"));
  EXPECT_FALSE(object.V8SetBlob(&v, "ab", 2));
  EXPECT_EQ(std::memcmp(&v, &before, sizeof v), 0);

  // A variant without host memory is written as usual.
  V8Variant plain{};
  object.V8SetInt(&plain, 7);
  EXPECT_EQ(plain.vt, VTYPE_I4);
  EXPECT_EQ(plain.lVal, 7);
  EXPECT_FALSE(object.V8SetWString(&plain, u"x")) << "no memory to put text in";
  EXPECT_EQ(plain.vt, VTYPE_PWSTR);
  EXPECT_EQ(plain.vtRecWideString.pwstrVal, nullptr);
}

}  // namespace
}  // namespace qarvex::host
