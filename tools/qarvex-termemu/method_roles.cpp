#include "tools/qarvex-termemu/method_roles.h"

#include <array>

namespace qarvex::cli {
namespace {

struct MethodRoles {
  std::u16string_view name;
  std::vector<std::string_view> roles;
};

const std::vector<std::string_view> kCardRoles = {
    "device", "card", "amount", "receipt_number", "reference_number", "authorisation_code", "slip"};

const std::array kMethodRoles = {
    MethodRoles{u"PayByPaymentCard", kCardRoles},
    MethodRoles{u"ReturnPaymantByPaymantCard", kCardRoles},
    MethodRoles{u"CancelPaymentByPaymentCard", kCardRoles},
    MethodRoles{u"AuthorisationByPaymentCard", kCardRoles},
    MethodRoles{u"AuthConfirmationByPaymentCard", kCardRoles},
    MethodRoles{u"CancelAuthorisationByPaymentCard", kCardRoles},
    MethodRoles{u"EmergencyReversal", {"device"}},
    MethodRoles{u"Settelment", {"device", "settlement_text"}},
    MethodRoles{u"GetDescription",
                {"name", "description", "equipment_type", "interface_revision", "integration_library",
                 "main_driver_installed", "download_url"}},
    MethodRoles{u"GetLastError", {"error_description"}},
    MethodRoles{u"Open", {"device"}},
    MethodRoles{u"Close", {"device"}},
    MethodRoles{u"GetParameters", {"parameters_xml"}},
    MethodRoles{u"SetParameter", {"name", "value"}},
    MethodRoles{u"DeviceTest", {"result_text", "extra_text"}},
    MethodRoles{u"GetAdditionalActions", {"actions_xml"}},
    MethodRoles{u"DoAdditionalAction", {"action"}},
};

}  // namespace

std::vector<std::string> RolesOf(std::u16string_view englishName, long parameterCount) {
  std::vector<std::string> roles;
  for (const auto& method : kMethodRoles)
    if (method.name == englishName) roles.assign(method.roles.begin(), method.roles.end());
  const long known = static_cast<long>(roles.size());
  if (parameterCount < known) roles.resize(parameterCount < 0 ? 0 : parameterCount);
  for (long i = known; i < parameterCount; ++i) roles.push_back("parameter_" + std::to_string(i));
  return roles;
}

}  // namespace qarvex::cli
