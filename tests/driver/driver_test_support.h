// Shared pieces of the driver unit tests: host parameter blocks that give
// their host memory back, and a fixture that gives every test temporary data
// folders, a fresh log state and a fake host.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "driver/uCommonDriver.h"
#include "log/Common.Log.h"
#include "log/log_testing.h"
#include "platform/temp_folders.h"
#include "tests/driver/fake_host.h"

namespace qarvex::testing {

// Variants of one call, freed through their owner's memory manager.
class Args {
 public:
  Args(host::TV8UserObject& owner, std::size_t count) : owner_(owner), values_(count) {}
  ~Args() {
    for (host::V8Variant& v : values_) owner_.V8ClearVar(&v);
  }
  host::V8Variant* data() { return values_.data(); }
  std::int32_t count() const { return static_cast<std::int32_t>(values_.size()); }
  host::V8Variant* at(std::size_t i) { return &values_[i]; }
  WString Text(std::size_t i) const { return host::V8AsWString(&values_[i]); }

 private:
  host::TV8UserObject& owner_;
  std::vector<host::V8Variant> values_;
};

class DriverTest : public ::testing::Test {
 protected:
  DriverTest() { log_testing::ResetLogState(); }
  ~DriverTest() override { log_testing::ResetLogState(); }

  TempFolders folders;
  FakeHost fakeHost;
  host::TV8AddInDefBaseEx unusedV8;
};

}  // namespace qarvex::testing
