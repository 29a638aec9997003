// The name-entry dialog after a run that earned a high score, and the check
// that opens it.
#pragma once
#include <string>

#include "platform/forms/form.h"
#include "zubroll/shell/texts.h"
#include "zubroll/sprite/dxsound.h"

namespace zubroll {

class TMainZubForm;

class THiForm : public platform::forms::Form {
 public:
  // difficulty 0 .. 2 and rank 0 .. 4 choose the texts and their colours.
  THiForm(TMainZubForm& owner, const THiFormTexts& texts, int difficulty, int rank);

  platform::forms::StaticText* Omedeto;
  platform::forms::Label* Label2;
  platform::forms::StaticText* HiMessage;
  platform::forms::Label* Label1;
  platform::forms::Label* RankMessage;
  platform::forms::StaticText* StaticText2;
  platform::forms::Edit* HiName;
  platform::forms::Button* OkBtn;
  TDXWaveList WaveList;  // the one sound "NewHiScore"

  void FormCreate(const THiFormTexts& texts, int difficulty, int rank);
  void FormShow();
  void HiNameChange();
  void OkBtnClick();
  void DoOk();

 private:
  TMainZubForm& owner_;
};

constexpr int kHiFormWidth = 232, kHiFormHeight = 122;
constexpr int kHiNameLength = 16;
// 0x00RRGGBB: the level colours (green, yellow, red) and the rank colours
// (red, yellow, green, blue, purple).
extern const uint32_t kLevelColours[3];
extern const uint32_t kRankColours[5];

}  // namespace zubroll
