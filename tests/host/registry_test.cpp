// The class registry: growth, the class-name list and the order in which
// names and default values are found.
#include <gtest/gtest.h>

#include "host/registry.h"

namespace qarvex::host {
namespace {

std::unique_ptr<TV8UserObject> NewObject() { return std::make_unique<TV8UserObject>(); }

TEST(ClassRegistry, ClassNameListGrowsWithABarBetweenNames) {
  TClassRegList list;
  EXPECT_EQ(list.ClassNames(), u"");
  list.RegisterClass(&NewObject, u"ext", u"first");
  EXPECT_EQ(list.ClassNames(), u"first");
  list.RegisterClass(&NewObject, u"ext", u"second");
  list.RegisterClass(&NewObject, u"ext2", u"first");  // duplicates are kept
  EXPECT_EQ(list.ClassNames(), u"first|second|first");
  EXPECT_EQ(list.ClassCount(), 3);
  EXPECT_EQ(list.FindClass(u"first"), list.ClassList[0].get());  // the first wins
  EXPECT_EQ(list.FindClass(u"First"), nullptr);                  // case matters
  EXPECT_EQ(list.FindClass(u"first "), nullptr);                 // no trimming
  list.Clear();
  EXPECT_EQ(list.ClassNames(), u"");
  EXPECT_EQ(list.ClassCount(), 0);
}

TEST(ClassRegistry, MembersGetSuccessiveIndicesAndTheirFlags) {
  TClassReg reg(&NewObject, u"ext", u"cls");
  reg.AddFunc(u"F", u"Ф", nullptr, 2);
  reg.AddProc(u"P", u"П", nullptr, 0);
  reg.AddProp(u"R", u"Р", true, false, nullptr);
  EXPECT_EQ(reg.MethCount(), 2);
  EXPECT_TRUE(reg.Method(0)->IsFunction);
  EXPECT_FALSE(reg.Method(1)->IsFunction);
  EXPECT_EQ(reg.Method(0)->ParamCount, 2);
  EXPECT_TRUE(reg.Prop(0)->IsReadable);
  EXPECT_FALSE(reg.Prop(0)->IsWritable);
  EXPECT_EQ(reg.Method(2), nullptr);
  EXPECT_EQ(reg.Method(-1), nullptr);
  EXPECT_EQ(reg.Prop(1), nullptr);
}

TEST(ClassRegistry, LookupTriesBothNamesOfEachEntryInIndexOrder) {
  TClassReg reg(&NewObject, u"ext", u"cls");
  reg.AddFunc(u"GetVersion", u"ПолучитьНомерВерсии", nullptr, 0);
  reg.AddFunc(u"Shared", u"Other", nullptr, 0);
  reg.AddFunc(u"Later", u"Shared", nullptr, 0);
  EXPECT_EQ(reg.FindMethod(u"GetVersion"), 0);
  EXPECT_EQ(reg.FindMethod(u"ПолучитьНомерВерсии"), 0);
  EXPECT_EQ(reg.FindMethod(u"getversion"), -1);
  EXPECT_EQ(reg.FindMethod(u"ПОЛУЧИТЬНОМЕРВЕРСИИ"), -1);
  EXPECT_EQ(reg.FindMethod(u"Shared"), 1);  // the earlier entry's English name wins
  EXPECT_EQ(reg.FindMethod(u""), -1);
  reg.AddProp(u"LogEnabled", u"ЛогВключен", true, true, nullptr);
  EXPECT_EQ(reg.FindProp(u"ЛогВключен"), 0);
  EXPECT_EQ(reg.FindProp(u"Shared"), -1);  // methods and properties are apart
}

TEST(ClassRegistry, DefaultValuesAreFoundByZeroBasedIndexFirstEntryFirst) {
  TDefParamList list;
  EXPECT_EQ(list.TempParam, nullptr);
  V8Variant* added = list.AddParam(3);
  EXPECT_EQ(list.Values[0].Num, 2);
  EXPECT_EQ(added->vt, VTYPE_EMPTY);
  EXPECT_EQ(list.Find(2), added);
  EXPECT_EQ(list.Find(0), nullptr);
  list.AddInt(7, 1);
  list.AddInt(8, 1);
  EXPECT_EQ(list.Find(0)->lVal, 7);
  static const char16_t text[] = u"abc";
  list.AddWString(text, 4);
  EXPECT_EQ(list.TempParam, &list.Values.back().Value);
  EXPECT_EQ(list.TempParam->vt, VTYPE_PWSTR);
  EXPECT_EQ(list.TempParam->vtRecWideString.pwstrVal, text);  // not copied
  EXPECT_EQ(list.TempParam->vtRecWideString.wstrLen, 3u);
  list.AddAString("xy", 5);
  EXPECT_EQ(list.TempParam->vtRecString.strLen, 2u);
  list.AddBool(true, 6);
  list.AddDate(45000.5, 7);
  EXPECT_EQ(list.Find(6)->vt, VTYPE_DATE);
  EXPECT_EQ(list.ValueCount(), 7);
}

}  // namespace
}  // namespace qarvex::host
