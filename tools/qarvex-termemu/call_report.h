// What one call of a component method gave: the method's two names, the
// slot's answer, the return value, every parameter as the component left
// it (with its role), the last error, the host error reports and the
// questions the component put meanwhile. Both output forms print from it.
#pragma once

#include <string>
#include <vector>

#include "tools/host/replacement_host.h"
#include "tools/qarvex-termemu/question_answerer.h"

namespace qarvex::cli {

struct Parameter {
  std::string role;  // e.g. "receipt_number"; "parameter_N" when unknown
  nativehost::HostValue value;
};

struct CallReport {
  std::u16string method;       // the host (Russian) name
  std::u16string englishName;  // the component's own name
  bool handled = false;        // the slot's answer
  nativehost::HostValue returned;
  std::vector<Parameter> parameters;
  std::u16string lastError;  // ПолучитьОшибку after the call
  std::vector<nativehost::ErrorRecord> hostErrors;
  std::vector<QuestionAnswerer::Asked> questions;

  bool ReturnedTrue() const { return returned.kind() == nativehost::HostValue::Kind::Bool && returned.AsBool(); }
  bool ReturnedFalse() const { return returned.kind() == nativehost::HostValue::Kind::Bool && !returned.AsBool(); }
  // The value of the parameter with that role; an empty value when none.
  nativehost::HostValue Out(std::string_view role) const;
};

}  // namespace qarvex::cli
