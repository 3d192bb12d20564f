// The log under test: temporary XDG folders, the registered log name, an
// injected clock and the state of a freshly loaded library.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "log/Common.Log.h"
#include "log/log_testing.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/module_info.h"
#include "platform/os_description.h"
#include "platform/regional_settings.h"
#include "platform/temp_folders.h"

namespace qarvex::testing {

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log_testing::ResetLogState();
    TLog::SetLogName(u"qarvex_termemu");
    platform::OverrideClock([this] { return now; });
    platform::OverrideRegionalSettings(platform::RegionalSettings{u'.', u'/', u':'});
  }
  void TearDown() override {
    platform::OverrideClock({});
    platform::OverrideRegionalSettings(std::nullopt);
    log_testing::ResetLogState();
  }

  static void On() { TLog::LogLevel = 3; }
  static void Off() { TLog::LogLevel = 0; }

  std::string Folder() const { return folders.machine() + "/qarvex_termemu"; }
  std::string FileOf(const std::string& date) const { return Folder() + "/qarvex_termemu_" + date + ".log"; }
  std::string Day(const std::string& date) const { return ReadFile(FileOf(date)); }

  static std::string Banner() {
    const std::string blanks(40, ' ');
    return blanks + "\r\n" + "============Start log=============\r\n" +
           "OS version:\t" + ToUtf8(platform::OsDescription()) + "\r\n" +
           "Application:\t" + ToUtf8(platform::ExtractFileName(platform::ModuleFileName())) + "\r\n" +
           "App. version:\t1.0.6.15\r\n" + blanks + "\r\n";
  }

  TempFolders folders;
  LocalDateTime now{2024, 3, 5, 14, 7, 31, 42};
};

}  // namespace qarvex::testing
