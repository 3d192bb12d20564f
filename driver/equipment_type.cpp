#include "driver/equipment_type.h"

#include <array>

#include "common/error.h"

namespace qarvex::driver {

WString EquipmentTypeName(TEquipmentType::TValue AType) {
  static constexpr std::array<WStringView, 13> kNames = {
      u"СканерШтрихкода",     u"СчитывательМагнитныхКарт", u"ФискальныйРегистратор",
      u"ПринтерЧеков",        u"ПринтерЭтикеток",          u"ДисплейПокупателя",
      u"ТерминалСбораДанных", u"ЭквайринговыйТерминал",    u"ЭлектронныеВесы",
      u"ВесыСПечатьюЭтикеток", u"СчитывательRFID",          u"ККТ",
      u"НеизвестныйТипОборудования",
  };
  const auto index = static_cast<std::size_t>(AType);
  if (index >= kNames.size()) throw Failure("Enum value unacceptable");
  return WString(kNames[index]);
}

}  // namespace qarvex::driver
