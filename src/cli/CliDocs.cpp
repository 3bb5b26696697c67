#include "cli/CliDocs.h"

#include <set>
#include <vector>

#include "cli/Commands.h"
#include "cli/GlobalOptions.h"
#include "core/Version.h"

namespace linvara::cli {

namespace {

// Text for roff: backslashes and hyphens escaped, no control character at a line start.
std::string Roff(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\e";
    else if (c == '-') out += "\\-";
    else out += c;
  }
  if (!out.empty() && (out.front() == '.' || out.front() == '\'')) out.insert(0, "\\&");
  return out;
}

std::string RoffOption(const OptionDeclaration& option) {
  std::string text = "\\fB" + Roff(option.name) + "\\fR";
  if (option.takesValue()) text += " \\fI" + Roff(option.valueName) + "\\fR";
  return text;
}

std::string RoffOptionList(const std::vector<OptionDeclaration>& options) {
  std::string text;
  for (const auto& option : options) text += ".TP\n" + RoffOption(option) + "\n" + Roff(option.help) + "\n";
  return text;
}

std::string RoffCommand(const CommandDeclaration& command) {
  std::string text = ".SS \"" + Roff(command.name) + "\"\n.B linvara\\-cli " + Roff(command.name) + "\n";
  for (const auto& positional : command.positionals) text += "\\fI" + Roff(positional) + "\\fR\n";
  for (const auto& option : command.options) text += "[" + RoffOption(option) + "]\n";
  text += ".PP\n" + Roff(command.summary) + ".\n";
  return text + RoffOptionList(command.options);
}

// A word for a bash script, in single quotes.
std::string Quoted(const std::string& word) {
  std::string out = "'";
  for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string QuotedList(const std::vector<std::string>& words) {
  std::string text;
  for (const auto& word : words) text += (text.empty() ? "" : " ") + Quoted(word);
  return text;
}

std::string JoinedNames(const std::vector<OptionDeclaration>& options, bool valuedOnly, const char* separator = " ") {
  std::string text;
  for (const auto& option : options)
    if (!valuedOnly || option.takesValue()) text += (text.empty() ? "" : separator) + option.name;
  return text;
}

// The first words of the commands, each once, in table order.
std::vector<std::string> CommandWords() {
  std::vector<std::string> words;
  std::set<std::string> seen;
  for (const auto& command : CommandTable()) {
    const std::string word = command.name.substr(0, command.name.find(' '));
    if (seen.insert(word).second) words.push_back(word);
  }
  return words;
}

// The second words of the forms of `name` ("export clear" for "cookies").
std::vector<std::string> FormWords(const std::string& name) {
  std::vector<std::string> words;
  for (const auto& command : CommandTable())
    if (command.name.rfind(name + " ", 0) == 0) words.push_back(command.name.substr(name.size() + 1));
  return words;
}

// `case` branches completing the value of each valued option after `owner`'s name.
std::string ValueBranches(const std::string& owner, const std::vector<OptionDeclaration>& options) {
  std::string text;
  for (const auto& option : options)
    if (option.takesValue())
      text += "    " + Quoted(owner + " " + option.name) + ") _linvara_cli_values " + Quoted(option.valueName) +
              "; return ;;\n";
  return text;
}

constexpr const char* kCompletionHelpers = R"(# _linvara_cli_values VALUE: the words of a declared value such as
# "all|safari|chrome"; DIR completes folders, PATH files, COMMAND commands.
_linvara_cli_values() {
  local value=${1#\[} alternative words=""
  value=${value%\]}
  for alternative in ${value//|/ }; do
    case "$alternative" in
      DIR) COMPREPLY+=($(compgen -d -- "$cur")) ;;
      PATH) COMPREPLY+=($(compgen -f -- "$cur")) ;;
      COMMAND) words+=" ${_linvara_cli_commands[*]}" ;;
      *[a-z]*) words+=" $alternative" ;;
    esac
  done
  COMPREPLY+=($(compgen -W "$words" -- "$cur"))
}

)";

}  // namespace

std::string ManPage() {
  std::string page = ".TH LINVARA\\-CLI 1 \"\" \"linvara\\-cli " + Roff(ApplicationVersion()) +
                     "\" \"User Commands\"\n"
                     ".SH NAME\n"
                     "linvara\\-cli \\- read and tidy the bookmarks and cookies of every browser\n"
                     ".SH SYNOPSIS\n"
                     ".B linvara\\-cli\n"
                     "[\\fIOPTIONS\\fR] \\fICOMMAND\\fR [\\fIARGS\\fR]\n"
                     ".SH DESCRIPTION\n"
                     "\\fBlinvara\\-cli\\fR reads the bookmarks of Safari, Chrome (or Chromium), Microsoft Edge, "
                     "Opera and Firefox and the cookies of Safari and Chrome kept under one home folder.\n"
                     "On Linux each browser is looked for where its own package, its snap and its Flatpak keep "
                     "their files; \\fBlinvara\\-cli paths\\fR shows which folder and profile were chosen, and why.\n"
                     ".SH OPTIONS\n" +
                     RoffOptionList(GlobalOptions()) + ".SH COMMANDS\n";
  for (const auto& command : CommandTable()) page += RoffCommand(command);
  page +=
      ".SH EXIT STATUS\n"
      "0 when the command did its work, 1 when it failed, 2 for a usage error or an unexpected failure.\n"
      ".SH ENVIRONMENT\n"
      ".TP\n.B HOME\nthe home folder, unless \\fB\\-\\-home\\fR is given\n"
      ".TP\n.B XDG_CONFIG_HOME\\fR, \\fPXDG_DATA_HOME\n"
      "where the browsers' configuration and Linvara's data folder are looked for (Linux layout)\n";
  return page;
}

std::string BashCompletion() {
  const auto& globals = GlobalOptions();
  std::string script = "# bash completion for linvara-cli, made from its command declarations.\n";
  script += "_linvara_cli_commands=(" + QuotedList(CommandWords()) + ")\n\n";
  script += kCompletionHelpers;
  script +=
      "_linvara_cli() {\n"
      "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
      "  local i=1 command=\"\" word\n"
      "  COMPREPLY=()\n"
      "  while ((i < COMP_CWORD)); do\n"
      "    case \"${COMP_WORDS[i]}\" in\n"
      "      " + JoinedNames(globals, true, "|") + ") ((i += 2)) ;;\n"
      "      -*) ((i += 1)) ;;\n"
      "      *) command=${COMP_WORDS[i]}; ((i += 1)); break ;;\n"
      "    esac\n"
      "  done\n"
      "  if [[ -z $command ]]; then\n"
      "    case \" $prev\" in\n" +
      ValueBranches("", globals) +
      "    esac\n"
      "    if [[ $cur == -* ]]; then\n"
      "      COMPREPLY=($(compgen -W " + Quoted(JoinedNames(globals, false) + " -h") + " -- \"$cur\"))\n"
      "    else\n"
      "      COMPREPLY=($(compgen -W \"${_linvara_cli_commands[*]}\" -- \"$cur\"))\n"
      "    fi\n"
      "    return\n"
      "  fi\n"
      "  if ((i < COMP_CWORD)); then\n"
      "    case \"$command ${COMP_WORDS[i]}\" in\n";
  std::string forms, commandBranches, valueBranches;
  for (const auto& command : CommandTable()) {
    if (command.name.find(' ') != std::string::npos) forms += (forms.empty() ? "" : "|") + Quoted(command.name);
    commandBranches += "    " + Quoted(command.name) + ") options=" + Quoted(JoinedNames(command.options, false)) +
                       " valued=" + Quoted(JoinedNames(command.options, true)) + " positionals=(" +
                       QuotedList(command.positionals) + ") forms=(" + QuotedList(FormWords(command.name)) + ") ;;\n";
    valueBranches += ValueBranches(command.name, command.options);
  }
  if (!forms.empty()) script += "      " + forms + ") command+=\" ${COMP_WORDS[i]}\"; ((i += 1)) ;;\n";
  script +=
      "    esac\n"
      "  fi\n"
      "  local options=\"\" valued=\"\" positionals=() forms=()\n"
      "  case \"$command\" in\n" +
      commandBranches +
      "    *) return ;;\n"
      "  esac\n"
      "  case \"$command $prev\" in\n" +
      valueBranches +
      "  esac\n"
      "  if [[ $cur == -* ]]; then\n"
      "    COMPREPLY=($(compgen -W \"$options --help\" -- \"$cur\"))\n"
      "    return\n"
      "  fi\n"
      "  local given=0\n"
      "  while ((i < COMP_CWORD)); do\n"
      "    word=${COMP_WORDS[i]}\n"
      "    ((i += 1))\n"
      "    if [[ \" $valued \" == *\" $word \"* ]]; then ((i += 1)); elif [[ $word != -* ]]; then ((given += 1)); fi\n"
      "  done\n"
      "  ((given == 0 && ${#forms[@]} > 0)) && COMPREPLY+=($(compgen -W \"${forms[*]}\" -- \"$cur\"))\n"
      "  ((given < ${#positionals[@]})) && _linvara_cli_values \"${positionals[given]}\"\n"
      "  return 0\n"
      "}\n"
      "complete -F _linvara_cli linvara-cli\n";
  return script;
}

}  // namespace linvara::cli
