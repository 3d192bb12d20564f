// The log viewer window: the file list and folder button in a band along
// the top, the followed file's text below, a one-second timer.
#include "platform/linux/gtk/modal_window.h"
#include "platform/linux/gtk/text_box.h"
#include "platform/linux/gtk/text_view_text.h"
#include "platform/linux/gtk/windows.h"

namespace qarvex::platform::gtk_ui {
namespace {

// Sizes at 120 pixels per inch.
constexpr int kBandHeight = 32;
constexpr int kBarLeft = 11, kBarTop = 2;
constexpr int kListWidth = 257, kListHeight = 24;
constexpr int kButtonWidth = 23, kButtonHeight = 24;
constexpr unsigned kTimerInterval = 1000;

class LogWindow final : public ModalWindow, public ILogView {
 public:
  explicit LogWindow(ILogForm& form) : form_(form) {}

  void Run() {
    WindowDesign design;
    design.name = "frmLog";
    design.designDpi = 120;
    design.clientWidth = 633;
    design.clientHeight = 293;
    design.sizeable = true;
    design.fontHeight = 13;
    design.icon = &pictures::kSheetOfPaper;
    RunModal(form_.Caption(), design);
  }

  // --- ILogView
  void ShowError(WStringView message) override { ShowErrorBox(message); }
  void SetFileNames(const std::vector<WString>& names) override {
    Quietly([&] {
      g().gtk_combo_box_text_remove_all(List());
      for (const WString& name : names) g().gtk_combo_box_text_append_text(List(), ToUtf8(name).c_str());
      g().gtk_combo_box_set_active(As<GtkComboBox>(files_), -1);
    });
  }
  void SelectFile(std::size_t index) override {
    Quietly([&] { g().gtk_combo_box_set_active(As<GtkComboBox>(files_), static_cast<gint>(index)); });
  }
  std::size_t FileCount() override {
    const gint count = g().gtk_tree_model_iter_n_children(g().gtk_combo_box_get_model(As<GtkComboBox>(files_)), nullptr);
    return count > 0 ? static_cast<std::size_t>(count) : 0;
  }
  WString ShownFileName() override {
    gchar* text = g().gtk_combo_box_text_get_active_text(List());
    if (text == nullptr) return WString();
    WString name = FromUtf8(text);
    g().g_free(text);
    return name;
  }
  void SetLogText(WStringView text) override {
    shownText_.assign(text);
    SetTextBoxText(g(), log_.view, text);
  }
  std::size_t CaretOffset() override { return FormOffsetOf(shownText_, CaretCharacters(g(), log_.view)); }
  void RestoreCaret(std::size_t offset) override { PlaceCaret(g(), log_.view, TextViewOffsetOf(shownText_, offset)); }
  void ExploreFolder(WStringView folder) override {
    // The desktop's file browser; not waited for (GLib reaps it).
    std::string path = ToUtf8(folder);
    char program[] = "xdg-open";
    char* argv[] = {program, path.data(), nullptr};
    g().g_spawn_async(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, nullptr);
  }

 private:
  GtkComboBoxText* List() const { return As<GtkComboBoxText>(files_); }

  GtkWidget* CreateContent() override {
    GtkWidget* client = g().gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    GtkWidget* band = Named(g().gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0), "ctrlbrControl");
    g().gtk_widget_set_size_request(band, -1, Scale(kBandHeight));
    GtkWidget* bar = Named(g().gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0), "tlb1");
    g().gtk_widget_set_margin_start(bar, Scale(kBarLeft));
    g().gtk_widget_set_margin_top(bar, Scale(kBarTop));
    g().gtk_widget_set_valign(bar, GTK_ALIGN_START);

    files_ = Named(g().gtk_combo_box_text_new(), "cbbLogFiles");
    SizeOf(files_, kListWidth, kListHeight);
    g().gtk_box_pack_start(As<GtkBox>(bar), files_, FALSE, FALSE, 0);
    Connect(files_, "notify::popup-shown", &OnPopupShown, this);
    Connect(files_, "changed", &OnChanged, this);

    GtkWidget* open = Named(g().gtk_button_new(), "btnOpenDir");
    GdkPixbuf* picture = Picture(pictures::kFolderWithArrow);
    g().gtk_button_set_image(As<GtkButton>(open), g().gtk_image_new_from_pixbuf(picture));
    g().g_object_unref(picture);
    g().gtk_button_set_always_show_image(As<GtkButton>(open), TRUE);
    g().gtk_button_set_relief(As<GtkButton>(open), GTK_RELIEF_NONE);  // flat
    SizeOf(open, kButtonWidth, kButtonHeight);
    g().gtk_box_pack_start(As<GtkBox>(bar), open, FALSE, FALSE, 0);
    Connect(open, "clicked", &OnOpenClicked, this);

    g().gtk_box_pack_start(As<GtkBox>(band), bar, FALSE, FALSE, 0);
    g().gtk_box_pack_start(As<GtkBox>(client), band, FALSE, FALSE, 0);

    log_ = NewReadOnlyTextBox(g(), "mmoLog");
    g().gtk_box_pack_start(As<GtkBox>(client), log_.scroller, TRUE, TRUE, 0);
    return client;
  }

  void AfterCreate() override {
    RunHandler(*this, [&] { form_.FormCreate(*this); });
    StartTimer(kTimerInterval);
  }

  std::string ExtraStyle() const override {
    // The flat folder button is no taller or wider than its picture needs.
    return "#frmLog #btnOpenDir { padding: 0px; }\n";
  }

  void OnTimer() override { RunHandler(*this, [&] { form_.tmrCheckFileTimer(*this); }); }

  // Changes made in code raise no change event.
  template <class Change>
  void Quietly(Change&& change) {
    const bool was = quiet_;
    quiet_ = true;
    change();
    quiet_ = was;
  }

  static void OnPopupShown(GObject*, GParamSpec*, gpointer self) {
    auto* window = static_cast<LogWindow*>(self);
    gboolean shown = FALSE;
    window->g().g_object_get(window->files_, "popup-shown", &shown, nullptr);
    if (shown) window->RunHandler(*window, [&] { window->form_.cbbLogFilesDropDown(*window); });
  }
  static void OnChanged(GtkComboBox*, gpointer self) {
    auto* window = static_cast<LogWindow*>(self);
    if (window->quiet_) return;
    window->RunHandler(*window, [&] { window->form_.cbbLogFilesChange(*window); });
  }
  static void OnOpenClicked(GtkButton*, gpointer self) {
    auto* window = static_cast<LogWindow*>(self);
    window->RunHandler(*window, [&] { window->form_.btnOpenDirClick(*window); });
  }

  ILogForm& form_;
  GtkWidget* files_ = nullptr;
  TextBox log_;
  WString shownText_;  // the text box's content as the form gave it
  bool quiet_ = false;
};

}  // namespace

void ShowLogWindow(ILogForm& form) {
  LogWindow window(form);
  window.Run();
}

}  // namespace qarvex::platform::gtk_ui
