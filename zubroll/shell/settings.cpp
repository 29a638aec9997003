#include "zubroll/shell/settings.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/files.h"

namespace zubroll {

std::string ProgramFolder() {
  if (!GameRec || GameRec->ExePath.empty()) return platform::program_folder();
  std::string p = GameRec->ExePath;
  const size_t slash = p.find_last_of("/\\");
  p = slash == std::string::npos ? std::string("./") : p.substr(0, slash + 1);
  return p;
}

std::string FolderPath(const std::string& name) { return ProgramFolder() + name + "/"; }

void DefaultSettings(TSettingsRec& r) {
  std::memset(static_cast<void*>(&r), 0, sizeof r);
  r.Version = 102;
  r.Product.set("ZUBROLL DX FOR WINDOWS 1.0 V1.0.4");
  r.FullScreen = r.SoundEffects = r.Music = r.SaveReplays = r.UseVideoMemory = r.WaitVBlank = 1;
  r.FrameDriver = 0;
  r.EditFileName.set("EDIT.EGG");
}

bool LoadSettings(TOptionChecks& checks) {
  if (!SettingRec || !GameRec) return false;
  const std::string path = platform::resolve_path(ProgramFolder() + kSettingsFileName);
  std::vector<uint8_t> bytes;
  if (platform::file_size(path) == long(sizeof(TSettingsRec)) && platform::read_file(path, bytes) &&
      bytes.size() == sizeof(TSettingsRec))
    std::memcpy(static_cast<void*>(SettingRec), bytes.data(), sizeof(TSettingsRec));
  else
    DefaultSettings(*SettingRec);
  TSettingsRec& r = *SettingRec;
  // A damaged or edited file may hold anything: volumes stay on their scale, and the edit
  // set's name must be a plain file name inside the stage folder.
  r.SfxVolume = std::clamp(r.SfxVolume, int32_t(-10000), int32_t(0));
  r.BgmVolume = std::clamp(r.BgmVolume, int32_t(-10000), int32_t(0));
  {
    const std::string name = r.EditFileName.str();
    if (name.find_first_of("/\\") != std::string::npos || name == "." || name == "..")
      r.EditFileName.set("EDIT.EGG");
  }
  SfxVolume = r.SfxVolume;
  BgmVolume = r.BgmVolume;
  checks.MaxScreen = r.FullScreen == 1;
  checks.SFX = r.SoundEffects == 1;
  checks.BGM = r.Music == 1;
  checks.RecReplay = r.SaveReplays == 1;
  checks.UseVRAM = r.UseVideoMemory == 1;
  checks.NoTimer = r.FrameDriver == 0;
  checks.WaitVbl = r.WaitVBlank == 1;
  if (r.Version < 102) {
    r.Reserved17[0] = 0;
    r.EditFileName.set("EDIT.EGG");
  }
  // A saved stage outside the difficulty's stages counts as none reached.
  for (int d = 0; d < 5; ++d)
    GameRec->BestStage[d] = r.BestStage[d] < 0 || r.BestStage[d] > LastStageOf(d) ? 0 : r.BestStage[d];
  return ReadRunRecovery();
}

int32_t CheckpointFor(int d, int& b, int32_t saved) {
  if (d == 0 && b >= 12 && b <= 15) b = 12;
  if (d == 1 && b >= 20 && b <= 23) b = 20;
  if (d == 2 && b >= 28 && b <= 31) b = 28;
  if (saved >= b) return saved;
  if (d == 0 && b == 16) return 14;
  if (d == 1 && b == 24) return 22;
  if (d == 2 && b == 32) return 30;
  int c = b + 1;
  c = (c >= 0 ? c / 4 : (c - 3) / 4) * 4;
  if (c > 3) c -= 1;
  return c;
}

bool SaveSettings(const TOptionChecks& checks, std::string* error) {
  if (!SettingRec || !GameRec) return false;
  TSettingsRec& r = *SettingRec;
  r.SfxVolume = SfxVolume;
  r.BgmVolume = BgmVolume;
  r.FullScreen = checks.MaxScreen ? 1 : 0;
  r.SoundEffects = checks.SFX ? 1 : 0;
  r.Music = checks.BGM ? 1 : 0;
  r.SaveReplays = checks.RecReplay ? 1 : 0;
  r.UseVideoMemory = checks.UseVRAM ? 1 : 0;
  r.WaitVBlank = checks.WaitVbl ? 1 : 0;
  r.FrameDriver = checks.NoTimer ? 0 : 1;
  for (int d = 0; d < 5; ++d) r.BestStage[d] = CheckpointFor(d, GameRec->BestStage[d], r.BestStage[d]);
  {
    const std::string& p = GameRec->EditSetPath;
    const size_t slash = p.find_last_of("/\\");
    r.EditFileName.set(slash == std::string::npos ? p : p.substr(slash + 1));
  }
  std::memset(r.Reserved17, 0, sizeof r.Reserved17);
  return platform::write_file_atomic(platform::resolve_path(ProgramFolder() + kSettingsFileName), &r,
                                     sizeof r, error);
}

std::string CheckText(const std::string& key, const std::string& text) {
  const std::string S = text + key + text;
  const size_t n = S.size();
  uint32_t s1 = 0, s2 = 0;
  for (size_t j = 1; j <= n; ++j) {
    const uint32_t prev = uint8_t(j == 1 ? S[0] : S[j - 2]);
    const uint32_t a = prev + 64u * uint32_t(j);
    const uint32_t c = uint8_t(S[j - 1]);
    s1 += c * (c + a) + a * a;
    s2 += a;
  }
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", unsigned(s1 + s2));
  return buf;
}

std::string RecoveryCheckText(const int32_t best[5]) {
  std::string p = "qelmorvix";
  for (int i = 0; i < 5; ++i) p += std::to_string(best[i]);
  return CheckText("vunpo", p);
}

namespace {
const uint8_t kMarker[19] = {18,   0x96, 0xA2, 0x92, 0x6D, 0x82, 0xCC, 0x83, 0x47, 0x83,
                             0x89, 0x81, 0x5B, 0x82, 0xC5, 0x8F, 0x49, 0x97, 0xB9};
std::string RecoveryPath() { return platform::resolve_path(ProgramFolder() + kRecoveryFileName); }
}  // namespace

bool WriteRunRecovery(std::string* error) {
  if (!RecoveryRec || !GameRec) return false;
  TRunRecoveryRec& r = *RecoveryRec;
  std::memset(static_cast<void*>(&r), 0, sizeof r);
  for (int d = 0; d < 5; ++d) r.BestStage[d] = GameRec->BestStage[d];
  const int diff = GameRec->Difficulty;
  if (diff >= 0 && diff < 5 && StageNo > r.BestStage[diff]) r.BestStage[diff] = StageNo;
  r.Difficulty = diff;
  r.StageNo = StageNo;
  r.CheckText.set(RecoveryCheckText(r.BestStage));
  std::memcpy(r.Marker, kMarker, sizeof kMarker);
  return platform::write_file_atomic(RecoveryPath(), &r, sizeof r, error);
}

bool ReadRunRecovery() {
  if (!RecoveryRec || !GameRec) return false;
  const std::string path = RecoveryPath();
  if (platform::file_size(path) != long(sizeof(TRunRecoveryRec))) return false;
  std::vector<uint8_t> bytes;
  bool restored = false;
  if (platform::read_file(path, bytes) && bytes.size() == sizeof(TRunRecoveryRec)) {
    std::memcpy(static_cast<void*>(RecoveryRec), bytes.data(), sizeof(TRunRecoveryRec));
    const TRunRecoveryRec& r = *RecoveryRec;
    if (RecoveryCheckText(r.BestStage) == r.CheckText.str()) {
      int d = r.Difficulty;
      if (d < 0 || d > 4) d = 0;
      GameRec->Difficulty = d;
      GameRec->LastStage[d] = r.StageNo;
      for (int i = 0; i < 5; ++i) GameRec->BestStage[i] = r.BestStage[i];
      for (int i = 0; i < 5; ++i) {
        const int last = LastStageOf(i);
        if (GameRec->BestStage[i] < 0 || GameRec->BestStage[i] > last) GameRec->BestStage[i] = 0;
        if (GameRec->LastStage[i] < 0 || GameRec->LastStage[i] > last) GameRec->LastStage[i] = 0;
      }
      restored = true;
    }
  }
  platform::remove_file(path);
  return restored;
}

void DeleteRunRecovery() {
  const std::string path = RecoveryPath();
  if (platform::file_exists(path)) platform::remove_file(path);
}

void SetupZRPath() {
  if (!GameRec) return;
  GameRec->SoundFolder = kSoundFolderName;
  GameRec->StageFolder = kStageFolderName;
  GameRec->ReplayFolder = kReplayFolderName;
}

bool MatchMask(const std::string& mask, const std::string& name) {
  auto low = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
  size_t m = 0, n = 0, star = std::string::npos, mark = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || low(mask[m]) == low(name[n]))) {
      ++m;
      ++n;
    } else if (m < mask.size() && mask[m] == '*') {
      star = m++;
      mark = n;
    } else if (star != std::string::npos) {
      m = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

namespace {
bool read_only(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}
}  // namespace

void MoveDataFile(const std::string& from_in, const std::string& to_in) {
  const std::string from = platform::resolve_path(from_in), to = platform::resolve_path(to_in);
  if (!platform::file_exists(from)) return;
  struct stat st {};
  if (stat(from.c_str(), &st) == 0) chmod(from.c_str(), st.st_mode | S_IWUSR);
  // Like the system's move, a rename never replaces an existing file.
  if (!platform::file_exists(to) && platform::rename_file(from, to)) return;
  if (read_only(from)) throw TFolderError("Can't move files");
  std::FILE* in = std::fopen(from.c_str(), "rb");
  if (!in) throw TFolderError("Can't find file");
  // Read in blocks until one comes back short, then write the copy whole and rename it
  // into place: a failed or partial copy never leaves a truncated file behind.
  std::vector<uint8_t> data;
  std::vector<uint8_t> buf(8192);
  bool read_failed = false;
  for (;;) {
    const size_t got = std::fread(buf.data(), 1, buf.size(), in);
    data.insert(data.end(), buf.begin(), buf.begin() + long(got));
    if (got < buf.size()) {
      read_failed = std::ferror(in) != 0;
      break;
    }
  }
  std::fclose(in);
  if (read_failed) throw TFolderError("Can't find file");
  if (platform::folder_exists(to) || !platform::write_file_atomic(to, data.data(), data.size()))
    throw TFolderError("Can't make file");
}

void SetupFolder() {
  struct Group {
    const char* folder;
    std::vector<std::pair<const char*, std::vector<const char*>>> masks;
  };
  const std::vector<Group> groups = {
      {kSoundFolderName, {{"ZRBGM*.WAV", {"ZRBGM1.WAV", "ZRBGM2.WAV", "ZRBGM3.WAV", "ZRBGM4.WAV", "ZRBGM5.WAV"}}}},
      {kStageFolderName,
       {{"*.EGG", {"EDIT.EGG", "CLASSIC.EGG"}}, {"*.EGS", {"EASY.EGS", "NORMAL.EGS", "HARD.EGS"}}}},
      {kReplayFolderName,
       {{"*.RPY",
         {"EASY01.RPY", "EASY09.RPY", "EASY13.RPY", "EASY16.RPY", "HARD05.RPY", "HARD07.RPY", "NORMAL03.RPY",
          "NORMAL14.RPY"}}}},
  };
  const std::string prog = ProgramFolder();
  for (const Group& g : groups) {
    const std::string dest = platform::resolve_path(prog + g.folder) + "/";
    if (!platform::folder_exists(dest)) platform::make_folder(dest);
    const std::vector<std::string> names = platform::list_folder(prog);
    for (const auto& [mask, files] : g.masks) {
      bool any = false;
      for (const std::string& n : names) any = any || MatchMask(mask, n);
      if (!any) continue;
      for (const char* f : files) MoveDataFile(prog + f, dest + f);
    }
  }
}

}  // namespace zubroll
