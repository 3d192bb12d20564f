// On Windows the component keeps its data in the common application-data
// folder, which it asks the shell for (CSIDL_COMMON_APPDATA). The shell
// takes that folder from the machine's registry, not from the process's
// environment (setting ProgramData or ALLUSERSPROFILE changes nothing), so
// a program cannot point it elsewhere for itself alone: --data is refused
// with the folder that is used, rather than moving the machine's folder
// for every program on it.
//
// Arguments come from the wide command line and standard streams are
// binary, so text, JSON and paths are the same UTF-8 as on Linux; a console
// is written to in UTF-16, which it shows whatever its code page.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <shlobj.h>

#include "tools/qarvex-termemu/failures.h"
#include "tools/qarvex-termemu/program_platform.h"

namespace qarvex::cli {
namespace {

std::string Utf8(const wchar_t* text, int length) {
  if (length == 0) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length = static_cast<int>(utf8.size());
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, out.data(), size);
  return out;
}

// The console behind `stream`, or nothing when it goes to a pipe or a file.
HANDLE ConsoleOf(std::FILE* stream) {
  const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode) ? handle : nullptr;
}

}  // namespace

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!wide) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> arguments;
  for (int k = 1; k < count; ++k) arguments.push_back(Utf8(wide[k], static_cast<int>(::wcslen(wide[k]))));
  ::LocalFree(wide);
  return arguments;
}

void PrepareStandardStreams() {
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
  // For what the console's own code page would otherwise garble: the
  // answers typed at a question.
  ::SetConsoleCP(CP_UTF8);
}

void WriteText(std::FILE* stream, std::string_view utf8) {
  if (HANDLE console = ConsoleOf(stream)) {
    std::fflush(stream);
    const std::wstring text = Wide(utf8);
    DWORD written = 0;
    ::WriteConsoleW(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

std::filesystem::path ProgramFolder() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return std::filesystem::path(buffer).parent_path();
    }
    buffer.resize(buffer.size() * 2);
  }
}

// The downloads name the DLL by its processor, as the add-in package does.
#if defined(_WIN64)
#define QARVEX_LIBRARY_NAME "qarvex_termemu_windows_x86_64.dll"
#else
#define QARVEX_LIBRARY_NAME "qarvex_termemu_windows_i386.dll"
#endif

std::vector<std::string> ComponentFileNames() { return {QARVEX_LIBRARY_NAME, "qarvex_termemu.dll"}; }

void PointDataFoldersAt(const std::string& folder) {
  wchar_t shell[MAX_PATH + 1] = {};
  const std::string used = ::SHGetSpecialFolderPathW(nullptr, shell, CSIDL_COMMON_APPDATA, FALSE)
                               ? Utf8(shell, static_cast<int>(::wcslen(shell))) + "\\qarvex_termemu"
                               : std::string("the common application-data folder");
  throw UsageError("--data " + folder + ": not available on Windows, where the component keeps its data in " +
                   used + " only (to start afresh: settle, or delete that folder)");
}

bool StandardInputIsTerminal() { return ConsoleOf(stdin) != nullptr; }

extern const std::string_view kLibraryOptionHelp =
    "the component library to load (default:\n"
    QARVEX_LIBRARY_NAME " or qarvex_termemu.dll\n"
    "beside this program)";
extern const std::string_view kDataOptionHelp =
    "not on Windows: the component keeps the journal and\n"
    "the log in the common application-data folder only,\n"
    "C:\\ProgramData\\qarvex_termemu (to start afresh:\n"
    "settle, or delete that folder)";
extern const std::string_view kExampleDataOption = "";

}  // namespace qarvex::cli
