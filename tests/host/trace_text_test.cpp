// The text form of host values in the call trace. A value the trace cannot
// show fails the host call, so the set of accepted type words matters.
#include <gtest/gtest.h>

#include "common/error.h"
#include "host/v8variant.h"
#include "platform/regional_settings.h"

namespace qarvex::host {
namespace {

V8Variant OfType(std::uint16_t vt) {
  V8Variant v{};
  v.vt = vt;
  return v;
}

class TraceText : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::OverrideRegionalSettings(platform::RegionalSettings{u',', u'.', u':'});
  }
  void TearDown() override { platform::OverrideRegionalSettings(std::nullopt); }
};

TEST_F(TraceText, ParameterListsUseABraceAndABracket) {
  EXPECT_EQ(V8ParamsToStr(nullptr, 0), u"{]");
  V8Variant params[2] = {OfType(VTYPE_I4), OfType(VTYPE_PWSTR)};
  params[0].lVal = 5;
  char16_t ab[] = u"ab";
  params[1].vtRecWideString.pwstrVal = ab;
  params[1].vtRecWideString.wstrLen = 2;
  EXPECT_EQ(V8ParamsToStr(params, 2), u"{5; ab]");
  EXPECT_EQ(V8ParamsToStr(params, -3), u"{]");
}

TEST_F(TraceText, ValuesUseTheRegionalForms) {
  auto real = OfType(VTYPE_R8);
  real.dblVal = -2.5;
  EXPECT_EQ(V8ToStr(&real), u"-2,5");
  auto yes = OfType(VTYPE_BOOL), no = OfType(VTYPE_BOOL);
  yes.bVal = true;
  EXPECT_EQ(V8ToStr(&yes), u"True");
  EXPECT_EQ(V8ToStr(&no), u"False");
  auto empty = OfType(VTYPE_EMPTY), iface = OfType(VTYPE_INTERFACE);
  EXPECT_EQ(V8ToStr(&empty), u"");
  EXPECT_EQ(V8ToStr(&iface), u"");
}

TEST_F(TraceText, DateTimesOmitTheTimeAtMidnight) {
  auto t = OfType(VTYPE_TM);
  t.tmVal.tm_year = 124;
  t.tmVal.tm_mon = 0;
  t.tmVal.tm_mday = 31;
  EXPECT_EQ(V8ToStr(&t), u"31.01.2024");
  t.tmVal.tm_hour = 9;
  t.tmVal.tm_sec = 5;
  EXPECT_EQ(V8ToStr(&t), u"31.01.2024 09:00:05");
  t.tmVal.tm_mday = 32;
  EXPECT_THROW(V8ToStr(&t), Failure);
}

TEST_F(TraceText, BlobsAreUpperCaseHexPairs) {
  unsigned char bytes[] = {0x00, 0xAB, 0x7F};
  auto blob = OfType(VTYPE_BLOB);
  blob.vtRecString.pstrVal = reinterpret_cast<char*>(bytes);
  blob.vtRecString.strLen = 3;
  EXPECT_EQ(V8ToStr(&blob), u"00AB7F");
}

TEST_F(TraceText, TypesOutsideTheTraceTableAreRefused) {
  // Date, byte text, 16-bit integer, float, error, byte, and a wide text with
  // a flag bit: the whole type word decides.
  for (std::uint16_t vt : std::initializer_list<std::uint16_t>{VTYPE_DATE, VTYPE_PSTR, VTYPE_I2, VTYPE_R4, VTYPE_ERROR, VTYPE_UI1,
                           static_cast<std::uint16_t>(0x4016)}) {
    auto v = OfType(vt);
    try {
      V8ToStr(&v);
      ADD_FAILURE() << "type word " << vt << " was accepted";
    } catch (const Failure& e) {
      EXPECT_STREQ(e.what(), "Unsupported data type");
    }
  }
  auto padded = OfType(VTYPE_I4);
  padded.vtPadding = 1;  // the upper half of the type word counts too
  EXPECT_THROW(V8ToStr(&padded), Failure);
  V8Variant params[2] = {OfType(VTYPE_I4), OfType(VTYPE_PSTR)};
  EXPECT_THROW(V8ParamsToStr(params, 2), Failure);
}

}  // namespace
}  // namespace qarvex::host
