#include "tools/qarvex-termemu/method_roles.h"

#include "driver/driver_class.h"
#include "emulator/uDriver.h"

namespace qarvex::cli {

// The roles are the component's own: its member table, compiled into this
// program from the same sources as the library, names them.
std::vector<std::string> RolesOf(std::u16string_view englishName, long parameterCount) {
  std::vector<std::string> roles;
  driver::ForEachMember(emulator::TDriver::ClassInfo(), [&](const driver::TMember& m) {
    if (!m.ExportMeth || m.Name != englishName || !roles.empty()) return;
    for (const std::string_view role : m.ExportMeth->ParamRoles()) roles.emplace_back(role);
  });
  const long known = static_cast<long>(roles.size());
  if (parameterCount < known) roles.resize(parameterCount < 0 ? 0 : parameterCount);
  for (long i = known; i < parameterCount; ++i) roles.push_back("parameter_" + std::to_string(i));
  return roles;
}

}  // namespace qarvex::cli
