// The add-in package as its hosts see it: the one archive in the dist
// folder, unpacked once per test program by Info-ZIP's unzip (a reader
// independent of the zip that wrote it), and its two XML files parsed.
#pragma once

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/run_command.h"

namespace qarvex::testing {

struct UnpackedPackage {
  std::filesystem::path archive;
  std::filesystem::path folder;        // where it was unpacked
  std::vector<std::string> entries;    // in archive order
  pugi::xml_document manifest, info;
  pugi::xml_parse_result manifestParse, infoParse;
};

// The archive named by QARVEX_DIST (default: the source tree's dist/),
// unpacked into a temporary folder removed at exit. Fails the test when
// there is not exactly one package there.
const UnpackedPackage& Package();

}  // namespace qarvex::testing
