// zubroll-stage: compiles stage text into stage files, writes the text of a stage
// file, and verifies a stage file as the game would.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/image_io.h"
#include "platform/msgbox.h"
#include "zubroll/play/Stage.h"
#include "zubroll/stages/StageText.h"

using namespace zubroll;

namespace {

constexpr int kExitValid = 0, kExitInvalid = 1, kExitError = 2;

int Usage() {
  std::fprintf(stderr,
               "usage: zubroll-stage compile TEXT OUT\n"
               "       zubroll-stage decompile FILE\n"
               "       zubroll-stage info FILE [--difficulty easy|normal|hard|edit] [--editor]\n"
               "       zubroll-stage sheet FILE OUT.png\n");
  return kExitError;
}

bool ReadText(const std::string& path, std::string& out) {
  std::vector<uint8_t> bytes;
  if (!platform::read_file(path, bytes, 64u << 20)) return false;
  out.assign(bytes.begin(), bytes.end());
  return true;
}

int Compile(const std::string& in, const std::string& out_path) {
  std::string text;
  if (!ReadText(in, text)) {
    std::fprintf(stderr, "zubroll-stage: cannot read %s\n", in.c_str());
    return kExitError;
  }
  TStageText parsed;
  std::string error;
  if (!ParseStageText(text, parsed, error)) {
    std::fprintf(stderr, "%s: %s\n", in.c_str(), error.c_str());
    return kExitError;
  }
  auto file = BuildStageFile(parsed);
  if (!platform::write_file_atomic(out_path, file.get(), sizeof(TStageSet), &error)) {
    std::fprintf(stderr, "zubroll-stage: cannot write %s: %s\n", out_path.c_str(), error.c_str());
    return kExitError;
  }
  return kExitValid;
}

int Decompile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!platform::read_file(path, bytes, 1u << 20)) {
    std::fprintf(stderr, "zubroll-stage: cannot read %s\n", path.c_str());
    return kExitError;
  }
  if (bytes.size() < sizeof(TStageSet)) {
    std::fprintf(stderr, "zubroll-stage: %s is not a stage file (%zu bytes, a stage file has %zu)\n",
                 path.c_str(), bytes.size(), sizeof(TStageSet));
    return kExitError;
  }
  auto set = std::make_unique<TStageSet>();
  std::memcpy(static_cast<void*>(set.get()), bytes.data(), sizeof(TStageSet));
  std::fputs(StageFileToText(*set).c_str(), stdout);
  return kExitValid;
}

// A contact sheet of the 32 stages, 8 to a row, each cell drawn 6 x 15 pixels.
int Sheet(const std::string& path, const std::string& png) {
  std::vector<uint8_t> bytes;
  if (!platform::read_file(path, bytes, 1u << 20) || bytes.size() < sizeof(TStageSet)) {
    std::fprintf(stderr, "zubroll-stage: cannot read a stage file from %s\n", path.c_str());
    return kExitError;
  }
  auto set = std::make_unique<TStageSet>();
  std::memcpy(static_cast<void*>(set.get()), bytes.data(), sizeof(TStageSet));
  if (set->Version.str() != kPlainStageVersion) VerifyStageSetAs(*set, false, 3);
  constexpr int cw = 6, ch = 15, sw = kStageCols * cw, sh = kStageRows * ch, gap = 6;
  const int w = 8 * (sw + gap) + gap, h = 4 * (sh + gap) + gap;
  std::vector<uint32_t> px(size_t(w) * h, 0x303030);
  auto rect = [&](int x, int y, int rw, int rh, uint32_t c) {
    for (int j = std::max(0, y); j < std::min(h, y + rh); ++j)
      for (int i = std::max(0, x); i < std::min(w, x + rw); ++i) px[size_t(j) * w + i] = c;
  };
  const uint32_t egg[6] = {0, 0xf4f0e0, 0xf0d060, 0x90d0f0, 0xf0a040, 0xe05050};
  for (int s = 0; s < kStageCount; ++s) {
    const int ox = gap + (s % 8) * (sw + gap), oy = gap + (s / 8) * (sh + gap);
    rect(ox, oy, 29 * cw, sh, 0x406040);                       // play field
    rect(ox + 29 * cw, oy, sw - 29 * cw, sh, 0x202840);        // under the status panel
    for (int r = 0; r < kStageRows; ++r)
      for (int c = 0; c < kStageCols; ++c) {
        const int v = set->Cell(s, r, c), x = ox + c * cw, y = oy + r * ch;
        if (v >= 100 && v <= 103) rect(x, y, cw, ch, 0x806080);
        else if (v >= 10 && v <= 13) rect(x, y, cw, ch, 0xff40ff);
        else if (v >= 1 && v <= 5) rect(x + 1, y + 1, 2 * cw - 2, ch - 2, egg[v]);
        else if (v == kCellRainbow) {
          for (int k = 0; k < 4; ++k) rect(x + 1, y + 1 + k * 3, 2 * cw - 2, 3, (0xff4040u >> (k * 4)) | 0x4040);
        } else if (v == kCellHard) rect(x + 1, y + 1, 2 * cw - 2, ch - 2, 0x909090);
        else if (v == kCellBomb) {
          rect(x + 1, y + 1, 2 * cw - 2, ch - 2, 0x101010);
          rect(x + 4, y + 5, 4, 4, 0xff2020);
        } else if (v == kCellBlock) rect(x + 1, y + 1, 2 * cw - 2, ch - 2, 0x8a5a2a);
      }
  }
  std::string error;
  if (!platform::write_png_rgb(png, w, h, px.data(), w, &error)) {
    std::fprintf(stderr, "zubroll-stage: cannot write %s: %s\n", png.c_str(), error.c_str());
    return kExitError;
  }
  return kExitValid;
}

int Info(const std::string& path, int difficulty, bool editor) {
  // A file that is missing or cannot be read is a usage error here, not the game's
  // "Can't find stage data." (nor a fresh edit set for "EDIT.EGG").
  std::FILE* probe = platform::file_exists(path) ? std::fopen(platform::resolve_path(path).c_str(), "rb") : nullptr;
  if (!probe) {
    std::fprintf(stderr, "zubroll-stage: cannot read %s\n", path.c_str());
    return kExitError;
  }
  std::fclose(probe);
  if (!AllocateGameRec() || !AllocateSharedBlocks()) {
    std::fprintf(stderr, "zubroll-stage: out of memory\n");
    return kExitError;
  }
  GameRec->Difficulty = difficulty;
  StageHooks().EditorOpen = [editor] { return editor; };
  StageHooks().OwnerName = [] { return std::string(); };
  platform::set_message_box_handler([](const std::string& caption, const std::string& text, platform::MsgButtons,
                                       platform::MsgIcon) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return platform::MsgResult::Ok;
  });
  const bool valid = LoadStageSet(path);
  const TStageSet& set = *StageSet;
  std::printf("valid: %s\n", valid ? "yes" : "no");
  std::printf("name: %s\n", set.SetName.str().c_str());
  std::printf("owner: %s\n", set.OwnerName.str().c_str());
  for (int s = 0; s < kStageCount; ++s)
    std::printf("stage %d clear %d boss %d\n", s, set.ClearCount[s], StageBossKind(set, s));
  FreeSharedBlocks();
  FreeGameRec();
  return valid ? kExitValid : kExitInvalid;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string& cmd = args[0];
  if (cmd == "compile") {
    if (args.size() != 3) return Usage();
    return Compile(args[1], args[2]);
  }
  if (cmd == "decompile") {
    if (args.size() != 2) return Usage();
    return Decompile(args[1]);
  }
  if (cmd == "sheet") {
    if (args.size() != 3) return Usage();
    return Sheet(args[1], args[2]);
  }
  if (cmd == "info") {
    if (args.size() < 2) return Usage();
    int difficulty = 3;
    bool editor = false;
    for (size_t i = 2; i < args.size(); ++i) {
      if (args[i] == "--editor") {
        editor = true;
      } else if (args[i] == "--difficulty" && i + 1 < args.size()) {
        const std::string& d = args[++i];
        if (d == "easy") difficulty = 0;
        else if (d == "normal") difficulty = 1;
        else if (d == "hard") difficulty = 2;
        else if (d == "edit") difficulty = 3;
        else return Usage();
      } else {
        return Usage();
      }
    }
    return Info(args[1], difficulty, editor);
  }
  return Usage();
}
