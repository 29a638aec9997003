#include "zubroll/shell/Stringhl.h"

#include <cstdlib>

namespace zubroll {

int TStringHolder::AsInt(int i) const {
  if (i < 0 || i >= Count()) return 0;
  return std::atoi(Strings[size_t(i)].c_str());
}

const TStringHolder& HiSumString() {
  static const TStringHolder h({"57", "19", "38", "83", "16", "92", "28", "65", "5", "43",
                                "31", "89", "53", "26", "61", "18", "9", "77", "35", "58"});
  return h;
}

}  // namespace zubroll
