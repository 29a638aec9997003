// The built control as a file: exports, resources and every entry of its type library.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "pe_reader.h"

namespace {

const pe::PeFile& control() {
  static pe::PeFile f;
  static bool loaded = false;
  if (!loaded) {
    std::string err;
    EXPECT_TRUE(f.load(std::string(WIN_DIR) + "/folioctl.ocx", err)) << err;
    loaded = true;
  }
  return f;
}

const pe::TypeLib& typelib() {
  static std::optional<pe::TypeLib> tl;
  if (!tl) {
    const pe::Resource* r = control().find("TYPELIB", "#1");
    EXPECT_NE(r, nullptr);
    std::string err;
    if (r) tl = pe::parse_typelib(r->data, err);
    EXPECT_TRUE(tl.has_value()) << err;
    if (!tl) tl = pe::TypeLib{};
  }
  return *tl;
}

TEST(FolioctlFile, IsAnX64DllExportingExactlyTheFourServerEntries) {
  const pe::PeFile& f = control();
  EXPECT_EQ(f.machine, 0x8664);
  EXPECT_TRUE(f.characteristics & 0x2000);
  std::set<std::string> got(f.exports.begin(), f.exports.end());
  EXPECT_EQ(got, (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                        "DllUnregisterServer"}));
  EXPECT_EQ(f.exports.size(), 4u);
}

TEST(FolioctlFile, CarriesToolboxBitmapOne) {
  const pe::Resource* r = control().find("#2", "#1");
  ASSERT_NE(r, nullptr);
  ASSERT_GE(r->data.size(), 40u);
  EXPECT_EQ(r->data[14], 24);  // bits per pixel
}

TEST(FolioctlTypeLib, LibraryIdentity) {
  const pe::TypeLib& tl = typelib();
  EXPECT_EQ(tl.libid, "{F23C3E2B-A4D5-11D3-B505-00006E309A70}");
  EXPECT_EQ(tl.name, "folioctl");
  EXPECT_EQ(tl.help, "FO_HtmlProj1 Library");
  EXPECT_EQ(tl.major, 1);
  EXPECT_EQ(tl.minor, 0);
  EXPECT_EQ(tl.lcid, 1033u);
  EXPECT_EQ(tl.imported_files, std::vector<std::string>{"stdole2.tlb"});
}

TEST(FolioctlTypeLib, DualInterfaceHasEveryMemberWithItsDispid) {
  const pe::TypeInfo* t = typelib().find("IFO_Html");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->guid, "{F23C3E2C-A4D5-11D3-B505-00006E309A70}");
  EXPECT_EQ(t->help, "Dispatch interface for FO_Html Control");
  EXPECT_TRUE(t->flags & 0x40) << "TYPEFLAG_FDUAL";
  EXPECT_TRUE(t->flags & 0x100) << "TYPEFLAG_FOLEAUTOMATION";
  // name, DISPID, readable, writable, by reference
  struct Row {
    const char* name;
    int id;
    bool get, put, putref;
  } rows[] = {{"Visible", 1, true, true, false},       {"AutoScroll", 2, true, true, false},
              {"AutoSize", 3, true, true, false},      {"AxBorderStyle", 4, true, true, false},
              {"Caption", -518, true, true, false},    {"Color", -501, true, true, false},
              {"Font", -512, true, true, true},        {"KeyPreview", 5, true, true, false},
              {"PixelsPerInch", 6, true, true, false}, {"PrintScale", 7, true, true, false},
              {"Scaled", 8, true, true, false},        {"Active", 9, true, false, false},
              {"DropTarget", 10, true, true, false},   {"HelpFile", 11, true, true, false},
              {"DoubleBuffered", 12, true, true, false}, {"VisibleDockClientCount", 13, true, false, false},
              {"Enabled", -514, true, true, false},    {"Cursor", 14, true, true, false}};
  size_t expected_functions = 1;  // Method1
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    int kinds = 0;
    for (const pe::Member& m : t->functions)
      if (m.name == r.name) {
        EXPECT_EQ(m.memid, r.id);
        kinds |= m.invkind;
      }
    EXPECT_EQ(kinds, (r.get ? 2 : 0) | (r.put ? 4 : 0) | (r.putref ? 8 : 0));
    expected_functions += r.get + r.put + r.putref;
  }
  auto m1 = std::find_if(t->functions.begin(), t->functions.end(),
                         [](const pe::Member& m) { return m.name == "Method1"; });
  ASSERT_NE(m1, t->functions.end());
  EXPECT_EQ(m1->memid, 17);
  EXPECT_EQ(m1->invkind, 1);
  EXPECT_EQ(t->functions.size(), expected_functions);
}

TEST(FolioctlTypeLib, EventInterfaceMembers) {
  const pe::TypeInfo* t = typelib().find("IFO_HtmlEvents");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->kind, 4);
  EXPECT_EQ(t->guid, "{F23C3E2E-A4D5-11D3-B505-00006E309A70}");
  EXPECT_EQ(t->help, "Events interface for FO_Html Control");
  std::vector<std::pair<std::string, int>> got;
  for (const pe::Member& m : t->functions) got.push_back({m.name, m.memid});
  EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{{"OnActivate", 1}, {"OnClick", 2}, {"OnCreate", 3},
                                                          {"OnDblClick", 5}, {"OnDestroy", 6},
                                                          {"OnDeactivate", 7}, {"OnKeyPress", 11},
                                                          {"OnPaint", 16}}));
}

TEST(FolioctlTypeLib, EnumerationsCountUpFromZero) {
  struct Row {
    const char* name;
    const char* guid;
    std::vector<std::string> values;
  } rows[] = {
      {"TxActiveFormBorderStyle", "{F23C3E32-A4D5-11D3-B505-00006E309A70}", {"afbNone", "afbSingle", "afbSunken", "afbRaised"}},
      {"TxPrintScale", "{F23C3E33-A4D5-11D3-B505-00006E309A70}", {"poNone", "poProportional", "poPrintToFit"}},
      {"TxMouseButton", "{F23C3E34-A4D5-11D3-B505-00006E309A70}", {"mbLeft", "mbRight", "mbMiddle"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const pe::TypeInfo* t = typelib().find(r.name);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->kind, 0);
    EXPECT_EQ(t->guid, r.guid);
    ASSERT_EQ(t->variables.size(), r.values.size());
    for (size_t i = 0; i < r.values.size(); ++i) {
      EXPECT_EQ(t->variables[i].name, r.values[i]);
      EXPECT_EQ(t->values[i], int(i));
    }
  }
}

TEST(FolioctlTypeLib, ControlClass) {
  const pe::TypeInfo* t = typelib().find("FO_Html");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->kind, 5);
  EXPECT_EQ(t->guid, "{F23C3E30-A4D5-11D3-B505-00006E309A70}");
  EXPECT_EQ(t->help, "FO_Html Control");
  EXPECT_TRUE(t->flags & 0x2) << "TYPEFLAG_FCANCREATE";
  EXPECT_TRUE(t->flags & 0x20) << "TYPEFLAG_FCONTROL";
  EXPECT_EQ(typelib().types.size(), 6u);
}

}  // namespace
