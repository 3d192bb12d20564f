// The additional-operations window: receipt copy and report buttons and the
// receipt number box, at the design's fixed positions.
#include "platform/linux/gtk/modal_window.h"
#include "platform/linux/gtk/windows.h"

namespace qarvex::platform::gtk_ui {
namespace {

class AdditionalActionsWindow final : public ModalWindow, public IAdditionalActionsView {
 public:
  explicit AdditionalActionsWindow(IAdditionalActionsForm& form) : form_(form) {}

  void Run() {
    WindowDesign design;
    design.name = "frmAdditionalActions";
    design.designDpi = 120;
    design.clientWidth = 338;
    design.clientHeight = 115;
    design.sizeable = false;
    design.fontHeight = 13;
    RunModal(form_.Caption(), design);
  }

  void ShowError(WStringView message) override { ShowErrorBox(message); }
  WString ReceiptNumberText() override { return FromUtf8(g().gtk_entry_get_text(As<GtkEntry>(number_))); }

 private:
  GtkWidget* CreateContent() override {
    GtkWidget* client = g().gtk_fixed_new();
    copy_ = Button(client, "btnRecCopy", form_.RecCopyButtonCaption(), 31, 22, 228, 25, &OnCopyClicked);
    report_ = Button(client, "btnReport", form_.ReportButtonCaption(), 31, 61, 276, 25, &OnReportClicked);
    number_ = Named(g().gtk_entry_new(), "edtRecNum");
    g().gtk_entry_set_width_chars(As<GtkEntry>(number_), 1);  // the design's width, not the theme's
    g().gtk_entry_set_text(As<GtkEntry>(number_), ToUtf8(form_.InitialReceiptNumber()).c_str());
    Place(client, number_, 265, 22, 42, 25);
    // Tab order: copy button, report button, number box.
    GList* chain = nullptr;
    for (GtkWidget* control : {number_, report_, copy_}) chain = g().g_list_prepend(chain, control);
    g().gtk_container_set_focus_chain(As<GtkContainer>(client), chain);
    g().g_list_free(chain);
    return client;
  }

  void AfterCreate() override { g().gtk_widget_grab_focus(copy_); }

  template <class Clicked>
  GtkWidget* Button(GtkWidget* client, const char* name, const WString& caption, int x, int y, int width, int height,
                    Clicked clicked) {
    GtkWidget* button = Named(g().gtk_button_new_with_label(ToUtf8(caption).c_str()), name);
    Place(client, button, x, y, width, height);
    Connect(button, "clicked", clicked, this);
    return button;
  }

  void Place(GtkWidget* client, GtkWidget* control, int x, int y, int width, int height) {
    SizeOf(control, width, height);
    g().gtk_fixed_put(As<GtkFixed>(client), control, Scale(x), Scale(y));
  }

  static void OnCopyClicked(GtkButton*, gpointer self) {
    auto* window = static_cast<AdditionalActionsWindow*>(self);
    window->RunHandler(*window, [&] { window->form_.btnRecCopyClick(*window); });
  }
  static void OnReportClicked(GtkButton*, gpointer self) {
    auto* window = static_cast<AdditionalActionsWindow*>(self);
    window->RunHandler(*window, [&] { window->form_.btnReportClick(*window); });
  }

  IAdditionalActionsForm& form_;
  GtkWidget* copy_ = nullptr;
  GtkWidget* report_ = nullptr;
  GtkWidget* number_ = nullptr;
};

}  // namespace

void ShowAdditionalActionsWindow(IAdditionalActionsForm& form) {
  AdditionalActionsWindow window(form);
  window.Run();
}

}  // namespace qarvex::platform::gtk_ui
