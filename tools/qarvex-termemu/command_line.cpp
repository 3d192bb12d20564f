#include "tools/qarvex-termemu/command_line.h"

#include <string_view>

#include "tools/qarvex-termemu/failures.h"
#include "tools/qarvex-termemu/typed_value.h"

namespace qarvex::cli {
namespace {

// "-5" and "-0.5" are amounts, not options.
bool LooksLikeOption(std::string_view argument) {
  return argument.size() >= 2 && argument[0] == '-' && !(argument[1] >= '0' && argument[1] <= '9') &&
         argument[1] != '.' && argument[1] != ',';
}

std::string CommandText(const Invocation& call) {
  return call.command ? "`" + std::string(call.command->name) + "`" : std::string("this command");
}

void ApplyOption(Invocation& call, const OptionInfo& option, const std::string& value) {
  switch (option.id) {
    case OptionId::Library:
      if (value.empty()) throw UsageError("--library needs a path");
      call.library = value;
      break;
    case OptionId::Data:
      if (value.empty()) throw UsageError("--data needs a folder");
      call.dataFolder = value;
      break;
    case OptionId::Json: call.json = true; break;
    case OptionId::Dialogs: call.dialogs = true; break;
    case OptionId::Approve:
    case OptionId::Decline: {
      const AnswerMode mode = option.id == OptionId::Approve ? AnswerMode::Approve : AnswerMode::Decline;
      if (call.answer != AnswerMode::Unset && call.answer != mode)
        throw UsageError("--approve and --decline cannot both be given");
      call.answer = mode;
      call.dialogs = true;
      break;
    }
    case OptionId::LineLength: call.lineLength = ParseInteger(value, "--line-length"); break;
    case OptionId::Currency: call.currency = value; break;
    case OptionId::Log: call.log = true; break;
    case OptionId::Device: call.device = value; break;
    case OptionId::Help: call.help = true; break;
    case OptionId::Card: call.card = value; break;
    case OptionId::Unmasked: call.unmasked = true; break;
    case OptionId::List: call.listMethods = true; break;
    case OptionId::NoConnect: call.connectFirst = false; break;
  }
}

// The positional arguments of the command, checked and stored.
void ApplyArguments(Invocation& call, const std::vector<std::string>& args) {
  const CommandInfo& command = *call.command;
  const int count = static_cast<int>(args.size());
  const bool listing = command.takes == Arguments::MethodAndValues && call.listMethods;
  if (!listing && count < command.minArguments)
    throw UsageError("`" + std::string(command.name) + "` needs " + std::string(command.arguments) +
                     (count == 0 ? "" : " (" + std::to_string(count) + " given)"));
  if (command.maxArguments >= 0 && count > command.maxArguments)
    throw UsageError("`" + std::string(command.name) + "` takes " +
                     (command.maxArguments == 0 ? std::string("no arguments") : std::string(command.arguments)) +
                     ", not \"" + args[command.maxArguments] + "\"");
  switch (command.takes) {
    case Arguments::Amount: call.amount = ParseAmount(args[0], "the amount"); break;
    case Arguments::ReceiptAndAmount:
      call.receiptNumber = ParseReceiptNumber(args[0]);
      call.amount = ParseAmount(args[1], "the amount");
      break;
    case Arguments::OptionalReceipt:
      if (count == 1) call.copyReceipt = ParseReceiptNumber(args[0]);
      break;
    case Arguments::NameAndValue:
      call.settingName = args[0];
      call.settingValue = args[1];
      // A typed value is checked now; a plain one once the setting's type is known.
      if (HasTypePrefix(call.settingValue)) ParseTypedValue(call.settingValue);
      break;
    case Arguments::MethodAndValues:
      if (listing) {
        if (count > 0) throw UsageError("`call --list` takes no method");
        break;
      }
      call.method = args[0];
      for (int i = 1; i < count; ++i) call.arguments.push_back(ParseTypedValue(args[i]));
      break;
    case Arguments::OptionalCommand:
      if (count == 1) {
        call.helpTopic = FindCommand(args[0]);
        if (!call.helpTopic) throw UsageError("there is no command \"" + args[0] + "\" (see qarvex-termemu --help)");
      }
      break;
    case Arguments::None: break;
  }
}

}  // namespace

Invocation ParseCommandLine(int argc, char** argv) {
  Invocation call;
  std::vector<std::string> args;
  std::vector<const OptionInfo*> given;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || !LooksLikeOption(argument)) {
      if (call.command == nullptr) {
        call.command = FindCommand(argument);
        if (!call.command) throw UsageError("there is no command \"" + argument + "\" (see qarvex-termemu --help)");
      } else {
        args.push_back(argument);
      }
      continue;
    }
    // --name=value or --name value.
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const OptionInfo* option = FindOption(name);
    if (!option) throw UsageError("there is no option " + name + " (see qarvex-termemu --help)");
    std::string value;
    if (!option->value.empty()) {
      if (equals != std::string::npos) {
        value = argument.substr(equals + 1);
      } else if (i + 1 < argc) {
        value = argv[++i];
      } else {
        throw UsageError(name + " needs " + std::string(option->value));
      }
    } else if (equals != std::string::npos) {
      throw UsageError(name + " takes no value");
    }
    ApplyOption(call, *option, value);
    given.push_back(option);
  }
  const bool helpCommand = call.command && call.command->takes == Arguments::OptionalCommand;
  if (helpCommand) call.help = true;
  if (call.help) {
    if (helpCommand)
      ApplyArguments(call, args);
    else if (call.command)
      call.helpTopic = call.command;
    return call;
  }
  if (!call.command) throw UsageError("no command given (see qarvex-termemu --help)");
  for (const OptionInfo* option : given)
    if (!OptionAppliesTo(option->id, *call.command))
      throw UsageError(std::string(option->name) + " does not apply to " + CommandText(call));
  ApplyArguments(call, args);
  return call;
}

}  // namespace qarvex::cli
