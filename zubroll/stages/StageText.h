// The stage text format: a readable form of a stage file for people who make
// stages (FORMAT.md describes it). Parsing gives the plain set and how to seal it;
// writing gives the text of a plain set.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "zubroll/shell/gamestate.h"

namespace zubroll {

struct TStageText {
  std::unique_ptr<TStageSet> Set;  // plain cells, parameters, header strings
  enum class Sig { Auto, Shipped, Value } Signature = Sig::Auto;
  int32_t SignatureValue = 0;
};

// Parses stage text. False with "line N: reason" on an error.
bool ParseStageText(const std::string& text, TStageText& out, std::string& error);
// The file image of parsed text: clear counts as a load computes them, then for the
// scrambled format scrambled cells, check words and the signature (the shipped
// signature when asked for, or by default for "EASY.EGS", "NORMAL.EGS" and
// "HARD.EGS"; otherwise a number 0..9999 derived from the cells); the plain format
// "1000" keeps its cells as they are.
std::unique_ptr<TStageSet> BuildStageFile(const TStageText& text);

// Text of a stage file image: descrambles a copy (cells that fail read as empty)
// and says whether it carries the shipped signature.
std::string StageFileToText(const TStageSet& file);

// The grid character of a cell code, or '?' when it has none.
char CellChar(int code);
// The cell code of a grid character, or -1.
int CellCodeOf(char ch);

}  // namespace zubroll
