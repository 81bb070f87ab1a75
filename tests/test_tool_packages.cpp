// Every external command that the real-window, install, fuzz and benchmark
// scripts run must come from a Debian package that scripts/install-deps.sh
// installs for their make target, or from the minimal system itself: on a
// bare Debian with only make and git, a missing one fails the tests there.
//
// The scripts are read roughly as the shell reads them: the first word of
// every simple command (after assignments, env's options and timeout's
// duration), inside $(...), <(...) and backquotes too, with quoted text,
// here-documents, comments and arithmetic left out. Commands run through a
// variable or an array ("${run_as[@]}") are not seen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <glob.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

// The commands of each package; "minbase" is what debootstrap
// --variant=minbase gives every Debian system. Add a command here when a
// script starts running it.
const std::map<std::string, std::string> package_commands = {
    {"minbase",
     "apt-get awk basename bash cat chmod chown chroot cmp comm cp cut date dd dirname dpkg-deb "
     "dpkg-query env find findmnt getconf grep head id ls mkdir mktemp mount mv nproc od readlink "
     "mkfifo realpath rm sed seq setpriv sleep sort stat tail tar tee timeout touch tr uniq unshare "
     "wc yes zcat"},
    {"xvfb", "Xvfb"},
    {"xdotool", "xdotool"},
    {"x11-utils", "xwininfo xmessage xprop"},
    {"xdg-utils", "xdg-mime"},
    {"shared-mime-info", "update-mime-database"},
    {"cmake", "cmake cpack"},
    {"g++", "objdump strings"},  // binutils
    {"make", "make"},
    {"git", "git"},
    {"clang", "clang++"},
    {"dpkg-dev", "dpkg-parsechangelog"},
    {"desktop-file-utils", "desktop-file-validate update-desktop-database"},
    {"man-db", "man"},
    {"lintian", "lintian"},
    {"appstream", "appstreamcli"},
    {"devscripts", "hardening-check"},
    {"valgrind", "valgrind"},
    {"debootstrap", "debootstrap"},
};

// The scripts of each make target (install-deps.sh's targets).
const std::vector<std::pair<std::string, std::string>> script_targets = {
    {"tests/real/*.sh", "test"}, {"dist/*.sh", "test"}, {"fuzz/*.sh", "test"},
    {"bench/*.sh", "bench"},     {"scripts/fresh-debian-test.sh", "fresh"}, {".ci/run", "play"},
};

const std::set<std::string> shell_words = {
    "if", "then", "else", "elif", "fi", "case", "esac", "for", "while", "until", "do", "done",
    "in", "function", "time", "{", "}", "[[", "]]", "!", ".", ":", "[", "break", "cd", "command",
    "compgen", "continue", "declare", "echo", "eval", "exec", "exit", "export", "false",
    "getopts", "kill", "let", "local", "mapfile", "printf", "pwd", "read", "readonly", "return",
    "set", "shift", "shopt", "source", "test", "trap", "true", "type", "ulimit", "umask", "unset",
    "wait"};

// After these the next word is a command again.
const std::set<std::string> leaders = {"then", "else", "elif", "do", "if", "while", "until",
                                       "time", "!", "exec"};

struct Use {
  std::string word;
  int line;
};

struct ScriptReader {
  explicit ScriptReader(std::string text) : s(std::move(text)) {}
  std::string s;
  size_t i = 0;
  int line = 1;
  std::vector<Use> uses;
  std::set<std::string> functions;
  std::vector<std::string> heredocs;  // delimiters of here-documents begun on this line

  char at(size_t k) const { return k < s.size() ? s[k] : '\0'; }
  bool starts(const char *t) const { return s.compare(i, std::strlen(t), t) == 0; }

  // Up to the bracket closing the one just passed: ${...}, $((...)), x=(...).
  void skip_balanced(char open, char close, int depth) {
    for (; i < s.size() && depth > 0; ++i) {
      depth += (s[i] == open) - (s[i] == close);
      line += s[i] == '\n';
    }
  }

  void skip_heredoc(const std::string &end) {
    while (i < s.size()) {
      size_t eol = std::min(s.find('\n', i), s.size());
      std::string text = s.substr(i, eol - i);
      i = eol + 1;
      ++line;
      if (text.erase(0, text.find_first_not_of('\t')) == end) return;
    }
  }

  // One word: quotes and expansions skipped, substitutions read for their
  // commands. Returns it when it is plain text.
  std::string word(bool &plain) {
    size_t start = i;
    while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i])) &&
           !std::strchr(";|&()<>`", s[i])) {
      if (s[i] == '\'') {
        i = s.find('\'', i + 1) + 1;
        plain = false;
      } else if (s[i] == '"') {
        for (++i; i < s.size() && s[i] != '"'; ++i) {  // commands() stops past its end
          if (s[i] == '\\') ++i;
          else if (starts("$(") && !starts("$((")) i += 2, commands(')'), --i;
          else if (s[i] == '`') ++i, commands('`'), --i;
        }
        ++i;
        plain = false;
      } else if (starts("$((")) {
        i += 3, skip_balanced('(', ')', 2), plain = false;
      } else if (starts("$(")) {
        i += 2, commands(')'), plain = false;
      } else if (starts("${")) {
        i += 2, skip_balanced('{', '}', 1), plain = false;
      } else if (starts("=(")) {
        i += 2, skip_balanced('(', ')', 1);
        return "=";  // an array assignment
      } else {
        plain = plain && s[i] != '$' && s[i] != '\\';
        i += s[i] == '\\' ? 2 : 1;
      }
    }
    return s.substr(start, i - start);
  }

  // Commands up to `close` (a bracket or backquote; '\0' for the whole text).
  void commands(char close) {
    bool first = true, patterns = false, in_env = false;
    int skip = 0;  // words to pass before the wrapped command (timeout 5 cmd)
    while (i < s.size()) {
      char c = s[i];
      if (c == close && !patterns) return void(++i);
      if (c == '\n') {
        ++i, ++line;
        for (const std::string &end : heredocs) skip_heredoc(end);
        heredocs.clear();
        first = !patterns;
      } else if (c == ' ' || c == '\t') {
        ++i;
      } else if (c == '#') {
        i = std::min(s.find('\n', i), s.size());
      } else if (starts("\\\n")) {
        i += 2, ++line;
      } else if (starts("<<") && !starts("<<<")) {
        i += 2 + (at(i + 2) == '-');
        while (at(i) == ' ') ++i;
        bool plain = true;
        std::string end = word(plain);
        end.erase(std::remove_if(end.begin(), end.end(), [](char q) { return q == '\'' || q == '"'; }),
                  end.end());
        heredocs.push_back(end);
      } else if (starts("<(") || starts(">(")) {
        i += 2, commands(')');
      } else if (c == '<' || c == '>') {
        while (std::strchr("<>&", at(i)) && at(i)) ++i;
        while (at(i) == ' ') ++i;
        bool plain = true;
        if (!std::strchr("\n;|&", at(i))) word(plain);  // the file
      } else if (patterns && c == ')') {
        ++i, patterns = false, first = true;
      } else if (starts(";;")) {
        i += 2, patterns = true;
      } else if (starts("((")) {
        i += 2, skip_balanced('(', ')', 2), first = false;
      } else if (c == '`') {
        ++i, commands('`');
      } else if (std::strchr(";|&(){}", c)) {
        ++i, first = true;
      } else {
        bool plain = true;
        std::string w = word(plain);
        bool descriptor = std::strchr("<>", at(i)) && at(i) &&
                          w.find_first_not_of("0123456789") == std::string::npos;
        if (patterns) {
          if (w == "esac") patterns = false, first = false;
        } else if (!first || descriptor || w == "=") {
          if (w == "in" && patterns_next) patterns = true, patterns_next = false;
        } else if (in_env && (w[0] == '-' || w.find('=') != std::string::npos || skip > 0)) {
          skip = w == "-u" ? 1 : std::max(0, skip - (w[0] != '-' && w.find('=') == std::string::npos));
        } else if (skip > 0) {
          skip -= w[0] != '-';
        } else if (w.find('=') != std::string::npos && !in_env) {
          // an assignment before the command
        } else if (starts("()")) {
          functions.insert(w), first = false;
        } else {
          if (plain) uses.push_back({w, line});
          in_env = w == "env";
          skip = w == "timeout";
          patterns_next = w == "case";
          first = leaders.count(w) || in_env || skip;
        }
      }
    }
  }
  bool patterns_next = false;
};

std::string read_file(const std::string &path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::set<std::string> packages_of(const std::string &target) {
  std::set<std::string> packages;
  std::string command = SWARMFIRE_SOURCE_DIR "/scripts/install-deps.sh --list " + target;
  if (FILE *out = popen(command.c_str(), "r")) {
    char name[256];
    while (std::fscanf(out, "%255s", name) == 1) packages.insert(name);
    pclose(out);
  }
  return packages;
}

TEST(ToolPackages, EveryCommandTheScriptsRunIsInstalledForTheirTarget) {
  std::map<std::string, std::string> package_of;
  for (const auto &[package, commands] : package_commands) {
    std::istringstream words(commands);
    for (std::string c; words >> c;) package_of[c] = package;
  }
  std::vector<std::tuple<std::string, std::string, ScriptReader>> scripts;
  std::set<std::string> functions;  // those of a sourced script count in all
  for (const auto &[pattern, target] : script_targets) {
    glob_t found{};
    glob((SWARMFIRE_SOURCE_DIR "/" + pattern).c_str(), 0, nullptr, &found);
    for (size_t k = 0; k < found.gl_pathc; ++k) {
      ScriptReader reader{read_file(found.gl_pathv[k])};
      reader.commands('\0');
      functions.insert(reader.functions.begin(), reader.functions.end());
      scripts.emplace_back(found.gl_pathv[k] + std::strlen(SWARMFIRE_SOURCE_DIR "/"), target, reader);
    }
    globfree(&found);
  }
  ASSERT_GT(scripts.size(), 20u) << "the scripts were not found under " SWARMFIRE_SOURCE_DIR;
  for (const auto &[path, target, reader] : scripts) {
    std::set<std::string> installed = packages_of(target);
    ASSERT_FALSE(installed.empty()) << "install-deps.sh --list " << target;
    for (const Use &use : reader.uses) {
      // Programs given by their path are the project's own.
      if (shell_words.count(use.word) || functions.count(use.word) ||
          use.word.find('/') != std::string::npos)
        continue;
      std::string where = path + ":" + std::to_string(use.line) + ": runs `" + use.word + "`";
      auto row = package_of.find(use.word);
      if (row == package_of.end())
        ADD_FAILURE() << where << ", which the table of this test does not name: add it there "
                                  "with its Debian package, and the package to install-deps.sh";
      else if (row->second != "minbase" && !installed.count(row->second))
        ADD_FAILURE() << where << " from the package " << row->second
                      << ", which scripts/install-deps.sh does not install for make " << target;
    }
  }
}

// The reader finds commands where the shell would run them, and nothing in
// text, comments, here-documents, case patterns or arithmetic.
TEST(ToolPackages, ReaderFindsCommandsInEveryPosition) {
  ScriptReader reader{R"SH(
# xcomment in a comment
a=1 b=$(xsub one | xpipe "two") xfirst --flag "$(xquoted)" <(xprocess) >/dev/null 2>&1
if xif; then xthen; else xelse; fi && xand || xor
echo "xtext \"$((1 + 2))\"" 'xsingle' `xback`; for ((k = 0; k < 2; k++)); do xloop; done
cat <<EOF
xheredoc line
EOF
case $1 in
  xpattern|xother) xcase ;;
  *) xcase2 ;;
esac
env -u DISPLAY X=1 xenv arg; timeout 5 xtimeout
list=(xarray one) ; myfunc() { xbody; }
)SH"};
  reader.commands('\0');
  std::set<std::string> found;
  for (const Use &use : reader.uses)
    if (!shell_words.count(use.word)) found.insert(use.word);
  EXPECT_EQ(found, (std::set<std::string>{"xsub", "xpipe", "xfirst", "xquoted", "xprocess", "xif",
                                          "xthen", "xelse", "xand", "xor", "xback", "xloop", "cat",
                                          "xcase", "xcase2", "env", "xenv", "timeout",
                                          "xtimeout", "xbody"}));
  EXPECT_EQ(reader.functions, std::set<std::string>{"myfunc"});
}

}  // namespace
