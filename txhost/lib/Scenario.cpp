// Scenario scripts for the stand-in host.
//
// A script is UTF-8 text, one command per line. Words are separated by blanks; a word with blanks is written
// in double quotes, where \" and \\ stand for a quote and a backslash. '#' at the start of a word begins a
// comment that runs to the end of the line. Blank lines are ignored. In every word, {folder} stands for the
// documents folder and {script} for the script's folder. Relative paths of the library, of opened documents
// and of the folder start at the script's folder; relative paths of saved documents and of "expect file"
// start at the documents folder. The program's --define NAME=VALUE adds {NAME}.
//
//   folder PATH                         the documents folder (host folder kind 2), made when missing
//   load PATH [record NAME] [font TEXT] [norecord]
//                                       load a library and call its load entry point; the host keeps a
//                                       record of it under NAME (default: the file name without "lib" and
//                                       extension) with the font TEXT, or none with norecord
//   unload                              unload the library
//   new TYPE [as NAME] [hidden]         a new document; TYPE is drawing, fragment, specification, part,
//                                       assembly, technology-assembly or its number; it becomes active and
//                                       is named NAME (default doc1, doc2, ... in order of new and open)
//   open PATH [as NAME] [hidden]        open a saved document; it becomes active
//   activate DOCUMENT|none              make a document (or none) active; DOCUMENT is a name or "active"
//   save DOCUMENT [PATH] [section]      save, under PATH when given; a PATH ending in .svg draws a 2D
//                                       document, .png draws a 3D one's solids shaded (cut at the XOY plane
//                                       with section), .step writes its solids; a component that cannot
//                                       be placed is left out of the file, named, and fails the step
//   check DOCUMENT                      evaluate a 3D document's solids, print what was found, and fail
//                                       when a fault was found
//   close DOCUMENT [nosave|save|ask]    close (without saving by default)
//   run COMMAND [mode MODE]             call the library's run-command callback
//   state COMMAND                       call the command-state callback and print its answer
//   library-id                          call the library-id callback and print its answer
//   hide-message STATE                  set the application's hide-message state (0, 1 or 2)
//   answer yes|no                       queue the answer to the next question box
//   translate PHRASE TRANSLATION        teach the translation service a phrase
//   print [objects]                     print what the host holds (with objects: every object)
//   queue STEP [WORD...]                add a step to the event script that the next process run plays
//                                       (the steps are listed in txhost/README.md)
//   expect subscriptions N [KEY]        N event subscriptions stand (under KEY)
//   expect callbacks NAME...            the registrations, in order (run-command command-state library-id)
//   expect library-id N                 the library-id callback answers N
//   expect message TEXT                 the oldest message box text not yet expected is TEXT
//   expect no-message                   every message box text has been expected
//   expect documents N                  N documents are open
//   expect active TYPE|none             the active document's type, or no active document
//   expect file PATH                    a file exists at PATH
//   expect hide-message N               the application's hide-message state is N
//   expect error-resets N               the library reset the host error object N times so far
//   expect no-references                no host object is referenced by the library any more
//   expect objects DOCUMENT KIND N      the document holds N objects of the kind that are not deleted
//                                       (sketch, rotated, extrusion, part, mate, plane, ...);
//                                       KIND[NAME=VALUE] takes only those whose property NAME equals VALUE
//   expect state COMMAND yes|no [CHECKED REASON]
//                                       the command-state callback, given CHECKED (0) and REASON (empty),
//                                       answers enable yes or no and leaves them as given
//   expect property DOCUMENT KIND I NAME VALUE
//                                       the I-th such object (from 0, in the order made) has the property
//                                       NAME (a "/"-path reaches inside it) equal to VALUE
//   expect block DOCUMENT KIND I HEX    the I-th such object's user data block starts with the bytes HEX
//   edit DOCUMENT KIND I|none           the object the user edits in place in the document, or none
//   fail-call N                         the N-th host call from here fails (0: none; see Faults.h)
//   expect clashes DOCUMENT N           N pairs of the assembly's components clash
//   expect solids DOCUMENT N            the part has N solids (an assembly: its components together)
//   expect feature DOCUMENT KIND I removes|adds|nothing
//                                       what the I-th feature of the kind did to its part
//
// The whole script is parsed before anything runs; the first bad line, or the first step that fails, stops
// the script with its line number.

#include "txhost/lib/Scenario.h"
#include "txhost/lib/SvgWriter.h"

#include "txhost/lib/Events.h"
#include "txhost/lib/FileInput.h"
#include "txhost/lib/Host.h"
#include "txhost/lib/Kinds.h"
#include "txhost/lib/Model.h"
#include "txhost/lib/Plugin.h"
#include "txhost/lib/SolidLink.h"
#include "txhost/lib/Text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <limits>
#include <ostream>
#include <sstream>
#include <system_error>
#include <utility>

namespace txhost {

namespace {

constexpr std::uintmax_t MaxScriptBytes = std::uintmax_t(16) << 20;
// A message shown this long into a step is said at once, not only when the step ends (seconds).
constexpr double LiveMessageAfter = 0.15;

struct OptionSpec
{
  std::string_view Keyword;
  bool TakesValue;
};

enum class Arg {
  Any,
  Integer,
  Index,
  Hex,
  Command,
  Type,
  TypeOrNone,
  YesNo,
  HideState,
  CloseMode,
  PrintWhat,
  Handle
};

struct CommandSpec
{
  std::string_view Name;
  std::string_view Usage;
  std::vector<Arg> Positional; // the last one repeats when Repeat is set
  std::size_t Required;
  bool Repeat;
  std::vector<OptionSpec> Options;
};

const std::vector<CommandSpec>& Commands()
{
  static const std::vector<CommandSpec> commands{
      {"folder", "folder PATH", {Arg::Any}, 1, false, {}},
      {"load",
       "load PATH [record NAME] [font TEXT] [norecord]",
       {Arg::Any},
       1,
       false,
       {{"record", true}, {"font", true}, {"norecord", false}}},
      {"unload", "unload", {}, 0, false, {}},
      {"new", "new TYPE [as NAME] [hidden]", {Arg::Type}, 1, false, {{"as", true}, {"hidden", false}}},
      {"open", "open PATH [as NAME] [hidden]", {Arg::Any}, 1, false, {{"as", true}, {"hidden", false}}},
      {"activate", "activate DOCUMENT|none", {Arg::Any}, 1, false, {}},
      {"save", "save DOCUMENT [PATH] [section]", {Arg::Any, Arg::Any}, 1, false, {{"section", false}}},
      {"check", "check DOCUMENT", {Arg::Any}, 1, false, {}},
      {"close", "close DOCUMENT [nosave|save|ask]", {Arg::Any, Arg::CloseMode}, 1, false, {}},
      {"run", "run COMMAND [mode MODE]", {Arg::Command}, 1, false, {{"mode", true}}},
      {"state", "state COMMAND", {Arg::Integer}, 1, false, {}},
      {"library-id", "library-id", {}, 0, false, {}},
      {"hide-message", "hide-message STATE", {Arg::HideState}, 1, false, {}},
      {"answer", "answer yes|no", {Arg::YesNo}, 1, false, {}},
      {"translate", "translate PHRASE TRANSLATION", {Arg::Any, Arg::Any}, 2, false, {}},
      {"print", "print [objects]", {Arg::PrintWhat}, 0, false, {}},
      {"queue", "queue STEP [WORD...]", {Arg::Any}, 1, true, {}},
      {"expect subscriptions", "expect subscriptions N [KEY]", {Arg::Integer, Arg::Any}, 1, false, {}},
      {"expect callbacks", "expect callbacks NAME...", {Arg::Any}, 0, true, {}},
      {"expect library-id", "expect library-id N", {Arg::Integer}, 1, false, {}},
      {"expect message", "expect message TEXT", {Arg::Any}, 1, false, {}},
      {"expect no-message", "expect no-message", {}, 0, false, {}},
      {"expect documents", "expect documents N", {Arg::Integer}, 1, false, {}},
      {"expect active", "expect active TYPE|none", {Arg::TypeOrNone}, 1, false, {}},
      {"expect file", "expect file PATH", {Arg::Any}, 1, false, {}},
      {"expect hide-message", "expect hide-message N", {Arg::HideState}, 1, false, {}},
      {"expect error-resets", "expect error-resets N", {Arg::Integer}, 1, false, {}},
      {"expect no-references", "expect no-references", {}, 0, false, {}},
      {"expect objects", "expect objects DOCUMENT KIND N", {Arg::Any, Arg::Any, Arg::Integer}, 3, false, {}},
      {"expect state",
       "expect state COMMAND yes|no [CHECKED REASON]",
       {Arg::Integer, Arg::YesNo, Arg::Integer, Arg::Any},
       2,
       false,
       {}},
      {"expect property",
       "expect property DOCUMENT KIND I NAME VALUE",
       {Arg::Any, Arg::Any, Arg::Index, Arg::Any, Arg::Any},
       5,
       false,
       {}},
      {"expect block",
       "expect block DOCUMENT KIND I HEX",
       {Arg::Any, Arg::Any, Arg::Index, Arg::Hex},
       4,
       false,
       {}},
      {"edit", "edit DOCUMENT KIND I|none", {Arg::Any, Arg::Any, Arg::Any}, 2, false, {}},
      {"fail-call", "fail-call N", {Arg::Index}, 1, false, {}},
      {"expect clashes", "expect clashes DOCUMENT N", {Arg::Any, Arg::Integer}, 2, false, {}},
      {"expect solids", "expect solids DOCUMENT N", {Arg::Any, Arg::Integer}, 2, false, {}},
      {"expect feature",
       "expect feature DOCUMENT KIND I removes|adds|nothing",
       {Arg::Any, Arg::Any, Arg::Index, Arg::Any},
       4,
       false,
       {}},
  };
  return commands;
}

const CommandSpec* FindCommand(std::string_view name)
{
  for (const auto& c : Commands())
    if (c.Name == name) return &c;
  return nullptr;
}

enum class ReadOutcome { Ok, NotANumber, OutOfRange };

ReadOutcome ReadInteger(const std::string& word, long long min, long long max, long long& value)
{
  const char* first = word.data();
  const char* last = first + word.size();
  auto [end, ec] = std::from_chars(first, last, value);
  if (end != last || (ec != std::errc() && ec != std::errc::result_out_of_range) || word.empty())
    return ReadOutcome::NotANumber;
  return ec == std::errc() && value >= min && value <= max ? ReadOutcome::Ok : ReadOutcome::OutOfRange;
}

bool ParseInteger(const std::string& word, long long min, long long max, long long& value)
{
  return ReadInteger(word, min, max, value) == ReadOutcome::Ok;
}

// "not a number" or "out of range", so that the user knows which to fix.
bool CheckInteger(const std::string& word, long long min, long long max, const std::string& what,
                  std::string& error)
{
  long long n = 0;
  switch (ReadInteger(word, min, max, n)) {
  case ReadOutcome::Ok:
    return true;
  case ReadOutcome::NotANumber:
    error = "not " + what + ": \"" + word + "\"";
    return false;
  case ReadOutcome::OutOfRange:
    error = what + " out of range (" + std::to_string(min) + " to " + std::to_string(max) + "): \"" + word + "\"";
    return false;
  }
  return false;
}

// A supported document type by name or number; 0 when word is neither.
int ParseType(const std::string& word)
{
  long long n = 0;
  if (ParseInteger(word, 1, 7, n)) return DocumentKind(txapi::DocumentTypeEnum(n)).empty() ? 0 : int(n);
  return DocumentTypeOfName(word);
}

bool CheckArg(Arg kind, const std::string& word, std::string& error)
{
  long long n = 0;
  switch (kind) {
  case Arg::Any:
    return true;
  case Arg::Integer:
    return CheckInteger(word, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), "a number",
                        error);
  case Arg::Index:
    return CheckInteger(word, 0, std::numeric_limits<int>::max(), "a count", error);
  case Arg::Hex:
    if (word.size() % 2 == 0 &&
        std::all_of(word.begin(), word.end(), [](char ch) { return std::isxdigit((unsigned char)ch) != 0; }))
      return true;
    error = "not bytes in hexadecimal, two digits each: \"" + word + "\"";
    return false;
  case Arg::Command:
    return CheckInteger(word, 0, std::numeric_limits<unsigned int>::max(), "a command number", error);
  case Arg::Type:
  case Arg::TypeOrNone:
    if (ParseType(word) != 0 || (kind == Arg::TypeOrNone && word == "none")) return true;
    error = "unknown document type \"" + word +
            "\" (drawing, fragment, specification, part, assembly, technology-assembly or 1-5, 7)";
    return false;
  case Arg::YesNo:
    if (word == "yes" || word == "no") return true;
    error = "expected yes or no, not \"" + word + "\"";
    return false;
  case Arg::HideState:
    if (ParseInteger(word, 0, 2, n)) return true;
    error = "hide-message state must be 0, 1 or 2, not \"" + word + "\"";
    return false;
  case Arg::Handle:
    if (word.empty()) {
      error = "a document name cannot be empty";
      return false;
    }
    if (word == "none" || word == "active") {
      error = "\"" + word + "\" cannot name a document: it means " +
              (word == "none" ? "no document" : "the active document");
      return false;
    }
    return true;
  case Arg::CloseMode:
    if (word == "nosave" || word == "save" || word == "ask") return true;
    error = "expected nosave, save or ask, not \"" + word + "\"";
    return false;
  case Arg::PrintWhat:
    if (word == "objects") return true;
    error = "print takes only \"objects\", not \"" + word + "\"";
    return false;
  }
  return false;
}

// Splits a line into words; false with a message for an unterminated quote.
bool SplitWords(std::string_view line, std::vector<std::string>& words, std::string& error)
{
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    std::string word;
    if (c == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) d = line[i++];
        word += d;
      }
      if (!closed) {
        error = "unterminated quote";
        return false;
      }
      if (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
        error = "a quoted word must end at a blank";
        return false;
      }
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
        word += line[i++];
    }
    words.push_back(std::move(word));
  }
  return true;
}

bool ParseStep(std::vector<std::string> words, ScenarioStep& step, std::string& error)
{
  std::string name = words[0];
  std::size_t first = 1;
  if (name == "expect") {
    if (words.size() < 2) {
      error = "expect what?";
      return false;
    }
    name += " " + words[1];
    first = 2;
  }
  const CommandSpec* spec = FindCommand(name);
  if (spec == nullptr) {
    error = "unknown command \"" + name + "\"";
    return false;
  }
  step.Command = name;
  for (std::size_t i = first; i < words.size(); ++i) {
    const std::string& w = words[i];
    auto option = std::find_if(spec->Options.begin(), spec->Options.end(),
                               [&](const OptionSpec& o) { return o.Keyword == w; });
    if (option != spec->Options.end()) {
      if (step.Options.count(w) != 0) {
        error = "\"" + w + "\" given twice; usage: " + std::string(spec->Usage);
        return false;
      }
      if (option->TakesValue) {
        if (i + 1 >= words.size()) {
          error = "\"" + w + "\" needs a value; usage: " + std::string(spec->Usage);
          return false;
        }
        step.Options[w] = words[++i];
      } else {
        step.Options[w] = "";
      }
      continue;
    }
    if (!step.Options.empty() || (step.Words.size() >= spec->Positional.size() && !spec->Repeat)) {
      error = "unexpected \"" + w + "\"; usage: " + std::string(spec->Usage);
      return false;
    }
    const Arg kind = spec->Positional[std::min(step.Words.size(), spec->Positional.size() - 1)];
    if (!CheckArg(kind, w, error)) return false;
    step.Words.push_back(w);
  }
  if (step.Words.size() < spec->Required) {
    error = "missing arguments; usage: " + std::string(spec->Usage);
    return false;
  }
  if (name == "queue" && !CheckQueueStep(step.Words, error)) return false;
  if (name == "run" && step.Options.count("mode") != 0 &&
      !CheckInteger(step.Options["mode"], 0, std::numeric_limits<int>::max(), "a mode", error))
    return false;
  if (step.Options.count("as") != 0 && !CheckArg(Arg::Handle, step.Options["as"], error)) return false;
  return true;
}

long long Integer(const std::string& word)
{
  long long n = 0;
  ParseInteger(word, std::numeric_limits<long long>::min(), std::numeric_limits<long long>::max(), n);
  return n;
}

std::string Quote(const std::wstring& text)
{
  std::string q(1, '"');
  q += ToUtf8(text);
  q += '"';
  return q;
}

std::string Join(const std::vector<std::string>& words)
{
  std::string s;
  for (const auto& w : words)
    s += (s.empty() ? "" : " ") + w;
  return s.empty() ? "(none)" : s;
}

// A stored value against a script's word: texts compare as given, numbers by value, the rest as JSON.
bool SameValue(const Value& stored, const std::string& word)
{
  if (stored.is_string()) return stored.get_ref<const std::string&>() == word;
  if (stored.is_number()) {
    double want = 0.0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), want);
    return ec == std::errc() && end == word.data() + word.size() &&
           std::abs(stored.get<double>() - want) <= 1e-9 * std::max(1.0, std::abs(want));
  }
  const Value parsed = Value::parse(word, nullptr, false);
  return !parsed.is_discarded() && parsed == stored;
}

// "KIND" or "KIND[NAME=VALUE]": a live object of the kind (with the property NAME equal to VALUE).
bool Selected(const Object& o, const std::string& kind)
{
  const std::size_t open = kind.find('[');
  if (o.Kind() != kind.substr(0, open) || model::Deleted(o)) return false;
  if (open == std::string::npos) return true;
  const std::size_t eq = kind.find('=', open);
  if (eq == std::string::npos || kind.back() != ']') return false;
  return SameValue(o.Prop(kind.substr(open + 1, eq - open - 1)), kind.substr(eq + 1, kind.size() - eq - 2));
}

// The i-th object of the kind in the document that is not deleted, in the order made; nullptr when none.
Object* NthObject(const Host& host, const Object& document, const std::string& kind, long long i)
{
  for (Object* o : host.ObjectsOf(document))
    if (Selected(*o, kind) && i-- == 0) return o;
  return nullptr;
}

// The user data block of an object: kept as hexadecimal text by drawing objects, as a list of bytes by
// model objects.
std::string BlockHex(const Value& stored)
{
  if (stored.is_string()) return stored.get<std::string>();
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  if (stored.is_array())
    for (const Value& b : stored) {
      const int v = b.is_number_integer() ? b.get<int>() & 255 : 0;
      hex += digits[v >> 4];
      hex += digits[v & 15];
    }
  return hex;
}

} // namespace

bool ParseScenario(std::string_view text, const std::string& name, const std::filesystem::path& folder,
                   Scenario& out, std::string& error)
{
  out = Scenario{name, folder, {}};
  int number = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = text.substr(start, end - start);
    ++number;
    std::vector<std::string> words;
    std::string message;
    ScenarioStep step;
    step.Line = number;
    if (!IsUtf8Text(line)) {
      error = Printable(name) + ":" + std::to_string(number) + ": not UTF-8 text (or a NUL byte)";
      return false;
    }
    if (!SplitWords(line, words, message) ||
        (!words.empty() && !ParseStep(std::move(words), step, message))) {
      error = Printable(name + ":" + std::to_string(number) + ": " + message);
      return false;
    }
    if (!step.Command.empty()) out.Steps.push_back(std::move(step));
    start = end + 1;
  }
  return true;
}

bool LoadScenario(const std::filesystem::path& file, Scenario& out, std::string& error)
{
  std::string text;
  if (!ReadInputFile(file, MaxScriptBytes, text, error)) {
    error = "cannot read the scenario " + error;
    return false;
  }
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::absolute(file, ec).lexically_normal().parent_path();
  return ParseScenario(text, file.string(), folder, out, error);
}

struct ScenarioPlayer::Context
{
  const Scenario& S;
  const std::map<std::string, std::string>& Variables;

  // One pass from left to right: time linear in the result, and a value is never expanded again.
  // Names in braces that are not defined stay as they are; `undefined`, when given, collects them.
  std::string Expand(const std::string& word, const Host& host,
                     std::vector<std::string>* undefined = nullptr) const
  {
    std::string out;
    std::size_t i = 0;
    while (i < word.size()) {
      const std::size_t open = word.find('{', i);
      const std::size_t close = open == std::string::npos ? open : word.find('}', open);
      if (close == std::string::npos) break;
      out.append(word, i, open - i);
      const std::string name = word.substr(open + 1, close - open - 1);
      auto it = Variables.find(name);
      if (name == "folder")
        out += host.DocumentsFolder().string();
      else if (name == "script")
        out += S.Folder.string();
      else if (it != Variables.end())
        out += it->second;
      else {
        // Not a name: keep the brace and look for a name after it.
        if (undefined != nullptr && !name.empty() && name.find('{') == std::string::npos)
          undefined->push_back(name);
        out += '{';
        i = open + 1;
        continue;
      }
      i = close + 1;
    }
    out.append(word, std::min(i, word.size()));
    return out;
  }

  std::filesystem::path Input(const std::string& word, const Host& host) const
  {
    std::filesystem::path p(Expand(word, host));
    return (p.is_absolute() ? p : S.Folder / p).lexically_normal();
  }
};

ScenarioPlayer::ScenarioPlayer(Host& host, std::ostream& out) : H(host), Out(out)
{
  // A step's messages are printed when it ends; one shown well into a long step (a build waiting for
  // another's folder) is what a user watches for meanwhile, so it is said at once as well.
  H.SetMessageWatch([this](const std::wstring& text) {
    const double into = std::chrono::duration<double>(std::chrono::steady_clock::now() - StepStart).count();
    if (into < LiveMessageAfter) return;
    std::cerr << "txhost: message shown " << std::fixed << std::setprecision(1) << into
              << " s into the step: " << Quote(text) << std::endl;
  });
}

ScenarioPlayer::~ScenarioPlayer()
{
  H.SetMessageWatch(nullptr);
  Unload();
}

void ScenarioPlayer::Unload()
{
  if (Library) Library.reset();
}

bool ScenarioPlayer::Play(const Scenario& scenario, std::string& error)
{
  std::vector<std::string> errors;
  PlaySteps(scenario, errors, true);
  if (errors.empty()) return true;
  error = errors.front();
  return false;
}

void ScenarioPlayer::PlayThrough(const Scenario& scenario, std::vector<std::string>& errors)
{
  PlaySteps(scenario, errors, false);
}

void ScenarioPlayer::PlaySteps(const Scenario& scenario, std::vector<std::string>& errors, bool stopAtFailure)
{
  Context c{scenario, Variables};
  int firstUnplayed = 0; // the line of the first step queued since the last command ran
  for (const ScenarioStep& step : scenario.Steps) {
    if (step.Command == "queue" && firstUnplayed == 0) firstUnplayed = step.Line;
    if (step.Command == "run") firstUnplayed = 0;
    std::string message;
    bool ok = false;
    StepStart = std::chrono::steady_clock::now();
    try {
      ok = Run(step, c, message);
    } catch (const nlohmann::json::exception&) {
      // Its text names the JSON library's internals, which tell the user nothing.
      message = "the host holds a value of an unexpected type";
    } catch (const std::exception& e) {
      message = e.what();
    } catch (...) {
      message = "unknown exception";
    }
    if (!ok) {
      // A word that still holds a {name} after expansion is the likelier cause of a failed step: say so.
      std::vector<std::string> undefined;
      for (const std::string& w : step.Words)
        c.Expand(w, H, &undefined);
      for (const auto& option : step.Options)
        c.Expand(option.second, H, &undefined);
      for (const std::string& name : undefined)
        message += " ({" + name + "} is not defined: give --define " + name + "=VALUE)";
      errors.push_back(
          Printable(scenario.Name + ":" + std::to_string(step.Line) + ": " + step.Command + ": " + message));
      if (stopAtFailure) return;
    }
  }
  // Steps queued for a command that never ran: the script meant something that did not happen.
  if (const std::size_t left = EventScript::Of(H).Size(); left != 0) {
    EventScript::Of(H).Clear();
    errors.push_back(Printable(scenario.Name + ":" + std::to_string(firstUnplayed) +
                               ": queue: " + std::to_string(left) +
                               " queued steps were never played: no command ran after them"));
  }
}

Object* ScenarioPlayer::Document(const std::string& handle, std::string& error) const
{
  if (handle == "active") {
    if (H.ActiveDocument() == nullptr) error = "no active document";
    return H.ActiveDocument();
  }
  auto it = Handles.find(handle);
  if (it == Handles.end()) {
    error = "no document named \"" + handle + "\"";
    return nullptr;
  }
  Object* document = H.Find(it->second);
  if (document == nullptr || !H.IsOpen(*document)) {
    error = "document \"" + handle + "\" is closed";
    return nullptr;
  }
  return document;
}

bool ScenarioPlayer::Run(const ScenarioStep& step, Context& c, std::string& error)
{
  const std::string& cmd = step.Command;
  auto word = [&](std::size_t i) { return c.Expand(step.Words.at(i), H); };
  auto option = [&](const char* key) -> const std::string* {
    auto it = step.Options.find(key);
    return it == step.Options.end() ? nullptr : &it->second;
  };
  auto fail = [&](std::string message) {
    error = std::move(message);
    return false;
  };
  // Calls into the library: whatever it throws ends the step with a message, never the program.
  auto guarded = [&](const char* what, auto&& call) {
    try {
      call();
      return true;
    } catch (const std::exception& e) {
      return fail(std::string("the library's ") + what + " threw: " + e.what());
    } catch (...) {
      return fail(std::string("the library's ") + what + " threw");
    }
  };
  // A handle names one document for the whole script: a second use would silently retarget the steps after.
  auto handleFree = [&]() {
    const std::string* as = option("as");
    return as == nullptr || Handles.count(*as) == 0 ||
           fail("the name \"" + *as + "\" is taken by another document");
  };
  auto name = [&](Object* document) {
    const std::string* as = option("as");
    std::string handle = as != nullptr ? *as : "";
    while (handle.empty() || Handles.count(handle) != 0)
      handle = "doc" + std::to_string(NextHandle++);
    if (as != nullptr) ++NextHandle;
    Handles[handle] = document->Id();
    return handle;
  };
  auto echoMessages = [&]() {
    const std::vector<std::wstring> messages = H.Messages();
    for (; MessagesSeen < messages.size(); ++MessagesSeen)
      Out << "  message: " << Quote(messages[MessagesSeen]) << "\n";
  };
  auto callbacks = [&]() -> Host::Callbacks& { return H.LibraryCallbacks(); };

  if (cmd == "folder") {
    const std::filesystem::path folder = c.Input(step.Words[0], H);
    // Wide text carries UTF-8 names only (see the program's --folder).
    if (!IsUtf8Text(folder.string()))
      return fail("cannot use the folder " + Printable(folder.string()) + ": its name is not UTF-8");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::error_code made = ec;
    if (!std::filesystem::is_directory(folder, ec))
      return fail("cannot make the folder " + folder.string() + (made ? ": " + made.message() : ""));
    H.SetDocumentsFolder(folder);
    return true;
  }
  if (cmd == "load") {
    if (Library) return fail("a library is loaded already (unload it first)");
    const std::filesystem::path file = c.Input(step.Words[0], H);
    // The library learns its own folder as wide text, which carries UTF-8 names only.
    if (!IsUtf8Text(file.string()))
      return fail("cannot load library " + Printable(file.string()) + ": its path is not UTF-8");
    auto library = LoadedLibrary::Open(file, error);
    if (!library) return false;
    std::string stem = library->Path().stem().string();
    if (stem.rfind("lib", 0) == 0) stem.erase(0, 3);
    const std::wstring record = FromUtf8(option("record") != nullptr ? *option("record") : stem);
    if (option("norecord") == nullptr) {
      const std::string* font = option("font");
      H.SetLibraryRecord(record, library->Path(), font != nullptr ? FromUtf8(*font) : L"");
    } else {
      H.RemoveLibraryRecord(record);
    }
    Library = std::move(library);
    if (!Library->Load(H, error)) {
      echoMessages();
      return false;
    }
    Out << "loaded " << Printable(Library->Path().string()) << "; callbacks: " << Join(H.Registrations()) << "\n";
    echoMessages();
    return true;
  }
  if (cmd == "unload") {
    if (!Library) return fail("no library is loaded");
    Library.reset();
    echoMessages();
    return true;
  }
  if (cmd == "new") {
    if (!handleFree()) return false;
    const int type = ParseType(step.Words[0]);
    Object* d = H.NewDocument(txapi::DocumentTypeEnum(type), option("hidden") == nullptr);
    if (d == nullptr) return fail("the host cannot make a document of type " + step.Words[0]);
    Out << "new " << DocumentTypeName(type) << " " << name(d) << "\n";
    return true;
  }
  if (cmd == "open") {
    if (!handleFree()) return false;
    const std::filesystem::path file = c.Input(step.Words[0], H);
    std::string message;
    Object* d = H.OpenDocument(file, option("hidden") == nullptr, &message);
    if (d == nullptr) return fail(message);
    Out << "opened " << DocumentTypeName(Host::DocumentType(*d)) << " " << name(d) << "\n";
    return true;
  }
  if (cmd == "activate") {
    if (step.Words[0] == "none") return H.SetActiveDocument(nullptr);
    Object* d = Document(step.Words[0], error);
    return d != nullptr && H.SetActiveDocument(d);
  }
  if (cmd == "save") {
    Object* d = Document(step.Words[0], error);
    if (d == nullptr) return false;
    std::string message;
    const std::filesystem::path extension = step.Words.size() > 1 ? std::filesystem::path(word(1)).extension() : "";
    if (extension == ".png" || extension == ".step") {
      if (Solids == nullptr) return fail("this host has no solid evaluator to draw or export with");
      const std::filesystem::path file = H.Resolve(word(1));
      std::vector<std::string> leftOut;
      if (!Solids->Save(*d, file, option("section") != nullptr, leftOut, message)) return fail(message);
      Out << (extension == ".png" ? "drawn " : "exported ") << Printable(file.string()) << "\n";
      // A file without some of the document's components is not what was asked for.
      for (const std::string& c : leftOut)
        Out << "  left out: component " << Printable(c) << "\n";
      return leftOut.empty() || fail(std::to_string(leftOut.size()) + " components left out of the file");
    }
    if (option("section") != nullptr) return fail("only a picture (.png) is drawn as a section");
    if (extension == ".svg") {
      const std::filesystem::path svg = H.Resolve(word(1));
      if (!SaveSvg(*d, svg, &message)) return fail("cannot draw: " + message);
      Out << "drawn " << svg.string() << "\n";
      return true;
    }
    const bool ok =
        step.Words.size() > 1 ? H.SaveDocumentAs(*d, word(1), &message) : H.SaveDocument(*d, &message);
    if (!ok) return fail("cannot save: " + message);
    Out << "saved " << Printable(Host::DocumentPath(*d).string()) << "\n";
    return true;
  }
  if (cmd == "close") {
    Object* d = Document(step.Words[0], error);
    if (d == nullptr) return false;
    const std::string mode = step.Words.size() > 1 ? step.Words[1] : "nosave";
    const bool save = mode == "save" || (mode == "ask" && H.NextAnswer());
    std::string message;
    if (save && !H.SaveDocument(*d, &message)) return fail("cannot save: " + message);
    H.CloseDocument(*d);
    return true;
  }
  if (cmd == "run") {
    if (!callbacks().RunCommand) return fail("the library registered no run-command callback");
    const auto command = static_cast<unsigned int>(Integer(step.Words[0]));
    const auto mode = txapi::txRunCommandModeEnum(option("mode") != nullptr ? Integer(*option("mode")) : 0);
    auto function = callbacks().RunCommand; // the library may register again while it runs
    const bool ran = guarded("run-command callback", [&] { function(command, mode); });
    H.WritePendingFiles();
    if (!ran) return false;
    if (std::string e = std::exchange(EventScript::Of(H).Error, {}); !e.empty()) return fail("event script: " + e);
    // Steps the command never took would go to the next command, which is never what a script means.
    if (const std::size_t left = EventScript::Of(H).Size(); left != 0) {
      EventScript::Of(H).Clear();
      return fail(std::to_string(left) + " queued steps were not played: the command ended before them");
    }
    Out << "ran command " << command << "\n";
    echoMessages();
    return true;
  }
  if (cmd == "state" || cmd == "expect state") {
    if (!callbacks().CommandState) return fail("the library registered no command-state callback");
    const bool want = cmd == "expect state" && step.Words[1] == "yes";
    bool enable = !want; // a callback that sets nothing fails the check
    const int checkedGiven = step.Words.size() > 2 ? int(Integer(step.Words[2])) : 0;
    const std::wstring reasonGiven = step.Words.size() > 3 ? FromUtf8(word(3)) : L"";
    int checked = checkedGiven;
    std::wstring reason = reasonGiven;
    auto function = callbacks().CommandState;
    if (!guarded("command-state callback",
                 [&] { function(int(Integer(step.Words[0])), enable, checked, reason); }))
      return false;
    if (cmd == "expect state") {
      if (enable != want || checked != checkedGiven || reason != reasonGiven)
        return fail(std::string("the callback answered enable ") + (enable ? "yes" : "no") + ", checked " +
                    std::to_string(checked) + ", reason " + Quote(reason));
      return true;
    }
    Out << "state " << step.Words[0] << ": enable " << (enable ? "yes" : "no") << ", checked " << checked
        << ", reason " << Quote(reason) << "\n";
    return true;
  }
  if (cmd == "library-id" || cmd == "expect library-id") {
    if (!callbacks().LibraryId) return fail("the library registered no library-id callback");
    int id = 0;
    auto function = callbacks().LibraryId;
    if (!guarded("library-id callback", [&] { id = function(); })) return false;
    if (cmd == "library-id") {
      Out << "library-id: " << id << "\n";
      return true;
    }
    return id == Integer(step.Words[0]) || fail("the library's identifier is " + std::to_string(id));
  }
  if (cmd == "hide-message") {
    H.SetHideMessage(txapi::txHideMessageEnum(Integer(step.Words[0])));
    return true;
  }
  if (cmd == "answer") {
    H.QueueAnswer(step.Words[0] == "yes");
    return true;
  }
  if (cmd == "translate") {
    H.SetTranslation(FromUtf8(word(0)), FromUtf8(word(1)));
    return true;
  }
  if (cmd == "print") {
    H.Describe(Out, !step.Words.empty());
    return true;
  }
  if (cmd == "queue" || cmd == "expect subscriptions") {
    std::vector<std::string> words;
    for (std::size_t i = 0; i < step.Words.size(); ++i)
      words.push_back(word(i));
    return cmd == "queue" ? QueueStep(H, words, error) : ExpectSubscriptions(H, words, error);
  }
  if (cmd == "expect callbacks") {
    const std::vector<std::string> got = H.Registrations();
    return got == step.Words || fail("the library registered " + Join(got));
  }
  if (cmd == "expect message") {
    const std::vector<std::wstring> messages = H.Messages();
    if (MessagesMatched >= messages.size()) return fail("no further message was shown");
    const std::wstring& got = messages[MessagesMatched++];
    return got == FromUtf8(word(0)) || fail("the message was " + Quote(got));
  }
  if (cmd == "expect no-message") {
    const std::vector<std::wstring> messages = H.Messages();
    if (MessagesMatched >= messages.size()) return true;
    return fail("a further message was shown: " + Quote(messages[MessagesMatched]));
  }
  if (cmd == "expect documents") {
    const auto n = H.Documents().size();
    return (long long)n == Integer(step.Words[0]) || fail(std::to_string(n) + " documents are open");
  }
  if (cmd == "expect active") {
    const Object* a = H.ActiveDocument();
    const std::string got = a == nullptr ? "none" : DocumentTypeName(Host::DocumentType(*a));
    const std::string want = step.Words[0] == "none" ? "none" : DocumentTypeName(ParseType(step.Words[0]));
    return got == want || fail("the active document is " + got);
  }
  if (cmd == "expect file") {
    const std::filesystem::path file = H.Resolve(word(0));
    std::error_code ec;
    return std::filesystem::is_regular_file(file, ec) || fail("no file " + file.string());
  }
  if (cmd == "expect hide-message") {
    const int got = int(H.HideMessage());
    return got == Integer(step.Words[0]) || fail("the hide-message state is " + std::to_string(got));
  }
  if (cmd == "expect error-resets") {
    const int got = H.ErrorResets();
    return got == Integer(step.Words[0]) ||
           fail("the error object was reset " + std::to_string(got) + " times");
  }
  if (cmd == "expect no-references") {
    const std::vector<Object*> held = H.Referenced();
    if (held.empty()) return true;
    std::string list;
    for (const Object* o : held)
      list += " #" + std::to_string(o->Id()) + " " + o->Kind() + " x" + std::to_string(o->RefCount());
    return fail(std::to_string(held.size()) + " objects are still referenced:" + list);
  }
  if (cmd == "expect objects") {
    Object* d = Document(step.Words[0], error);
    if (d == nullptr) return false;
    long long n = 0;
    for (const Object* o : H.ObjectsOf(*d))
      if (Selected(*o, step.Words[1])) ++n;
    return n == Integer(step.Words[2]) ||
           fail("the document holds " + std::to_string(n) + " objects of kind " + step.Words[1]);
  }
  if (cmd == "expect property" || cmd == "expect block" || cmd == "edit") {
    Object* d = Document(step.Words[0], error);
    if (d == nullptr) return false;
    const std::string& kind = step.Words[1];
    if (cmd == "edit" && step.Words.size() < 3 && step.Words[1] != "none")
      return fail("usage: edit DOCUMENT KIND I|none");
    // The document's edited object: the block under edit in a drawing, the part in a 3D document.
    auto setEdited = [&](Object* o) { SetEditedPart(*d, o); };
    if (cmd == "edit" && step.Words[1] == "none") {
      setEdited(nullptr);
      return true;
    }
    long long i = 0;
    if (!ParseInteger(step.Words[2], 0, std::numeric_limits<int>::max(), i))
      return fail("not an index: " + step.Words[2]);
    Object* o = NthObject(H, *d, kind, i);
    if (o == nullptr) return fail("the document holds no " + kind + " " + step.Words[2]);
    if (cmd == "edit") {
      setEdited(o);
      return true;
    }
    if (cmd == "expect block") {
      std::string want = step.Words[3];
      std::transform(want.begin(), want.end(), want.begin(),
                     [](char ch) { return char(std::tolower((unsigned char)ch)); });
      const std::string got = BlockHex(o->Prop("user-data"));
      return got.rfind(want, 0) == 0 ||
             fail("the block starts " + got.substr(0, std::max<std::size_t>(want.size(), 16)));
    }
    const std::string& name = step.Words[3];
    const Value* stored = &o->Prop(name);
    if (!name.empty() && name[0] == '/') {
      const Value::json_pointer pointer(name);
      stored = o->Props().contains(pointer) ? &o->Props().at(pointer) : nullptr;
    }
    const std::string want = word(4);
    if (stored != nullptr && SameValue(*stored, want)) return true;
    return fail(kind + " " + step.Words[2] + " has " + name + " = " +
                (stored == nullptr ? "(none)" : stored->dump()));
  }
  if (cmd == "fail-call") {
    H.GetFaults().FailCall(std::size_t(Integer(step.Words[0])));
    return true;
  }
  if (cmd == "check" || cmd == "expect clashes" || cmd == "expect solids" || cmd == "expect feature") {
    if (Solids == nullptr) return fail("this host has no solid evaluator");
    Object* d = Document(step.Words[0], error);
    if (d == nullptr) return false;
    if (cmd == "check") {
      int faults = 0;
      if (!Solids->Check(*d, Out, faults, error)) return false;
      return faults == 0 || fail(std::to_string(faults) + " faults in the solids");
    }
    if (cmd == "expect feature") {
      long long i = 0;
      if (!ParseInteger(step.Words[2], 0, std::numeric_limits<int>::max(), i))
        return fail("not an index: " + step.Words[2]);
      const Object* o = NthObject(H, *d, step.Words[1], i);
      if (o == nullptr) return fail("the document holds no " + step.Words[1] + " " + step.Words[2]);
      std::string effect;
      if (!Solids->Effect(*d, *o, effect, error)) return false;
      return effect == step.Words[3] || fail(step.Words[1] + " " + step.Words[2] + " " + effect);
    }
    long long n = 0;
    const std::string what = cmd == "expect clashes" ? "clashes" : "solids";
    if (!Solids->Count(*d, what, n, error)) return false;
    return n == Integer(step.Words[1]) || fail("the document has " + std::to_string(n) + " " + what);
  }
  return fail("not implemented");
}

} // namespace txhost
