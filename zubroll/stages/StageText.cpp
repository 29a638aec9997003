#include "zubroll/stages/StageText.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "zubroll/play/Stage.h"

namespace zubroll {

namespace {

struct Legend {
  char ch;
  int code;
};
constexpr Legend kLegend[] = {{'.', 0},   {'1', 1},   {'2', 2},   {'3', 3},   {'4', 4},
                              {'5', 5},   {'R', 6},   {'H', 7},   {'X', 8},   {'=', 9},
                              {'G', 10},  {'B', 11},  {'Q', 12},  {'E', 13},  {'g', 100},
                              {'b', 101}, {'q', 102}, {'e', 103}};

// The six per-stage parameters, in file order, by their text names.
const char* const kParamNames[6] = {"ball-speed", "speed-cap", "first-delay",
                                    "return-delay", "stun-time", "monster"};
const char* const kMonsterNames[3] = {"kaizyu", "ballet", "ninjya"};

int32_t* ParamArray(TStageSet& s, int i) {
  switch (i) {
    case 0: return s.BallSpeed;
    case 1: return s.BallSpeedCap;
    case 2: return s.MonsterFirstDelay;
    case 3: return s.MonsterReturnDelay;
    case 4: return s.MonsterStunTime;
    default: return s.MonsterKind;
  }
}

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t' || s[a] == '\r')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r')) --b;
  return s.substr(a, b - a);
}

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> w;
  std::string x;
  while (in >> x) w.push_back(x);
  return w;
}

bool ParseInt(const std::string& s, long lo, long hi, int32_t& out) {
  if (s.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(s.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
  out = int32_t(v);
  return true;
}

bool ParseParam(int index, const std::string& s, int32_t& out) {
  if (index == 5)
    for (int k = 0; k < 3; ++k)
      if (s == kMonsterNames[k]) {
        out = k;
        return true;
      }
  return ParseInt(s, INT32_MIN, INT32_MAX, out);
}

// Rest of the line after the keyword (one separating blank), for names that may hold spaces.
std::string RestAfter(const std::string& line, const std::string& keyword) {
  std::string rest = line.substr(keyword.size());
  if (!rest.empty() && (rest[0] == ' ' || rest[0] == '\t')) rest.erase(0, 1);
  return rest;
}

}  // namespace

char CellChar(int code) {
  for (const Legend& l : kLegend)
    if (l.code == code) return l.ch;
  return '?';
}

int CellCodeOf(char ch) {
  for (const Legend& l : kLegend)
    if (l.ch == ch) return l.code;
  return -1;
}

bool ParseStageText(const std::string& text, TStageText& out, std::string& error) {
  out.Set = std::make_unique<TStageSet>();
  TStageSet& set = *out.Set;
  std::memset(static_cast<void*>(&set), 0, sizeof set);
  ResetStageSet(set);
  set.Version.set(kStageVersion);
  set.SetName.set("Standard");
  out.Signature = TStageText::Sig::Auto;

  std::vector<std::string> lines;
  {
    std::string cur;
    for (char ch : text) {
      if (ch == '\n') {
        lines.push_back(cur);
        cur.clear();
      } else {
        cur += ch;
      }
    }
    if (!cur.empty()) lines.push_back(cur);
  }
  auto fail = [&](size_t n, const std::string& why) {
    error = "line " + std::to_string(n + 1) + ": " + why;
    return false;
  };

  bool seen[kStageCount] = {};
  int stage = -1;       // stage being read
  int grid_row = 0;     // rows of its grid read so far
  bool pending_q[kStageRows][kStageCols] = {};  // '?' cells waiting for a "cell" line
  size_t stage_line = 0;
  auto finish_stage = [&]() -> bool {
    if (stage < 0) return true;
    if (grid_row < kStageRows) return fail(stage_line, "stage " + std::to_string(stage) + " has " +
                                                           std::to_string(grid_row) + " of 14 grid rows");
    for (int r = 0; r < kStageRows; ++r)
      for (int c = 0; c < kStageCols; ++c)
        if (pending_q[r][c])
          return fail(stage_line, "stage " + std::to_string(stage) + ": '?' at row " + std::to_string(r) +
                                      " column " + std::to_string(c) + " has no cell line");
    return true;
  };

  for (size_t n = 0; n < lines.size(); ++n) {
    const std::string line = Trim(lines[n]);
    if (line.empty() || line[0] == '#') continue;
    if (stage >= 0 && grid_row < kStageRows) {
      if (line.size() != size_t(kStageCols))
        return fail(n, "a grid row has 34 characters, this one " + std::to_string(line.size()));
      for (int c = 0; c < kStageCols; ++c) {
        const char ch = line[size_t(c)];
        if (ch == '?') {
          pending_q[grid_row][c] = true;
          set.Cell(stage, grid_row, c) = 0;
          continue;
        }
        const int code = CellCodeOf(ch);
        if (code < 0) return fail(n, std::string("unknown cell character '") + ch + "'");
        set.Cell(stage, grid_row, c) = uint8_t(code);
      }
      ++grid_row;
      continue;
    }
    const std::vector<std::string> w = Words(line);
    const std::string& key = w[0];
    if (key == "stage") {
      if (!finish_stage()) return false;
      int32_t s = 0;
      if (w.size() != 2 || !ParseInt(w[1], 0, kStageCount - 1, s)) return fail(n, "expected: stage 0..31");
      if (seen[s]) return fail(n, "stage " + std::to_string(s) + " given twice");
      seen[s] = true;
      stage = s;
      grid_row = 0;
      stage_line = n;
      std::memset(pending_q, 0, sizeof pending_q);
      continue;
    }
    if (stage < 0) {
      if (key == "version") {
        const std::string v = RestAfter(line, key);
        if (v != kStageVersion && v != kPlainStageVersion) return fail(n, "version is 00001002 or 1000");
        set.Version.set(v);
      } else if (key == "name") {
        const std::string v = RestAfter(line, key);
        if (v.size() > 255) return fail(n, "a name has at most 255 characters");
        set.SetName.set(v);
      } else if (key == "owner") {
        const std::string v = RestAfter(line, key);
        if (v.size() > 255) return fail(n, "an owner has at most 255 characters");
        set.OwnerName.set(v);
      } else if (key == "signature") {
        if (w.size() != 2) return fail(n, "expected: signature shipped|auto|NUMBER");
        if (w[1] == "shipped") out.Signature = TStageText::Sig::Shipped;
        else if (w[1] == "auto") out.Signature = TStageText::Sig::Auto;
        else if (ParseInt(w[1], INT32_MIN, INT32_MAX, out.SignatureValue)) out.Signature = TStageText::Sig::Value;
        else return fail(n, "expected: signature shipped|auto|NUMBER");
      } else {
        return fail(n, "unknown header line '" + key + "'");
      }
      continue;
    }
    bool matched = false;
    for (int p = 0; p < 6 && !matched; ++p) {
      if (key != kParamNames[p]) continue;
      matched = true;
      if (w.size() != 2 && w.size() != 3) return fail(n, std::string("expected: ") + kParamNames[p] + " VALUE [DEFAULT]");
      int32_t v = 0, d = 0;
      if (!ParseParam(p, w[1], v)) return fail(n, "bad value '" + w[1] + "'");
      d = v;
      if (w.size() == 3 && !ParseParam(p, w[2], d)) return fail(n, "bad default '" + w[2] + "'");
      ParamArray(set, p)[stage] = v;
      ParamArray(set, p)[32 + stage] = d;
    }
    if (matched) continue;
    if (key == "cell") {
      int32_t r = 0, c = 0, v = 0;
      if (w.size() != 4 || !ParseInt(w[1], 0, kStageRows - 1, r) || !ParseInt(w[2], 0, kStageCols - 1, c) ||
          !ParseInt(w[3], 0, 255, v))
        return fail(n, "expected: cell ROW COLUMN VALUE (0..13, 0..33, 0..255)");
      if (!pending_q[r][c]) return fail(n, "a cell line needs a '?' in the grid at its place");
      pending_q[r][c] = false;
      set.Cell(stage, r, c) = uint8_t(v);
    } else if (key == "extra") {
      int32_t a = 0, b = 0, c = 0;
      if (w.size() != 4 || !ParseInt(w[1], INT32_MIN, INT32_MAX, a) || !ParseInt(w[2], INT32_MIN, INT32_MAX, b) ||
          !ParseInt(w[3], INT32_MIN, INT32_MAX, c))
        return fail(n, "expected: extra A B C");
      set.Extra1[stage] = a;
      set.Extra2[stage] = b;
      set.Extra3[stage] = c;
    } else {
      return fail(n, "unknown stage line '" + key + "'");
    }
  }
  return finish_stage();
}

std::unique_ptr<TStageSet> BuildStageFile(const TStageText& text) {
  auto file = std::make_unique<TStageSet>(*text.Set);
  RecountClearCounts(*file);
  const bool plain = file->Version.str() == kPlainStageVersion;
  if (!plain) SealStageSet(*file);
  else {
    file->ByteSum = StageByteSum(*file);
    file->CellCheck = StageCellCheck(*file);
    file->ParamCheck = StageParamCheck(*file);
  }
  const std::string name = file->SetName.str();
  const bool difficulty_set = name == "EASY.EGS" || name == "NORMAL.EGS" || name == "HARD.EGS";
  const int32_t shipped = ShippedSignature(*file);
  switch (text.Signature) {
    case TStageText::Sig::Shipped: file->Signature = shipped; break;
    case TStageText::Sig::Value: file->Signature = text.SignatureValue; break;
    case TStageText::Sig::Auto:
      if (difficulty_set) {
        file->Signature = shipped;
      } else {
        // Any number 0..9999 that is not the shipped signature (which would lock
        // the set out of the editor); derived from the cells so builds repeat.
        int32_t v = int32_t(uint32_t(file->CellCheck) * 2654435761u % 10000u);
        if (v == shipped) v = (v + 1) % 10000;
        file->Signature = v;
      }
      break;
  }
  return file;
}

std::string StageFileToText(const TStageSet& file) {
  auto set = std::make_unique<TStageSet>(file);
  const bool plain = set->Version.str() == kPlainStageVersion;
  const bool shipped = set->Signature == ShippedSignature(*set);
  if (!plain) VerifyStageSetAs(*set, false, 3);  // descramble only; the verdict is not the point here
  std::ostringstream o;
  o << "# Stage set (text form). Legend: . empty, 1-5 eggs (kinds 10-14), R rainbow, H hard,\n"
       "# X bomb, = block egg, G GBos, B BBos, Q QBos, E EggKing, g b q e boss areas, ? see cell lines.\n";
  o << "version " << set->Version.str() << "\n";
  o << "name " << set->SetName.str() << "\n";
  o << "owner " << set->OwnerName.str() << "\n";
  if (shipped) o << "signature shipped\n";
  else o << "signature " << set->Signature << "\n";
  for (int s = 0; s < kStageCount; ++s) {
    o << "\nstage " << s << "\n";
    std::ostringstream cells;
    for (int r = 0; r < kStageRows; ++r) {
      for (int c = 0; c < kStageCols; ++c) {
        const int code = set->Cell(s, r, c);
        const char ch = CellChar(code);
        o << ch;
        if (ch == '?') cells << "cell " << r << ' ' << c << ' ' << code << "\n";
      }
      o << "\n";
    }
    o << cells.str();
    for (int p = 0; p < 6; ++p) {
      const int32_t v = ParamArray(*set, p)[s], d = ParamArray(*set, p)[32 + s];
      o << kParamNames[p];
      for (int32_t x : {v, d}) {
        if (p == 5 && x >= 0 && x < 3) o << ' ' << kMonsterNames[x];
        else o << ' ' << x;
      }
      o << "\n";
    }
    if (set->Extra1[s] || set->Extra2[s] || set->Extra3[s])
      o << "extra " << set->Extra1[s] << ' ' << set->Extra2[s] << ' ' << set->Extra3[s] << "\n";
  }
  return o.str();
}

}  // namespace zubroll
