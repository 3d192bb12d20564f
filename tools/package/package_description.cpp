#include "tools/package/package_description.h"

#include <pugixml.hpp>

#include <stdexcept>

namespace qarvex::package {
namespace {

pugi::xml_document NewDocument() {
  pugi::xml_document doc;
  auto declaration = doc.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  return doc;
}

void Save(const pugi::xml_document& doc, const std::filesystem::path& file) {
  if (!doc.save_file(file.c_str(), "  ", pugi::format_default, pugi::encoding_utf8))
    throw std::runtime_error("cannot write " + file.string());
}

}  // namespace

void WriteManifest(const std::filesystem::path& file, const std::vector<ManifestEntry>& entries) {
  auto doc = NewDocument();
  auto bundle = doc.append_child("bundle");
  bundle.append_attribute("xmlns") = kBundleNamespace;
  for (const auto& entry : entries) {
    auto component = bundle.append_child("component");
    component.append_attribute("os") = entry.os.c_str();
    component.append_attribute("arch") = entry.arch.c_str();
    component.append_attribute("type") = "native";
    component.append_attribute("path") = entry.path.c_str();
  }
  Save(doc, file);
}

void WriteDriverInfo(const std::filesystem::path& file, const DriverEntry& driver) {
  auto doc = NewDocument();
  auto component = doc.append_child("drivers").append_child("component");
  component.append_attribute("progid") = driver.progid.c_str();
  component.append_attribute("type") = driver.type.c_str();
  component.append_attribute("name") = driver.name.c_str();
  component.append_attribute("version") = driver.version.c_str();
  Save(doc, file);
}

}  // namespace qarvex::package
