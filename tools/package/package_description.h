// The two description files of the add-in package, written with pugixml:
//   MANIFEST.XML  what the platform reads to pick the binary for the client's
//                 system and processor;
//   INFO.XML      what the equipment library reads to list the archive as a
//                 driver in its catalogue.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qarvex::package {

// One binary of the package, as MANIFEST.XML lists it.
struct ManifestEntry {
  std::string os;    // "Windows", "Linux"
  std::string arch;  // "i386", "x86_64"
  std::string path;  // the file's name inside the archive
};

// The driver as INFO.XML describes it. Texts are UTF-8.
struct DriverEntry {
  std::string progid;   // "AddIn.<class name>"
  std::string type;     // the equipment type's host name
  std::string name;     // the driver's name
  std::string version;  // "x.y.z.w"
};

inline constexpr char kBundleNamespace[] = "http://v8.1c.ru/8.2/addin/bundle";

// Each writes the file (UTF-8, with an XML declaration, no BOM); throws
// std::runtime_error when it cannot be written.
void WriteManifest(const std::filesystem::path& file, const std::vector<ManifestEntry>& entries);
void WriteDriverInfo(const std::filesystem::path& file, const DriverEntry& driver);

}  // namespace qarvex::package
