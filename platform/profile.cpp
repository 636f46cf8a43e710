#include "profile.h"

#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>
#include <unistd.h>
#include <vector>

#include "text.h"

namespace tavlo {
namespace {

// Blanks around names and values: space and tab, as the profile functions trim them.
std::string trim_blanks(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return std::string(s.substr(b, e - b));
}

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && to_lower_ascii(a) == to_lower_ascii(b);
}

struct Line {
  std::string text;     // without the line end
  std::string section;  // section name when this is a header line
  bool is_header = false;
};

std::vector<Line> read_lines(const std::string& path, bool& crlf) {
  std::vector<Line> lines;
  crlf = false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return lines;
  std::string raw;
  while (std::getline(in, raw)) {
    if (!raw.empty() && raw.back() == '\r') {
      raw.pop_back();
      crlf = true;
    }
    Line l;
    l.text = raw;
    std::string t = trim_blanks(raw);
    if (t.size() >= 2 && t.front() == '[') {
      std::size_t close = t.find(']');
      if (close != std::string::npos) {
        l.is_header = true;
        l.section = trim_blanks(std::string_view(t).substr(1, close - 1));
      }
    }
    lines.push_back(std::move(l));
  }
  return lines;
}

// Key of a "key=value" line, or false.
bool key_of(const std::string& line, std::string& key, std::string& value) {
  std::size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  key = trim_blanks(std::string_view(line).substr(0, eq));
  value = trim_blanks(std::string_view(line).substr(eq + 1));
  return true;
}

bool has_line_break(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

}  // namespace

std::string profile_read(const std::string& path, const std::string& section,
                         const std::string& key) {
  bool crlf;
  std::vector<Line> lines = read_lines(path, crlf);
  bool in_section = false;
  for (const Line& l : lines) {
    if (l.is_header) {
      in_section = same_name(l.section, section);
      continue;
    }
    std::string k, v;
    if (!in_section || !key_of(l.text, k, v) || !same_name(k, key)) continue;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
      v = v.substr(1, v.size() - 2);
    if (v.size() > PROFILE_VALUE_MAX) v.resize(PROFILE_VALUE_MAX);
    return v;
  }
  return {};
}

bool profile_write(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) {
  // A line break would split the entry and corrupt the file; such writes are refused.
  if (section.empty() || key.empty() || has_line_break(section) || has_line_break(key) ||
      has_line_break(value) || key.find('=') != std::string::npos)
    return false;
  // Read-modify-write of one file must not interleave between threads.
  static std::mutex write_lock;
  std::lock_guard<std::mutex> guard(write_lock);
  bool crlf;
  std::vector<Line> lines = read_lines(path, crlf);
  const std::string entry = key + "=" + value;
  int section_at = -1, last_in_section = -1;
  bool done = false;
  for (std::size_t i = 0; i < lines.size() && !done; ++i) {
    if (lines[i].is_header) {
      if (section_at >= 0) break;  // past our section
      if (same_name(lines[i].section, section)) section_at = last_in_section = int(i);
      continue;
    }
    if (section_at < 0) continue;
    std::string k, v;
    if (key_of(lines[i].text, k, v) && same_name(k, key)) {
      lines[i].text = entry;
      done = true;
    } else if (!trim_blanks(lines[i].text).empty()) {
      last_in_section = int(i);
    }
  }
  if (!done) {
    Line l;
    l.text = entry;
    if (section_at >= 0) {
      lines.insert(lines.begin() + last_in_section + 1, l);
    } else {
      Line h;
      h.text = "[" + section + "]";
      h.is_header = true;
      lines.push_back(h);
      lines.push_back(l);
    }
  }
  const std::string eol = crlf ? "\r\n" : "\n";
  std::string out;
  for (const Line& l : lines) out += l.text + eol;
  const std::string tmp = path + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f << out;
    if (!f.flush()) {
      std::remove(tmp.c_str());
      return false;
    }
  }
  if (std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

}  // namespace tavlo
