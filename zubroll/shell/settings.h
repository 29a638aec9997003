// Settings file "Zubroll.ini", the data folders beside the program and the
// run-recovery file "Zrstage.tmp".
#pragma once
#include <stdexcept>
#include <string>

#include "zubroll/shell/gamestate.h"

namespace zubroll {

constexpr const char* kSettingsFileName = "Zubroll.ini";
constexpr const char* kRecoveryFileName = "Zrstage.tmp";
constexpr const char* kSoundFolderName = "ZRSound";
constexpr const char* kStageFolderName = "ZRStage";
constexpr const char* kReplayFolderName = "ZRReplay";

// The menu checks the settings file keeps (the form copies them to and from its menu).
struct TOptionChecks {
  bool MaxScreen = true;   // MaxScreenItem
  bool SFX = true;         // SFXOptionItem
  bool BGM = true;         // BGMOptionItem
  bool RecReplay = true;   // RecReplayItem
  bool UseVRAM = true;     // UseVRAMItem (unchecked: doSystemMemory)
  bool WaitVbl = true;     // WaitVblItem (doWaitVBlank)
  bool NoTimer = true;     // NoTimerItem: the idle loop drives
};

// Program folder of the game (with trailing '/'), from the game record's ExePath.
std::string ProgramFolder();
std::string FolderPath(const std::string& folder_name);  // program folder + name + '/'

void DefaultSettings(TSettingsRec& rec);
// Reads the settings (defaults when the file is missing or not 9748 bytes), sets the
// volumes, the checks and BestStage, then ReadRunRecovery. True when the run recovery
// restored progress.
bool LoadSettings(TOptionChecks& checks);
// The progress checkpoint saved for difficulty d; pulls back `best` as the rule says.
int32_t CheckpointFor(int d, int& best, int32_t saved);
// Stores the options and progress and writes "Zubroll.ini". False when it cannot be written.
bool SaveSettings(const TOptionChecks& checks, std::string* error = nullptr);

std::string CheckText(const std::string& key, const std::string& text);
std::string RecoveryCheckText(const int32_t best[5]);
bool WriteRunRecovery(std::string* error = nullptr);
bool ReadRunRecovery();  // true when a valid file restored progress
void DeleteRunRecovery();

// Folder names into the game record.
void SetupZRPath();
// Creates the three folders and moves loose files into them. Throws TFolderError
// ("Can't move files", "Can't find file", "Can't make file").
struct TFolderError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
void SetupFolder();
// One file move with the copy fallback (exposed for tests).
void MoveDataFile(const std::string& from, const std::string& to);
// Wildcard match ignoring case ('*' and '?').
bool MatchMask(const std::string& mask, const std::string& name);

}  // namespace zubroll
