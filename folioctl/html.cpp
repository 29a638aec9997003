#include "html.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <tuple>

namespace html {
namespace {

constexpr size_t kMaxDepth = 200;  // deeper markup is flattened into its parent
constexpr int kMaxTableDepth = 5;

char16_t lower(char16_t c) { return (c >= 'A' && c <= 'Z') ? char16_t(c + 32) : c; }
bool is_space(char16_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool is_alpha(char16_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_name_char(char16_t c) {
  return is_alpha(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':' || c == '.';
}

std::string ascii_lower(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += c < 128 ? char(lower(c)) : '?';
  return out;
}

// Windows-1252 bytes 0x80..0x9F; the rest of the code page is Latin-1.
const char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void append_code_point(std::u16string& out, uint32_t cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out += char16_t(0xD800 + (cp >> 10));
    out += char16_t(0xDC00 + (cp & 0x3FF));
  } else {
    out += char16_t(cp);
  }
}

bool decode_utf8(std::string_view b, std::u16string& out) {
  out.clear();
  for (size_t i = 0; i < b.size();) {
    const uint8_t c = uint8_t(b[i]);
    int n;
    uint32_t cp;
    if (c < 0x80) {
      n = 0, cp = c;
    } else if ((c >> 5) == 6) {
      n = 1, cp = c & 0x1F;
    } else if ((c >> 4) == 14) {
      n = 2, cp = c & 0x0F;
    } else if ((c >> 3) == 30) {
      n = 3, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + size_t(n) >= b.size()) return false;
    for (int k = 1; k <= n; ++k) {
      const uint8_t d = uint8_t(b[i + size_t(k)]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if ((n == 1 && cp < 0x80) || (n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000)) return false;
    append_code_point(out, cp);
    i += size_t(n) + 1;
  }
  return true;
}

// ------------------------------------------------------------------ entities
uint32_t named_entity(const std::string& name) {
  static const std::map<std::string, uint32_t> table = {
      {"amp", '&'},     {"lt", '<'},       {"gt", '>'},       {"quot", '"'},    {"apos", '\''},
      {"nbsp", 0xA0},   {"copy", 0xA9},    {"reg", 0xAE},     {"trade", 0x2122}, {"deg", 0xB0},
      {"middot", 0xB7}, {"bull", 0x2022},  {"hellip", 0x2026}, {"ndash", 0x2013}, {"mdash", 0x2014},
      {"laquo", 0xAB},  {"raquo", 0xBB},   {"lsquo", 0x2018}, {"rsquo", 0x2019}, {"ldquo", 0x201C},
      {"rdquo", 0x201D}, {"euro", 0x20AC}, {"pound", 0xA3},   {"sect", 0xA7},   {"times", 0xD7},
      {"aacute", 0xE1}, {"eacute", 0xE9},  {"iacute", 0xED},  {"oacute", 0xF3}, {"uacute", 0xFA},
      {"yacute", 0xFD}, {"Aacute", 0xC1},  {"Eacute", 0xC9},  {"Iacute", 0xCD}, {"Oacute", 0xD3},
      {"Uacute", 0xDA}, {"Yacute", 0xDD},  {"auml", 0xE4},    {"ouml", 0xF6},   {"uuml", 0xFC},
      {"Auml", 0xC4},   {"Ouml", 0xD6},    {"Uuml", 0xDC},    {"szlig", 0xDF},  {"scaron", 0x161},
      {"Scaron", 0x160}, {"ccedil", 0xE7}, {"agrave", 0xE0},  {"egrave", 0xE8}, {"ecirc", 0xEA},
  };
  auto it = table.find(name);
  return it == table.end() ? 0 : it->second;
}

// Decodes character references in s[from, to); unknown ones stay as written.
std::u16string decode_entities(const std::u16string& s, size_t from, size_t to) {
  std::u16string out;
  for (size_t i = from; i < to;) {
    if (s[i] != '&') {
      out += s[i++];
      continue;
    }
    size_t j = i + 1;
    uint32_t cp = 0;
    if (j < to && s[j] == '#') {
      ++j;
      const bool hex = j < to && (s[j] == 'x' || s[j] == 'X');
      if (hex) ++j;
      const size_t digits = j;
      while (j < to && j - digits < 8 &&
             ((s[j] >= '0' && s[j] <= '9') ||
              (hex && ((s[j] >= 'a' && s[j] <= 'f') || (s[j] >= 'A' && s[j] <= 'F'))))) {
        const char16_t c = s[j];
        const uint32_t d = c <= '9' ? c - '0' : (lower(c) - 'a' + 10);
        cp = cp * (hex ? 16 : 10) + d;
        ++j;
      }
      if (j == digits) cp = 0;
      // Numeric references to the 0x80..0x9F range mean Windows-1252, as browsers read them.
      if (cp >= 0x80 && cp < 0xA0) cp = kCp1252High[cp - 0x80];
      if (j == digits) j = i + 1;
    } else {
      std::string name;
      while (j < to && is_name_char(s[j]) && name.size() < 12) name += char(s[j++]);
      cp = named_entity(name);
    }
    if (cp == 0) {
      out += s[i++];
      continue;
    }
    if (j < to && s[j] == ';') ++j;
    append_code_point(out, cp);
    i = j;
  }
  return out;
}

// ------------------------------------------------------------------ tree building
const std::set<std::string>& void_tags() {
  static const std::set<std::string> t = {"br",    "hr",  "img",  "meta", "link", "input",
                                          "base",  "area", "col", "param", "wbr", "basefont"};
  return t;
}
const std::set<std::string>& closes_p() {
  static const std::set<std::string> t = {"p",  "h1", "h2", "h3",  "h4",  "h5", "h6",
                                          "ul", "ol", "dl", "pre", "div", "table", "hr",
                                          "blockquote", "center", "address", "li", "dt", "dd"};
  return t;
}

class Builder {
 public:
  explicit Builder(Document& d) : doc_(d) {
    doc_.root.tag = "#document";
    stack_.push_back(&doc_.root);
  }

  void text(std::u16string t) {
    if (t.empty()) return;
    Node* cur = stack_.back();
    if (!cur->children.empty() && cur->children.back()->tag.empty()) {
      cur->children.back()->text += t;
      return;
    }
    auto n = std::make_unique<Node>();
    n->text = std::move(t);
    cur->children.push_back(std::move(n));
  }

  void start(const std::string& tag, std::map<std::string, std::string> attrs) {
    if (tag == "li") close_until({"li"}, {"ul", "ol", "table"});
    if (tag == "dt" || tag == "dd") close_until({"dt", "dd"}, {"dl", "table"});
    if (tag == "tr") close_until({"tr"}, {"table"});
    if (tag == "td" || tag == "th") close_until({"td", "th"}, {"tr", "table"});
    if (tag == "tr" || tag == "td" || tag == "th" || tag == "tbody" || tag == "thead" ||
        tag == "tfoot")
      close_until({"p"}, {"td", "th", "table"});
    if (closes_p().count(tag)) close_until({"p"}, {"td", "th", "table", "li", "div", "blockquote"});
    // Cells outside a row get one, so tables always have row structure.
    if ((tag == "td" || tag == "th") && inside_table_without_row()) start("tr", {});
    auto n = std::make_unique<Node>();
    n->tag = tag;
    n->attrs = std::move(attrs);
    Node* raw = n.get();
    stack_.back()->children.push_back(std::move(n));
    if (!void_tags().count(tag) && stack_.size() < kMaxDepth) stack_.push_back(raw);
  }

  void end(const std::string& tag) {
    // Close the innermost open element of that name, but not across a table cell
    // boundary for inline closers, so a stray end tag cannot swallow the page.
    for (size_t i = stack_.size(); i-- > 1;) {
      const std::string& t = stack_[i]->tag;
      if (t == tag) {
        stack_.resize(i);
        return;
      }
      if ((t == "td" || t == "th" || t == "table") && tag != "table" && tag != "tr" &&
          tag != "tbody" && tag != "thead" && tag != "tfoot")
        return;
    }
  }

 private:
  void close_until(std::initializer_list<const char*> targets,
                   std::initializer_list<const char*> barriers) {
    for (size_t i = stack_.size(); i-- > 1;) {
      const std::string& t = stack_[i]->tag;
      for (const char* b : barriers)
        if (t == b) return;
      for (const char* x : targets)
        if (t == x) {
          stack_.resize(i);
          return;
        }
    }
  }
  bool inside_table_without_row() const {
    for (size_t i = stack_.size(); i-- > 1;) {
      const std::string& t = stack_[i]->tag;
      if (t == "tr") return false;
      if (t == "table" || t == "tbody" || t == "thead" || t == "tfoot") return true;
      if (t == "td" || t == "th") return false;
    }
    return false;
  }

  Document& doc_;
  std::vector<Node*> stack_;
};

size_t find_ci(const std::u16string& s, const std::u16string& what, size_t from) {
  if (what.empty() || s.size() < what.size()) return std::u16string::npos;
  for (size_t i = from; i + what.size() <= s.size(); ++i) {
    size_t k = 0;
    while (k < what.size() && lower(s[i + k]) == what[k]) ++k;
    if (k == what.size()) return i;
  }
  return std::u16string::npos;
}

}  // namespace

std::u16string decode_text(std::string_view bytes) {
  std::u16string out;
  if (bytes.size() >= 3 && uint8_t(bytes[0]) == 0xEF && uint8_t(bytes[1]) == 0xBB &&
      uint8_t(bytes[2]) == 0xBF) {
    if (decode_utf8(bytes.substr(3), out)) return out;
    bytes.remove_prefix(3);
  }
  bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return uint8_t(c) < 0x80; });
  if (!ascii && decode_utf8(bytes, out)) return out;
  out.clear();
  for (char c : bytes) {
    const uint8_t b = uint8_t(c);
    out += (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : char16_t(b);
  }
  return out;
}

Document parse(std::string_view bytes) { return parse_text(decode_text(bytes)); }

Document parse_text(const std::u16string& s) {
  Document doc;
  Builder b(doc);
  size_t i = 0;
  const size_t n = s.size();
  size_t text_from = 0;
  auto flush_text = [&](size_t to) {
    if (to > text_from) b.text(decode_entities(s, text_from, to));
  };
  while (i < n) {
    if (s[i] != '<') {
      ++i;
      continue;
    }
    // Comment, declaration or processing instruction: skipped whole.
    if (i + 3 < n && s[i + 1] == '!' && s[i + 2] == '-' && s[i + 3] == '-') {
      flush_text(i);
      size_t e = s.find(u"-->", i + 4);
      i = e == std::u16string::npos ? n : e + 3;
      text_from = i;
      continue;
    }
    if (i + 1 < n && (s[i + 1] == '!' || s[i + 1] == '?')) {
      flush_text(i);
      size_t e = s.find(u'>', i + 2);
      i = e == std::u16string::npos ? n : e + 1;
      text_from = i;
      continue;
    }
    const bool closing = i + 1 < n && s[i + 1] == '/';
    size_t j = i + (closing ? 2 : 1);
    if (j >= n || !is_alpha(s[j])) {
      ++i;  // a lone '<' is text
      continue;
    }
    std::u16string name16;
    while (j < n && is_name_char(s[j])) name16 += s[j++];
    const std::string name = ascii_lower(name16);
    std::map<std::string, std::string> attrs;
    std::map<std::string, std::u16string> attrs16;
    bool ok = false;
    while (j < n) {
      while (j < n && is_space(s[j])) ++j;
      if (j >= n) break;
      if (s[j] == '>') {
        ok = true;
        ++j;
        break;
      }
      if (s[j] == '/' ) {
        ++j;
        continue;
      }
      if (s[j] == '<') break;  // unterminated tag: stop before the next one
      std::u16string an;
      while (j < n && !is_space(s[j]) && s[j] != '=' && s[j] != '>' && s[j] != '/' && s[j] != '<')
        an += s[j++];
      if (an.empty()) {
        ++j;
        continue;
      }
      while (j < n && is_space(s[j])) ++j;
      std::u16string value;
      if (j < n && s[j] == '=') {
        ++j;
        while (j < n && is_space(s[j])) ++j;
        if (j < n && (s[j] == '"' || s[j] == '\'')) {
          const char16_t q = s[j++];
          const size_t vs = j;
          while (j < n && s[j] != q) ++j;
          value = decode_entities(s, vs, j);
          if (j < n) ++j;
        } else {
          const size_t vs = j;
          while (j < n && !is_space(s[j]) && s[j] != '>') ++j;
          value = decode_entities(s, vs, j);
        }
      }
      const std::string key = ascii_lower(an);
      if (!attrs.count(key)) {
        attrs[key] = narrow_utf8(value);
        attrs16[key] = value;
      }
    }
    if (!ok && j >= n) {
      // A tag cut off by the end of the file is dropped.
      flush_text(i);
      text_from = n;
      break;
    }
    flush_text(i);
    i = j;
    text_from = i;
    if (closing) {
      b.end(name);
      continue;
    }
    b.start(name, attrs);
    // Raw text elements: their content is not markup.
    if (name == "script" || name == "style" || name == "title" || name == "textarea" ||
        name == "xmp") {
      const std::u16string endtag = u"</" + std::u16string(name.begin(), name.end());
      size_t e = find_ci(s, endtag, i);
      const size_t stop = e == std::u16string::npos ? n : e;
      if (name == "title") {
        doc.title = decode_entities(s, i, stop);
      } else if (name == "textarea" || name == "xmp") {
        b.text(name == "xmp" ? s.substr(i, stop - i) : decode_entities(s, i, stop));
      }
      b.end(name);
      if (e == std::u16string::npos) {
        i = n;
      } else {
        size_t gt = s.find(u'>', e);
        i = gt == std::u16string::npos ? n : gt + 1;
      }
      text_from = i;
    }
  }
  flush_text(n);
  return doc;
}

std::string narrow_utf8(const std::u16string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t cp = s[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    }
    if (cp < 0x80) {
      out += char(cp);
    } else if (cp < 0x800) {
      out += char(0xC0 | (cp >> 6));
      out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += char(0xE0 | (cp >> 12));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    } else {
      out += char(0xF0 | (cp >> 18));
      out += char(0x80 | ((cp >> 12) & 0x3F));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

bool parse_color(const std::string& value, uint32_t& rgb) {
  static const std::map<std::string, uint32_t> names = {
      {"black", 0x000000},  {"white", 0xFFFFFF},   {"red", 0xFF0000},    {"green", 0x008000},
      {"blue", 0x0000FF},   {"navy", 0x000080},    {"maroon", 0x800000}, {"gray", 0x808080},
      {"grey", 0x808080},   {"silver", 0xC0C0C0},  {"yellow", 0xFFFF00}, {"purple", 0x800080},
      {"teal", 0x008080},   {"olive", 0x808000},   {"lime", 0x00FF00},   {"aqua", 0x00FFFF},
      {"fuchsia", 0xFF00FF}, {"orange", 0xFFA500}, {"brown", 0xA52A2A},  {"darkblue", 0x00008B},
      {"darkgreen", 0x006400}, {"darkred", 0x8B0000}, {"lightgrey", 0xD3D3D3},
      {"lightgray", 0xD3D3D3}, {"lightyellow", 0xFFFFE0}, {"lightblue", 0xADD8E6},
  };
  std::string v;
  for (char c : value)
    if (c != ' ' && c != '\t') v += char(std::tolower(uint8_t(c)));
  auto it = names.find(v);
  if (it != names.end()) {
    rgb = it->second;
    return true;
  }
  if (!v.empty() && v[0] == '#') v.erase(0, 1);
  if (v.size() == 3) v = {v[0], v[0], v[1], v[1], v[2], v[2]};
  if (v.size() != 6 || !std::all_of(v.begin(), v.end(), [](char c) { return std::isxdigit(uint8_t(c)); }))
    return false;
  rgb = uint32_t(std::strtoul(v.c_str(), nullptr, 16));
  return true;
}

bool FontDesc::operator<(const FontDesc& o) const {
  return std::tie(face, px, bold, italic, underline, fixed) <
         std::tie(o.face, o.px, o.bold, o.italic, o.underline, o.fixed);
}
bool FontDesc::operator==(const FontDesc& o) const {
  return std::tie(face, px, bold, italic, underline, fixed) ==
         std::tie(o.face, o.px, o.bold, o.italic, o.underline, o.fixed);
}

int Layout::link_at(int x, int y) const {
  for (const LinkArea& a : link_areas)
    if (x >= a.x && x < a.x + a.w && y >= a.y && y < a.y + a.h) return a.link;
  return -1;
}

// ------------------------------------------------------------------ layout
namespace {

struct Style {
  FontDesc font;
  uint32_t color = 0;
  int link = -1;
  bool pre = false;    // keep spaces and line ends
  int align = 0;       // 0 left, 1 centre, 2 right
};

struct Frag {
  int x, w;
  FontDesc font;
  std::u16string str;
  uint32_t color;
  int link;
};

int to_int(const std::string* v, int fallback) {
  if (!v || v->empty()) return fallback;
  char* end = nullptr;
  long x = std::strtol(v->c_str(), &end, 10);
  if (end == v->c_str()) return fallback;
  return int(std::clamp(x, -100000L, 100000L));
}

// A length attribute: pixels, or a percentage of `of`.
int length(const std::string* v, int of, int fallback) {
  if (!v || v->empty()) return fallback;
  const int n = to_int(v, -1);
  if (n < 0) return fallback;
  return v->find('%') != std::string::npos ? of * std::min(n, 100) / 100 : n;
}

int align_of(const std::string* v, int fallback) {
  if (!v) return fallback;
  std::string a;
  for (char c : *v) a += char(std::tolower(uint8_t(c)));
  if (a == "center" || a == "middle") return 1;
  if (a == "right") return 2;
  if (a == "left" || a == "justify") return 0;
  return fallback;
}

class Flow {
 public:
  Flow(Layout& out, Measurer& m, const Settings& s, int left, int right, int y)
      : out_(out), m_(m), s_(s), left_(left), right_(right), y_(y) {}

  int y() const { return y_; }
  int max_x() const { return max_x_; }

  void children(const Node& n, Style st, size_t depth) {
    for (const auto& c : n.children) node(*c, st, depth + 1);
  }

  void finish() { flush_line(false); }

  void node(const Node& n, Style st, size_t depth) {
    if (depth > kMaxDepth) return;
    if (n.tag.empty()) {
      add_text(n.text, st);
      return;
    }
    const std::string& t = n.tag;
    if (const std::string* id = n.attr("id")) anchor(*id);
    if (t == "head" || t == "script" || t == "style" || t == "title" || t == "meta" ||
        t == "link" || t == "base")
      return;
    if (t == "body") {
      uint32_t c;
      if (const std::string* bg = n.attr("bgcolor"); bg && parse_color(*bg, c)) out_.background = c;
      if (const std::string* tc = n.attr("text"); tc && parse_color(*tc, c)) st.color = c;
      if (const std::string* lc = n.attr("link"); lc && parse_color(*lc, c)) link_color_ = c;
      children(n, st, depth);
      return;
    }
    if (t == "br") {
      line_break(st);
      return;
    }
    if (t == "hr") {
      block_break(st.font.px / 2);
      const int avail = right_ - left_;
      const int w = std::max(1, length(n.attr("width"), avail, avail));
      const int h = std::clamp(to_int(n.attr("size"), 2), 1, 100);
      int x = left_;
      const int a = align_of(n.attr("align"), 1);
      if (a == 1) x += (avail - w) / 2;
      if (a == 2) x += avail - w;
      Item it;
      it.kind = Item::rule;
      it.x = x;
      it.y = y_;
      it.w = w;
      it.h = h;
      it.color = 0x808080;
      out_.items.push_back(it);
      y_ += h;
      max_x_ = std::max(max_x_, x + w);
      last_margin_ = 0;
      block_break(st.font.px / 2);
      return;
    }
    if (t == "p" || t == "div" || t == "center" || t == "address" || t == "blockquote" ||
        t == "dl" || t == "dd" || t == "dt" || (t.size() == 2 && t[0] == 'h' && t[1] >= '1' && t[1] <= '6')) {
      int margin = (t == "div" || t == "center" || t == "dd" || t == "dt") ? 0 : st.font.px;
      Style inner = st;
      inner.align = align_of(n.attr("align"), t == "center" ? 1 : st.align);
      if (t[0] == 'h' && t.size() == 2) {
        static const int scale[6] = {200, 150, 117, 100, 83, 67};
        inner.font.px = std::max(6, s_.default_px * scale[t[1] - '1'] / 100);
        inner.font.bold = true;
        margin = inner.font.px * 2 / 3;
      }
      if (t == "address") inner.font.italic = true;
      block_break(margin);
      const int saved_l = left_, saved_r = right_;
      if (t == "blockquote") {
        left_ += 40;
        right_ = std::max(left_ + 1, right_ - 40);
      }
      if (t == "dd") left_ += 40;
      const int saved_align = align_;
      align_ = inner.align;
      children(n, inner, depth);
      block_break(margin);
      align_ = saved_align;
      left_ = saved_l;
      right_ = saved_r;
      return;
    }
    if (t == "ul" || t == "ol" || t == "menu" || t == "dir") {
      block_break(list_depth_ == 0 ? st.font.px : 0);
      const int saved_l = left_;
      left_ = std::min(right_ - 1, left_ + 40);
      ++list_depth_;
      int counter = to_int(n.attr("start"), 1);
      for (const auto& c : n.children) {
        if (c->tag == "li") {
          pending_marker_ = t == "ol" ? std::u16string(u"") + to_u16(std::to_string(counter++) + ".")
                                      : std::u16string(u"\u2022");
          marker_font_ = st.font;
          marker_color_ = st.color;
          block_break(0);
          if (const std::string* id = c->attr("id")) anchor(*id);
          children(*c, st, depth + 1);
          block_break(0);
          if (!pending_marker_.empty()) {  // empty item: the marker gets its own line
            line_break(st);
          }
        } else {
          node(*c, st, depth + 1);
        }
      }
      --list_depth_;
      left_ = saved_l;
      block_break(list_depth_ == 0 ? st.font.px : 0);
      return;
    }
    if (t == "li") {  // outside a list
      block_break(0);
      children(n, st, depth);
      block_break(0);
      return;
    }
    if (t == "pre" || t == "listing" || t == "xmp" || t == "plaintext") {
      block_break(st.font.px);
      Style inner = st;
      inner.pre = true;
      inner.font.face = s_.pre_face;
      inner.font.fixed = true;
      inner.font.px = std::max(6, s_.default_px * 13 / 16);
      children(n, inner, depth);
      flush_line(false);
      block_break(st.font.px);
      return;
    }
    if (t == "table") {
      // Tables nested beyond any real page's depth flow as plain blocks.
      if (table_depth_ >= kMaxTableDepth) {
        block_break(0);
        children(n, st, depth);
        block_break(0);
        return;
      }
      ++table_depth_;
      table(n, st, depth);
      --table_depth_;
      return;
    }
    if (t == "img") {
      if (const std::string* alt = n.attr("alt"); alt && !alt->empty())
        add_text(u"[" + to_u16(*alt) + u"]", st);
      return;
    }
    Style inner = st;
    if (t == "b" || t == "strong") inner.font.bold = true;
    if (t == "i" || t == "em" || t == "cite" || t == "var" || t == "dfn") inner.font.italic = true;
    if (t == "u" || t == "ins") inner.font.underline = true;
    if (t == "tt" || t == "code" || t == "kbd" || t == "samp") {
      inner.font.face = s_.pre_face;
      inner.font.fixed = true;
      inner.font.px = std::max(6, st.font.px * 13 / 16);
    }
    if (t == "big") inner.font.px = st.font.px * 6 / 5;
    if (t == "small" || t == "sub" || t == "sup") inner.font.px = std::max(6, st.font.px * 5 / 6);
    if (t == "font") {
      if (const std::string* face = n.attr("face"); face && !face->empty()) {
        inner.font.face = face->substr(0, face->find(','));
        inner.font.fixed = false;
      }
      if (const std::string* size = n.attr("size"); size && !size->empty()) {
        static const int px[7] = {10, 13, 16, 18, 24, 32, 48};
        int k = to_int(size, 3);
        if ((*size)[0] == '+' || (*size)[0] == '-') k = 3 + k;
        inner.font.px = px[std::clamp(k, 1, 7) - 1] * s_.default_px / 16;
      }
      uint32_t c;
      if (const std::string* col = n.attr("color"); col && parse_color(*col, c)) inner.color = c;
    }
    if (t == "a") {
      if (const std::string* name = n.attr("name")) anchor(*name);
      if (const std::string* href = n.attr("href")) {
        inner.link = int(out_.links.size());
        out_.links.push_back(*href);
        inner.color = link_color_;
        inner.font.underline = true;
      }
    }
    children(n, inner, depth);
  }

  void set_link_color(uint32_t c) { link_color_ = c; }

 private:
  static std::u16string to_u16(const std::string& s) {
    std::u16string out = decode_text(s);
    return out;
  }

  void anchor(const std::string& name) {
    if (!name.empty() && !out_.anchors.count(name)) out_.anchors[name] = y_;
  }

  void add_text(const std::u16string& text, const Style& st) {
    if (st.pre) {
      size_t from = 0;
      for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
          std::u16string piece;
          for (size_t k = from; k < i; ++k) {
            if (text[k] == '\r') continue;
            if (text[k] == '\t') {
              const size_t col = column_ + piece.size();
              piece.append(8 - col % 8, u' ');
            } else {
              piece += text[k];
            }
          }
          if (!piece.empty()) place(piece, st, false);
          column_ += piece.size();
          if (i < text.size()) {
            line_break(st);
            column_ = 0;
          }
          from = i + 1;
        }
      }
      return;
    }
    size_t i = 0;
    while (i < text.size()) {
      if (is_space(text[i])) {
        space_ = true;
        ++i;
        continue;
      }
      size_t j = i;
      while (j < text.size() && !is_space(text[j])) ++j;
      place(text.substr(i, j - i), st, true);
      i = j;
    }
  }

  // Places one word (or a piece of preformatted line) on the current line.
  void place(const std::u16string& word, const Style& st, bool wrap) {
    const bool gap = space_ && !line_.empty();
    space_ = false;
    const int spw = gap ? m_.width(st.font, u" ") : 0;
    const int w = m_.width(st.font, word);
    if (wrap && !line_.empty() && line_x_ + spw + w > right_ - left_) {
      flush_line(false);
      place_at(word, w, st, 0);
      return;
    }
    if (gap && !line_.empty() && line_.back().link == st.link && st.link >= 0) {
      // A space inside a link belongs to the link's underline.
      line_.back().str += u" ";
      line_.back().w += spw;
      line_x_ += spw;
    } else {
      line_x_ += spw;
    }
    place_at(word, w, st, 0);
  }

  void place_at(const std::u16string& word, int w, const Style& st, int) {
    if (!line_.empty() && line_.back().font == st.font && line_.back().color == st.color &&
        line_.back().link == st.link && line_.back().x + line_.back().w == line_x_) {
      line_.back().str += word;
      line_.back().w += w;
    } else {
      line_.push_back({line_x_, w, st.font, word, st.color, st.link});
    }
    line_x_ += w;
    line_font_ = st.font;
    has_font_ = true;
  }

  void line_break(const Style& st) {
    if (line_.empty()) {
      line_font_ = st.font;
      has_font_ = true;
      flush_line(true);
    } else {
      flush_line(false);
    }
  }

  void flush_line(bool empty_line) {
    if (line_.empty() && !empty_line) {
      space_ = false;
      return;
    }
    int asc = 0, desc = 0;
    for (const Frag& f : line_) {
      asc = std::max(asc, m_.ascent(f.font));
      desc = std::max(desc, m_.descent(f.font));
    }
    if (line_.empty() && has_font_) {
      asc = m_.ascent(line_font_);
      desc = m_.descent(line_font_);
    }
    if (!pending_marker_.empty()) {
      asc = std::max(asc, m_.ascent(marker_font_));
      desc = std::max(desc, m_.descent(marker_font_));
    }
    const int baseline = y_ + asc;
    const int used = line_x_;
    int shift = 0;
    if (align_ == 1) shift = std::max(0, (right_ - left_ - used) / 2);
    if (align_ == 2) shift = std::max(0, right_ - left_ - used);
    if (!pending_marker_.empty()) {
      Item it;
      const int mw = m_.width(marker_font_, pending_marker_);
      it.kind = Item::text;
      it.x = left_ - mw - 6;
      it.y = baseline;
      it.w = mw;
      it.h = asc + desc;
      it.font = marker_font_;
      it.str = pending_marker_;
      it.color = marker_color_;
      out_.items.push_back(it);
      pending_marker_.clear();
    }
    for (const Frag& f : line_) {
      Item it;
      it.kind = Item::text;
      it.x = left_ + shift + f.x;
      it.y = baseline;
      it.w = f.w;
      it.h = asc + desc;
      it.font = f.font;
      it.str = f.str;
      it.color = f.color;
      it.link = f.link;
      out_.items.push_back(it);
      if (f.link >= 0) out_.link_areas.push_back({it.x, y_, f.w, asc + desc, f.link});
      max_x_ = std::max(max_x_, it.x + f.w);
    }
    y_ += asc + desc;
    line_.clear();
    line_x_ = 0;
    space_ = false;
    last_margin_ = 0;
  }

  // Ends the current line and leaves `margin` pixels above what follows, sharing
  // the space with the margin already left (margins collapse).
  void block_break(int margin) {
    flush_line(false);
    if (margin > last_margin_) {
      y_ += margin - last_margin_;
      last_margin_ = margin;
    }
    column_ = 0;
  }

  struct Cell {
    const Node* node;
    int row, col, span;
    Style style;
    int min_w = 0, max_w = 0;
  };

  void table(const Node& n, const Style& st, size_t depth) {
    block_break(0);
    std::vector<std::vector<const Node*>> rows;
    std::vector<const Node*> row_nodes;
    std::function<void(const Node&, size_t)> collect = [&](const Node& p, size_t d) {
      if (d > kMaxDepth) return;
      for (const auto& c : p.children) {
        if (c->tag == "tr") {
          rows.emplace_back();
          row_nodes.push_back(c.get());
          for (const auto& cell : c->children)
            if (cell->tag == "td" || cell->tag == "th") rows.back().push_back(cell.get());
        } else if (c->tag == "tbody" || c->tag == "thead" || c->tag == "tfoot") {
          collect(*c, d + 1);
        } else if (c->tag == "caption") {
          Style cap = st;
          cap.align = 1;
          const int saved = align_;
          align_ = 1;
          children(*c, cap, d + 1);
          flush_line(false);
          align_ = saved;
        }
      }
    };
    collect(n, depth);
    if (rows.empty()) return;
    const int border = std::clamp(to_int(n.attr("border"), 0), 0, 20);
    const int pad = std::clamp(to_int(n.attr("cellpadding"), 1), 0, 50);
    const int spacing = std::clamp(to_int(n.attr("cellspacing"), 2), 0, 50);
    uint32_t table_bg = 0;
    bool has_table_bg = false;
    if (const std::string* bg = n.attr("bgcolor")) has_table_bg = parse_color(*bg, table_bg);

    std::vector<Cell> cells;
    int ncols = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
      int col = 0;
      for (const Node* c : rows[r]) {
        Cell cell{c, int(r), col, std::clamp(to_int(c->attr("colspan"), 1), 1, 64), st, 0, 0};
        if (c->tag == "th") {
          cell.style.font.bold = true;
          cell.style.align = 1;
        }
        cell.style.align = align_of(c->attr("align"), align_of(row_nodes[r]->attr("align"), cell.style.align));
        col += cell.span;
        cells.push_back(cell);
      }
      ncols = std::max(ncols, col);
    }
    if (ncols == 0) return;
    // Content widths: the widest word, and everything on one line.
    for (Cell& c : cells) {
      c.min_w = measure(*c.node, c.style, depth, 1) + 2 * pad;
      c.max_w = measure(*c.node, c.style, depth, 1 << 20) + 2 * pad;
      if (const std::string* w = c.node->attr("width"); w && w->find('%') == std::string::npos) {
        const int fixed = to_int(w, 0);
        if (fixed > 0) c.max_w = std::max(c.min_w, fixed);
      }
    }
    std::vector<int> minw(static_cast<size_t>(ncols), 0), maxw(static_cast<size_t>(ncols), 0);
    for (const Cell& c : cells) {
      if (c.span != 1) continue;
      minw[size_t(c.col)] = std::max(minw[size_t(c.col)], c.min_w);
      maxw[size_t(c.col)] = std::max(maxw[size_t(c.col)], c.max_w);
    }
    for (const Cell& c : cells) {  // spanning cells widen their columns evenly
      if (c.span == 1) continue;
      int have_min = 0, have_max = 0;
      for (int k = c.col; k < std::min(ncols, c.col + c.span); ++k) {
        have_min += minw[size_t(k)];
        have_max += maxw[size_t(k)];
      }
      const int span = std::min(ncols, c.col + c.span) - c.col;
      if (span <= 0) continue;
      for (int k = c.col; k < c.col + span; ++k) {
        if (c.min_w > have_min) minw[size_t(k)] += (c.min_w - have_min + span - 1) / span;
        if (c.max_w > have_max) maxw[size_t(k)] += (c.max_w - have_max + span - 1) / span;
      }
    }
    const int avail = right_ - left_;
    const int chrome = spacing * (ncols + 1) + 2 * border;
    int sum_min = 0, sum_max = 0;
    for (int k = 0; k < ncols; ++k) {
      maxw[size_t(k)] = std::max(maxw[size_t(k)], minw[size_t(k)]);
      sum_min += minw[size_t(k)];
      sum_max += maxw[size_t(k)];
    }
    int target = length(n.attr("width"), avail, -1);
    if (target < 0) target = std::min(avail, sum_max + chrome);
    const int content = std::max(0, target - chrome);
    std::vector<int> colw(static_cast<size_t>(ncols));
    for (int k = 0; k < ncols; ++k) {
      if (content >= sum_max) {
        // Room to spare: spread it in proportion to the natural widths.
        colw[size_t(k)] = sum_max > 0 ? maxw[size_t(k)] + (content - sum_max) * maxw[size_t(k)] / sum_max
                                      : content / ncols;
      } else if (content > sum_min && sum_max > sum_min) {
        colw[size_t(k)] = minw[size_t(k)] + int(int64_t(content - sum_min) *
                                                (maxw[size_t(k)] - minw[size_t(k)]) / (sum_max - sum_min));
      } else {
        colw[size_t(k)] = minw[size_t(k)];
      }
    }
    int table_w = chrome;
    for (int w : colw) table_w += w;
    int x0 = left_;
    const int a = align_of(n.attr("align"), align_);
    if (a == 1) x0 += std::max(0, (avail - table_w) / 2);
    if (a == 2) x0 += std::max(0, avail - table_w);
    std::vector<int> colx(static_cast<size_t>(ncols));
    int x = x0 + border + spacing;
    for (int k = 0; k < ncols; ++k) {
      colx[size_t(k)] = x;
      x += colw[size_t(k)] + spacing;
    }

    const int top = y_;
    const size_t table_bg_at = out_.items.size();
    int y = top + border + spacing;
    size_t ci = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
      const size_t row_start = out_.items.size();
      int row_h = 0;
      struct Placed {
        int x, w;
        size_t at;
        uint32_t bg;
        bool has_bg;
      };
      std::vector<Placed> placed;
      for (; ci < cells.size() && cells[ci].row == int(r); ++ci) {
        const Cell& c = cells[ci];
        const int last = std::min(ncols, c.col + c.span) - 1;
        const int cx = colx[size_t(c.col)];
        const int cw = colx[size_t(last)] + colw[size_t(last)] - cx;
        const size_t at = out_.items.size();
        Flow sub(out_, m_, s_, cx + pad, std::max(cx + pad + 1, cx + cw - pad), y + pad);
        sub.link_color_ = link_color_;
        sub.measured_ = measured_;
        sub.table_depth_ = table_depth_;
        sub.align_ = c.style.align;
        sub.children(*c.node, c.style, depth + 1);
        sub.finish();
        row_h = std::max(row_h, sub.y() - y + pad);
        uint32_t bg = 0;
        bool has_bg = false;
        if (const std::string* b = c.node->attr("bgcolor")) has_bg = parse_color(*b, bg);
        if (!has_bg)
          if (const std::string* b = row_nodes[r]->attr("bgcolor")) has_bg = parse_color(*b, bg);
        placed.push_back({cx, cw, at, bg, has_bg});
      }
      row_h = std::max(row_h, 2 * pad + 1);
      // Cell backgrounds and frames go under and around the cells' text.
      std::vector<Item> under;
      for (const Placed& p : placed) {
        if (p.has_bg) {
          Item it;
          it.kind = Item::rect;
          it.x = p.x;
          it.y = y;
          it.w = p.w;
          it.h = row_h;
          it.color = p.bg;
          under.push_back(it);
        }
        if (border > 0) {
          Item it;
          it.kind = Item::frame;
          it.x = p.x;
          it.y = y;
          it.w = p.w;
          it.h = row_h;
          it.color = 0x808080;
          under.push_back(it);
        }
      }
      out_.items.insert(out_.items.begin() + long(row_start), under.begin(), under.end());
      y += row_h + spacing;
    }
    const int bottom = y + border;
    if (has_table_bg) {
      Item it;
      it.kind = Item::rect;
      it.x = x0;
      it.y = top;
      it.w = table_w;
      it.h = bottom - top;
      it.color = table_bg;
      out_.items.insert(out_.items.begin() + long(table_bg_at), it);
    }
    if (border > 0) {
      Item it;
      it.kind = Item::frame;
      it.x = x0;
      it.y = top;
      it.w = table_w;
      it.h = bottom - top;
      it.color = 0x404040;
      out_.items.push_back(it);
    }
    max_x_ = std::max(max_x_, x0 + table_w);
    y_ = bottom;
    last_margin_ = 0;
    block_break(0);
  }

  // Width of a cell's content laid out at `width`: 1 gives the widest word.
  // Remembered per cell, so nested tables are measured once, not once per level.
  int measure(const Node& n, const Style& st, size_t depth, int width) {
    const auto key = std::make_pair(&n, width);
    auto it = measured_->find(key);
    if (it != measured_->end()) return it->second;
    Layout scratch;
    Flow f(scratch, m_, s_, 0, width, 0);
    f.link_color_ = link_color_;
    f.measured_ = measured_;
    f.table_depth_ = table_depth_;
    f.children(n, st, depth + 1);
    f.finish();
    (*measured_)[key] = f.max_x();
    return f.max_x();
  }

  Layout& out_;
  Measurer& m_;
  const Settings& s_;
  int left_, right_, y_;
  int max_x_ = 0;
  std::vector<Frag> line_;
  int line_x_ = 0;
  bool space_ = false;
  FontDesc line_font_;
  bool has_font_ = false;
  int last_margin_ = 0;
  int align_ = 0;
  int list_depth_ = 0;
  size_t column_ = 0;
  std::u16string pending_marker_;
  FontDesc marker_font_;
  uint32_t marker_color_ = 0;
  uint32_t link_color_ = 0x0000FF;
  int table_depth_ = 0;
  std::shared_ptr<std::map<std::pair<const Node*, int>, int>> measured_ =
      std::make_shared<std::map<std::pair<const Node*, int>, int>>();
};

}  // namespace

Layout layout(const Document& doc, int width, Measurer& m, const Settings& s) {
  Layout out;
  out.width = std::max(1, width);
  out.background = s.background;
  const int left = s.margin, right = std::max(left + 1, out.width - s.margin);
  Flow flow(out, m, s, left, right, s.margin);
  flow.set_link_color(s.link);
  Style st;
  st.font.face = s.default_face;
  st.font.px = s.default_px;
  st.color = s.text;
  flow.children(doc.root, st, 0);
  flow.finish();
  out.height = flow.y() + s.margin;
  return out;
}

}  // namespace html
