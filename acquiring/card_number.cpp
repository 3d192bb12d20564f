#include "acquiring/card_number.h"

namespace qarvex::acquiring {
namespace {

constexpr std::size_t kVisibleCardDigits = 4;

}  // namespace

WString MaskCardNumber(WStringView ACard) {
  if (ACard.size() <= kVisibleCardDigits) return WString();
  WString masked(ACard.size() - kVisibleCardDigits, u'*');
  masked.append(ACard.substr(ACard.size() - kVisibleCardDigits));
  return masked;
}

}  // namespace qarvex::acquiring
