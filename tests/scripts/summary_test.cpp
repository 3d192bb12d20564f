// The closing summary of the test command (scripts/lib/summary.sh): counts
// read from ctest's own output, and "All test suites passed." only when no
// suite failed or skipped anything.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "e2e/run_command.h"

namespace qarvex::testing {
namespace {

class TestSummary : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "qarvex-summary-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  // Runs `commands` in bash with the library sourced and the summary kept
  // in this test's folder; the output ends with "status=N" of the last one.
  std::string Bash(const std::string& commands) {
    const std::string script = "unset QARVEX_SUMMARY_FILE; source " QARVEX_SOURCE_DIR "/scripts/lib/summary.sh; "
                               "export QARVEX_SUMMARY_FILE=" +
                               ShellQuoted((folder / "summary").string()) + "; " + commands + "; echo status=$?";
    return RunCommand("bash -c " + ShellQuoted(script) + " 2>&1");
  }

  std::filesystem::path folder;
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(TestSummary, CountsComeFromCtestsOwnOutputWithTheSkippedTestsNamed) {
  std::ofstream(folder / "CTestTestfile.cmake") << "add_test(passes /bin/true)\n"
                                                    "add_test(fails /bin/false)\n"
                                                    "add_test(skips /bin/sh -c \"exit 4\")\n"
                                                    "set_tests_properties(skips PROPERTIES SKIP_RETURN_CODE 4)\n"
                                                    "add_test(passes_too /bin/true)\n";
  const std::string dir = ShellQuoted(folder.string());
  const std::string output = Bash("summary_reset; summary_ctest demo --test-dir " + dir +
                                  " >/dev/null; echo ctest=$?; summary_ctest only --test-dir " + dir +
                                  " -R passes >/dev/null; summary_print");
  EXPECT_TRUE(Has(output, "ctest=8")) << output;  // ctest's own status when a test fails
  EXPECT_TRUE(Has(output, "demo: 2 of 4 tests passed (1 skipped: skips)\n")) << output;
  EXPECT_TRUE(Has(output, "only: 2 of 2 tests passed\n")) << output;
  EXPECT_TRUE(Has(output, "FAILED: demo\n")) << output;
  EXPECT_FALSE(Has(output, "All test suites passed")) << output;
  EXPECT_TRUE(Has(output, "status=1")) << output;

  const std::string none = Bash("summary_reset; summary_ctest empty --test-dir " + dir +
                                " -R nothing-matches >/dev/null; echo ctest=$?; summary_print");
  EXPECT_FALSE(Has(none, "ctest=0")) << none;
  EXPECT_TRUE(Has(none, "empty: FAILED: ctest ran no test")) << none;
  EXPECT_TRUE(Has(none, "status=1")) << none;
}

TEST_F(TestSummary, AllPassedOnlyWhenNothingFailedOrWasSkipped) {
  const std::string ran = "summary_reset; summary_record unit 12 12; summary_ok fuzzing '900 runs in 5 s, no finding'; ";

  const std::string all = Bash(ran + "summary_print");
  EXPECT_TRUE(Has(all, "unit: 12 of 12 tests passed\nfuzzing: 900 runs in 5 s, no finding\nAll test suites passed.\n"))
      << all;
  EXPECT_TRUE(Has(all, "status=0")) << all;

  const std::string skipped = Bash(ran + "summary_skip win32 'no 32-bit wine'; summary_print");
  EXPECT_TRUE(Has(skipped, "win32: skipped: no 32-bit wine\n")) << skipped;
  EXPECT_TRUE(Has(skipped, "Passed: unit, fuzzing\nSkipped: win32\n")) << skipped;
  EXPECT_FALSE(Has(skipped, "All test suites passed")) << skipped;
  EXPECT_TRUE(Has(skipped, "status=0")) << skipped;

  const std::string skippedTest = Bash(ran + "summary_record package 11 12 1 X86.Pays; summary_print");
  EXPECT_TRUE(Has(skippedTest, "package: 11 of 12 tests passed (1 skipped: X86.Pays)\n")) << skippedTest;
  EXPECT_TRUE(Has(skippedTest, "Skipped: package (1 of its tests)\n")) << skippedTest;
  EXPECT_FALSE(Has(skippedTest, "All test suites passed")) << skippedTest;

  const std::string failed = Bash(ran + "summary_record win64 148 149; summary_fail fuzzing2 'a finding'; summary_print");
  EXPECT_TRUE(Has(failed, "FAILED: win64, fuzzing2\n")) << failed;
  EXPECT_FALSE(Has(failed, "All test suites passed")) << failed;
  EXPECT_TRUE(Has(failed, "status=1")) << failed;
}

// A stage run on its own prints its own summary; run by the test command, it
// records into the command's summary and leaves the printing to it.
TEST_F(TestSummary, StageJoinsTheSummaryOfTheCommandThatStartedIt) {
  // A copy of the library, whose own summary file is then in this folder
  // rather than in the build folder of the test command running this test.
  std::filesystem::create_directories(folder / "scripts/lib");
  std::filesystem::copy_file(QARVEX_SOURCE_DIR "/scripts/lib/summary.sh", folder / "scripts/lib/summary.sh");
  const std::string stage = ShellQuoted("source " + (folder / "scripts/lib/summary.sh").string() +
                                        "; summary_open; summary_record stage 3 3; summary_close");
  const std::string alone = RunCommand("env -u QARVEX_SUMMARY_FILE bash -c " + stage + " 2>&1");
  EXPECT_TRUE(std::filesystem::exists(folder / "build/test-summary"));
  EXPECT_TRUE(Has(alone, "stage: 3 of 3 tests passed\nAll test suites passed.\n")) << alone;

  const std::string joined = Bash("summary_reset; summary_record first 1 1; bash -c " + stage +
                                  "; echo --; summary_print");
  EXPECT_TRUE(Has(joined, "--\n=== summary ===\nfirst: 1 of 1 tests passed\nstage: 3 of 3 tests passed\n")) << joined;
}

}  // namespace
}  // namespace qarvex::testing
