#include "platform/linux/gtk/text_box.h"

#include <algorithm>

#include "platform/linux/gtk/text_view_text.h"

namespace qarvex::platform::gtk_ui {

TextBox NewReadOnlyTextBox(const GtkFunctions& g, const char* name) {
  TextBox box;
  box.scroller = g.gtk_scrolled_window_new(nullptr, nullptr);
  GtkScrolledWindow* scroller = As<GtkScrolledWindow>(box.scroller);
  g.gtk_scrolled_window_set_policy(scroller, GTK_POLICY_ALWAYS, GTK_POLICY_ALWAYS);
  g.gtk_scrolled_window_set_overlay_scrolling(scroller, FALSE);
  g.gtk_scrolled_window_set_shadow_type(scroller, GTK_SHADOW_IN);
  GtkWidget* view = g.gtk_text_view_new();
  g.gtk_widget_set_name(view, name);
  box.view = As<GtkTextView>(view);
  g.gtk_text_view_set_editable(box.view, FALSE);
  g.gtk_text_view_set_wrap_mode(box.view, GTK_WRAP_WORD_CHAR);
  g.gtk_container_add(As<GtkContainer>(box.scroller), view);
  return box;
}

void SetTextBoxText(const GtkFunctions& g, GtkTextView* view, WStringView text) {
  GtkTextBuffer* buffer = g.gtk_text_view_get_buffer(view);
  const std::string utf8 = ToTextViewText(text);
  g.gtk_text_buffer_set_text(buffer, utf8.c_str(), static_cast<gint>(utf8.size()));
  GtkTextIter start;
  g.gtk_text_buffer_get_start_iter(buffer, &start);
  g.gtk_text_buffer_place_cursor(buffer, &start);
}

std::vector<WString> DisplayedLines(const GtkFunctions& g, GtkTextView* view) {
  GtkTextBuffer* buffer = g.gtk_text_view_get_buffer(view);
  std::vector<WString> lines;
  GtkTextIter line;
  g.gtk_text_buffer_get_start_iter(buffer, &line);
  for (;;) {
    GtkTextIter next = line;
    const bool more = g.gtk_text_view_forward_display_line(view, &next);
    GtkTextIter end = next;
    if (!more && g.gtk_text_iter_equal(&next, &line)) g.gtk_text_buffer_get_end_iter(buffer, &end);
    gchar* piece = g.gtk_text_buffer_get_text(buffer, &line, &end, FALSE);
    WString text = FromUtf8(piece);
    g.g_free(piece);
    const bool endsParagraph = !text.empty() && text.back() == u'\n';
    if (endsParagraph) text.pop_back();  // the line end is no character of the line
    lines.push_back(std::move(text));
    if (more) {
      line = next;
      continue;
    }
    // A text ending with a line end shows an empty last line after it.
    if (endsParagraph) lines.emplace_back();
    break;
  }
  return lines;
}

std::size_t CaretCharacters(const GtkFunctions& g, GtkTextView* view) {
  GtkTextBuffer* buffer = g.gtk_text_view_get_buffer(view);
  GtkTextIter start, end;
  g.gtk_text_buffer_get_selection_bounds(buffer, &start, &end);
  const gint offset = g.gtk_text_iter_get_offset(&start);
  return offset > 0 ? static_cast<std::size_t>(offset) : 0;
}

void PlaceCaret(const GtkFunctions& g, GtkTextView* view, std::size_t characters) {
  GtkTextBuffer* buffer = g.gtk_text_view_get_buffer(view);
  GtkTextIter caret;
  g.gtk_text_buffer_get_iter_at_offset(buffer, &caret, static_cast<gint>(std::min<std::size_t>(characters, G_MAXINT)));
  g.gtk_text_buffer_place_cursor(buffer, &caret);
  g.gtk_text_view_scroll_to_mark(view, g.gtk_text_buffer_get_insert(buffer), 0.0, FALSE, 0.0, 0.0);
  g.gtk_widget_grab_focus(As<GtkWidget>(view));
}

}  // namespace qarvex::platform::gtk_ui
