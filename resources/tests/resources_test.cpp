// The six bitmap libraries as built: exports, bitmaps, the "_IID_TEST" record,
// the version record and the type library.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "pe_reader.h"

namespace {

struct Bitmap {
  const char* name;
  int w, h;
};

struct Library {
  const char* name;
  const char* typelib_name;
  const char* iid;
  const char* clsid;
  std::vector<Bitmap> bitmaps;
};
// Test names and failure messages show the library by name.
void PrintTo(const Library& l, std::ostream* os) { *os << l.name; }

const std::vector<Library>& libraries() {
  static const std::vector<Library> libs = {
      {"glyphset", "pozadi", "{13A1745F-5BB6-11D3-B736-B0E2F9A55A96}",
       "{13A1744A-5BB6-11D3-B736-B0E2F9A55A96}",
       {{"PIS63", 14, 30},  {"PIS138", 14, 30}, {"PIS141", 14, 30}, {"PIS142", 14, 30},
        {"PIS193", 14, 30}, {"PIS200", 14, 30}, {"PIS201", 14, 30}, {"PIS204", 14, 30},
        {"PIS205", 14, 30}, {"PIS207", 14, 30}, {"PIS210", 14, 30}, {"PIS211", 14, 30},
        {"PIS216", 14, 30}, {"PIS217", 14, 30}, {"PIS218", 14, 30}, {"PIS221", 14, 30},
        {"GLYPHSETNORM", 445, 30}}},
      {"panelset", "pozadi", "{F8A50F48-690B-11D3-B736-B90AB2B33770}",
       "{F8A50F49-690B-11D3-B736-B90AB2B33770}",
       {{"LAB3_1", 282, 45},  {"LAB3_2", 282, 45},  {"LAB3_3", 282, 45},  {"LAB3_4", 282, 45},
        {"LAB3_1O", 282, 45}, {"LAB3_2O", 282, 45}, {"LAB3_3O", 282, 45}, {"LAB3_4O", 282, 45},
        {"STORNO3", 161, 41}, {"STORNO3O", 161, 41}}},
      {"okwide", "pozadi", "{3C2B1095-8B0C-11D3-B736-E2104FD61C0C}",
       "{3C2B1089-8B0C-11D3-B736-E2104FD61C0C}", {{"OK", 171, 39}, {"OK_A", 171, 39}}},
      {"ok", "pozadi", "{B9AE6328-6DB8-11D3-B736-DF9954C5E139}",
       "{B9AE6329-6DB8-11D3-B736-DF9954C5E139}",
       {{"OK", 66, 25}, {"OK_A", 66, 25}, {"OK_D", 66, 25}}},
      {"clockset", "clockset", "{910E5A9D-0AE2-11D3-B71F-CE5CA0A16670}",
       "{910E5A9E-0AE2-11D3-B71F-CE5CA0A16670}",
       {{"CISLO0", 14, 20}, {"CISLO1", 14, 20}, {"CISLO2", 14, 20}, {"CISLO3", 14, 20},
        {"CISLO4", 14, 20}, {"CISLO5", 14, 20}, {"CISLO6", 14, 20}, {"CISLO7", 14, 20},
        {"CISLO8", 14, 20}, {"CISLO9", 14, 20}}},
      {"buttonset", "pozadi", "{FF2027FB-598B-11D3-B736-AF5DB703FBA4}",
       "{FF2027E9-598B-11D3-B736-AF5DB703FBA4}", {{"PANELSET", 242, 59}, {"PANELSETA", 242, 59}}},
  };
  return libs;
}

const pe::PeFile& loaded(const std::string& name) {
  static std::map<std::string, pe::PeFile> cache;
  auto it = cache.find(name);
  if (it == cache.end()) {
    pe::PeFile f;
    std::string err;
    EXPECT_TRUE(f.load(std::string(WIN_DIR) + "/" + name + ".dll", err)) << name << ": " << err;
    it = cache.emplace(name, std::move(f)).first;
  }
  return it->second;
}

uint32_t le32(const pe::Bytes& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}

// A decoded bottom-up 24-bit DIB: pixel (x, y) from the top as 0xRRGGBB.
struct Dib {
  int w = 0, h = 0;
  const pe::Bytes* data = nullptr;
  uint32_t at(int x, int y) const {
    const size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
    const size_t p = 40 + stride * size_t(h - 1 - y) + size_t(x) * 3;
    const pe::Bytes& b = *data;
    return (b[p + 2] << 16) | (b[p + 1] << 8) | b[p];
  }
  bool dark(int x, int y) const {
    const uint32_t c = at(x, y);
    return ((c >> 16) & 255) + ((c >> 8) & 255) + (c & 255) < 200;
  }
};

Dib dib(const pe::PeFile& f, const char* name) {
  const pe::Resource* r = f.find("#2", name);
  EXPECT_NE(r, nullptr) << name;
  if (!r) return {};
  return {int(le32(r->data, 4)), int(le32(r->data, 8)), &r->data};
}

class EachLibrary : public ::testing::TestWithParam<Library> {};

TEST_P(EachLibrary, IsAnX64DllExportingExactlyTheFourServerEntries) {
  const pe::PeFile& f = loaded(GetParam().name);
  EXPECT_EQ(f.machine, 0x8664);
  EXPECT_TRUE(f.pe32plus);
  EXPECT_TRUE(f.characteristics & 0x2000) << "IMAGE_FILE_DLL";
  std::set<std::string> got(f.exports.begin(), f.exports.end());
  EXPECT_EQ(got, (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject",
                                        "DllRegisterServer", "DllUnregisterServer"}));
  EXPECT_EQ(f.exports.size(), 4u);
}

TEST_P(EachLibrary, CarriesExactlyItsBitmapsAsUncompressed24BitBottomUpDibs) {
  const Library& lib = GetParam();
  const pe::PeFile& f = loaded(lib.name);
  std::set<std::string> expected, got;
  for (const Bitmap& b : lib.bitmaps) expected.insert(b.name);
  for (const pe::Resource* r : f.of_type("#2")) got.insert(r->name.str());
  EXPECT_EQ(got, expected);
  for (const Bitmap& b : lib.bitmaps) {
    SCOPED_TRACE(b.name);
    const pe::Resource* r = f.find("#2", b.name);
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(r->name.is_name);
    ASSERT_GE(r->data.size(), 40u);
    const pe::Bytes& d = r->data;
    EXPECT_EQ(le32(d, 0), 40u) << "BITMAPINFOHEADER size";
    EXPECT_EQ(int32_t(le32(d, 4)), b.w);
    EXPECT_EQ(int32_t(le32(d, 8)), b.h) << "positive height: bottom-up rows";
    EXPECT_EQ(d[12] | (d[13] << 8), 1);
    EXPECT_EQ(d[14] | (d[15] << 8), 24);
    EXPECT_EQ(le32(d, 16), 0u) << "BI_RGB";
    const size_t stride = (size_t(b.w) * 3 + 3) & ~size_t(3);
    EXPECT_EQ(stride % 4, 0u);
    EXPECT_EQ(le32(d, 20), stride * b.h);
    EXPECT_EQ(le32(d, 32), 0u) << "no colour table";
    EXPECT_EQ(d.size(), 40 + stride * b.h);
  }
}

TEST_P(EachLibrary, IidResourceHoldsCountSixteenThenTheInterfaceGuid) {
  const Library& lib = GetParam();
  const pe::Resource* r = loaded(lib.name).find("_IID_TEST", "#1");
  ASSERT_NE(r, nullptr);
  ASSERT_EQ(r->data.size(), 20u);
  EXPECT_EQ(le32(r->data, 0), 16u);
  EXPECT_EQ(pe::guid_from_bytes(&r->data[4]), lib.iid);
}

TEST_P(EachLibrary, VersionRecordNamesTheLibrary) {
  const Library& lib = GetParam();
  const pe::Resource* r = loaded(lib.name).find("#16", "#1");
  ASSERT_NE(r, nullptr);
  std::string err;
  auto vi = pe::parse_version(r->data, err);
  ASSERT_TRUE(vi) << err;
  EXPECT_EQ(vi->file_ms, 0x00010000u);
  EXPECT_EQ(vi->file_ls, 0u);
  EXPECT_EQ(vi->product_ms, 0x00010000u);
  EXPECT_EQ(vi->product_ls, 0u);
  EXPECT_EQ(vi->file_type, 2u) << "VFT_DLL";
  const std::string file = std::string(lib.name) + ".dll";
  EXPECT_EQ(vi->strings["ProductName"], "Project1");
  EXPECT_EQ(vi->strings["FileVersion"], "1.00");
  EXPECT_EQ(vi->strings["InternalName"], file);
  EXPECT_EQ(vi->strings["OriginalFilename"], file);
}

TEST_P(EachLibrary, TypeLibraryDeclaresTheEmptyCreatableClass) {
  const Library& lib = GetParam();
  const pe::Resource* r = loaded(lib.name).find("TYPELIB", "#1");
  ASSERT_NE(r, nullptr);
  std::string err;
  auto tl = pe::parse_typelib(r->data, err);
  ASSERT_TRUE(tl) << err;
  EXPECT_EQ(tl->libid, "{B5DB0829-DBC0-11D2-BC5F-F6AD5EFC645F}");
  EXPECT_EQ(tl->name, lib.typelib_name);
  EXPECT_EQ(tl->major, 4);
  EXPECT_EQ(tl->minor, 0);
  EXPECT_EQ(tl->lcid, 1033u);
  EXPECT_NE(std::find(tl->imported_files.begin(), tl->imported_files.end(), "stdole2.tlb"),
            tl->imported_files.end());
  const pe::TypeInfo* iface = tl->find("_test");
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->kind, 4) << "dispinterface";
  EXPECT_EQ(iface->guid, lib.iid);
  EXPECT_TRUE(iface->functions.empty());
  EXPECT_TRUE(iface->variables.empty());
  const pe::TypeInfo* cls = tl->find("test");
  ASSERT_NE(cls, nullptr);
  EXPECT_EQ(cls->kind, 5) << "coclass";
  EXPECT_EQ(cls->guid, lib.clsid);
  EXPECT_TRUE(cls->flags & 0x2) << "TYPEFLAG_FCANCREATE";
  EXPECT_EQ(tl->types.size(), 2u);
}

TEST_P(EachLibrary, EveryBitmapHasContentAndNoTwoAreAlike) {
  const Library& lib = GetParam();
  const pe::PeFile& f = loaded(lib.name);
  std::set<pe::Bytes> seen;
  for (const Bitmap& b : lib.bitmaps) {
    const pe::Resource* r = f.find("#2", b.name);
    ASSERT_NE(r, nullptr);
    std::set<uint8_t> levels(r->data.begin() + 40, r->data.end());
    EXPECT_GT(levels.size(), 2u) << b.name << " is flat";
    EXPECT_TRUE(seen.insert(r->data).second) << b.name << " repeats another bitmap";
  }
}

INSTANTIATE_TEST_SUITE_P(Libraries, EachLibrary, ::testing::ValuesIn(libraries()),
                         [](const auto& info) { return std::string(info.param.name); });

// The letter cells show their base capital exactly as the A to Z strip does,
// with the accent in the rows above (y < 10) and nothing there for "?".
TEST(Glyphset, LetterCellsAreTheStripLettersWithTheirAccents) {
  const pe::PeFile& f = loaded("glyphset");
  const Dib strip = dib(f, "GLYPHSETNORM");
  ASSERT_EQ(strip.w, 445);
  struct Case {
    const char* cell;
    char base;
  } cases[] = {{"PIS138", 'S'}, {"PIS141", 'T'}, {"PIS142", 'Z'}, {"PIS193", 'A'},
               {"PIS200", 'C'}, {"PIS201", 'E'}, {"PIS204", 'E'}, {"PIS205", 'I'},
               {"PIS207", 'D'}, {"PIS210", 'N'}, {"PIS211", 'O'}, {"PIS216", 'R'},
               {"PIS217", 'U'}, {"PIS218", 'U'}, {"PIS221", 'Y'}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell);
    const Dib cell = dib(f, c.cell);
    ASSERT_EQ(cell.w, 14);
    const int sx = 1 + 17 * (c.base - 'A');
    int accent = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 14; ++x) {
        if (y >= 10)
          ASSERT_EQ(cell.at(x, y), strip.at(sx + x, y)) << x << "," << y;
        else
          accent += cell.dark(x, y);
      }
    EXPECT_GT(accent, 0) << "accent dots";
  }
  // The same base with different accents differs only above the letter.
  const Dib e_acute = dib(f, "PIS201"), e_caron = dib(f, "PIS204");
  int diff = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 14; ++x) diff += e_acute.at(x, y) != e_caron.at(x, y);
  EXPECT_GT(diff, 0);
  const Dib q = dib(f, "PIS63");
  int above = 0, below = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 14; ++x) (y < 10 ? above : below) += q.dark(x, y);
  EXPECT_EQ(above, 0);
  EXPECT_GT(below, 20);
}

TEST(Glyphset, StripHasTwentySixDistinctDarkOnLightLetters) {
  const Dib strip = dib(loaded("glyphset"), "GLYPHSETNORM");
  std::set<std::vector<bool>> shapes;
  for (int i = 0; i < 26; ++i) {
    std::vector<bool> shape;
    int dark = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 14; ++x) {
        shape.push_back(strip.dark(1 + 17 * i + x, y));
        dark += shape.back();
      }
    EXPECT_GT(dark, 30) << char('A' + i);
    EXPECT_LT(dark, 14 * 30 / 2) << char('A' + i) << ": background must be light";
    shapes.insert(shape);
  }
  EXPECT_EQ(shapes.size(), 26u);
}

}  // namespace
