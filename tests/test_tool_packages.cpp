// Every external command that the real-window, install, fuzz and benchmark
// scripts run must come from a Debian package that scripts/install-deps.sh
// installs for their make target, or from the minimal system itself: on a
// bare Debian with only make and git, a missing one fails the tests there.
//
// The scripts are read as the shell reads them, roughly: the first word of
// every simple command (after assignments, and after env and timeout), with
// quoted text, here-documents, comments and arithmetic left out, and
// commands inside $(...), <(...) and backquotes found too. Commands run
// through a variable or an array ("${run_as[@]}") are not seen; the table
// names them anyway.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <glob.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Where each command comes from: a package name, or "minbase" for what
// debootstrap --variant=minbase gives every Debian system (its Essential and
// required packages). One row per command; add one when a script starts
// running a new tool.
const std::map<std::string, std::string> tool_package = {
    {"Xvfb", "xvfb"},
    {"apt-get", "minbase"},
    {"appstreamcli", "appstream"},
    {"awk", "minbase"},  // mawk
    {"basename", "minbase"},
    {"bash", "minbase"},
    {"cat", "minbase"},
    {"chmod", "minbase"},
    {"chown", "minbase"},
    {"chroot", "minbase"},
    {"clang++", "clang"},
    {"cmake", "cmake"},
    {"cmp", "minbase"},  // diffutils
    {"comm", "minbase"},
    {"cp", "minbase"},
    {"cpack", "cmake"},
    {"cut", "minbase"},
    {"date", "minbase"},
    {"dd", "minbase"},
    {"debootstrap", "debootstrap"},
    {"dirname", "minbase"},
    {"desktop-file-validate", "desktop-file-utils"},
    {"dpkg-deb", "minbase"},
    {"dpkg-parsechangelog", "dpkg-dev"},
    {"dpkg-query", "minbase"},
    {"env", "minbase"},
    {"find", "minbase"},
    {"findmnt", "minbase"},  // util-linux
    {"getconf", "minbase"},  // libc-bin
    {"git", "git"},
    {"grep", "minbase"},
    {"hardening-check", "devscripts"},
    {"head", "minbase"},
    {"id", "minbase"},
    {"lintian", "lintian"},
    {"ls", "minbase"},
    {"make", "make"},
    {"man", "man-db"},
    {"mkdir", "minbase"},
    {"mktemp", "minbase"},
    {"mount", "minbase"},
    {"mv", "minbase"},
    {"nproc", "minbase"},
    {"objdump", "g++"},  // binutils
    {"od", "minbase"},
    {"readlink", "minbase"},
    {"realpath", "minbase"},
    {"rm", "minbase"},
    {"sed", "minbase"},
    {"seq", "minbase"},
    {"setpriv", "minbase"},  // util-linux
    {"sleep", "minbase"},
    {"sort", "minbase"},
    {"stat", "minbase"},
    {"strings", "g++"},  // binutils
    {"tail", "minbase"},
    {"tar", "minbase"},
    {"tee", "minbase"},
    {"touch", "minbase"},
    {"tr", "minbase"},
    {"uniq", "minbase"},
    {"unshare", "minbase"},  // util-linux
    {"valgrind", "valgrind"},
    {"wc", "minbase"},
    {"xdotool", "xdotool"},
    {"xmessage", "x11-utils"},
    {"xwininfo", "x11-utils"},
    {"yes", "minbase"},
    {"zcat", "minbase"},  // gzip
};

// The scripts of each make target: the packages of that target must provide
// their commands.
struct ScriptSet {
  const char *pattern;  // relative to the source folder
  const char *target;   // install-deps.sh's target
};
const std::array<ScriptSet, 6> script_sets = {{
    {"tests/real/*.sh", "test"},
    {"dist/*.sh", "test"},
    {"fuzz/*.sh", "test"},
    {"bench/*.sh", "bench"},
    {"scripts/fresh-debian-test.sh", "fresh"},
    {".ci/run", "play"},
}};

const std::set<std::string> shell_words = {
    // keywords
    "if", "then", "else", "elif", "fi", "case", "esac", "for", "while", "until", "do", "done",
    "in", "function", "select", "time", "{", "}", "[[", "]]", "!",
    // builtins
    ".", ":", "[", "alias", "bg", "bind", "break", "builtin", "caller", "cd", "command",
    "compgen", "complete", "continue", "declare", "dirs", "disown", "echo", "enable", "eval",
    "exec", "exit", "export", "false", "fc", "fg", "getopts", "hash", "help", "jobs", "kill",
    "let", "local", "mapfile", "popd", "printf", "pushd", "pwd", "read", "readarray",
    "readonly", "return", "set", "shift", "shopt", "source", "test", "times", "trap", "true",
    "type", "typeset", "ulimit", "umask", "unalias", "unset", "wait"};

// Keywords after which the next word is a command again.
const std::set<std::string> command_leaders = {"then", "else", "elif", "do",   "if",   "while",
                                               "until", "time", "!",   "exec"};

std::string read_file(const std::string &path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> files_matching(const std::string &pattern) {
  std::vector<std::string> found;
  glob_t g{};
  if (glob(pattern.c_str(), 0, nullptr, &g) == 0)
    for (size_t i = 0; i < g.gl_pathc; ++i) found.push_back(g.gl_pathv[i]);
  globfree(&g);
  return found;
}

struct Use {
  std::string word;
  int line;
};

// A rough reader of a bash script: the words in command position.
class ScriptReader {
 public:
  explicit ScriptReader(const std::string &text) : s_(text) {}

  void read() {
    while (i_ < s_.size()) step();
  }
  std::vector<Use> uses;
  std::vector<std::string> functions;

 private:
  const std::string s_;
  size_t i_ = 0;
  int line_ = 1;
  bool at_command_ = true;
  int skip_args_ = 0;            // words still to skip before a wrapped command (timeout)
  bool in_env_ = false;          // reading env's options and assignments
  bool in_case_patterns_ = false;
  std::vector<std::string> heredocs_;  // delimiters waiting for the end of the line

  char at(size_t k) const { return k < s_.size() ? s_[k] : '\0'; }

  void newline() {
    ++line_;
    ++i_;
    for (const std::string &end : heredocs_) skip_heredoc(end);
    heredocs_.clear();
    if (!in_case_patterns_) at_command_ = true;
  }

  void skip_heredoc(const std::string &end) {
    while (i_ < s_.size()) {
      size_t eol = s_.find('\n', i_);
      if (eol == std::string::npos) eol = s_.size();
      std::string text = s_.substr(i_, eol - i_);
      size_t first = text.find_first_not_of('\t');
      i_ = eol + 1;
      ++line_;
      if (first != std::string::npos && text.substr(first) == end) return;
    }
  }

  void skip_single_quoted() {
    for (++i_; i_ < s_.size() && s_[i_] != '\''; ++i_)
      if (s_[i_] == '\n') ++line_;
    ++i_;
  }

  // Double-quoted text: only its command substitutions hold commands.
  void skip_double_quoted() {
    for (++i_; i_ < s_.size() && s_[i_] != '"';) {
      if (s_[i_] == '\\') {
        i_ += 2;
      } else if (s_[i_] == '$' && at(i_ + 1) == '(' && at(i_ + 2) != '(') {
        i_ += 2;
        substitution(')');
      } else if (s_[i_] == '`') {
        ++i_;
        substitution('`');
      } else {
        if (s_[i_] == '\n') ++line_;
        ++i_;
      }
    }
    ++i_;
  }

  // Commands up to the closing character, in a reader of their own state.
  void substitution(char close) {
    bool outer_command = at_command_;
    at_command_ = true;
    int depth = 0;
    while (i_ < s_.size()) {
      char c = s_[i_];
      if (c == close && depth == 0) {
        ++i_;
        break;
      }
      if (close == ')' && c == '(') ++depth;
      if (close == ')' && c == ')') {
        --depth;
        ++i_;
        continue;
      }
      step();
    }
    at_command_ = outer_command;
  }

  // ${...} and $((...)): no commands inside (nested substitutions aside).
  void skip_expansion(char open, char close) {
    int depth = 0;
    for (; i_ < s_.size(); ++i_) {
      if (s_[i_] == open) ++depth;
      if (s_[i_] == close && --depth == 0) break;
      if (s_[i_] == '\n') ++line_;
    }
    ++i_;
  }

  void word() {
    size_t start = i_;
    bool plain = true;
    while (i_ < s_.size()) {
      char c = s_[i_];
      if (std::isspace(static_cast<unsigned char>(c)) || std::strchr(";|&()<>`", c)) break;
      if (c == '\'' || c == '"' || c == '$' || c == '\\') {
        plain = false;
        if (c == '\'') skip_single_quoted();
        else if (c == '"') skip_double_quoted();
        else if (c == '$' && at(i_ + 1) == '(' && at(i_ + 2) == '(') skip_expansion('(', ')');
        else if (c == '$' && at(i_ + 1) == '(') {
          i_ += 2;
          substitution(')');
        } else if (c == '$' && at(i_ + 1) == '{') skip_expansion('{', '}');
        else i_ += c == '\\' ? 2 : 1;
        continue;
      }
      // An array assignment: x=(a b c).
      if (c == '=' && at(i_ + 1) == '(') {
        i_ += 2;
        skip_expansion_from_inside();
        return;
      }
      ++i_;
    }
    std::string w = s_.substr(start, i_ - start);
    bool descriptor = (at(i_) == '<' || at(i_) == '>') &&
                      w.find_first_not_of("0123456789") == std::string::npos;  // 2>file
    if (!descriptor) classify(w, plain);
  }

  void skip_expansion_from_inside() {
    int depth = 1;
    for (; i_ < s_.size() && depth > 0; ++i_) {
      if (s_[i_] == '(') ++depth;
      if (s_[i_] == ')') --depth;
      if (s_[i_] == '\n') ++line_;
    }
  }

  void classify(const std::string &w, bool plain) {
    if (in_case_patterns_) return;  // a pattern of a case, up to its ')'
    if (!at_command_) {
      if (w == "case" ) return;
      if (w == "in" && expecting_case_in_) {
        expecting_case_in_ = false;
        in_case_patterns_ = true;
      }
      return;
    }
    if (w.find('=') != std::string::npos && w[0] != '=' && !in_env_) return;  // an assignment
    if (in_env_) {
      if (w[0] == '-' || w.find('=') != std::string::npos) {
        if (w == "-u") skip_args_ = 1;
        return;
      }
      if (skip_args_ > 0) {
        --skip_args_;
        return;
      }
      in_env_ = false;
    } else if (skip_args_ > 0) {
      if (w[0] != '-') --skip_args_;
      return;
    }
    if (at(i_) == '(' && at(i_ + 1) == ')') {  // name() { ... }
      functions.push_back(w);
      return;
    }
    if (plain && !w.empty()) uses.push_back({w, line_});
    if (w == "case") {
      at_command_ = false;
      expecting_case_in_ = true;
      return;
    }
    if (w == "env") {
      in_env_ = true;
      return;
    }
    if (w == "timeout") {
      skip_args_ = 1;
      return;
    }
    if (w == "function") {
      at_command_ = false;
      return;
    }
    at_command_ = command_leaders.count(w) > 0;
  }
  bool expecting_case_in_ = false;

  void step() {
    char c = s_[i_];
    if (c == '\n') {
      newline();
    } else if (c == ' ' || c == '\t') {
      ++i_;
    } else if (c == '\\' && at(i_ + 1) == '\n') {
      i_ += 2;
      ++line_;
    } else if (c == '#') {
      while (i_ < s_.size() && s_[i_] != '\n') ++i_;
    } else if (c == '<' && at(i_ + 1) == '<' && at(i_ + 2) != '<') {
      heredoc_start();
    } else if ((c == '<' || c == '>') && at(i_ + 1) == '(') {
      i_ += 2;
      substitution(')');
    } else if (c == '<' || c == '>') {
      redirection();
    } else if (c == ')' && in_case_patterns_) {
      ++i_;
      in_case_patterns_ = false;
      at_command_ = true;
    } else if (c == ';' && at(i_ + 1) == ';') {
      i_ += 2;
      in_case_patterns_ = true;
    } else if (c == '(' && at(i_ + 1) == '(') {  // arithmetic: (( k++ )), for ((...))
      skip_expansion('(', ')');
      at_command_ = false;
    } else if (std::strchr(";|&(){}", c)) {
      ++i_;
      at_command_ = true;
    } else if (c == '`') {
      ++i_;
      substitution('`');

    } else if (in_case_patterns_ && word_is("esac")) {
      i_ += 4;
      in_case_patterns_ = false;
      at_command_ = false;
    } else {
      word();
    }
  }

  bool word_is(const char *w) const { return s_.compare(i_, std::strlen(w), w) == 0; }

  void heredoc_start() {
    i_ += 2;
    if (at(i_) == '-') ++i_;
    while (at(i_) == ' ') ++i_;
    std::string end;
    while (i_ < s_.size() && !std::isspace(static_cast<unsigned char>(s_[i_])) &&
           !std::strchr(";|&)", s_[i_]))
      if (s_[i_] != '\'' && s_[i_] != '"') end += s_[i_++];
      else ++i_;
    heredocs_.push_back(end);
  }

  // >file, 2>&1, <file: the file is no command.
  void redirection() {
    while (std::strchr("<>&", at(i_)) && at(i_)) ++i_;
    while (at(i_) == ' ') ++i_;
    bool was = at_command_;
    at_command_ = false;
    if (i_ < s_.size() && !std::strchr("\n;|&", s_[i_])) word();
    at_command_ = was;
  }
};

// The packages install-deps.sh installs for a target.
std::set<std::string> packages_of(const std::string &target) {
  std::string command =
      std::string(SWARMFIRE_SOURCE_DIR) + "/scripts/install-deps.sh --list " + target;
  std::set<std::string> packages;
  FILE *out = popen(command.c_str(), "r");
  if (!out) return packages;
  char line[256];
  while (std::fgets(line, sizeof line, out)) {
    std::string p(line);
    while (!p.empty() && std::isspace(static_cast<unsigned char>(p.back()))) p.pop_back();
    packages.insert(p);
  }
  pclose(out);
  return packages;
}

struct ScriptUses {
  std::string path;
  std::string target;
  std::vector<Use> uses;
};

std::vector<ScriptUses> read_scripts(std::set<std::string> &functions) {
  std::vector<ScriptUses> all;
  for (const ScriptSet &set : script_sets)
    for (const std::string &path :
         files_matching(std::string(SWARMFIRE_SOURCE_DIR) + "/" + set.pattern)) {
      std::string text = read_file(path);
      ScriptReader reader(text);
      reader.read();
      functions.insert(reader.functions.begin(), reader.functions.end());
      all.push_back({path.substr(std::strlen(SWARMFIRE_SOURCE_DIR) + 1), set.target, reader.uses});
    }
  return all;
}

TEST(ToolPackages, EveryCommandTheScriptsRunIsInstalledForTheirTarget) {
  std::set<std::string> functions;
  std::vector<ScriptUses> scripts = read_scripts(functions);
  ASSERT_GT(scripts.size(), 20u) << "the scripts were not found under " SWARMFIRE_SOURCE_DIR;
  std::map<std::string, std::set<std::string>> packages;
  for (const ScriptUses &script : scripts) {
    std::set<std::string> &installed = packages[script.target];
    if (installed.empty()) installed = packages_of(script.target);
    ASSERT_FALSE(installed.empty()) << "install-deps.sh --list " << script.target;
    for (const Use &use : script.uses) {
      // Keywords, builtins, the scripts' own functions, and programs given by
      // their path (the project's own scripts and tools).
      if (shell_words.count(use.word) || functions.count(use.word) ||
          use.word.find('/') != std::string::npos)
        continue;
      std::string where = script.path + ":" + std::to_string(use.line) + ": ";
      auto row = tool_package.find(use.word);
      if (row == tool_package.end()) {
        ADD_FAILURE() << where << "runs `" << use.word
                      << "`, which the table of tools in this test does not name: add its "
                         "Debian package there and to scripts/install-deps.sh";
        continue;
      }
      if (row->second != "minbase" && !installed.count(row->second))
        ADD_FAILURE() << where << "runs `" << use.word << "` from the package " << row->second
                      << ", which scripts/install-deps.sh does not install for make "
                      << script.target;
    }
  }
}

// The reader finds commands where the shell would run them, and nothing in
// text, comments, here-documents or arithmetic.
TEST(ToolPackages, ReaderFindsCommandsInEveryPosition) {
  const char *script = R"SH(
# xcomment in a comment
a=1 b=$(xsub one | xpipe "two") xfirst --flag "$(xquoted)" <(xprocess) >/dev/null 2>&1
if xif; then xthen; else xelse; fi && xand || xor
echo "xtext $((1 + 2))" 'xsingle' `xback`
cat <<EOF
xheredoc line
EOF
case $1 in
  xpattern|xother) xcase ;;
  *) xcase2 ;;
esac
env -u DISPLAY X=1 xenv arg; timeout 5 xtimeout
list=(xarray one) ; myfunc() { xbody; }
)SH";
  ScriptReader reader(script);
  reader.read();
  std::set<std::string> found;
  for (const Use &use : reader.uses)
    if (!shell_words.count(use.word)) found.insert(use.word);
  std::set<std::string> expected = {"xsub",  "xpipe", "xfirst", "xquoted", "xprocess", "xif",
                                    "xthen", "xelse", "xand",   "xor",     "xback",    "cat",
                                    "xcase", "xcase2", "env",   "xenv",    "timeout",  "xtimeout",
                                    "xbody"};
  EXPECT_EQ(found, expected);
  EXPECT_EQ(reader.functions, std::vector<std::string>{"myfunc"});
}

}  // namespace
