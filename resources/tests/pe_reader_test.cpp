// The reader itself on damaged input: every cut of a real DLL and a few hostile
// headers give an error or a partial result, never a crash.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "pe_reader.h"

namespace {

pe::Bytes read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return pe::Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(PeReader, RejectsNonPeInput) {
  const std::vector<pe::Bytes> cases = {
      {}, {'M'}, {'M', 'Z'}, pe::Bytes(64, 0), pe::Bytes(4096, 0xFF)};
  for (const pe::Bytes& b : cases) {
    pe::PeFile f;
    std::string err;
    EXPECT_FALSE(f.parse(b, err));
    EXPECT_FALSE(err.empty());
  }
}

TEST(PeReader, EveryTruncationOfARealLibraryFailsCleanly) {
  const pe::Bytes whole = read_all(std::string(WIN_DIR) + "/ok.dll");
  ASSERT_GT(whole.size(), 1024u);
  pe::PeFile full;
  std::string err;
  ASSERT_TRUE(full.parse(whole, err)) << err;
  for (size_t cut = 0; cut < whole.size(); cut += 97) {
    pe::PeFile f;
    pe::Bytes part(whole.begin(), whole.begin() + long(cut));
    // A prefix may parse when it holds everything the reader looks at; one
    // without the headers never does, and nothing reads past the end.
    const bool ok = f.parse(part, err);
    if (cut < 0x200) { EXPECT_FALSE(ok) << cut; }
    if (ok) { EXPECT_EQ(f.exports, full.exports) << cut; }
  }
}

TEST(PeReader, DamagedTypeLibrariesAndVersionRecordsFailCleanly) {
  pe::PeFile f;
  std::string err;
  ASSERT_TRUE(f.load(std::string(WIN_DIR) + "/ok.dll", err)) << err;
  const pe::Resource* tlb = f.find("TYPELIB", "#1");
  const pe::Resource* ver = f.find("#16", "#1");
  ASSERT_TRUE(tlb && ver);
  for (size_t cut = 0; cut < tlb->data.size(); cut += 13) {
    pe::Bytes part(tlb->data.begin(), tlb->data.begin() + long(cut));
    const bool ok = pe::parse_typelib(part, err).has_value();
    if (cut < 0x54) { EXPECT_FALSE(ok) << cut; }
  }
  for (size_t cut = 0; cut < ver->data.size(); cut += 3) {
    pe::Bytes part(ver->data.begin(), ver->data.begin() + long(cut));
    const bool ok = pe::parse_version(part, err).has_value();
    if (cut < 6 + 32 + 52) { EXPECT_FALSE(ok) << cut; }
  }
  pe::Bytes flipped = tlb->data;
  for (size_t i = 0; i < flipped.size(); i += 7) flipped[i] ^= 0xA5;
  pe::parse_typelib(flipped, err);
  EXPECT_FALSE(pe::parse_typelib(pe::Bytes{'M', 'S', 'F', 'T'}, err).has_value());
}

}  // namespace
