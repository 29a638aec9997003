// Localised texts: "Zrdata.res" in the program folder, an initialisation file
// whose values replace the built-in English texts of windows, menus and dialogs.
#pragma once
#include <map>
#include <string>
#include <vector>

namespace zubroll {

// Initialisation-file reader: sections in brackets, "key=value" lines, ';' comments;
// section and key names ignore case; values are trimmed, a pair of enclosing quotes is
// removed, and at most 1023 characters are kept.
class TIniFile {
 public:
  bool Load(const std::string& path);
  void Parse(const std::string& text);
  bool ReadString(const std::string& section, const std::string& key, std::string& value) const;
  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;

 private:
  std::map<std::string, std::map<std::string, std::string>> sections_;  // lower-case names
};

constexpr const char* kTextFileName = "Zrdata.res";

// The text file of a program folder. Every loading point checks that the file exists;
// without it nothing is read and the built-in texts stay.
class TTextFile {
 public:
  explicit TTextFile(std::string program_folder);
  bool Exists() const { return exists_; }
  // The value of the key, or Default when the file, section or key is missing.
  std::string ReadText(const std::string& section, const std::string& key, const std::string& def) const;
  // Caption-type keys: read with the default "ERROR"; "ERROR" keeps the built-in text.
  std::string Caption(const std::string& section, const std::string& key, const std::string& builtin) const;

 private:
  bool exists_ = false;
  TIniFile ini_;
};

// Built-in texts.
constexpr const char* kBuiltinAppTitle = "Zubroll DX for Windows";
constexpr const char* kBuiltinPauseText = "[Pause]";

struct TMenuCaptionKey {
  const char* section;
  const char* key;
  const char* item;     // component name of the menu item
  const char* builtin;
};
extern const std::vector<TMenuCaptionKey> kMenuCaptionKeys;

// Start-up texts, in their loading order.
struct TStartTexts {
  std::string AppTitle = kBuiltinAppTitle;
  std::vector<std::pair<std::string, std::string>> MenuCaptions;  // item name, caption
  std::string RankTexts[5] = {"1st", "2nd", "3rd", "4th", "5th"};
  std::string PauseTitleText = kBuiltinPauseText;
};
TStartTexts LoadStartTexts(const std::string& program_folder);

// High score entry dialog (THiForm).
struct THiFormTexts {
  std::string DilgCaption = "Congratulations!", DilgCaptionFont = "MS Sans Serif";
  std::string Omedeto = "You've earned a high score!", OmedetoFont = "MS Sans Serif";
  std::string StaticText2 = "Please enter your name!", StaticText2Font = "MS Sans Serif";
  std::string Label2 = "LEVEL:", Label2Font = "MS Sans Serif";
  std::string Label1 = "RANK:", Label1Font = "MS Sans Serif";
  std::string LevelNames[3] = {"EASY", "NORMAL", "HARD"};
  std::string RankNames[5] = {"1st", "2nd", "3rd", "4th", "5th"};
};
THiFormTexts LoadHiFormTexts(const std::string& program_folder);

// Volume dialog (TVolForm).
struct TVolFormTexts {
  std::string DilgCaption = "Sound Setting", DilgCaptionFont = "MS Sans Serif";
  std::string Label1 = "Effect", Label1Font = "MS Sans Serif";
  std::string Label2 = "BGM", Label2Font = "MS Sans Serif";
};
TVolFormTexts LoadVolFormTexts(const std::string& program_folder);

// Replay browser (TOpenReplayDialog).
struct TReplayBrowserTexts {
  std::string Filter = "Replay File (*.RPY)|*.RPY";
  std::string Caption = "Select Replay File";
  std::string PreviewTitle = "[ Stage Preview ]";
  std::string NoStage = "None";
};
TReplayBrowserTexts LoadReplayBrowserTexts(const std::string& program_folder);

// Erase-high-score confirmation of a difficulty 0 .. 2.
struct TEraseTexts {
  std::string Caption;
  std::string Question;
};
TEraseTexts BuiltinEraseTexts(int difficulty);
TEraseTexts LoadEraseTexts(const std::string& program_folder, int difficulty);

}  // namespace zubroll
