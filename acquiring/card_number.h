// The card number as the host and the slips show it.
#pragma once

#include "common/text.h"

namespace qarvex::acquiring {

// The card number with all but its last four characters replaced by "*";
// empty for four characters or fewer.
WString MaskCardNumber(WStringView ACard);

}  // namespace qarvex::acquiring
