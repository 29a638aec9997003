// High score tables: the 7136-byte file "Hiscore.dat" with its weighted checksum,
// the default tables, the rank rule, entries, erasing, and the table drawn on the
// title. The name-entry dialog is THiForm's business; this unit keeps the record.
#pragma once
#include <cstdint>
#include <string>

#include "zubroll/shell/gamestate.h"

namespace zubroll {

class TDirectDrawSurface;

constexpr const char* kHighScoreFileName = "Hiscore.dat";
constexpr const char* kHighScoreHeader = "ZUBROLLW00001000";
constexpr const char* kHighScoreErrorCaption = "File Error";
constexpr const char* kHighScoreErrorText = "Hiscore.dat file is cruppted";
constexpr int kHighScoreTables = 5, kHighScoreEntries = 5;

// Checksum of table d with weight row `row` (0..3), 32-bit wrap-around.
int32_t HighScoreChecksum(const THighScoreRec& rec, int d, int row);
int32_t HighScoreChecksum(int d, int row);  // of the game's record (0 without one)
// True when every table's stored checksum matches its stored weight row (a row
// outside 0..3 never matches).
bool HighScoreChecksumsValid(const THighScoreRec& rec);
// Draws a weight row for every table and stores it with the table's checksum.
void SealHighScores(THighScoreRec& rec);

// Default contents of table d (also rewrites the header and clears the five
// checksums and the ten reserved integers).
void ResetHighScoreTable(THighScoreRec& rec, int d);
void ResetAllHighScoreTables(THighScoreRec& rec);
void ResetHighScoreTable(int d);  // the game's record (erase commands)

// Full path of "Hiscore.dat" in the program folder.
std::string HighScorePath();
// At start: reads the file into the game's record. A missing file gives fresh
// tables; a checksum mismatch or a file of the wrong size shows "File Error" /
// "Hiscore.dat file is cruppted" and gives fresh tables.
void LoadHighScores();
// At exit: table 0 entry 0 takes the current FpsAverage, new weight rows and
// checksums, then the record is written whole. False (with a reason) on failure.
bool SaveHighScores(std::string* error = nullptr);

// The rank (0..4) a score earns in table d, or -1: the first entry whose score is
// lower; an equal score ranks below.
int HighScoreRank(const THighScoreRec& rec, int d, int score);
// The rank the run just ended earns, or -1 when no entry is offered (edit set,
// replays and test games, or the stage selection's secret found).
int HighScoreEntryRank();
// Moves entries rank..3 of table d down by one (entry 4 is lost) and stores the
// new entry at rank.
void InsertHighScore(THighScoreRec& rec, int d, int rank, const std::string& name, int start_stage,
                     int end_stage, int score, int frame_rate);
// The entry of the run just ended, as the name-entry dialog closes: name as typed,
// StartStage, StageNo, Score and FpsAverage.
void StoreHighScoreEntry(int rank, const std::string& name);
// Best score of table d (HighScoreToBeat when a run starts); 99999999 without a table.
int BestScoreOf(int d);

// The end-stage column: "-*" for a run that cleared the last stage of tables 0..2,
// else "-" and the stage number.
std::string HighScoreEndText(int d, int end_stage);
// Draws table d on the surface (rank, name, score, start and end stage of each entry).
void DrawHighScoreTable(TDirectDrawSurface* surface, int d);

}  // namespace zubroll
