#include "platform/windows/ui/print_job.h"

#include <windows.h>
// after windows.h
#include <commdlg.h>

#include <string>

#include "common/error.h"
#include "platform/windows/ui/modal_window.h"
#include "platform/windows/win_system.h"

namespace qarvex::platform::windows_ui {
namespace {

constexpr int kPointSize = 12;

std::string Ansi(WStringView text) {
  if (text.empty()) return std::string();
  const std::wstring wide = windows_impl::Wide(text);
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size, nullptr,
                          nullptr);
  return bytes;
}

[[noreturn]] void PrintingFailed() { windows_impl::ThrowSystemError("Printing failed", ::GetLastError()); }

class GdiPrintJob final : public IPrintJob {
 public:
  // Takes over the printer's device context.
  explicit GdiPrintJob(HDC printer) : dc_(printer) {
    font_ = CreateCourierNew(::MulDiv(kPointSize, ::GetDeviceCaps(dc_, LOGPIXELSY), 72));
    if (font_ != nullptr) previousFont_ = static_cast<HFONT>(::SelectObject(dc_, font_));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc_, &metrics);
    fontHeight_ = metrics.tmHeight;
    averageCharWidth_ = metrics.tmAveCharWidth;
  }
  void Start(WStringView documentName) {
    const std::wstring name = windows_impl::Wide(documentName);
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = name.c_str();
    if (::StartDocW(dc_, &doc) <= 0) PrintingFailed();
    started_ = true;
    if (::StartPage(dc_) <= 0) PrintingFailed();
  }
  ~GdiPrintJob() override {
    if (started_) ::AbortDoc(dc_);
    if (previousFont_ != nullptr) ::SelectObject(dc_, previousFont_);
    if (font_ != nullptr) ::DeleteObject(font_);
    ::DeleteDC(dc_);
  }
  GdiPrintJob(const GdiPrintJob&) = delete;
  GdiPrintJob& operator=(const GdiPrintJob&) = delete;

  int PageWidth() const override { return ::GetDeviceCaps(dc_, HORZRES); }
  int PageHeight() const override { return ::GetDeviceCaps(dc_, VERTRES); }
  int FontHeight() const override { return fontHeight_; }
  int AverageCharWidth() const override { return averageCharWidth_; }

  TextExtent Measure(WStringView text) override {
    const std::string bytes = Ansi(text);
    SIZE size{};
    if (!::GetTextExtentPoint32A(dc_, bytes.data(), static_cast<int>(bytes.size()), &size)) PrintingFailed();
    return TextExtent{size.cx, size.cy};
  }
  void Draw(int x, int y, WStringView text) override {
    const std::string bytes = Ansi(text);
    if (!::TextOutA(dc_, x, y, bytes.data(), static_cast<int>(bytes.size()))) PrintingFailed();
  }
  void NewPage() override {
    if (::EndPage(dc_) <= 0 || ::StartPage(dc_) <= 0) PrintingFailed();
  }
  void Finish() override {
    if (::EndPage(dc_) <= 0) PrintingFailed();
    if (::EndDoc(dc_) <= 0) PrintingFailed();
    started_ = false;
  }

 private:
  HDC dc_;
  HFONT font_ = nullptr;
  HFONT previousFont_ = nullptr;
  int fontHeight_ = 0;
  int averageCharWidth_ = 0;
  bool started_ = false;
};

}  // namespace

std::unique_ptr<IPrintJob> ChoosePrinterAndStartJob(HWND parent, WStringView documentName) {
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = parent;
  dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
  const BOOL chosen = ::PrintDlgW(&dialog);
  if (dialog.hDevMode != nullptr) ::GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames != nullptr) ::GlobalFree(dialog.hDevNames);
  if (!chosen) {
    const DWORD error = ::CommDlgExtendedError();
    if (error == 0) return nullptr;  // cancelled
    if (dialog.hDC != nullptr) ::DeleteDC(dialog.hDC);
    throw Failure("The print dialog failed (error " + std::to_string(error) + ")");
  }
  if (dialog.hDC == nullptr) throw Failure("The chosen printer cannot be opened");
  auto job = std::make_unique<GdiPrintJob>(dialog.hDC);
  job->Start(documentName);
  return job;
}

}  // namespace qarvex::platform::windows_ui
