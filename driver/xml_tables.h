// The parameter table and the action table the host reads as XML text: the
// declaration <?xml version="1.0"?> without encoding, then the root element
// on one line without indentation, each ending in CR LF.
#pragma once

#include <string_view>

#include "common/text.h"
#include "driver/driver_class.h"

namespace qarvex::driver {

// <Settings><Page Caption="Параметры"> with one Parameter per member marked
// ExportPropAttribute, in member order (Name, Caption, TypeValue,
// DefaultValue, ReadOnly).
WString BuildParametersDocument(const TDriverClass& AClass);

// <Actions> with one Action per member marked AdditionalActionAttribute, in
// member order (Name, Caption).
WString BuildActionsDocument(const TDriverClass& AClass);

// A parameter table supplied as raw bytes (encoding detected from the
// content), re-written in the same text form. Raises Failure with the
// parser's message when the bytes are not well-formed XML.
WString LoadParametersDocument(std::string_view bytes);

}  // namespace qarvex::driver
