// TStringHolder: a fixed list of strings kept on a form (the high score checksum weights).
#pragma once
#include <string>
#include <vector>

namespace zubroll {

class TStringHolder {
 public:
  TStringHolder() = default;
  explicit TStringHolder(std::vector<std::string> strings) : Strings(std::move(strings)) {}
  std::vector<std::string> Strings;
  int Count() const { return int(Strings.size()); }
  // The string at i as an integer (0 for an index out of range or no number).
  int AsInt(int i) const;
};

// HiSumString: the twenty weights of the high score checksum.
const TStringHolder& HiSumString();

}  // namespace zubroll
