// The emulated terminal loaded through the replacement host: temporary data
// folders, the "C" locale (so dates read dd/mm/yy hh:mm:ss and amounts use a
// point), one connected driver object, helpers for the card methods, raw
// read access to the journal file, and an expected-slip builder written
// independently of the component's own layout code.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "e2e/e2e_support.h"

namespace qarvex::testing {

using nativehost::MsgBoxAnswer;

// One stored journal row, read straight from the file.
struct Row {
  int id = 0;
  long long amount = 0;  // kopecks
  int oper = 0;
  std::u16string card;
  std::string edate;
  bool operator==(const Row&) const = default;
};

inline std::u16string U16(const std::string& utf8) { return nativehost::Utf16(utf8); }
using nativehost::Utf8;

// Layout of the texts, computed from the rules a reader of a slip sees:
// lines end with CR LF, W = 32, centred text has the odd space after it.
inline std::u16string Sp(int n) { return std::u16string(n > 0 ? n : 0, u' '); }
inline std::u16string L(const std::u16string& text) { return text + u"\r\n"; }
inline std::u16string Center(const std::u16string& text, int w = 32) {
  const int pad = w - static_cast<int>(text.size());
  return Sp(pad / 2) + text + Sp(pad - pad / 2);
}
inline std::u16string Label(const std::u16string& label, const std::u16string& value, int w = 32) {
  return label + Sp(w - static_cast<int>(label.size() + value.size())) + value;
}

struct SlipSpec {
  std::u16string title;
  std::u16string date;
  std::u16string amount;  // e.g. u"1500 Руб"; empty: no amount line
  std::u16string receipt;
  std::u16string card;  // masked; empty: no card line
  bool approved = true;
};

inline std::u16string ExpectedSlip(const SlipSpec& s) {
  const std::u16string rule(32, u'=');
  std::u16string block = L(rule) + L(Center(s.title)) + L(u"") + L(Label(u"Дата:", s.date));
  if (!s.amount.empty()) block += L(Label(u"Сумма:", s.amount));
  block += L(Label(u"Номер чека:", s.receipt));
  if (!s.card.empty()) block += L(Label(u"Карта:", s.card));
  block += L(u"") + L(Center(s.approved ? u"ОДОБРЕНО" : u"ОТКЛОНЕНО")) + L(rule);
  return block + L(u"[cut]") + block;
}

// A local time as the slips write it in the "C" locale.
inline std::u16string TimeText(std::time_t now) {
  std::tm t{};
  localtime_r(&now, &t);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%02d %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year % 100,
                t.tm_hour, t.tm_min, t.tm_sec);
  return U16(buffer);
}

// The seconds a call spanned, from a reading of the clock before it to one
// after it: a slip may be dated with any of them (a slow machine can take
// more than a second). Read from the clock the component reads: std::time
// may come from a coarser clock that is still in the last second when the
// component's is already in the next.
inline std::time_t ClockSeconds() { return std::chrono::system_clock::to_time_t(std::chrono::system_clock::now()); }

struct CallTime {
  std::time_t from = ClockSeconds(), to = from;
  void End() { to = ClockSeconds(); }
  std::vector<std::u16string> Texts() const {
    std::vector<std::u16string> texts;
    for (std::time_t t = from; t <= to; ++t) texts.push_back(TimeText(t));
    return texts;
  }
  // True when `actual` equals `expected(date)` for one of the spanned seconds.
  template <class Expected>
  bool Matches(const std::u16string& actual, Expected&& expected) const {
    for (const auto& date : Texts())
      if (actual == expected(date)) return true;
    return false;
  }
};

// The outcome of one card method call.
struct CardResult {
  bool returned = false;  // the method's return value
  std::vector<HostValue> params;
  CallTime time;  // the seconds the call spanned

  const std::u16string& Text(int i) const { return params[i].AsText(); }
  std::u16string Receipt() const { return Text(3); }
  std::u16string Slip() const { return Text(6); }
  // The slip equals the expected one dated at a second the call spanned.
  ::testing::AssertionResult SlipIs(SlipSpec spec) const {
    const auto expected = [&](const std::u16string& date) {
      spec.date = date;
      return ExpectedSlip(spec);
    };
    if (time.Matches(Slip(), expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "slip:\n" << Utf8(Slip()) << "\nexpected:\n"
                                         << Utf8(expected(time.Texts().front()));
  }
};

class TerminalTest : public HostFixture {
 protected:
  TerminalTest() : HostFixture(ComponentUnderTest()) { ::setenv("LC_ALL", "C", 1); }

  void SetUp() override {
    HostFixture::SetUp();
    driver = Ready(u"qarvex_termemu");
    ASSERT_NE(driver, nullptr);
    ASSERT_TRUE(Connect(*driver));
  }
  void TearDown() override {
    driver.reset();
    HostFixture::TearDown();
  }

  bool Call(Component& c, std::u16string_view method, std::vector<HostValue>& params) {
    const auto r = c.CallFunc(method, params);
    EXPECT_TRUE(r.ok) << "the host call itself failed";
    return r.value.kind() == HostValue::Kind::Bool && r.value.AsBool();
  }
  bool Connect(Component& c) {
    std::vector<HostValue> p{HostValue(u"dev")};
    return Call(c, u"Подключить", p);
  }
  bool Disconnect(Component& c) {
    std::vector<HostValue> p{HostValue(u"dev")};
    return Call(c, u"Отключить", p);
  }
  void Dialogs(bool on, Component* c = nullptr) {
    ASSERT_TRUE((c ? c : driver.get())->SetProp(u"ИспользоватьДиалоги", HostValue(on)));
  }
  std::u16string LastError(Component* c = nullptr) {
    std::vector<HostValue> p(1);
    Call(c ? *c : *driver, u"ПолучитьОшибку", p);
    return p[0].AsText();
  }

  CardResult Card(std::u16string_view method, std::u16string card, double amount, std::u16string receipt = u"",
                  Component* c = nullptr) {
    CardResult r;
    r.params = {HostValue(u"dev"), HostValue(std::move(card)), HostValue(amount), HostValue(std::move(receipt)),
                HostValue(u"rrn-in"), HostValue(u"auth-in"), HostValue(u"")};
    r.time = CallTime();
    r.returned = Call(c ? *c : *driver, method, r.params);
    r.time.End();
    return r;
  }
  CardResult Pay(std::u16string card, double amount, Component* c = nullptr) {
    return Card(u"ОплатитьПлатежнойКартой", std::move(card), amount, u"", c);
  }

  bool Reversal(Component* c = nullptr) {
    std::vector<HostValue> p{HostValue(u"dev")};
    return Call(c ? *c : *driver, u"АварийнаяОтменаОперации", p);
  }

  std::string DatabasePath() const { return folders.machine() + "/qarvex_termemu/OperJournal/journal.db3"; }

  // Every row of the journal file in ascending ID order.
  std::vector<Row> Rows() const {
    std::vector<Row> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(DatabasePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << "cannot open " << DatabasePath();
      sqlite3_close(db);
      return rows;
    }
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select ID, AMOUNT, OPER, CARD, EDATE from journal order by ID", -1, &st, nullptr);
    while (st != nullptr && sqlite3_step(st) == SQLITE_ROW) {
      Row row;
      row.id = sqlite3_column_int(st, 0);
      row.amount = sqlite3_column_int64(st, 1);
      row.oper = sqlite3_column_int(st, 2);
      row.card = U16(reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
      row.edate = reinterpret_cast<const char*>(sqlite3_column_text(st, 4));
      rows.push_back(row);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
  }

  // The rows without their time stamps: (ID, kopecks, type, card).
  using Stored = std::tuple<int, long long, int, std::u16string>;
  std::vector<Stored> StoredRows() const {
    std::vector<Stored> out;
    for (const Row& r : Rows()) out.emplace_back(r.id, r.amount, r.oper, r.card);
    return out;
  }

  std::unique_ptr<Component> driver;
};

inline const std::u16string kCard = u"4276380012345678";
inline const std::u16string kMasked = u"************5678";

}  // namespace qarvex::testing
