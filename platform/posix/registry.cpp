// The registry stand-in: string values under key paths, kept in an INI-like text file.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/platform.h"
#include "posix_internal.h"

namespace vemlo::platform {

namespace {

std::string& RegistryOverride() {
  static std::string path;
  return path;
}

std::string RegistryPath() {
  if (!RegistryOverride().empty()) return RegistryOverride();
  if (const char* env = std::getenv("VEMLO_REGISTRY"); env && *env) return env;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return std::string(xdg) + "/vemlo/registry.ini";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.config/vemlo/registry.ini";
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// `extra` holds further bytes escaped as \xHH (names must not contain "=").
std::string Escape(const std::string& s, const std::string& extra) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : s) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (u < 0x20 || extra.find(c) != std::string::npos) {
      out += "\\x";
      out += hex[u >> 4];
      out += hex[u & 15];
    } else {
      out += c;
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '\\') {
      out += '\\';
      ++i;
    } else if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x' && HexDigit(s[i + 2]) >= 0 &&
               HexDigit(s[i + 3]) >= 0) {
      out += static_cast<char>(HexDigit(s[i + 2]) * 16 + HexDigit(s[i + 3]));
      i += 3;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::string EscapeName(const std::string& name) {
  std::string escaped = Escape(name, "=");
  if (!escaped.empty() && (escaped[0] == '[' || escaped[0] == ';'))
    escaped = (escaped[0] == '[' ? "\\x5B" : "\\x3B") + escaped.substr(1);
  return escaped;
}

bool SectionName(const std::string& line, std::string& key) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
  key = line.substr(1, line.size() - 2);
  return true;
}

// A "Name=Value" line, unescaped.
bool ValueLine(const std::string& line, std::string& name, std::string& value) {
  size_t eq = line.find('=');
  if (eq == std::string::npos || eq == 0 || line[0] == ';') return false;
  name = Unescape(line.substr(0, eq));
  value = Unescape(line.substr(eq + 1));
  return true;
}

bool IsUnder(const std::string& section, const std::string& key) {
  if (posix::SameNameNoCase(section, key)) return true;
  std::string prefix = key;
  if (!prefix.empty() && prefix.back() != '\\') prefix += '\\';
  return section.size() > prefix.size() && posix::SameNameNoCase(section.substr(0, prefix.size()), prefix);
}

bool MakeParents(const std::string& path) {
  for (size_t i = 1; i < path.size(); ++i) {
    if (path[i] != '/') continue;
    std::string dir = path.substr(0, i);
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

bool WriteAtomically(const std::string& path, const std::vector<std::string>& lines) {
  if (!MakeParents(path)) return false;
  std::string temp = path + ".tmp" + std::to_string(getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << '\n';
    out.flush();
    if (!out) {
      out.close();
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

void SetRegistryFile(const std::string& nativePath) { RegistryOverride() = nativePath; }

bool RegKeyExists(const std::string& key) {
  std::string section;
  for (const std::string& line : ReadLines(RegistryPath()))
    if (SectionName(line, section) && IsUnder(section, key)) return true;
  return false;
}

std::optional<std::string> RegQueryString(const std::string& key, const std::string& name) {
  std::optional<std::string> result;
  bool inKey = false;
  std::string section, n, v;
  for (const std::string& line : ReadLines(RegistryPath())) {
    if (SectionName(line, section))
      inKey = posix::SameNameNoCase(section, key);
    else if (inKey && ValueLine(line, n, v) && posix::SameNameNoCase(n, name))
      result = v;
  }
  return result;
}

bool RegSetString(const std::string& key, const std::string& name, const std::string& value) {
  // A key path or name that would break the line structure is refused.
  if (key.empty() || name.empty()) return false;
  for (char c : key)
    if (static_cast<unsigned char>(c) < 0x20) return false;
  const std::string path = RegistryPath();
  std::vector<std::string> lines = ReadLines(path);
  const std::string entry = EscapeName(name) + "=" + Escape(value, "");
  bool inKey = false;
  size_t insertAt = std::string::npos;  // after the last value line of the key's section
  std::string section, n, v;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (SectionName(lines[i], section)) {
      inKey = posix::SameNameNoCase(section, key);
      if (inKey) insertAt = i + 1;
    } else if (inKey && ValueLine(lines[i], n, v)) {
      if (posix::SameNameNoCase(n, name)) {
        lines[i] = entry;
        return WriteAtomically(path, lines);
      }
      insertAt = i + 1;
    }
  }
  if (insertAt != std::string::npos) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
  } else {
    if (!lines.empty() && !lines.back().empty()) lines.push_back(std::string());
    lines.push_back("[" + key + "]");
    lines.push_back(entry);
  }
  return WriteAtomically(path, lines);
}

}  // namespace vemlo::platform
