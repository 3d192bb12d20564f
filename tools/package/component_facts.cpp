#include "tools/package/component_facts.h"

#include <stdlib.h>

#include <stdexcept>

#include "common/text.h"
#include "tools/host/replacement_host.h"

namespace qarvex::package {
namespace {

using nativehost::HostValue;

// Points the component's data folders (XDG_DATA_DIRS, XDG_DATA_HOME) into a
// fresh temporary folder for as long as it lives, so asking the component
// touches no real journal or log.
class ScratchDataFolder {
 public:
  ScratchDataFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qarvex-package-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    root_ = pattern;
    ::setenv("XDG_DATA_DIRS", root_.c_str(), 1);
    ::setenv("XDG_DATA_HOME", root_.c_str(), 1);
  }
  ~ScratchDataFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  ScratchDataFolder(const ScratchDataFolder&) = delete;
  ScratchDataFolder& operator=(const ScratchDataFolder&) = delete;

 private:
  std::filesystem::path root_;
};

std::string TextOf(const HostValue& value, const char* what) {
  if (value.kind() != HostValue::Kind::Text) throw std::runtime_error(std::string("the component gave no text for ") + what);
  return ToUtf8(value.AsText());
}

}  // namespace

ComponentFacts AskComponent(const std::filesystem::path& library) {
  ScratchDataFolder scratch;
  ComponentFacts facts;
  nativehost::ReplacementHost host(std::filesystem::absolute(library).string());
  for (const auto& name : host.ClassNames()) facts.classNames.push_back(ToUtf8(name));
  if (facts.classNames.empty()) throw std::runtime_error(library.string() + " lists no class");

  auto component = host.Create(FromUtf8(facts.classNames.front()));
  if (!component || !component->Handshake())
    throw std::runtime_error(library.string() + ": the component could not be created");
  std::vector<HostValue> description(7);
  if (!component->CallFunc(u"ПолучитьОписание", description).ok)
    throw std::runtime_error(library.string() + ": ПолучитьОписание failed");
  facts.driverName = TextOf(description[0], "the driver name");
  facts.equipmentType = TextOf(description[2], "the equipment type");
  std::vector<HostValue> none;
  const auto version = component->CallFunc(u"ПолучитьНомерВерсии", none);
  if (!version.ok) throw std::runtime_error(library.string() + ": ПолучитьНомерВерсии failed");
  facts.version = TextOf(version.value, "the version");
  return facts;
}

}  // namespace qarvex::package
