// What the component says of itself, asked the way the equipment library
// asks: the Linux library is loaded through the replacement host and its
// class list, description and version are read through the Native API. The
// package's INFO.XML is written from these answers, so it can never name a
// class, a driver or a version the component does not have.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qarvex::package {

struct ComponentFacts {
  std::vector<std::string> classNames;  // GetClassNames, split on "|"
  std::string driverName;               // ПолучитьОписание, position 0
  std::string equipmentType;            // ПолучитьОписание, position 2
  std::string version;                  // ПолучитьНомерВерсии
};

// Loads `library` (its data folders pointed at a temporary folder that is
// removed afterwards) and asks it. Throws std::runtime_error on any failure.
ComponentFacts AskComponent(const std::filesystem::path& library);

}  // namespace qarvex::package
