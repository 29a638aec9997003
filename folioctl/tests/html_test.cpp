// The viewer's HTML engine on its own: parsing, repair of bad markup, and the
// layout's fonts, lines, lists, tables, rules, anchors and links.
#include <gtest/gtest.h>

#include <random>

#include "html.h"

namespace {

// Every character is half as wide as the font is high.
class FixedMeasurer : public html::Measurer {
 public:
  int width(const html::FontDesc& f, std::u16string_view t) override { return int(t.size()) * f.px / 2; }
  int ascent(const html::FontDesc& f) override { return f.px * 3 / 4; }
  int descent(const html::FontDesc& f) override { return f.px - f.px * 3 / 4; }
};

html::Layout lay(const std::string& src, int width = 600) {
  FixedMeasurer m;
  return html::layout(html::parse(src), width, m);
}

std::string u8(const std::u16string& s) { return html::narrow_utf8(s); }

std::vector<const html::Item*> texts(const html::Layout& l) {
  std::vector<const html::Item*> out;
  for (const html::Item& i : l.items)
    if (i.kind == html::Item::text) out.push_back(&i);
  return out;
}

std::string all_text(const html::Layout& l) {
  std::string s;
  for (const html::Item* i : texts(l)) s += (s.empty() ? "" : " ") + u8(i->str);
  return s;
}

const html::Item* find_text(const html::Layout& l, const std::string& word) {
  for (const html::Item* i : texts(l))
    if (u8(i->str).find(word) != std::string::npos) return i;
  return nullptr;
}

const html::Item* find_exact(const html::Layout& l, const std::string& word) {
  for (const html::Item* i : texts(l))
    if (u8(i->str) == word) return i;
  return nullptr;
}

TEST(HtmlParse, EntitiesAndWhitespace) {
  const html::Layout l = lay("<p>a   &amp;\n b&nbsp;c &#65;&#x42; &bogus; &lt;x&gt; &copy;</p>");
  EXPECT_EQ(all_text(l), "a & b\xC2\xA0" "c AB &bogus; <x> \xC2\xA9");
}

TEST(HtmlParse, TitleScriptAndStyleAreNotShown) {
  const html::Document d = html::parse(
      "<html><head><title>The &amp; title</title><style>p{}</style><script>if (a<b) x();</script></head>"
      "<body>shown</body></html>");
  EXPECT_EQ(u8(d.title), "The & title");
  FixedMeasurer m;
  EXPECT_EQ(all_text(html::layout(d, 600, m)), "shown");
}

TEST(HtmlParse, DecodesUtf8AndWindows1252) {
  EXPECT_EQ(html::decode_text("\xC5\xA0" "e"), u"\u0160e");          // UTF-8
  EXPECT_EQ(html::decode_text("\x8A" "e\xE9"), u"\u0160e\u00E9");    // 1252: 0x8A is S caron
  EXPECT_EQ(html::decode_text("\xEF\xBB\xBFok"), u"ok");             // mark dropped
}

TEST(HtmlParse, Colours) {
  uint32_t c = 0;
  EXPECT_TRUE(html::parse_color("#FF8000", c));
  EXPECT_EQ(c, 0xFF8000u);
  EXPECT_TRUE(html::parse_color("navy", c));
  EXPECT_EQ(c, 0x000080u);
  EXPECT_TRUE(html::parse_color("0a0", c));
  EXPECT_EQ(c, 0x00AA00u);
  EXPECT_FALSE(html::parse_color("#12345", c));
  EXPECT_FALSE(html::parse_color("notacolour", c));
}

TEST(HtmlLayout, DefaultAndPreformattedFonts) {
  const html::Layout l = lay("<p>plain</p><pre>  two  spaces\n\tnext</pre><code>x</code>");
  const html::Item* plain = find_text(l, "plain");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->font.face, "Times New Roman");
  EXPECT_EQ(plain->font.px, 16);
  const html::Item* pre = find_text(l, "two");
  ASSERT_TRUE(pre);
  EXPECT_EQ(pre->font.face, "Courier New");
  EXPECT_EQ(u8(pre->str), "  two  spaces");
  const html::Item* next = find_text(l, "next");
  ASSERT_TRUE(next);
  EXPECT_EQ(u8(next->str), "        next");  // a tab to column 8
  EXPECT_GT(next->y, pre->y);
  EXPECT_EQ(find_text(l, "x")->font.face, "Courier New");
  EXPECT_TRUE(pre->font.fixed);
  EXPECT_FALSE(plain->font.fixed);
  // A sized font inside preformatted text keeps its fixed pitch.
  const html::Layout k = lay("<pre><font size=5>big code</font></pre>");
  EXPECT_TRUE(find_text(k, "big")->font.fixed);
  EXPECT_FALSE(find_text(lay("<pre><font face=Arial>arial</font></pre>"), "arial")->font.fixed);
}

TEST(HtmlLayout, HeadingsAndInlineStyles) {
  const html::Layout l = lay(
      "<h1>big</h1><h2>mid</h2><h6>tiny</h6><b>bo</b> <i>it</i> <u>un</u> <strong><em>both</em></strong>"
      " <font color=red size=5 face='Arial, sans'>fo</font>");
  struct Case {
    const char* word;
    int px;
    bool bold, italic, underline;
  } cases[] = {{"big", 32, true, false, false}, {"mid", 24, true, false, false},
               {"tiny", 10, true, false, false}, {"bo", 16, true, false, false},
               {"it", 16, false, true, false},  {"un", 16, false, false, true},
               {"both", 16, true, true, false}, {"fo", 24, false, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    const html::Item* i = find_text(l, c.word);
    ASSERT_TRUE(i);
    EXPECT_EQ(i->font.px, c.px);
    EXPECT_EQ(i->font.bold, c.bold);
    EXPECT_EQ(i->font.italic, c.italic);
    EXPECT_EQ(i->font.underline, c.underline);
  }
  EXPECT_EQ(find_text(l, "fo")->color, 0xFF0000u);
  EXPECT_EQ(find_text(l, "fo")->font.face, "Arial");
  EXPECT_LT(find_text(l, "big")->y, find_text(l, "mid")->y);
}

TEST(HtmlLayout, WrapsAtTheWidthAndBreaksLines) {
  std::string words;
  for (int i = 0; i < 60; ++i) words += "word ";
  const html::Layout l = lay("<p>" + words + "</p><p>one<br>two</p>", 300);
  std::set<int> baselines;
  for (const html::Item* i : texts(l)) {
    if (u8(i->str) == "word") {
      baselines.insert(i->y);
      EXPECT_LE(i->x + i->w, 300 - 8);
      EXPECT_GE(i->x, 8);
    }
  }
  EXPECT_GT(baselines.size(), 5u);
  EXPECT_GT(find_text(l, "two")->y, find_text(l, "one")->y);
  EXPECT_EQ(find_text(l, "two")->x, find_text(l, "one")->x);
  EXPECT_GT(l.height, *baselines.rbegin());
}

TEST(HtmlLayout, ListsHaveMarkersAndIndent) {
  const html::Layout l = lay("<ol><li>alpha<li>beta<ul><li>inner</ul></ol><ul><li>dot</ul>");
  EXPECT_TRUE(find_text(l, "1."));
  EXPECT_TRUE(find_text(l, "2."));
  EXPECT_TRUE(find_text(l, "\xE2\x80\xA2"));  // bullet
  const html::Item* alpha = find_text(l, "alpha");
  const html::Item* inner = find_text(l, "inner");
  ASSERT_TRUE(alpha && inner);
  EXPECT_EQ(alpha->x, 8 + 40);
  EXPECT_EQ(inner->x, 8 + 80);
  EXPECT_LT(find_text(l, "1.")->x, alpha->x);
  EXPECT_EQ(find_text(l, "1.")->y, alpha->y);
}

TEST(HtmlLayout, RulesAnchorsAndLinks) {
  std::string filler;
  for (int i = 0; i < 30; ++i) filler += "<p>filler</p>";
  const html::Layout l = lay("<a href='#end'>go</a><hr>" + filler + "<h2><a name='end'>End</a></h2>");
  bool rule = false;
  for (const html::Item& i : l.items)
    if (i.kind == html::Item::rule) {
      rule = true;
      EXPECT_EQ(i.w, 600 - 16);
    }
  EXPECT_TRUE(rule);
  ASSERT_EQ(l.links, std::vector<std::string>{"#end"});
  const html::Item* go = find_text(l, "go");
  ASSERT_TRUE(go);
  EXPECT_EQ(go->link, 0);
  EXPECT_TRUE(go->font.underline);
  EXPECT_EQ(go->color, 0x0000FFu);
  EXPECT_EQ(l.link_at(go->x + 1, go->y - 2), 0);
  EXPECT_EQ(l.link_at(go->x + 1, go->y + 200), -1);
  ASSERT_TRUE(l.anchors.count("end"));
  const html::Item* end = find_text(l, "End");
  EXPECT_EQ(l.anchors.at("end"), end->y - 24 * 3 / 4);  // top of the anchor's line: baseline less ascent
  EXPECT_GT(l.anchors.at("end"), 500);
}

TEST(HtmlLayout, TablesPlaceCellsInColumnsAndRows) {
  const html::Layout l = lay(
      "<table border=1><tr><th>Head</th><th>Other</th></tr>"
      "<tr><td>a</td><td bgcolor=yellow>longer cell text</td></tr>"
      "<tr><td colspan=2>wide</td></tr></table><p>after</p>");
  const html::Item* head = find_text(l, "Head");
  const html::Item* a = find_exact(l, "a");
  const html::Item* other = find_text(l, "Other");
  const html::Item* longer = find_text(l, "longer");
  ASSERT_TRUE(head && a && other && longer);
  EXPECT_TRUE(head->font.bold);
  EXPECT_LE(a->x, head->x);  // first column: the centred heading starts at or after the cell text
  EXPECT_GT(a->y, head->y);
  EXPECT_EQ(a->y, longer->y);
  EXPECT_GT(longer->x, a->x);
  EXPECT_LT(head->x + head->w, longer->x + 200);
  EXPECT_GT(find_text(l, "wide")->y, a->y);
  EXPECT_GT(find_text(l, "after")->y, find_text(l, "wide")->y);
  int frames = 0, fills = 0;
  for (const html::Item& i : l.items) {
    frames += i.kind == html::Item::frame;
    if (i.kind == html::Item::rect && i.color == 0xFFFF00) ++fills;
  }
  EXPECT_EQ(frames, 5 + 1);  // five cells and the table
  EXPECT_EQ(fills, 1);
}

TEST(HtmlLayout, BodyColours) {
  const html::Layout l = lay("<body bgcolor='#102030' text='#FFFFFF' link=lime>t <a href=x>l</a></body>");
  EXPECT_EQ(l.background, 0x102030u);
  EXPECT_EQ(find_text(l, "t")->color, 0xFFFFFFu);
  EXPECT_EQ(find_text(l, "l")->color, 0x00FF00u);
}

TEST(HtmlRobustness, BadMarkupIsRepaired) {
  const std::vector<std::string> cases = {
      "",
      "<",
      "<p",
      "<p class='open",
      "text </div></p></table> more",
      "<table><td>cell without row</td></table>",
      "<ul><li>one<li>two</ul></li></ul>",
      "<!-- never closed",
      "<a href=>x</a><a name>y</a>",
      "&#0; &#xFFFFFFFF; &#55296; &",
      "<table><tr><td><table><tr><td>nested</td></tr></table></td></tr></table>",
      "<font size=99 color=#zzz>z</font><hr size=-4 width=999%>",
      "<table cellpadding=100000 border=-1 width=-5><tr><td colspan=99999>c</td></tr></table>",
  };
  for (const std::string& c : cases) {
    SCOPED_TRACE(c);
    const html::Layout l = lay(c, 200);
    EXPECT_GE(l.height, 0);
  }
  EXPECT_EQ(all_text(lay("text </div></p></table> more")), "text more");
  EXPECT_EQ(all_text(lay("<table><td>cell without row</td></table>")), "cell without row");
}

TEST(HtmlRobustness, DeepNestingAndRandomBytes) {
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "<b><table><tr><td>";
  deep += "bottom";
  const html::Layout d = lay(deep, 300);
  EXPECT_GE(d.height, 0);

  std::mt19937 rng(1234);
  const std::string alphabet = "<>/=\"' &#;abcdefghijklmnoptrxyz\n\t";
  for (int round = 0; round < 300; ++round) {
    std::string s;
    const int n = int(rng() % 400);
    for (int i = 0; i < n; ++i)
      s += (rng() % 4 == 0) ? char(rng() % 256) : alphabet[rng() % alphabet.size()];
    const html::Layout l = lay(s, 1 + int(rng() % 500));
    EXPECT_GE(l.height, 0);
  }
}

}  // namespace
