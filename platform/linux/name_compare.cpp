#include "platform/name_compare.h"

namespace qarvex::platform {

bool NamesEqual(WStringView a, WStringView b) { return a == b; }

}  // namespace qarvex::platform
