// The tool started with CreateProcessW, its arguments quoted as the C
// runtime's parser reads them back and its streams in files, so that the
// same UTF-8 arguments and bytes reach and leave it as on Linux.
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include "cli/tool_process.h"

namespace qarvex::clitest {
namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), size);
  return out;
}

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, out.data(), size, nullptr, nullptr);
  return out;
}

// One argument as CommandLineToArgvW and the C runtime split it back:
// quoted, with backslashes doubled only before a quote.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

HANDLE Open(const std::wstring& path, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return ::CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inherit, write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::map<std::string, std::string> CurrentEnvironment() {
  std::map<std::string, std::string> env;
  wchar_t* block = ::GetEnvironmentStringsW();
  for (const wchar_t* entry = block; *entry; entry += ::wcslen(entry) + 1) {
    const std::string text = Utf8(entry);
    const auto eq = text.find('=', 1);  // "=C:=C:\..." entries start with '='
    if (eq != std::string::npos) env[text.substr(0, eq)] = text.substr(eq + 1);
  }
  ::FreeEnvironmentStringsW(block);
  return env;
}

// --data is refused on Windows: every run keeps its data in the common
// application-data folder, which the suite's prefix under wine starts
// empty (scripts/wine-run.sh) and the fixture empties before each test.
std::vector<std::string> DataOptions(const std::filesystem::path&) { return {}; }

std::filesystem::path DataRoot(const std::filesystem::path&) {
  wchar_t shell[MAX_PATH + 1] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, shell, CSIDL_COMMON_APPDATA, FALSE)) {
    ADD_FAILURE() << "the shell names no common application-data folder";
    return {};
  }
  return std::filesystem::path(shell);
}

int RunProcess(const ProcessRequest& request) {
  if (!request.terminal.empty()) {
    ADD_FAILURE() << "no pseudo-terminals on Windows";
    return -1;
  }
  std::wstring commandLine;
  for (const auto& argument : request.argv) commandLine += (commandLine.empty() ? L"" : L" ") + Quoted(Wide(argument));
  std::wstring environment;
  for (const auto& [name, value] : request.environment) environment += Wide(name + "=" + value) + L'\0';
  environment += L'\0';

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = Open(L"NUL", false);
  startup.hStdOutput = Open(request.out.wstring(), true);
  startup.hStdError = Open(request.err.wstring(), true);
  PROCESS_INFORMATION process{};
  const BOOL started = ::CreateProcessW(Wide(request.argv[0]).c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                       CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW, environment.data(), nullptr,
                                       &startup, &process);
  const DWORD startError = ::GetLastError();
  for (HANDLE h : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  if (!started) {
    ADD_FAILURE() << "cannot start " << request.argv[0] << ": error " << startError;
    return -1;
  }
  if (request.whileRunning) request.whileRunning();
  int status = -1;
  if (::WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.hProcess, 255);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ADD_FAILURE() << "qarvex-termemu did not finish within 60 s";
  } else {
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    status = static_cast<int>(code);
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return status;
}

}  // namespace qarvex::clitest
