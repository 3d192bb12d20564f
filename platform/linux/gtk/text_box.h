// The read-only multi-line text box both text windows use: a GTK text view
// in a scrolled window with both scroll bars always shown, word wrap on (a
// word longer than the line breaks between characters, as the framework's
// edit control does), the caret shown for keyboard reading.
#pragma once

#include <cstddef>
#include <vector>

#include "common/text.h"
#include "platform/linux/gtk/gtk_library.h"

namespace qarvex::platform::gtk_ui {

struct TextBox {
  GtkWidget* scroller = nullptr;  // what goes into the window
  GtkTextView* view = nullptr;    // named `name`
};

TextBox NewReadOnlyTextBox(const GtkFunctions& g, const char* name);

// Replaces the whole text (CR LF separates lines); the caret goes to the start.
void SetTextBoxText(const GtkFunctions& g, GtkTextView* view, WStringView text);

// The lines as the box displays them: a line wider than the box is several.
std::vector<WString> DisplayedLines(const GtkFunctions& g, GtkTextView* view);

// The caret (the selection start) in text-view characters.
std::size_t CaretCharacters(const GtkFunctions& g, GtkTextView* view);
// Puts the caret there, scrolls it into view and focuses the box.
void PlaceCaret(const GtkFunctions& g, GtkTextView* view, std::size_t characters);

}  // namespace qarvex::platform::gtk_ui
