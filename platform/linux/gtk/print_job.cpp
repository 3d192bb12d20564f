#include "platform/linux/gtk/print_job.h"

#include <vector>

#include "common/error.h"

namespace qarvex::platform::gtk_ui {
namespace {

constexpr char kFont[] = "Courier New, Liberation Mono, monospace 12";
constexpr guint kAbandonWaitMs = 5000;


class PrintOperationJob final : public IPrintJob {
 public:
  explicit PrintOperationJob(const GtkFunctions& g) : g_(g) {}
  ~PrintOperationJob() override {
    if (begun_ && !done_) {
      // Abandoned: nothing is printed. GTK ends the operation from its loop.
      abandoned_ = true;
      g_.gtk_print_operation_cancel(operation_);
      pages_ = 1;
      WaitUntil(done_, kAbandonWaitMs);
    }
    if (measure_ != nullptr) g_.g_object_unref(measure_);
    if (font_ != nullptr) g_.pango_font_description_free(font_);
    if (operation_ != nullptr) {
      g_.g_signal_handlers_disconnect_matched(operation_, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, this);
      g_.g_object_unref(operation_);
    }
  }
  PrintOperationJob(const PrintOperationJob&) = delete;
  PrintOperationJob& operator=(const PrintOperationJob&) = delete;

  // True once the user chose a printer and its context is open.
  bool Start(GtkWindow* parent, WStringView documentName) {
    font_ = g_.pango_font_description_from_string(kFont);
    operation_ = g_.gtk_print_operation_new();
    g_.gtk_print_operation_set_allow_async(operation_, TRUE);
    g_.gtk_print_operation_set_use_full_page(operation_, FALSE);  // origin at the printable area's corner
    g_.gtk_print_operation_set_unit(operation_, GTK_UNIT_NONE);   // printer pixels
    const std::string name = ToUtf8(documentName);
    g_.gtk_print_operation_set_job_name(operation_, name.c_str());
    Connect(operation_, "begin-print", &OnBeginPrint, this);
    Connect(operation_, "paginate", &OnPaginate, this);
    Connect(operation_, "draw-page", &OnDrawPage, this);
    Connect(operation_, "done", &OnDone, this);

    GError* error = nullptr;
    insideRun_ = true;
    const GtkPrintOperationResult result = g_.gtk_print_operation_run(operation_, GTK_PRINT_OPERATION_ACTION_PRINT_DIALOG, parent, &error);
    insideRun_ = false;
    if (result == GTK_PRINT_OPERATION_RESULT_ERROR) ThrowPrintingFailed(error);
    if (error != nullptr) g_.g_error_free(error);
    if (synchronous_) throw Failure("Printing failed: the print operation did not run asynchronously");
    if (result == GTK_PRINT_OPERATION_RESULT_CANCEL && !begun_) return false;
    WaitUntilBegunOrDone();
    if (!begun_) {
      if (result_ == GTK_PRINT_OPERATION_RESULT_ERROR) ThrowOperationError();
      return false;  // cancelled in the dialog
    }
    return true;
  }

  int PageWidth() const override { return width_; }
  int PageHeight() const override { return height_; }
  int FontHeight() const override { return fontHeight_; }
  int AverageCharWidth() const override { return averageCharWidth_; }

  TextExtent Measure(WStringView text) override {
    const std::string utf8 = ToUtf8(text);
    g_.pango_layout_set_text(measure_, utf8.c_str(), static_cast<int>(utf8.size()));
    int width = 0, height = 0;
    g_.pango_layout_get_pixel_size(measure_, &width, &height);
    return TextExtent{width, height};
  }
  void Draw(int x, int y, WStringView text) override { pieces_.push_back(Piece{page_, x, y, ToUtf8(text)}); }
  void NewPage() override { ++page_; }
  void Finish() override {
    pages_ = page_ + 1;
    WaitUntil(done_, 0);
    if (result_ == GTK_PRINT_OPERATION_RESULT_ERROR) ThrowOperationError();
  }

 private:
  struct Piece {
    int page;
    int x, y;
    std::string text;
  };

  static void OnBeginPrint(GtkPrintOperation*, GtkPrintContext* context, gpointer self) {
    static_cast<PrintOperationJob*>(self)->BeginPrint(context);
  }
  void BeginPrint(GtkPrintContext* context) {
    if (insideRun_) synchronous_ = true;
    begun_ = true;
    width_ = static_cast<int>(g_.gtk_print_context_get_width(context));
    height_ = static_cast<int>(g_.gtk_print_context_get_height(context));
    measure_ = g_.gtk_print_context_create_pango_layout(context);
    g_.pango_layout_set_font_description(measure_, font_);
    PangoFontMetrics* metrics = g_.pango_context_get_metrics(g_.pango_layout_get_context(measure_), font_, nullptr);
    fontHeight_ = (g_.pango_font_metrics_get_ascent(metrics) + g_.pango_font_metrics_get_descent(metrics) +
                   PANGO_SCALE - 1) / PANGO_SCALE;
    averageCharWidth_ = (g_.pango_font_metrics_get_approximate_char_width(metrics) + PANGO_SCALE / 2) / PANGO_SCALE;
    g_.pango_font_metrics_unref(metrics);
    if (synchronous_) g_.gtk_print_operation_cancel(operation_);
  }

  // Asked again from GTK's loop until the form has finished the pages.
  static gboolean OnPaginate(GtkPrintOperation* operation, GtkPrintContext*, gpointer self) {
    auto* job = static_cast<PrintOperationJob*>(self);
    if (job->synchronous_) return TRUE;
    if (job->pages_ == 0) return FALSE;
    job->g_.gtk_print_operation_set_n_pages(operation, job->pages_);
    return TRUE;
  }

  static void OnDrawPage(GtkPrintOperation*, GtkPrintContext* context, gint page, gpointer self) {
    static_cast<PrintOperationJob*>(self)->DrawPage(context, page);
  }
  void DrawPage(GtkPrintContext* context, int page) {
    if (abandoned_) return;
    cairo_t* cr = g_.gtk_print_context_get_cairo_context(context);
    PangoLayout* layout = g_.gtk_print_context_create_pango_layout(context);
    g_.pango_layout_set_font_description(layout, font_);
    g_.cairo_set_source_rgb(cr, 0, 0, 0);
    for (const Piece& piece : pieces_) {
      if (piece.page != page) continue;
      g_.pango_layout_set_text(layout, piece.text.c_str(), static_cast<int>(piece.text.size()));
      g_.cairo_move_to(cr, piece.x, piece.y);
      g_.pango_cairo_show_layout(cr, layout);
    }
    g_.g_object_unref(layout);
  }

  static void OnDone(GtkPrintOperation*, GtkPrintOperationResult result, gpointer self) {
    auto* job = static_cast<PrintOperationJob*>(self);
    job->result_ = result;
    job->done_ = true;
  }

  static gboolean OnWaitOver(gpointer flag) {
    *static_cast<bool*>(flag) = true;
    return G_SOURCE_REMOVE;
  }
  // Runs GTK's loop until `flag` is set or, with a limit, the time is up.
  void WaitUntil(const bool& flag, guint limitMs) {
    bool timeUp = false;
    const guint timer = limitMs > 0 ? g_.g_timeout_add_full(G_PRIORITY_DEFAULT, limitMs, &OnWaitOver, &timeUp, nullptr) : 0;
    while (!flag && !timeUp) g_.g_main_context_iteration(nullptr, TRUE);
    if (timer != 0 && !timeUp) g_.g_source_remove(timer);
  }
  void WaitUntilBegunOrDone() {
    while (!begun_ && !done_) g_.g_main_context_iteration(nullptr, TRUE);
  }

  [[noreturn]] void ThrowPrintingFailed(GError* error) {
    std::string message = "Printing failed";
    if (error != nullptr) {
      message += std::string(": ") + error->message;
      g_.g_error_free(error);
    }
    throw Failure(message);
  }
  [[noreturn]] void ThrowOperationError() {
    GError* error = nullptr;
    g_.gtk_print_operation_get_error(operation_, &error);
    // The operation keeps its error; a copy is not needed for the message.
    throw Failure(std::string("Printing failed") + (error != nullptr ? std::string(": ") + error->message : ""));
  }

  const GtkFunctions& g_;
  GtkPrintOperation* operation_ = nullptr;
  PangoFontDescription* font_ = nullptr;
  PangoLayout* measure_ = nullptr;  // in the printer's context
  int width_ = 0, height_ = 0, fontHeight_ = 0, averageCharWidth_ = 0;
  std::vector<Piece> pieces_;
  int page_ = 0;   // page the form draws on
  int pages_ = 0;  // set when the form has finished: GTK may print
  bool insideRun_ = false, synchronous_ = false;
  bool begun_ = false, done_ = false;
  bool abandoned_ = false;  // destroyed before Finish: no page may be drawn
  GtkPrintOperationResult result_ = GTK_PRINT_OPERATION_RESULT_CANCEL;
};

}  // namespace

std::unique_ptr<IPrintJob> ChoosePrinterAndStartJob(const GtkFunctions& g, GtkWindow* parent,
                                                    WStringView documentName) {
  auto job = std::make_unique<PrintOperationJob>(g);
  if (!job->Start(parent, documentName)) return nullptr;
  return job;
}

}  // namespace qarvex::platform::gtk_ui
