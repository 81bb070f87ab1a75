// The keys as --help prints them (frame/key_guide.cpp) are the ones README.md
// and the manual page describe: every row's key names, with the words of
// each of its meanings up to the first comma, semicolon or parenthesis,
// stand together on one line of the README (a table row) and in one entry
// of the manual page (a .TP paragraph), whatever the markup around them,
// under the heading of the row's kind: "Keys", "Gamepads" or "Watching a
// recording" (in capitals in the manual page).
#include "frame/key_guide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Entry {
  std::string heading, text;
};

// The README's lines, or the manual page's paragraphs without the macros'
// names, each under its heading.
std::vector<Entry> entries_of(const char *name) {
  const bool manual = std::string(name).ends_with(".in");
  std::ifstream in(std::string(SWARMFIRE_SOURCE_DIR) + "/" + name);
  std::vector<Entry> entries(1);
  for (std::string line; std::getline(in, line);) {
    if (!manual || line == ".TP" || line.starts_with(".PP") || line.starts_with(".SH"))
      entries.push_back({entries.back().heading, ""});
    if (line.starts_with(manual ? ".SH " : "#")) entries.back().heading = line.substr(line.find(' ') + 1);
    if (manual && line.starts_with(".")) line = line.find(' ') == std::string::npos ? "" : line.substr(line.find(' ') + 1);
    entries.back().text += line + " ";
  }
  return entries;
}

// The words of a text, its letters and digits (markup falls between them);
// lower case unless `exact`.
std::vector<std::string> words(const std::string &text, bool exact) {
  std::vector<std::string> out(1);
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)))
      out.back() += exact ? c : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    else if (!out.back().empty())
      out.emplace_back();
  }
  if (out.back().empty()) out.pop_back();
  return out;
}

bool has_words(const std::string &text, const std::string &phrase, bool exact) {
  std::vector<std::string> all = words(text, exact), wanted = words(phrase, exact);
  if (wanted.empty()) return text.find(phrase) != std::string::npos;  // "+", "-", "."
  for (size_t i = 0; i + wanted.size() <= all.size(); ++i)
    if (std::equal(wanted.begin(), wanted.end(), all.begin() + static_cast<std::ptrdiff_t>(i))) return true;
  return false;
}

// Key names (", " between them), each exactly; of the meaning, its words
// up to the first comma, semicolon or parenthesis.
bool describes(const std::string &text, const std::vector<std::string> &names, const std::string &meaning) {
  for (const std::string &list : names) {
    std::stringstream in(list);
    for (std::string name; std::getline(in, name, ',');)
      if (name.erase(0, name.find_first_not_of(' ')); !name.empty() && !has_words(text, name, true)) return false;
  }
  return has_words(text, meaning.substr(0, meaning.find_first_of(",;(")), false);
}

void expect_described(const char *heading, const std::vector<std::string> &names, const char *meaning) {
  if (!meaning) return;
  for (const char *document : {"README.md", "dist/swarmfire.6.in"}) {
    bool found = false;
    for (const Entry &entry : entries_of(document))
      found = found || (words(entry.heading, false) == words(heading, false) && describes(entry.text, names, meaning));
    EXPECT_TRUE(found) << document << " has no line under \"" << heading << "\" with " << names[0] << " and \""
                       << meaning << "\"";
  }
}

}  // namespace

TEST(KeyGuideTest, EveryRowOfTheKeysIsInTheReadmeAndTheManualPage) {
  for (const KeyRow &row : key_rows()) {
    expect_described("Keys", {row.keys}, row.in_play);
    expect_described("Keys", {row.keys}, row.on_menus);
  }
  for (const PadRow &row : pad_rows())
    expect_described("Gamepads", {row.controls, row.buttons, row.stands_for}, row.does);
  for (const ViewerRow &row : viewer_rows()) expect_described("Watching a recording", {row.keys}, row.does);
}
