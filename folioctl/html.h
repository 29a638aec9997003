// The frame viewer's HTML engine: a forgiving parser for an HTML subset and a
// layout that turns the document into a display list for a given width.
// Plain C++ with no Windows headers: the viewer measures and paints through
// the Measurer it is given (GDI in the control, a fixed-width fake in tests).
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace html {

// ------------------------------------------------------------------ document tree
struct Node {
  std::string tag;  // lower case; empty for a text node
  std::map<std::string, std::string> attrs;  // lower-case names
  std::u16string text;                       // text nodes: decoded characters
  std::vector<std::unique_ptr<Node>> children;
  const std::string* attr(const std::string& name) const {
    auto it = attrs.find(name);
    return it == attrs.end() ? nullptr : &it->second;
  }
};

struct Document {
  Node root;  // tag "#document"
  std::u16string title;
};

// Decodes the file's bytes (UTF-8 when they are valid UTF-8 or carry its mark,
// otherwise Windows-1252) and parses them. Never fails: bad markup is repaired.
Document parse(std::string_view bytes);
std::u16string decode_text(std::string_view bytes);
Document parse_text(const std::u16string& text);

// ------------------------------------------------------------------ layout
struct FontDesc {
  std::string face;
  int px = 16;  // character height in pixels
  bool bold = false, italic = false, underline = false;
  bool fixed = false;  // the preformatted font: fixed pitch wherever the face is missing
  bool operator<(const FontDesc& o) const;
  bool operator==(const FontDesc& o) const;
};

class Measurer {
 public:
  virtual ~Measurer() = default;
  virtual int width(const FontDesc& font, std::u16string_view text) = 0;
  virtual int ascent(const FontDesc& font) = 0;
  virtual int descent(const FontDesc& font) = 0;
};

struct Settings {
  std::string default_face = "Times New Roman";
  std::string pre_face = "Courier New";
  int default_px = 16;
  uint32_t text = 0x000000, background = 0xFFFFFF, link = 0x0000FF;  // 0xRRGGBB
  int margin = 8;
};

struct Item {
  enum Kind { text, rect, frame, rule, disc } kind = text;
  int x = 0, y = 0, w = 0, h = 0;  // text: x and baseline y; w, h its box
  FontDesc font;                   // text
  std::u16string str;              // text
  uint32_t color = 0;              // text colour, fill, frame or rule colour
  int link = -1;                   // index into Layout::links
};

struct LinkArea {
  int x, y, w, h;
  int link;
};

struct Layout {
  int width = 0, height = 0;  // height of the whole document
  uint32_t background = 0xFFFFFF;
  std::vector<Item> items;    // in paint order
  std::vector<std::string> links;            // hrefs
  std::vector<LinkArea> link_areas;
  std::map<std::string, int> anchors;        // name -> y of its line
  // The link under (x, y) in document coordinates, or -1.
  int link_at(int x, int y) const;
};

Layout layout(const Document& doc, int width, Measurer& m, const Settings& s = Settings());

// Colour from an attribute ("#RRGGBB", "RRGGBB" or a colour name); false if unknown.
bool parse_color(const std::string& value, uint32_t& rgb);

std::string narrow_utf8(const std::u16string& s);  // for hrefs and names

}  // namespace html
