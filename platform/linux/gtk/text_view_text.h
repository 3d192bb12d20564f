// The texts of the windows' text boxes between the forms and GTK. The forms
// speak UTF-16 with CR LF line ends and count caret positions in UTF-16
// units, each line end two of them (as the framework's edit control does);
// a GTK text view holds UTF-8 with LF line ends and counts characters.
// These conversions keep the forms' offsets meaning the same place.
#pragma once

#include <cstddef>
#include <string>

#include "common/text.h"

namespace qarvex::platform::gtk_ui {

// UTF-8 for the text view: CR LF, and a lone CR or LF, become LF.
std::string ToTextViewText(WStringView text);

// The form's offset (UTF-16 units of `text`, CR LF two) of the place that
// is `characters` characters into the text view holding ToTextViewText(text).
// Past the end: the end.
std::size_t FormOffsetOf(WStringView text, std::size_t characters);

// The inverse: characters into the text view of the form's offset `units`.
// An offset inside a CR LF pair or a surrogate pair means the place before it.
std::size_t TextViewOffsetOf(WStringView text, std::size_t units);

}  // namespace qarvex::platform::gtk_ui
