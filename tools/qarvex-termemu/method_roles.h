// The roles of the component methods' parameters, by position, as the
// output names them ("receipt_number", "slip"), taken from the component's
// member table. Keyed by the methods' English names as the component
// reports them through the Native API.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qarvex::cli {

// One role per parameter; "parameter_N" (N from 0) for a position the
// component does not name, so every parameter is printed under some name.
std::vector<std::string> RolesOf(std::u16string_view englishName, long parameterCount);

}  // namespace qarvex::cli
