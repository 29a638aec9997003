#include "zubroll/shell/Hidilg.h"

#include <algorithm>

#include "zubroll/shell/Hiscore.h"
#include "zubroll/shell/Main.h"
#include "zubroll/shell/settings.h"

namespace zubroll {

using namespace platform::forms;

const uint32_t kLevelColours[3] = {clGreen, clYellow, clRed};
const uint32_t kRankColours[5] = {clRed, clYellow, clGreen, clBlue, clPurple};

THiForm::THiForm(TMainZubForm& owner, const THiFormTexts& texts, int difficulty, int rank)
    : Form("Congratulations!", kHiFormWidth, kHiFormHeight), WaveList(owner.DXWaveList.Mixer()), owner_(owner) {
  name = "HiForm";
  close_box = true;
  font.name = "MS Sans Serif";
  font.size = 8;
  Omedeto = &add<StaticText>("Omedeto", 16, 8, 199, 20);
  Label2 = &add<Label>("Label2", 64, 32);
  HiMessage = &add<StaticText>("HiMessage", 112, 32, 67, 17);
  Label1 = &add<Label>("Label1", 64, 52);
  RankMessage = &add<Label>("RankMessage", 112, 52);
  StaticText2 = &add<StaticText>("StaticText2", 56, 72, 142, 17);
  HiName = &add<Edit>("HiName", 12, 92, 133, 21);
  OkBtn = &add<Button>("OkBtn", 152, 92, 73, 21);
  FormCreate(texts, difficulty, rank);
}

void THiForm::FormCreate(const THiFormTexts& t, int difficulty, int rank) {
  caption = t.DilgCaption;
  font.name = t.DilgCaptionFont;
  Omedeto->caption = t.Omedeto;
  Omedeto->font.name = t.OmedetoFont;
  Omedeto->font.bold = true;
  Omedeto->font.size = 10;
  Label2->caption = t.Label2;
  Label2->font.name = t.Label2Font;
  Label2->font.bold = true;
  Label2->font.color = clBlack;
  difficulty = std::clamp(difficulty, 0, 2);
  rank = std::clamp(rank, 0, 4);
  HiMessage->caption = t.LevelNames[difficulty];
  HiMessage->font.bold = true;
  HiMessage->font.color = kLevelColours[difficulty];
  Label1->caption = t.Label1;
  Label1->font.name = t.Label1Font;
  Label1->font.bold = true;
  RankMessage->caption = t.RankNames[rank];
  RankMessage->font.bold = true;
  RankMessage->font.color = kRankColours[rank];
  StaticText2->caption = t.StaticText2;
  StaticText2->font.name = t.StaticText2Font;
  StaticText2->font.bold = true;
  HiName->max_length = kHiNameLength;
  HiName->on_change = [this] { HiNameChange(); };
  OkBtn->caption = "OK";
  OkBtn->is_default = true;
  OkBtn->enabled = false;
  OkBtn->on_click = [this] { OkBtnClick(); };
  on_show = [this] { FormShow(); };
  // The same sample as the game's "HiScore", any number of plays at once.
  TWaveCollectionItem& w = WaveList.Add("NewHiScore");
  if (TWaveCollectionItem* src = owner_.DXWaveList.FindOrNull("HiScore"); src && src->HasWave()) w.SetWave(src->Wave());
  w.MaxPlayingCount = 1 << 20;
  w.Looped = false;
}

void THiForm::FormShow() {
  focus(HiName);
  if (owner_.Checked("SFXOptionItem") && owner_.DXSound.Initialized()) {
    TWaveCollectionItem* w = WaveList.FindOrNull("NewHiScore");
    if (w && w->HasWave()) {
      w->SetVolume(SfxVolume);
      w->SetPan(0);
      w->Play(false);
    }
  }
}

void THiForm::HiNameChange() { OkBtn->enabled = !HiName->text().empty(); }

void THiForm::OkBtnClick() { DoOk(); }

void THiForm::DoOk() { close(ModalResult::Ok); }

void HighScoreCheck(TMainZubForm& form) {
  // 1., 2.
  const int rank = HighScoreEntryRank();
  if (rank < 0) return;
  // 3.
  const THiFormTexts texts = LoadHiFormTexts(ProgramFolder());
  // 4.
  form.StopFrameDrivers();
  form.DXSound.Options |= soGlobalFocus;
  // 5. .. 7.
  std::string name;
  {
    THiForm dialog(form, texts, GameRec->Difficulty, rank);
    form.ShowCursor();
    dialog.show_modal();
    name = dialog.HiName->text();
  }
  // 6. and 8.: the entries below move down and the new one takes the rank.
  StoreHighScoreEntry(rank, name);
  // 9.
  form.HideCursor();
  form.DXSound.Options &= ~unsigned(soGlobalFocus);
  form.RestoreFrameDriver();
}

}  // namespace zubroll
