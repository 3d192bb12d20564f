// Answers the component's question to the cashier ("ОПЛАТА: 1500 руб. /
// Одобрить операцию?") the way the run was told to: yes or no without
// asking (--approve, --decline), by asking the person at the terminal, or,
// when there is no terminal to ask on, as a host that cannot show the
// question, so the component fails the operation with its own message.
//
// Threading: called on the host's thread, inside the component's call.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "tools/host/replacement_host.h"
#include "tools/qarvex-termemu/command_line.h"

namespace qarvex::cli {

class QuestionAnswerer {
 public:
  enum class Mode { Approve, Decline, AskOnTerminal, CannotShow };

  // `in` and `prompt` are the terminal's input and the stream the question
  // is shown on; both are borrowed and used in AskOnTerminal mode only.
  QuestionAnswerer(Mode mode, std::FILE* in, std::FILE* prompt);

  // The mode a run's options and its standard input give: the answer the
  // options name; else asking, when standard input is a terminal; else none.
  static Mode ModeFor(AnswerMode answer, bool inputIsTerminal);

  nativehost::MsgBoxAnswer Answer(std::u16string_view question);

  struct Asked {
    std::u16string question;
    nativehost::MsgBoxAnswer answer;
  };
  const std::vector<Asked>& Questions() const { return asked_; }
  Mode mode() const { return mode_; }

 private:
  nativehost::MsgBoxAnswer AskOnTerminal(std::u16string_view question);

  Mode mode_;
  std::FILE* in_;
  std::FILE* prompt_;
  std::vector<Asked> asked_;
};

// "yes", "no" or "not shown", as reports name an answer.
std::string_view AnswerName(nativehost::MsgBoxAnswer answer);

}  // namespace qarvex::cli
