// Reading a number printed in C syntax ("." as the separator, optional
// exponent), independent of the process's locale: the host process may have
// set any locale, and the component must never change it.
#pragma once

#include <string_view>

namespace qarvex {

// The double written by the whole of `text`, with the rules of
// std::from_chars (general format): an optional "-", digits with an
// optional ".", an optional exponent; no leading "+" or blanks, no hex.
// False, with `out` untouched, for anything else or a value out of range.
bool ParseCNumber(std::string_view text, double& out);

}  // namespace qarvex
