// The text window: a read-only text box (Courier New) over a bottom strip
// holding the print button, which stays at the strip's right edge.
#include <cstdio>

#include "platform/linux/gtk/modal_window.h"
#include "platform/linux/gtk/print_job.h"
#include "platform/linux/gtk/text_box.h"
#include "platform/linux/gtk/windows.h"

namespace qarvex::platform::gtk_ui {
namespace {

// Sizes at 96 pixels per inch.
constexpr int kClientWidth = 408, kClientHeight = 308;
constexpr int kPanelHeight = 52;
constexpr int kButtonLeft = 288, kButtonTop = 8, kButtonWidth = 107, kButtonHeight = 33;
constexpr int kTextHeight = 11;

class TextBoxWindow final : public ModalWindow, public ITextBoxView {
 public:
  explicit TextBoxWindow(ITextBoxForm& form) : form_(form) {}

  void Run() {
    WindowDesign design;
    design.name = "frmTextBox";
    design.designDpi = 96;
    design.clientWidth = kClientWidth;
    design.clientHeight = kClientHeight;
    design.sizeable = true;
    design.fontHeight = 11;
    design.icon = &pictures::kPrinter;
    RunModal(form_.Caption(), design);
  }

  void ShowError(WStringView message) override { ShowErrorBox(message); }
  std::vector<WString> DisplayedLines() override { return gtk_ui::DisplayedLines(g(), text_.view); }
  std::unique_ptr<IPrintJob> ChoosePrinterAndStartJob() override {
    return gtk_ui::ChoosePrinterAndStartJob(g(), As<GtkWindow>(Window()), form_.Caption());
  }

 private:
  GtkWidget* CreateContent() override {
    GtkWidget* client = g().gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    text_ = NewReadOnlyTextBox(g(), "mmoData");
    SetTextBoxText(g(), text_.view, form_.Text());
    g().gtk_widget_set_vexpand(text_.scroller, TRUE);
    g().gtk_box_pack_start(As<GtkBox>(client), text_.scroller, TRUE, TRUE, 0);

    GtkWidget* panel = Named(g().gtk_box_new(GTK_ORIENTATION_VERTICAL, 0), "pnlBottom");
    g().gtk_widget_set_size_request(panel, -1, Scale(kPanelHeight));
    g().gtk_box_pack_start(As<GtkBox>(panel), g().gtk_separator_new(GTK_ORIENTATION_HORIZONTAL), FALSE, FALSE, 0);
    GtkWidget* strip = g().gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    GtkWidget* print = Named(g().gtk_button_new_with_label(ToUtf8(form_.PrintButtonCaption()).c_str()), "btnPrint");
    GdkPixbuf* picture = Picture(pictures::kPrinter);
    g().gtk_button_set_image(As<GtkButton>(print), g().gtk_image_new_from_pixbuf(picture));
    g().g_object_unref(picture);
    g().gtk_button_set_always_show_image(As<GtkButton>(print), TRUE);
    SizeOf(print, kButtonWidth, kButtonHeight);
    // Anchored to the top and right: the distance to the right edge stays.
    g().gtk_widget_set_margin_top(print, Scale(kButtonTop) - 1);  // the line above takes one pixel
    g().gtk_widget_set_margin_end(print, Scale(kClientWidth - kButtonLeft - kButtonWidth));
    g().gtk_widget_set_valign(print, GTK_ALIGN_START);
    g().gtk_box_pack_end(As<GtkBox>(strip), print, FALSE, FALSE, 0);
    g().gtk_box_pack_start(As<GtkBox>(panel), strip, TRUE, TRUE, 0);
    g().gtk_box_pack_start(As<GtkBox>(client), panel, FALSE, FALSE, 0);
    Connect(print, "clicked", &OnPrintClicked, this);

    g().gtk_widget_set_can_default(print, TRUE);
    g().gtk_window_set_default(As<GtkWindow>(Window()), print);
    return client;
  }

  void AfterCreate() override { g().gtk_widget_grab_focus(As<GtkWidget>(text_.view)); }

  std::string ExtraStyle() const override {
    char size[32];
    std::snprintf(size, sizeof size, "%dpx", Scale(kTextHeight));
    return std::string("#frmTextBox #mmoData { font-family: \"Courier New\", \"Liberation Mono\", monospace; "
                       "font-size: ") + size + "; }\n";
  }

  static void OnPrintClicked(GtkButton*, gpointer self) {
    auto* window = static_cast<TextBoxWindow*>(self);
    window->RunHandler(*window, [&] { window->form_.btnPrintClick(*window); });
  }

  ITextBoxForm& form_;
  TextBox text_;
};

}  // namespace

void ShowTextBoxWindow(ITextBoxForm& form) {
  TextBoxWindow window(form);
  window.Run();
}

}  // namespace qarvex::platform::gtk_ui
