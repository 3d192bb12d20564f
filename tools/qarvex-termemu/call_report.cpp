#include "tools/qarvex-termemu/call_report.h"

namespace qarvex::cli {

nativehost::HostValue CallReport::Out(std::string_view role) const {
  for (const auto& parameter : parameters)
    if (parameter.role == role) return parameter.value;
  return {};
}

}  // namespace qarvex::cli
