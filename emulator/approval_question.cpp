#include "emulator/approval_question.h"

#include "platform/regional_settings.h"
#include "resources/resource_strings.h"

namespace qarvex::emulator {

WString ApprovalQuestion(WStringView title, Currency amount) {
  WString question(title);
  if (amount > 0) {
    question += u": ";
    question += FormatCurrency(amount, platform::CurrentRegionalSettings().decimalSeparator);
    question += u" руб.";
  }
  question += u"\r\n";
  question += ResString(StringId::ApproveOperation);
  return question;
}

}  // namespace qarvex::emulator
