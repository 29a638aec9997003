#include "zubroll/shell/Lkuptabl.h"

#include <cmath>

namespace zubroll {

namespace {
constexpr double kPi = 3.1415926536;  // the tables' own value of pi
}

int RoundHalfAway(double x) {
  return int(x < 0 ? -std::floor(-x + 0.5) : std::floor(x + 0.5));
}

TLookupTable::TLookupTable() {
  for (int d = 0; d <= 360; ++d) {
    const double r = d * kPi / 180.0;
    SinTable[d] = RoundHalfAway(1000.0 * std::sin(r));
    CosTable[d] = RoundHalfAway(1000.0 * std::cos(r));
    AtanTable[d] = RoundHalfAway(1000.0 * std::atan(r));
  }
}

}  // namespace zubroll
