#include "zubroll/shell/texts.h"

#include <vector>

#include "platform/files.h"

namespace zubroll {

namespace {
std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}
std::string trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t' || s[a] == '\r')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r')) --b;
  return s.substr(a, b - a);
}
}  // namespace

bool TIniFile::Load(const std::string& path) {
  sections_.clear();
  std::vector<uint8_t> bytes;
  if (!platform::read_file(path, bytes, 16u << 20)) return false;
  Parse(std::string(bytes.begin(), bytes.end()));
  return true;
}

void TIniFile::Parse(const std::string& text) {
  sections_.clear();
  std::string section;
  bool in_section = false;
  // A UTF-8 byte-order mark (left by many editors) is not part of the first line.
  size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      section = lower(trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
      in_section = true;
      sections_[section];
      continue;
    }
    const size_t eq = line.find('=');
    if (!in_section || eq == std::string::npos) continue;
    const std::string key = lower(trim(line.substr(0, eq)));
    std::string value = trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    if (value.size() > 1023) value.resize(1023);
    auto& keys = sections_[section];
    if (!keys.count(key)) keys[key] = value;  // the first occurrence wins
  }
}

bool TIniFile::ReadString(const std::string& section, const std::string& key, std::string& value) const {
  auto s = sections_.find(lower(section));
  if (s == sections_.end()) return false;
  auto k = s->second.find(lower(key));
  if (k == s->second.end()) return false;
  value = k->second;
  return true;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
  std::string v;
  return ReadString(section, key, v) ? v : def;
}

TTextFile::TTextFile(std::string program_folder) {
  const std::string path = platform::resolve_path(program_folder + kTextFileName);
  exists_ = platform::file_exists(path) && ini_.Load(path);
}

std::string TTextFile::ReadText(const std::string& section, const std::string& key,
                                const std::string& def) const {
  if (!exists_) return def;
  return ini_.ReadString(section, key, def);
}

std::string TTextFile::Caption(const std::string& section, const std::string& key,
                               const std::string& builtin) const {
  const std::string v = ReadText(section, key, "ERROR");
  return v == "ERROR" ? builtin : v;
}

const std::vector<TMenuCaptionKey> kMenuCaptionKeys = {
    {"FILEMENU", "MenuCaption", "FileMenu", "&File"},
    {"FILEMENU", "Caption01", "GameStart", "&New Game"},
    {"FILEMENU", "Caption02", "ContinuItem", "&Continue"},
    {"FILEMENU", "Caption03", "EasyItem", "&Easy"},
    {"FILEMENU", "Caption04", "NormalItem", "&Normal"},
    {"FILEMENU", "Caption05", "HardItem", "&Hard"},
    {"FILEMENU", "Caption06", "SelectStart", "&Select Stage"},
    {"FILEMENU", "Caption07", "EasySelItem", "&Easy"},
    {"FILEMENU", "Caption08", "NormalSelItem", "&Normal"},
    {"FILEMENU", "Caption09", "HardSelItem", "&Hard"},
    {"FILEMENU", "Caption10", "EditStage", "&Edit Stage"},
    {"FILEMENU", "Caption11", "ReplayItem", "Open &Replay File..."},
    {"FILEMENU", "Caption12", "PauseItem", "&Pause"},
    {"FILEMENU", "Caption13", "ExitItem", "E&xit"},
    {"OPTIONMENU", "MenuCaption", "OptionMenu", "&Option"},
    {"OPTIONMENU", "Caption01", "MaxScreenItem", "&Full Screen"},
    {"OPTIONMENU", "Caption02", "SFXOptionItem", "&Sound Effects"},
    {"OPTIONMENU", "Caption03", "BGMOptionItem", "BG&M"},
    {"OPTIONMENU", "Caption04", "SoundVolume", "&Volume..."},
    {"OPTIONMENU", "Caption05", "RecReplayItem", "Save &Replay Files"},
    {"OPTIONMENU", "Caption06", "N6", "&Advanced Option"},
    {"OPTIONMENU", "Caption07", "UseVRAMItem", "&Use VRAM"},
    {"OPTIONMENU", "Caption08", "WaitVblItem", "&Wait VBL"},
    {"OPTIONMENU", "Caption09", "NoTimerItem", "Don't use MMTimer"},
    {"OPTIONMENU", "Caption10", "DispFrameItem", "&Display FPS Rate"},
    {"OPTIONMENU", "Caption11", "NoWaitItem", "&No Wait"},
    {"OPTIONMENU", "Caption12", "DelHiItem", "&Erase High Score"},
    {"OPTIONMENU", "Caption13", "DelEasyHiItem", "&Easy..."},
    {"OPTIONMENU", "Caption14", "DelNormalHiItem", "&Normal..."},
    {"OPTIONMENU", "Caption15", "DelHardHiItem", "&Hard..."},
    {"HELPMENU", "MenuCaption", "HelpMenu", "&Help"},
    {"HELPMENU", "Caption02", "AboutZubroll", "&About Zubroll DX for Windows..."},
};

TStartTexts LoadStartTexts(const std::string& folder) {
  TStartTexts t;
  for (const auto& k : kMenuCaptionKeys) t.MenuCaptions.emplace_back(k.item, k.builtin);
  // Each loading point looks for the file again, as the system reader would.
  {
    TTextFile f(folder);
    t.AppTitle = f.Caption("MISC", "APPNAME", kBuiltinAppTitle);
  }
  {
    TTextFile f(folder);
    for (size_t i = 0; i < kMenuCaptionKeys.size(); ++i)
      t.MenuCaptions[i].second = f.Caption(kMenuCaptionKeys[i].section, kMenuCaptionKeys[i].key,
                                           kMenuCaptionKeys[i].builtin);
  }
  {
    TTextFile f(folder);
    static const char* keys[5] = {"1st", "2nd", "3rd", "4th", "5th"};
    for (int i = 0; i < 5; ++i) t.RankTexts[i] = f.ReadText("HSCRHEADER", keys[i], keys[i]);
  }
  {
    TTextFile f(folder);
    t.PauseTitleText = f.Caption("MISC", "TITLEBARPAUSE", kBuiltinPauseText);
  }
  return t;
}

THiFormTexts LoadHiFormTexts(const std::string& folder) {
  THiFormTexts t;
  TTextFile f(folder);
  if (!f.Exists()) return t;
  t.DilgCaption = f.Caption("HISCRDILG", "DilgCaption", t.DilgCaption);
  t.DilgCaptionFont = f.Caption("HISCRDILG", "DilgCaptionFont", t.DilgCaptionFont);
  t.Omedeto = f.Caption("HISCRDILG", "HiMessag01", t.Omedeto);
  t.OmedetoFont = f.Caption("HISCRDILG", "HiMessag01Font", t.OmedetoFont);
  t.StaticText2 = f.Caption("HISCRDILG", "HiMessag02", t.StaticText2);
  t.StaticText2Font = f.Caption("HISCRDILG", "HiMessag02Font", t.StaticText2Font);
  t.Label2 = f.Caption("HISCRDILG", "HiMessag03", t.Label2);
  t.Label2Font = f.Caption("HISCRDILG", "HiMessag03Font", t.Label2Font);
  t.Label1 = f.Caption("HISCRDILG", "HiMessag04", t.Label1);
  t.Label1Font = f.Caption("HISCRDILG", "HiMessag04Font", t.Label1Font);
  static const char* levels[3] = {"EASYLEVEL", "NORMALLEVEL", "HARDLEVEL"};
  for (int i = 0; i < 3; ++i) t.LevelNames[i] = f.ReadText("HISCRDILG", levels[i], t.LevelNames[i]);
  static const char* ranks[5] = {"1st", "2nd", "3rd", "4th", "5th"};
  for (int i = 0; i < 5; ++i) t.RankNames[i] = f.ReadText("HISCRDILG", ranks[i], t.RankNames[i]);
  return t;
}

TVolFormTexts LoadVolFormTexts(const std::string& folder) {
  TVolFormTexts t;
  TTextFile f(folder);
  if (!f.Exists()) return t;
  t.DilgCaption = f.Caption("SOUNDDILG", "DilgCaption", t.DilgCaption);
  t.DilgCaptionFont = f.Caption("SOUNDDILG", "DilgCaptionFont", t.DilgCaptionFont);
  t.Label1 = f.Caption("SOUNDDILG", "Caption01", t.Label1);
  t.Label1Font = f.Caption("SOUNDDILG", "Caption01Font", t.Label1Font);
  t.Label2 = f.Caption("SOUNDDILG", "Caption02", t.Label2);
  t.Label2Font = f.Caption("SOUNDDILG", "Caption02Font", t.Label2Font);
  return t;
}

TReplayBrowserTexts LoadReplayBrowserTexts(const std::string& folder) {
  TReplayBrowserTexts t;
  TTextFile f(folder);
  if (!f.Exists()) return t;
  t.Filter = f.ReadText("MISC", "PREVIEWFILTER", t.Filter);
  t.Caption = f.ReadText("MISC", "PREVIEWCAPTION", t.Caption);
  t.PreviewTitle = f.ReadText("MISC", "PREVIEWTITLE", t.PreviewTitle);
  t.NoStage = f.ReadText("MISC", "PREVIEWNOSTAGE", t.NoStage);
  return t;
}

TEraseTexts BuiltinEraseTexts(int difficulty) {
  TEraseTexts t;
  t.Caption = "ERASE HIGHSCORE";
  switch (difficulty) {
    case 0: t.Question = "Are you sure You want to erase High Scores of \"Easy Level\"?"; break;
    case 1: t.Question = "Are you sure You want to erase High Scores of  \"Normal Level\"?"; break;
    default: t.Question = "Are you sure You want to erase High Scores of \"Hard Level\"?"; break;
  }
  return t;
}

TEraseTexts LoadEraseTexts(const std::string& folder, int difficulty) {
  TEraseTexts t = BuiltinEraseTexts(difficulty);
  TTextFile f(folder);
  if (!f.Exists()) return t;
  static const char* keys[3] = {"EasyMessage", "NormalMessage", "HardMessage"};
  t.Caption = f.ReadText("ERASEHSC", "DilgCaption", t.Caption);
  t.Question = f.ReadText("ERASEHSC", keys[difficulty < 0 || difficulty > 2 ? 2 : difficulty], t.Question);
  return t;
}

}  // namespace zubroll
