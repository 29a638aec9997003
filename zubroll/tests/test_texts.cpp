#include <gtest/gtest.h>

#include "fixtures.h"
#include "zubroll/shell/texts.h"

using namespace zubroll;
using zubroll::test::TempFolder;

TEST(Texts, WithoutTheFileEveryTextIsBuiltIn) {
  TempFolder dir;
  const TStartTexts t = LoadStartTexts(dir.path());
  EXPECT_EQ(t.AppTitle, "Zubroll DX for Windows");
  EXPECT_EQ(t.PauseTitleText, "[Pause]");
  EXPECT_EQ(t.RankTexts[4], "5th");
  ASSERT_EQ(t.MenuCaptions.size(), kMenuCaptionKeys.size());
  for (size_t i = 0; i < t.MenuCaptions.size(); ++i) EXPECT_EQ(t.MenuCaptions[i].second, kMenuCaptionKeys[i].builtin);
  EXPECT_EQ(LoadEraseTexts(dir.path(), 1).Question,
            "Are you sure You want to erase High Scores of  \"Normal Level\"?");
  EXPECT_EQ(LoadEraseTexts(dir.path(), 0).Caption, "ERASE HIGHSCORE");
  EXPECT_EQ(LoadHiFormTexts(dir.path()).Omedeto, "You've earned a high score!");
  EXPECT_EQ(LoadVolFormTexts(dir.path()).DilgCaption, "Sound Setting");
  EXPECT_EQ(LoadReplayBrowserTexts(dir.path()).Filter, "Replay File (*.RPY)|*.RPY");
}

TEST(Texts, OnlyTheGivenKeyChanges) {
  TempFolder dir;
  ASSERT_TRUE(test::WriteFile(dir.path() + "Zrdata.res", "[FILEMENU]\nMenuCaption=&Fichier\n"));
  const TStartTexts t = LoadStartTexts(dir.path());
  EXPECT_EQ(t.MenuCaptions[0].first, "FileMenu");
  EXPECT_EQ(t.MenuCaptions[0].second, "&Fichier");
  for (size_t i = 1; i < t.MenuCaptions.size(); ++i) EXPECT_EQ(t.MenuCaptions[i].second, kMenuCaptionKeys[i].builtin);
  EXPECT_EQ(t.AppTitle, "Zubroll DX for Windows");
}

TEST(Texts, CaptionRulesErrorEmptyAndDefaults) {
  TempFolder dir;
  ASSERT_TRUE(test::WriteFile(dir.path() + "Zrdata.res",
                              "; comment\n[misc]\r\nappname = ERROR\r\nTITLEBARPAUSE=\r\nPREVIEWNOSTAGE=\r\n"
                              "[HSCRHEADER]\n1st=Top\n2nd=\n[HISCRDILG]\nHiMessag01Font=Arial\nEASYLEVEL=\n"
                              "[ERASEHSC]\nDilgCaption=\"Quoted\"\nHardMessage=Sure?\n"));
  const TStartTexts t = LoadStartTexts(dir.path());
  EXPECT_EQ(t.AppTitle, "Zubroll DX for Windows");  // "ERROR" keeps the built-in text
  EXPECT_EQ(t.PauseTitleText, "");                  // an empty caption replaces it
  EXPECT_EQ(t.RankTexts[0], "Top");
  EXPECT_EQ(t.RankTexts[1], "");
  EXPECT_EQ(t.RankTexts[2], "3rd");
  const THiFormTexts h = LoadHiFormTexts(dir.path());
  EXPECT_EQ(h.OmedetoFont, "Arial");
  EXPECT_EQ(h.Omedeto, "You've earned a high score!");  // the font key changes only the font
  EXPECT_EQ(h.LevelNames[0], "");
  EXPECT_EQ(h.LevelNames[1], "NORMAL");
  EXPECT_EQ(LoadReplayBrowserTexts(dir.path()).NoStage, "");
  const TEraseTexts e = LoadEraseTexts(dir.path(), 2);
  EXPECT_EQ(e.Caption, "Quoted");
  EXPECT_EQ(e.Question, "Sure?");
  EXPECT_EQ(LoadEraseTexts(dir.path(), 0).Question,
            "Are you sure You want to erase High Scores of \"Easy Level\"?");
}

TEST(Texts, IniReaderLimitsAndFirstKeyWins) {
  TIniFile ini;
  ini.Parse("[A]\nk=first\nk=second\nlong=" + std::string(2000, 'x') + "\nnoequals\n[B]\nk = b \n");
  EXPECT_EQ(ini.ReadString("a", "K", "d"), "first");
  EXPECT_EQ(ini.ReadString("A", "long", "").size(), 1023u);
  EXPECT_EQ(ini.ReadString("B", "k", ""), "b");
  EXPECT_EQ(ini.ReadString("C", "k", "def"), "def");
  ini.Parse("\xEF\xBB\xBF[MISC]\nAPPNAME=Marked\n");  // a byte-order mark before the first section
  EXPECT_EQ(ini.ReadString("MISC", "APPNAME", ""), "Marked");
}

TEST(Texts, ShippedExampleHoldsEveryKey) {
  TIniFile ini;
  ASSERT_TRUE(ini.Load(ZUBROLL_SOURCE_DIR "/Zrdata.res"));
  std::string v;
  for (const auto& k : kMenuCaptionKeys) {
    ASSERT_TRUE(ini.ReadString(k.section, k.key, v)) << k.section << " " << k.key;
    EXPECT_EQ(v, k.builtin);
  }
  for (const char* key : {"APPNAME", "TITLEBARPAUSE", "PREVIEWFILTER", "PREVIEWCAPTION", "PREVIEWTITLE", "PREVIEWNOSTAGE"})
    EXPECT_TRUE(ini.ReadString("MISC", key, v)) << key;
  EXPECT_EQ(ini.ReadString("ERASEHSC", "NormalMessage", ""),
            "Are you sure You want to erase High Scores of  \"Normal Level\"?");
  for (const char* key : {"DilgCaption", "DilgCaptionFont", "HiMessag01", "HiMessag01Font", "HiMessag02",
                          "HiMessag02Font", "HiMessag03", "HiMessag03Font", "HiMessag04", "HiMessag04Font",
                          "EASYLEVEL", "NORMALLEVEL", "HARDLEVEL", "1st", "5th"})
    EXPECT_TRUE(ini.ReadString("HISCRDILG", key, v)) << key;
  for (const char* key : {"DilgCaption", "DilgCaptionFont", "Caption01", "Caption01Font", "Caption02", "Caption02Font"})
    EXPECT_TRUE(ini.ReadString("SOUNDDILG", key, v)) << key;
  EXPECT_EQ(ini.ReadString("HSCRHEADER", "3rd", ""), "3rd");
}
