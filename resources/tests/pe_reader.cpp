#include "pe_reader.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace pe {
namespace {

// Bounds-checked little-endian access to a byte buffer.
struct View {
  const Bytes& b;
  bool ok = true;
  uint32_t u8(size_t at) {
    if (at >= b.size()) return fail();
    return b[at];
  }
  uint32_t u16(size_t at) {
    if (at + 2 > b.size() || at + 2 < at) return fail();
    return b[at] | (b[at + 1] << 8);
  }
  uint32_t u32(size_t at) {
    if (at + 4 > b.size() || at + 4 < at) return fail();
    return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
           (uint32_t(b[at + 3]) << 24);
  }
  bool has(size_t at, size_t n) {
    if (at > b.size() || n > b.size() - at) {
      ok = false;
      return false;
    }
    return true;
  }
  uint32_t fail() {
    ok = false;
    return 0;
  }
};

std::string narrow(const std::u16string& w) {
  std::string s;
  for (char16_t c : w) s += c < 128 ? char(c) : '?';
  return s;
}

struct Section {
  uint32_t va, vsize, raw, rawsize;
};

}  // namespace

std::string guid_from_bytes(const uint8_t* p) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                unsigned(p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24)),
                unsigned(p[4] | (p[5] << 8)), unsigned(p[6] | (p[7] << 8)), p[8], p[9], p[10],
                p[11], p[12], p[13], p[14], p[15]);
  return buf;
}

bool PeFile::load(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return parse(file, error);
}

bool PeFile::parse(const Bytes& file, std::string& error) {
  View v{file};
  if (v.u16(0) != 0x5A4D || !v.ok) {
    error = "no MZ header";
    return false;
  }
  const uint32_t peoff = v.u32(0x3C);
  if (v.u32(peoff) != 0x00004550 || !v.ok) {
    error = "no PE signature";
    return false;
  }
  const size_t coff = peoff + 4;
  machine = uint16_t(v.u16(coff));
  const uint32_t nsections = v.u16(coff + 2);
  const uint32_t optsize = v.u16(coff + 16);
  characteristics = uint16_t(v.u16(coff + 18));
  const size_t opt = coff + 20;
  const uint32_t magic = v.u16(opt);
  pe32plus = magic == 0x20B;
  if (magic != 0x20B && magic != 0x10B) {
    error = "unknown optional header";
    return false;
  }
  const size_t dirs = opt + (pe32plus ? 112 : 96);
  const uint32_t ndirs = v.u32(dirs - 4);
  auto dir = [&](uint32_t i, uint32_t& rva, uint32_t& size) {
    rva = size = 0;
    if (i < ndirs) {
      rva = v.u32(dirs + i * 8);
      size = v.u32(dirs + i * 8 + 4);
    }
  };
  std::vector<Section> secs;
  const size_t sec0 = opt + optsize;
  for (uint32_t i = 0; i < nsections && v.ok; ++i) {
    const size_t s = sec0 + i * 40;
    secs.push_back({v.u32(s + 12), v.u32(s + 8), v.u32(s + 20), v.u32(s + 16)});
  }
  if (!v.ok) {
    error = "truncated headers";
    return false;
  }
  auto rva_to_off = [&](uint32_t rva, size_t& off) {
    for (const Section& s : secs) {
      const uint32_t span = std::max(s.vsize, s.rawsize);
      if (rva >= s.va && rva - s.va < span && rva - s.va < s.rawsize) {
        off = size_t(s.raw) + (rva - s.va);
        return true;
      }
    }
    return false;
  };

  // Exports: the name table.
  exports.clear();
  uint32_t erva, esize;
  dir(0, erva, esize);
  if (erva) {
    size_t eoff;
    if (!rva_to_off(erva, eoff)) {
      error = "export directory outside sections";
      return false;
    }
    const uint32_t nnames = v.u32(eoff + 24);
    size_t names;
    if (nnames > 65536 || !rva_to_off(v.u32(eoff + 32), names)) {
      error = "bad export name table";
      return false;
    }
    for (uint32_t i = 0; i < nnames && v.ok; ++i) {
      size_t at;
      if (!rva_to_off(v.u32(names + 4 * i), at)) {
        error = "bad export name";
        return false;
      }
      std::string name;
      while (v.ok && v.u8(at) != 0 && name.size() < 512) name += char(v.u8(at++));
      exports.push_back(name);
    }
  }

  // Resources: type / name / language, three directory levels.
  resources.clear();
  uint32_t rrva, rsize;
  dir(2, rrva, rsize);
  if (rrva) {
    size_t base;
    if (!rva_to_off(rrva, base)) {
      error = "resource directory outside sections";
      return false;
    }
    auto read_id = [&](uint32_t raw) {
      ResId id;
      if (raw & 0x80000000u) {
        id.is_name = true;
        const size_t at = base + (raw & 0x7FFFFFFFu);
        const uint32_t len = v.u16(at);
        std::u16string w;
        for (uint32_t i = 0; i < len && v.ok; ++i) w += char16_t(v.u16(at + 2 + 2 * i));
        id.name = narrow(w);
      } else {
        id.id = raw & 0xFFFF;
      }
      return id;
    };
    auto entries = [&](size_t at, std::vector<std::pair<uint32_t, uint32_t>>& out) {
      const uint32_t n = v.u16(at + 12) + v.u16(at + 14);
      if (n > 4096) return false;
      for (uint32_t i = 0; i < n && v.ok; ++i)
        out.push_back({v.u32(at + 16 + 8 * i), v.u32(at + 16 + 8 * i + 4)});
      return v.ok;
    };
    std::vector<std::pair<uint32_t, uint32_t>> types;
    if (!entries(base, types)) {
      error = "bad resource directory";
      return false;
    }
    for (auto [tname, toff] : types) {
      if (!(toff & 0x80000000u)) continue;
      std::vector<std::pair<uint32_t, uint32_t>> names;
      if (!entries(base + (toff & 0x7FFFFFFF), names)) break;
      for (auto [nname, noff] : names) {
        if (!(noff & 0x80000000u)) continue;
        std::vector<std::pair<uint32_t, uint32_t>> langs;
        if (!entries(base + (noff & 0x7FFFFFFF), langs)) break;
        for (auto [lang, loff] : langs) {
          if (loff & 0x80000000u) continue;
          const size_t leaf = base + loff;
          const uint32_t drva = v.u32(leaf), dsize = v.u32(leaf + 4);
          size_t doff;
          if (!v.ok || !rva_to_off(drva, doff) || !v.has(doff, dsize)) {
            error = "resource data outside the file";
            return false;
          }
          Resource r;
          r.type = read_id(tname);
          r.name = read_id(nname);
          r.lang = lang;
          r.data.assign(file.begin() + long(doff), file.begin() + long(doff + dsize));
          resources.push_back(std::move(r));
        }
      }
    }
  }
  if (!v.ok) {
    error = "truncated file";
    return false;
  }
  return true;
}

const Resource* PeFile::find(const std::string& type, const std::string& name) const {
  for (const Resource& r : resources)
    if (r.type.str() == type && r.name.str() == name) return &r;
  return nullptr;
}

std::vector<const Resource*> PeFile::of_type(const std::string& type) const {
  std::vector<const Resource*> out;
  for (const Resource& r : resources)
    if (r.type.str() == type) out.push_back(&r);
  return out;
}

// ------------------------------------------------------------------ version record
namespace {

struct Block {
  size_t start = 0, length = 0, value = 0, value_len = 0, children = 0;
  uint32_t type = 0;
  std::u16string key;
};

bool read_block(View& v, size_t at, size_t limit, Block& b) {
  b.start = at;
  b.length = v.u16(at);
  b.value_len = v.u16(at + 2);
  b.type = v.u16(at + 4);
  if (!v.ok || b.length < 6 || at + b.length > limit) return false;
  size_t p = at + 6;
  b.key.clear();
  while (p + 2 <= at + b.length) {
    const uint32_t c = v.u16(p);
    p += 2;
    if (c == 0) break;
    b.key += char16_t(c);
  }
  p = (p + 3) & ~size_t(3);
  b.value = p;
  const size_t vbytes = b.type == 1 ? b.value_len * 2 : b.value_len;
  b.children = (p + vbytes + 3) & ~size_t(3);
  return v.ok;
}

}  // namespace

std::optional<VersionInfo> parse_version(const Bytes& data, std::string& error) {
  View v{data};
  Block root;
  if (!read_block(v, 0, data.size(), root) || narrow(root.key) != "VS_VERSION_INFO" ||
      root.value_len != 52) {
    error = "not a version record";
    return std::nullopt;
  }
  VersionInfo vi;
  if (v.u32(root.value) != 0xFEEF04BD) {
    error = "bad fixed file info signature";
    return std::nullopt;
  }
  vi.file_ms = v.u32(root.value + 8);
  vi.file_ls = v.u32(root.value + 12);
  vi.product_ms = v.u32(root.value + 16);
  vi.product_ls = v.u32(root.value + 20);
  vi.file_type = v.u32(root.value + 36);
  const size_t end = root.start + root.length;
  for (size_t p = root.children; p + 6 <= end;) {
    Block sfi;
    if (!read_block(v, p, end, sfi)) break;
    if (narrow(sfi.key) == "StringFileInfo") {
      Block table;
      if (read_block(v, sfi.children, sfi.start + sfi.length, table)) {
        const size_t tend = table.start + table.length;
        for (size_t q = table.children; q + 6 <= tend;) {
          Block s;
          if (!read_block(v, q, tend, s)) break;
          std::u16string value;
          for (size_t i = 0; i < s.value_len; ++i) {
            const uint32_t c = v.u16(s.value + 2 * i);
            if (c == 0) break;
            value += char16_t(c);
          }
          vi.strings[narrow(s.key)] = narrow(value);
          q = (s.start + s.length + 3) & ~size_t(3);
        }
      }
    }
    p = (sfi.start + sfi.length + 3) & ~size_t(3);
  }
  if (!v.ok) {
    error = "truncated version record";
    return std::nullopt;
  }
  return vi;
}

// ------------------------------------------------------------------ MSFT type library
const TypeInfo* TypeLib::find(const std::string& type_name) const {
  for (const TypeInfo& t : types)
    if (t.name == type_name) return &t;
  return nullptr;
}

std::optional<TypeLib> parse_typelib(const Bytes& data, std::string& error) {
  View v{data};
  if (v.u32(0) != 0x5446534D) {
    error = "not an MSFT type library";
    return std::nullopt;
  }
  TypeLib tl;
  const uint32_t posguid = v.u32(0x08);
  tl.lcid = v.u32(0x0C);
  const uint32_t varflags = v.u32(0x14);
  const uint32_t version = v.u32(0x18);
  tl.major = uint16_t(version & 0xFFFF);
  tl.minor = uint16_t(version >> 16);
  const uint32_t ntypes = v.u32(0x20);
  const int32_t helpstring = int32_t(v.u32(0x24));
  const int32_t name_off = int32_t(v.u32(0x38));
  if (ntypes > 4096) {
    error = "implausible type count";
    return std::nullopt;
  }
  size_t p = 0x54 + ((varflags & 0x100) ? 4 : 0);
  std::vector<uint32_t> type_offsets;
  for (uint32_t i = 0; i < ntypes; ++i) type_offsets.push_back(v.u32(p + 4 * i));
  p += 4 * ntypes;
  struct Seg {
    uint32_t off, len;
  } seg[15];
  for (int i = 0; i < 15; ++i) seg[i] = {v.u32(p + 16 * i), v.u32(p + 16 * i + 4)};
  enum { kTypeInfo = 0, kImpFiles = 2, kGuids = 5, kNames = 7, kStrings = 8 };
  if (!v.ok) {
    error = "truncated type library header";
    return std::nullopt;
  }
  auto guid_at = [&](int32_t off) -> std::string {
    if (off < 0 || !v.has(size_t(seg[kGuids].off) + off, 16)) return "";
    return guid_from_bytes(&data[seg[kGuids].off + off]);
  };
  auto name_at = [&](int32_t off) -> std::string {
    if (off < 0) return "";
    const size_t at = size_t(seg[kNames].off) + off;
    const uint32_t len = v.u32(at + 8) & 0xFF;
    if (!v.has(at + 12, len)) return "";
    return std::string(data.begin() + long(at + 12), data.begin() + long(at + 12 + len));
  };
  auto string_at = [&](int32_t off) -> std::string {
    if (off < 0) return "";
    const size_t at = size_t(seg[kStrings].off) + off;
    const uint32_t len = v.u16(at);
    if (!v.has(at + 2, len)) return "";
    return std::string(data.begin() + long(at + 2), data.begin() + long(at + 2 + len));
  };
  tl.libid = guid_at(int32_t(posguid));
  tl.name = name_at(name_off);
  tl.help = string_at(helpstring);

  for (size_t q = seg[kImpFiles].off, end = q + seg[kImpFiles].len;
       seg[kImpFiles].off != 0xFFFFFFFF && q + 14 <= end && v.ok;) {
    const uint32_t len = v.u16(q + 12) >> 2;
    if (!v.has(q + 14, len)) break;
    tl.imported_files.emplace_back(data.begin() + long(q + 14), data.begin() + long(q + 14 + len));
    q = (q + 14 + len + 3) & ~size_t(3);
  }

  for (uint32_t i = 0; i < ntypes && v.ok; ++i) {
    const size_t b = size_t(seg[kTypeInfo].off) + i * 0x64;
    TypeInfo t;
    t.kind = int(v.u32(b) & 0xF);
    const uint32_t memoffset = v.u32(b + 4);
    const uint32_t elements = v.u32(b + 0x18);
    t.guid = guid_at(int32_t(v.u32(b + 0x2C)));
    t.flags = v.u32(b + 0x30);
    t.name = name_at(int32_t(v.u32(b + 0x34)));
    t.help = string_at(int32_t(v.u32(b + 0x3C)));
    const uint32_t nf = elements & 0xFFFF, nv = elements >> 16;
    if (nf + nv > 0 && nf + nv < 4096) {
      // Member block: total record length, the records, then the member ids,
      // the name offsets and the record offsets, one array after the other.
      const size_t infolen = v.u32(memoffset);
      const size_t arrays = memoffset + 4 + infolen;
      const uint32_t n = nf + nv;
      std::string last;
      for (uint32_t k = 0; k < n && v.ok; ++k) {
        Member m;
        m.memid = int32_t(v.u32(arrays + 4 * k));
        const int32_t nameoff = int32_t(v.u32(arrays + 4 * (n + k)));
        m.name = nameoff == -1 ? last : name_at(nameoff);
        last = m.name;
        const size_t rec = memoffset + 4 + v.u32(arrays + 4 * (2 * n + k));
        if (k < nf) {
          m.invkind = int((v.u32(rec + 16) >> 3) & 0xF);
          t.functions.push_back(m);
        } else {
          t.variables.push_back(m);
          const int32_t raw = int32_t(v.u32(rec + 16));
          t.values.push_back(raw < 0 ? (raw & 0x3FFFFFF) : raw);
        }
      }
    }
    tl.types.push_back(std::move(t));
  }
  (void)type_offsets;
  if (!v.ok) {
    error = "truncated type library";
    return std::nullopt;
  }
  return tl;
}

}  // namespace pe
