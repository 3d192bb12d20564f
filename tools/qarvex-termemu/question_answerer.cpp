#include "tools/qarvex-termemu/question_answerer.h"

#include <optional>

#include "common/text.h"
#include "tools/qarvex-termemu/program_platform.h"

namespace qarvex::cli {

using nativehost::MsgBoxAnswer;

namespace {

// The answer a person typed: y/yes/д/да, n/no/н/нет in either letter case.
// Unknown words give nothing, and the question is put again.
std::optional<MsgBoxAnswer> ReadAnswer(std::u16string_view line) {
  std::u16string word(TrimBlanksAndControls(line));
  for (char16_t& c : word) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c >= u'А' && c <= u'Я') c = static_cast<char16_t>(c - u'А' + u'а');
  }
  if (word == u"y" || word == u"yes" || word == u"д" || word == u"да") return MsgBoxAnswer::Yes;
  if (word == u"n" || word == u"no" || word == u"н" || word == u"нет") return MsgBoxAnswer::No;
  return std::nullopt;
}

// The question's lines (CR LF in the component) as the terminal shows them.
std::string Indented(std::u16string_view question) {
  std::string text = "  ";
  for (char c : ToUtf8(question)) {
    if (c == '\r') continue;
    text += c;
    if (c == '\n') text += "  ";
  }
  return text + "\n";
}

}  // namespace

QuestionAnswerer::QuestionAnswerer(Mode mode, std::FILE* in, std::FILE* prompt)
    : mode_(mode), in_(in), prompt_(prompt) {}

QuestionAnswerer::Mode QuestionAnswerer::ModeFor(AnswerMode answer, bool inputIsTerminal) {
  switch (answer) {
    case AnswerMode::Approve: return Mode::Approve;
    case AnswerMode::Decline: return Mode::Decline;
    case AnswerMode::Unset: break;
  }
  return inputIsTerminal ? Mode::AskOnTerminal : Mode::CannotShow;
}

MsgBoxAnswer QuestionAnswerer::Answer(std::u16string_view question) {
  MsgBoxAnswer answer = MsgBoxAnswer::CannotShow;
  switch (mode_) {
    case Mode::Approve: answer = MsgBoxAnswer::Yes; break;
    case Mode::Decline: answer = MsgBoxAnswer::No; break;
    case Mode::AskOnTerminal: answer = AskOnTerminal(question); break;
    case Mode::CannotShow: break;
  }
  asked_.push_back({std::u16string(question), answer});
  return answer;
}

// End of input (Ctrl-D) leaves the question unanswered: the host could not
// get an answer, which the component treats as a question not shown.
MsgBoxAnswer QuestionAnswerer::AskOnTerminal(std::u16string_view question) {
  WriteText(prompt_, "The terminal asks the cashier:\n" + Indented(question));
  for (;;) {
    WriteText(prompt_, "Approve? [y/n] ");
    std::fflush(prompt_);
    std::string line;
    int c = 0;
    while ((c = std::fgetc(in_)) != EOF && c != '\n') line += static_cast<char>(c);
    if (c == EOF && line.empty()) {
      WriteText(prompt_, "\n(no answer)\n");
      return MsgBoxAnswer::CannotShow;
    }
    if (auto answer = ReadAnswer(FromUtf8(line))) return *answer;
    WriteText(prompt_, "Please answer y (yes, approve) or n (no, decline).\n");
  }
}

std::string_view AnswerName(MsgBoxAnswer answer) {
  switch (answer) {
    case MsgBoxAnswer::Yes: return "yes";
    case MsgBoxAnswer::No: return "no";
    case MsgBoxAnswer::CannotShow: break;
  }
  return "not shown";
}

}  // namespace qarvex::cli
