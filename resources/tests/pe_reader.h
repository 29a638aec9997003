// Reads what the tests check in the built Windows DLLs: the PE headers, the
// export names, the resource tree, version records and MSFT type libraries.
// Every read is bounds-checked; a malformed file gives an error, never a crash.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pe {

using Bytes = std::vector<uint8_t>;

// A resource type or name: a number, or a string when `is_name`.
struct ResId {
  bool is_name = false;
  uint32_t id = 0;
  std::string name;  // upper case as stored, ASCII
  std::string str() const { return is_name ? name : "#" + std::to_string(id); }
};

struct Resource {
  ResId type, name;
  uint32_t lang = 0;
  Bytes data;
};

struct PeFile {
  uint16_t machine = 0;
  uint16_t characteristics = 0;
  bool pe32plus = false;
  std::vector<std::string> exports;  // sorted as stored
  std::vector<Resource> resources;

  // Loads and parses; false with `error` set on any malformed structure.
  bool load(const std::string& path, std::string& error);
  bool parse(const Bytes& file, std::string& error);
  // The data of (type, name), where a name "#N" or type "#N" is numeric.
  const Resource* find(const std::string& type, const std::string& name) const;
  std::vector<const Resource*> of_type(const std::string& type) const;
};

// Version record: the fixed part and the string table of the first language block.
struct VersionInfo {
  uint32_t file_ms = 0, file_ls = 0, product_ms = 0, product_ls = 0;
  uint32_t file_type = 0;
  std::map<std::string, std::string> strings;  // ASCII keys and values
};
std::optional<VersionInfo> parse_version(const Bytes& data, std::string& error);

struct Member {
  int32_t memid = 0;
  std::string name;
  int invkind = 0;  // 1 function, 2 property get, 4 put, 8 put by reference
};

struct TypeInfo {
  int kind = 0;  // TKIND_*: 0 enum, 3 interface, 4 dispatch, 5 coclass, 6 alias
  uint32_t flags = 0;
  std::string name, guid, help;
  std::vector<Member> functions;
  std::vector<Member> variables;  // enumeration values: memid, name; value in `values`
  std::vector<int32_t> values;
};

struct TypeLib {
  std::string libid, name, help;
  uint32_t lcid = 0;
  uint16_t major = 0, minor = 0;
  std::vector<std::string> imported_files;
  std::vector<TypeInfo> types;
  const TypeInfo* find(const std::string& type_name) const;
};
std::optional<TypeLib> parse_typelib(const Bytes& data, std::string& error);

std::string guid_from_bytes(const uint8_t* p);  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"

}  // namespace pe
