// Runs a shell command the way a user's shell would, for tests that drive
// command-line tools (unzip, objdump, pdftotext, a probe program).
#pragma once

#include <stdio.h>
#include <sys/wait.h>

#include <string>

namespace qarvex::testing {

// The command's standard output; its exit status in `status` (-1 when it
// could not be started or did not exit normally).
inline std::string RunCommand(const std::string& command, int* status = nullptr) {
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) {
    if (status) *status = -1;
    return output;
  }
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  const int raw = ::pclose(pipe);
  if (status) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return output;
}

// `text` in single quotes, every ' in it made safe.
inline std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace qarvex::testing
