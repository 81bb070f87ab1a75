// The keys as --help prints them (frame/key_guide.cpp) are the ones README.md
// and the manual page describe: every row's key names, with the words of
// each of its meanings up to the first comma, semicolon or parenthesis,
// stand together on one line of the README (a table row) and in one entry
// of the manual page (a .TP paragraph), whatever the markup around them.
#include "frame/key_guide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string source_file(const char *name) {
  std::stringstream text;
  text << std::ifstream(std::string(SWARMFIRE_SOURCE_DIR) + "/" + name).rdbuf();
  return text.str();
}

void replace_all(std::string &text, const std::string &from, const std::string &to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) text.replace(at, from.size(), to);
}

// The README's lines, without Markdown's code marks and table bars.
std::vector<std::string> readme_entries() {
  std::vector<std::string> entries;
  std::stringstream in(source_file("README.md"));
  for (std::string line; std::getline(in, line);) {
    replace_all(line, "`", "");
    replace_all(line, "|", " ");
    entries.push_back(line);
  }
  return entries;
}

// The manual page's paragraphs, each macro's name and quotes gone.
std::vector<std::string> manual_entries() {
  std::vector<std::string> entries(1);
  std::stringstream in(source_file("dist/swarmfire.6.in"));
  for (std::string line; std::getline(in, line);) {
    if (line == ".TP" || line.starts_with(".PP") || line.starts_with(".SH")) entries.emplace_back();
    if (line.starts_with(".")) line = line.find(' ') == std::string::npos ? "" : line.substr(line.find(' ') + 1);
    replace_all(line, "\"", "");
    replace_all(line, "\\-", "-");
    replace_all(line, "\\(mu", "x");
    entries.back() += line + " ";
  }
  return entries;
}

// The words of a text, its letters and digits; lower case unless `exact`.
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

bool has_words(const std::string &entry, const std::string &phrase, bool exact) {
  std::vector<std::string> all = words(entry, exact), wanted = words(phrase, exact);
  if (wanted.empty()) return entry.find(phrase) != std::string::npos;  // "+", "-", "."
  for (size_t i = 0; i + wanted.size() <= all.size(); ++i)
    if (std::equal(wanted.begin(), wanted.end(), all.begin() + static_cast<std::ptrdiff_t>(i))) return true;
  return false;
}

// Key names (", " between them), each exactly; of the meaning, its words
// up to the first comma, semicolon or parenthesis.
bool describes(const std::string &entry, const std::vector<std::string> &names, const std::string &meaning) {
  for (const std::string &list : names) {
    std::stringstream in(list);
    for (std::string name; std::getline(in, name, ',');)
      if (name.erase(0, name.find_first_not_of(' ')); !name.empty() && !has_words(entry, name, true)) return false;
  }
  return has_words(entry, meaning.substr(0, meaning.find_first_of(",;(")), false);
}

void expect_described(const std::vector<std::string> &names, const char *meaning) {
  if (!meaning) return;
  for (const auto &[document, entries] : {std::pair{"README.md", readme_entries()},
                                          std::pair{"the manual page", manual_entries()}}) {
    bool found = false;
    for (const std::string &entry : entries) found = found || describes(entry, names, meaning);
    EXPECT_TRUE(found) << document << " has no line with " << names[0] << " and \"" << meaning << "\"";
  }
}

}  // namespace

TEST(KeyGuideTest, EveryRowOfTheKeysIsInTheReadmeAndTheManualPage) {
  for (const KeyRow &row : key_rows()) {
    expect_described({row.keys}, row.in_play);
    expect_described({row.keys}, row.on_menus);
  }
  for (const PadRow &row : pad_rows()) expect_described({row.controls, row.buttons, row.stands_for}, row.does);
  for (const ViewerRow &row : viewer_rows()) expect_described({row.keys}, row.does);
}
