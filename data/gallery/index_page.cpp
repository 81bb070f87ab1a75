// The gallery's index.html: the pictures by section with their captions,
// then the contact sheets and the samples with their measurements.
#include "data/gallery/gallery.h"

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> files_in(const std::string &folder, const std::string &suffix) {
  std::vector<std::string> names;
  if (DIR *d = opendir(folder.c_str())) {
    while (dirent *e = readdir(d)) {
      std::string n = e->d_name;
      if (n.size() > suffix.size() && n.compare(n.size() - suffix.size(), suffix.size(), suffix) == 0)
        names.push_back(n);
    }
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string escaped(const std::string &text) {
  std::string out;
  for (char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '"') out += "&quot;";
    else out += c;
  }
  return out;
}

void pictures_section(std::ostream &out) {
  std::string section;
  for (const GalleryPicture &p : saved_pictures()) {
    if (p.section != section) {
      if (!section.empty()) out << "</div>\n";
      section = p.section;
      out << "<h2>" << escaped(section) << "</h2>\n<div class=\"grid\">\n";
    }
    out << "<figure><a href=\"" << p.file << "\"><img src=\"" << p.file << "\" width=\"640\" height=\"480\" alt=\""
        << escaped(p.caption) << "\"></a><figcaption>" << escaped(p.caption) << " &middot; <a href=\"1x/" << p.file
        << "\">1x</a></figcaption></figure>\n";
  }
  if (!section.empty()) out << "</div>\n";
}

void sprites_section(std::ostream &out, const std::string &folder) {
  out << "<h2>Sprites enlarged</h2>\n<p>Every frame sequence, larger and at 1x, in its datafile's palette.</p>\n";
  for (const std::string &f : files_in(folder, ".png"))
    if (f.rfind("sprites_", 0) == 0) out << "<p><a href=\"" << f << "\"><img src=\"" << f << "\" alt=\"" << f << "\"></a></p>\n";
}

void sheets_section(std::ostream &out, const std::string &folder, const std::string &sheets) {
  out << "<h2>Contact sheets</h2>\n<ul>\n";
  for (const std::string &f : files_in(folder + "/" + sheets, ".png"))
    out << "<li><a href=\"" << sheets << "/" << f << "\">" << escaped(f) << "</a></li>\n";
  out << "</ul>\n";
}

void sounds_section(std::ostream &out, const std::string &folder, const std::string &sounds) {
  out << "<h2>Sounds</h2>\n<ul>\n";
  for (const std::string &f : files_in(folder + "/" + sounds, ".wav"))
    out << "<li><a href=\"" << sounds << "/" << f << "\">" << escaped(f) << "</a> <audio controls preload=\"none\" src=\""
        << sounds << "/" << f << "\"></audio></li>\n";
  out << "</ul>\n";
  std::ifstream report(folder + "/" + sounds + "/measurements.txt");
  std::stringstream text;
  text << report.rdbuf();
  if (!text.str().empty()) out << "<h3>Measurements</h3>\n<pre>" << escaped(text.str()) << "</pre>\n";
}

}  // namespace

bool write_index(const std::string &folder, const std::string &sheets, const std::string &sounds) {
  std::ofstream out(folder + "/index.html");
  out << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Swarmfire gallery</title>\n"
         "<style>body{background:#111;color:#ddd;font-family:sans-serif}a{color:#9cf}"
         ".grid{display:flex;flex-wrap:wrap;gap:12px}figure{margin:0}img{image-rendering:pixelated}"
         "</style></head><body>\n<h1>Swarmfire gallery</h1>\n"
         "<p>Every screen at its characteristic moment, at twice its size (each links its 1x picture).</p>\n";
  out << "<p>Overviews at 1x:";
  for (const char *o : {"title", "options", "bonus", "level", "pause", "game", "final", "ending"})
    out << " <a href=\"overview_" << o << ".png\">" << o << "</a>";
  out << "</p>\n";
  pictures_section(out);
  sprites_section(out, folder);
  sheets_section(out, folder, sheets);
  sounds_section(out, folder, sounds);
  out << "</body></html>\n";
  return bool(out);
}
