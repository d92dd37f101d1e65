// The host's help viewer over the help-file format of ui_help.h.
#include "ui_help.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "ui.h"
#include "ui_draw.h"

namespace vemlo::sim {
namespace {

void Append(HelpLine& line, HelpSpan::Kind kind, char c) {
  if (line.empty() || line.back().Type != kind || kind == HelpSpan::Link)
    line.push_back(HelpSpan{kind, {}, {}});
  line.back().Text += c;
}

bool Doubled(const std::string& s, size_t i, char c) {
  return s[i] == c && i + 1 < s.size() && s[i + 1] == c;
}

// Reads a link "~text~@target@" starting at `i` (on the first '~'); on success
// fills `span` and returns the offset after it, else returns `i`.
size_t ReadLink(const std::string& s, size_t i, HelpSpan& span) {
  size_t j = i + 1;
  std::string text;
  while (j < s.size()) {
    if (Doubled(s, j, '~') || Doubled(s, j, '#') || Doubled(s, j, '@')) {
      text += s[j];
      j += 2;
    } else if (s[j] == '~') {
      break;
    } else if (s[j] == '#') {
      ++j;  // highlighting inside a link text has no effect of its own
    } else {
      text += s[j++];
    }
  }
  if (j + 1 >= s.size() || s[j] != '~' || s[j + 1] != '@') return i;
  size_t k = j + 2;
  std::string target;
  while (k < s.size()) {
    if (Doubled(s, k, '@')) {
      target += '@';
      k += 2;
    } else if (s[k] == '@') {
      break;
    } else {
      target += s[k++];
    }
  }
  if (k >= s.size()) return i;
  span = HelpSpan{HelpSpan::Link, text, target};
  return k + 1;
}

std::string Trimmed(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

struct LinkRef {
  bool Fixed = false;
  int Line = 0, Col = 0;
  std::string Target;
};

std::vector<LinkRef> LinksOf(const HelpTopic& t) {
  std::vector<LinkRef> out;
  auto scan = [&out](const std::vector<HelpLine>& lines, bool fixed) {
    for (size_t l = 0; l < lines.size(); ++l) {
      int col = 0;
      for (const HelpSpan& s : lines[l]) {
        if (s.Type == HelpSpan::Link) out.push_back(LinkRef{fixed, static_cast<int>(l), col, s.Target});
        col += static_cast<int>(s.Text.size());
      }
    }
  };
  scan(t.Fixed, true);
  scan(t.Lines, false);
  return out;
}

struct Place {
  int Topic = 0, Top = 0, Link = -1;
};

}  // namespace

HelpLine ParseHelpLine(const std::string& s) {
  HelpLine line;
  HelpSpan::Kind mode = HelpSpan::Plain;
  for (size_t i = 0; i < s.size();) {
    const char c = s[i];
    if (Doubled(s, i, '~') || Doubled(s, i, '#') || Doubled(s, i, '@')) {
      Append(line, mode, c);
      i += 2;
    } else if (c == '#') {
      mode = mode == HelpSpan::Highlight ? HelpSpan::Plain : HelpSpan::Highlight;
      ++i;
    } else if (c == '~') {
      HelpSpan link;
      size_t next = ReadLink(s, i, link);
      if (next == i) {
        Append(line, mode, c);  // an unclosed link shows as it stands
        ++i;
      } else {
        line.push_back(link);
        i = next;
      }
    } else {
      Append(line, mode, c);
      ++i;
    }
  }
  return line;
}

std::vector<HelpTopic> ParseHelpFile(const std::string& bytes) {
  std::vector<HelpTopic> topics;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '@' && !Doubled(line, 0, '@')) {
      topics.push_back(HelpTopic{Trimmed(line.substr(1)), {}, {}});
      continue;
    }
    if (topics.empty()) continue;  // header lines (".Language=" and the like)
    if (!line.empty() && line[0] == '$')
      topics.back().Fixed.push_back(ParseHelpLine(line.substr(1)));
    else
      topics.back().Lines.push_back(ParseHelpLine(line));
  }
  return topics;
}

int FindHelpTopic(const std::vector<HelpTopic>& topics, const std::string& name) {
  auto same = [](const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (UpperOem(static_cast<unsigned char>(a[i])) != UpperOem(static_cast<unsigned char>(b[i])))
        return false;
    return true;
  };
  for (size_t i = 0; i < topics.size(); ++i)
    if (same(topics[i].Name, name)) return static_cast<int>(i);
  return -1;
}

bool RunHelpViewer(UiEnv& env, const std::string& nativePath, const std::string& topic) {
  if (!env.Screen) return false;
  std::ifstream in(nativePath, std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<HelpTopic> topics = ParseHelpFile(bytes);
  Place at;
  at.Topic = FindHelpTopic(topics, topic.empty() ? "Contents" : topic);
  if (at.Topic < 0) return false;

  Console& con = *env.Screen;
  const int x1 = 0, y1 = 0, x2 = con.Width() - 1, y2 = con.Height() - 1;
  const int width = std::max(x2 - x1 - 3, 1);
  const unsigned char textAttr = 0x30, highAttr = 0x3F, linkAttr = 0x3E, selAttr = 0x0E;
  const Console::Saved saved = con.Save(x1, y1, x2, y2);
  const bool cursor = con.CursorVisible;
  con.CursorVisible = false;
  std::vector<Place> back;

  std::vector<LinkRef> links;
  int fixedRows = 0, bodyRows = 1, maxTop = 0;
  auto enter = [&](const Place& p, bool pickLink) {
    at = p;
    const HelpTopic& t = topics[at.Topic];
    links = LinksOf(t);
    fixedRows = std::min(static_cast<int>(t.Fixed.size()), std::max(y2 - y1 - 2, 0));
    bodyRows = std::max(y2 - y1 - 1 - fixedRows, 1);
    maxTop = std::max(static_cast<int>(t.Lines.size()) - bodyRows, 0);
    at.Top = std::clamp(at.Top, 0, maxTop);
    if (pickLink) at.Link = -1;
  };
  auto visible = [&](int i) {
    return links[i].Fixed || (links[i].Line >= at.Top && links[i].Line < at.Top + bodyRows);
  };
  auto firstVisible = [&](bool fromEnd) {
    const int n = static_cast<int>(links.size());
    for (int k = 0; k < n; ++k) {
      int i = fromEnd ? n - 1 - k : k;
      if (visible(i)) return i;
    }
    return -1;
  };
  // After a scroll the selection stays only while its link is still on screen.
  auto keepLinkOnScreen = [&](bool fromEnd) {
    if (at.Link < 0 || !visible(at.Link)) at.Link = firstVisible(fromEnd);
  };
  auto showLink = [&](int i) {
    at.Link = i;
    if (links[i].Fixed) return;
    if (links[i].Line < at.Top) at.Top = links[i].Line;
    if (links[i].Line >= at.Top + bodyRows) at.Top = links[i].Line - bodyRows + 1;
  };
  auto drawLine = [&](const HelpLine& line, int y, int firstLink) {
    int x = x1 + 2, linkNo = firstLink;
    for (const HelpSpan& s : line) {
      unsigned char a = textAttr;
      if (s.Type == HelpSpan::Highlight) a = highAttr;
      if (s.Type == HelpSpan::Link) a = linkNo++ == at.Link ? selAttr : linkAttr;
      const int room = x1 + 2 + width - x;
      if (room <= 0) break;
      con.Put(x, y, a, CutTo(s.Text, room));
      x += static_cast<int>(s.Text.size());
    }
  };
  auto linkIndexOf = [&](bool fixed, int line) {
    for (size_t i = 0; i < links.size(); ++i)
      if (links[i].Fixed == fixed && links[i].Line == line) return static_cast<int>(i);
    return static_cast<int>(links.size());
  };

  enter(at, true);
  at.Link = firstVisible(false);
  for (;;) {
    const HelpTopic& t = topics[at.Topic];
    con.Fill(x1, y1, x2, y2, ' ', textAttr);
    DrawBox(con, x1, y1, x2, y2, textAttr, true);
    DrawBorderText(con, x1, x2, y1, "Help", highAttr);
    for (int r = 0; r < fixedRows; ++r) drawLine(t.Fixed[r], y1 + 1 + r, linkIndexOf(true, r));
    for (int r = 0; r < bodyRows; ++r) {
      const int l = at.Top + r;
      if (l >= static_cast<int>(t.Lines.size())) break;
      drawLine(t.Lines[l], y1 + 1 + fixedRows + r, linkIndexOf(false, l));
    }

    KEY_EVENT_RECORD key;
    if (!NextKey(env, key)) break;
    const int vk = key.wVirtualKeyCode;
    const bool shift = ModifierBits(key.dwControlKeyState) & PKF_SHIFT;
    const int n = static_cast<int>(links.size());
    if (vk == VK_ESCAPE || vk == VK_F10) break;
    switch (vk) {
      case VK_TAB:
      case VK_RIGHT:
      case VK_LEFT: {
        if (n == 0) break;
        const bool prev = vk == VK_LEFT || (vk == VK_TAB && shift);
        showLink(at.Link < 0 ? (prev ? n - 1 : 0) : (at.Link + (prev ? n - 1 : 1)) % n);
        break;
      }
      case VK_DOWN:
        if (at.Top < maxTop) {
          ++at.Top;
          keepLinkOnScreen(false);
        } else if (at.Link + 1 < n && visible(at.Link + 1)) {
          ++at.Link;
        }
        break;
      case VK_UP:
        if (at.Top > 0) {
          --at.Top;
          keepLinkOnScreen(true);
        } else if (at.Link > 0 && visible(at.Link - 1)) {
          --at.Link;
        }
        break;
      case VK_NEXT: at.Top = std::min(at.Top + bodyRows, maxTop); keepLinkOnScreen(false); break;
      case VK_PRIOR: at.Top = std::max(at.Top - bodyRows, 0); keepLinkOnScreen(true); break;
      case VK_HOME: at.Top = 0; keepLinkOnScreen(false); break;
      case VK_END: at.Top = maxTop; keepLinkOnScreen(true); break;
      case VK_RETURN: {
        if (at.Link < 0) break;
        const std::string target = links[at.Link].Target;
        const int next = FindHelpTopic(topics, target);
        if (next < 0) {
          RunMessage(env, FMSG_WARNING | FMSG_MB_OK, "", {"Help", "Topic not found", target}, 0);
          break;
        }
        back.push_back(at);
        enter(Place{next, 0, -1}, true);
        at.Link = firstVisible(false);
        break;
      }
      case VK_BACK:
        if (!back.empty()) {
          enter(back.back(), false);
          back.pop_back();
        }
        break;
      default: break;
    }
  }
  con.Restore(saved);
  con.CursorVisible = cursor;
  return true;
}

}  // namespace vemlo::sim
