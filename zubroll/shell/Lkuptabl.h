// TLookupTable: sine, cosine and arc-tangent tables over whole degrees 0 .. 360,
// values times 1000, rounded half away from zero.
#pragma once

namespace zubroll {

class TLookupTable {
 public:
  TLookupTable();
  int SinTable[361];
  int CosTable[361];
  int AtanTable[361];
};

// round(x) with halves away from zero.
int RoundHalfAway(double x);

}  // namespace zubroll
