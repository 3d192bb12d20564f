// On Linux the component takes its data folder from the first entry of
// XDG_DATA_DIRS (XDG_DATA_HOME when that one cannot be used). Arguments and
// streams are already UTF-8 bytes.
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "tools/qarvex-termemu/failures.h"
#include "tools/qarvex-termemu/program_platform.h"

namespace qarvex::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void PrepareStandardStreams() {}

void WriteText(std::FILE* stream, std::string_view utf8) { std::fwrite(utf8.data(), 1, utf8.size(), stream); }

std::filesystem::path ProgramFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : self.parent_path();
}

// The downloads name the library by its machine, as the add-in package does.
#if defined(__x86_64__)
#define QARVEX_LIBRARY_NAME "qarvex_termemu_linux_x86_64.so"
#elif defined(__i386__)
#define QARVEX_LIBRARY_NAME "qarvex_termemu_linux_i386.so"
#elif defined(__aarch64__)
#define QARVEX_LIBRARY_NAME "qarvex_termemu_linux_arm64.so"
#else
#define QARVEX_LIBRARY_NAME "qarvex_termemu.so"
#endif

std::vector<std::string> ComponentFileNames() {
  return {QARVEX_LIBRARY_NAME, "qarvex_termemu.so"};
}

void PointDataFoldersAt(const std::string& folder) {
  // XDG_DATA_DIRS is a ':'-separated list: such a folder cannot be named in it.
  if (folder.find(':') != std::string::npos)
    throw UsageError("--data " + folder + ": the folder's path must not contain ':'");
  ::setenv("XDG_DATA_DIRS", folder.c_str(), 1);
  ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
}

bool StandardInputIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

extern const std::string_view kLibraryOptionHelp =
    "the component library to load (default:\n"
    QARVEX_LIBRARY_NAME " or qarvex_termemu.so\n"
    "beside this program)";
extern const std::string_view kDataOptionHelp =
    "keep the journal and the log in DIR/qarvex_termemu\n"
    "(created when missing) instead of the component's\n"
    "own data folder: the first entry of XDG_DATA_DIRS,\n"
    "by default /usr/local/share/qarvex_termemu";
extern const std::string_view kExampleDataOption = "--data /tmp/till ";

}  // namespace qarvex::cli
