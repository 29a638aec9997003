// The egg game's image and wave lists: every item's name and properties.
// The art generator and the game's image and wave lists both read this table.
#include "catalogue.h"

namespace zubroll {

const ImageSpec kImageCatalogue[kImageCount] = {
    // name, pattern w, h (0 = whole), patterns, picture w, h, transparent, system memory, own palette
    {"Egg", 26, 32, 24, 208, 96, true, false, false},
    {"ZubZub", 64, 64, 24, 512, 192, true, false, false},
    {"BigZub", 80, 80, 24, 640, 240, true, false, false},
    {"Devadiv", 24, 24, 48, 384, 72, true, false, false},
    {"Kaizyu", 72, 72, 40, 576, 360, true, false, false},
    {"Ninjya", 72, 72, 48, 1152, 216, true, false, false},
    {"Ballet", 88, 80, 40, 704, 400, true, false, false},
    {"BgPat", 64, 64, 20, 256, 320, false, false, false},
    {"BgRPanel", 0, 0, 1, 136, 400, false, false, false},
    {"BgBPanel", 0, 0, 1, 377, 29, false, false, false},
    {"BPiyo", 0, 0, 1, 78, 50, true, false, false},
    {"PiyoPiyo", 32, 32, 2, 64, 32, true, false, false},
    {"Score", 16, 24, 10, 160, 24, true, false, false},
    {"Items", 24, 24, 9, 216, 24, true, false, false},
    {"Extra", 14, 24, 5, 70, 24, true, false, true},
    {"SEgg", 8, 8, 3, 24, 8, true, false, false},
    {"SButa", 24, 24, 1, 24, 24, true, false, false},
    {"Guide", 32, 8, 1, 32, 8, true, false, false},
    {"Inviso", 0, 0, 1, 16, 16, true, false, true},
    {"Point", 16, 16, 40, 160, 64, true, false, false},
    {"Multi", 16, 16, 44, 176, 64, true, false, false},
    {"EggBtn", 16, 16, 32, 128, 64, true, false, true},
    {"Hand", 0, 0, 1, 16, 16, true, false, false},
    {"Star", 16, 16, 16, 128, 32, true, false, false},
    {"SPiyo", 10, 10, 2, 20, 10, true, false, false},
    {"Coins", 16, 16, 16, 256, 16, true, false, false},
    {"Kanban", 40, 40, 4, 160, 40, true, false, false},
    {"Star2", 16, 16, 12, 96, 32, true, false, false},
    {"SetBtn", 7, 6, 4, 28, 6, false, true, false},
    {"PlayBtn", 20, 20, 2, 40, 20, false, true, false},
    {"SelSaveBtn", 20, 20, 10, 200, 20, false, true, false},
    {"KJBtn", 25, 19, 3, 75, 19, false, false, false},
    {"PKakusi", 125, 128, 3, 375, 128, true, true, false},
    {"ConPane", 0, 0, 1, 125, 132, false, true, false},
    {"Flash", 60, 96, 2, 120, 96, true, false, false},
    {"Star3", 24, 24, 8, 192, 24, true, false, false},
    {"Blind", 32, 380, 2, 64, 380, true, false, false},
    {"GBossBody", 52, 68, 4, 208, 68, true, false, false},
    {"GBossHead", 0, 0, 1, 52, 40, true, false, false},
    {"GBossSpin", 52, 36, 12, 312, 72, true, false, false},
    {"GBossBase", 0, 0, 1, 35, 42, true, false, false},
    {"BBOSBody", 0, 0, 1, 85, 77, true, false, true},
    {"BBOSHead", 71, 34, 3, 71, 102, true, false, false},
    {"BBOSSensu", 48, 56, 6, 144, 112, true, false, true},
    {"BigOmori", 0, 0, 1, 64, 50, true, false, false},
    {"QBOSBody", 80, 104, 4, 320, 104, true, false, false},
    {"QBOSHead", 80, 74, 3, 240, 74, true, false, false},
    {"EKHead", 76, 94, 8, 304, 188, true, false, false},
    {"EKEat", 110, 110, 5, 550, 110, true, false, false},
    {"EKBody", 0, 0, 1, 108, 60, true, false, false},
    {"EKHand", 56, 62, 16, 448, 124, true, false, false},
    {"EKBack", 0, 0, 1, 60, 13, true, false, false},
    {"EKEye", 0, 0, 1, 37, 12, false, false, false},
    {"BigBomb", 0, 0, 1, 59, 85, true, false, false},
    {"ZrBigEgg", 0, 0, 1, 252, 362, true, true, false},
    {"ZrTitle", 0, 0, 1, 328, 114, true, true, false},
    {"FaceBtn", 56, 48, 8, 224, 96, true, false, false},
    {"Header", 296, 32, 3, 296, 96, true, true, false},
    {"Gameover", 48, 48, 8, 384, 48, true, true, false},
    {"SelBtn", 42, 42, 12, 168, 126, true, true, false},
    {"Arrow", 32, 24, 2, 64, 24, true, false, false},
    {"Heart", 16, 16, 4, 64, 16, true, false, false},
    {"BossIcon", 100, 120, 4, 400, 120, true, true, false},
    {"Fireball", 16, 16, 8, 128, 16, true, false, false},
    {"BHBody", 0, 0, 1, 130, 130, true, false, false},
    {"BHFoot", 128, 48, 2, 128, 96, true, false, false},
    {"BHHand", 46, 46, 6, 138, 92, true, false, false},
    {"BHEye", 0, 0, 1, 36, 9, false, true, false},
    {"EndBack", 55, 60, 2, 55, 120, true, false, false},
    {"Futari", 110, 64, 16, 440, 256, true, true, false},
    {"Aboutpic", 290, 288, 2, 580, 288, true, true, false},
    {"GPause", 0, 0, 1, 279, 37, true, false, false},
    {"Baloon", 100, 60, 3, 100, 180, true, false, false},
    {"TitleZub", 0, 0, 1, 32, 32, true, true, false},
    {"TitleZubBaloon", 0, 0, 1, 148, 49, true, true, false},
};

// The replay browser's stage-preview miniatures (not in the image list).
const ImageSpec kSmallEggSpec = {"SMALLEGG", 9, 10, 13, 117, 10, false, false, false};
const ImageSpec kSmallBossSpec = {"SMALLBOSS", 36, 45, 4, 144, 45, false, false, false};

const WaveSpec kWaveCatalogue[kWaveCount] = {
    // name, sample rate, channels, data bytes (8-bit PCM)
    {"HitZub", 11127, 1, 2086},
    {"HitKanban", 11127, 1, 868},
    {"KillKaizyu", 11127, 1, 12385},
    {"CatchKaizyu", 11127, 1, 5633},
    {"HitKaizyu", 11127, 1, 1990},
    {"EnterKaizyu", 11127, 1, 5968},
    {"OhNo", 11127, 1, 5374},
    {"ShootButa", 11127, 1, 2171},
    {"TimeCount", 11127, 1, 394},
    {"OpenPanel", 11025, 2, 4760},
    {"EggSi", 11127, 1, 1705},
    {"EggDo", 11127, 1, 1779},
    {"EggRe", 11127, 1, 1680},
    {"EggMi", 11127, 1, 1699},
    {"EggFa", 11127, 1, 1748},
    {"EggSo", 11127, 1, 1727},
    {"EggRa", 11127, 1, 1691},
    {"EggHSi", 11127, 1, 1701},
    {"GetPiyo", 11127, 1, 3334},
    {"GetP1k", 11025, 1, 3852},
    {"Bomb", 11127, 1, 4058},
    {"Rainbow", 11127, 1, 8583},
    {"Spin", 11127, 1, 739},
    {"Dekazub1", 11127, 1, 7018},
    {"Dekazub2", 11127, 1, 7018},
    {"Gameover", 11127, 1, 11071},
    {"Get10k", 11127, 1, 5198},
    {"GetCoin", 11127, 1, 2784},
    {"GetCoin2", 11127, 1, 3935},
    {"HiScore", 11127, 1, 19441},
    {"HypBomb", 11127, 1, 6020},
    {"HypButa", 11025, 1, 5909},
    {"KingHit", 11127, 1, 2798},
    {"LitExtra", 11127, 1, 10881},
    {"NewHero", 11127, 1, 9721},
    {"EnterKanban", 11127, 1, 3909},
    {"SlowButa", 11127, 1, 6956},
    {"Special", 11127, 1, 6636},
    {"Bcstart", 11025, 1, 5633},
    {"ClearStage", 11127, 1, 7433},
    {"Doron", 11127, 1, 4794},
    {"DenDen", 11127, 1, 5357},
    {"Bomb2", 11127, 1, 2888},
    {"Paan", 11127, 1, 7605},
    {"FaceMi", 11127, 1, 3290},
    {"FaceSo", 11127, 1, 3275},
    {"FaceDo", 11127, 1, 3270},
    {"FaceRa", 11127, 1, 3228},
    {"Thunder", 11127, 1, 14970},
    {"Bomb3", 11127, 1, 14859},
    {"BBosV", 11127, 1, 4272},
    {"BBosD", 11127, 1, 13089},
    {"WinkReady", 11127, 1, 21490},
    {"QBossV", 11127, 1, 5701},
    {"QBossD", 11127, 1, 11783},
    {"GBossV", 11127, 1, 1745},
    {"EatButa", 11025, 1, 4599},
    {"EKDEAD", 11127, 1, 27804},
    {"Bounds", 11127, 1, 10372},
    {"QBNormal", 11025, 1, 11933},
    {"BigOmori", 11127, 1, 2564},
    {"WahaKing", 11127, 1, 15541},
    {"BBasa", 11025, 1, 1467},
    {"BPoing", 11025, 1, 8457},
    {"Fanf", 22254, 1, 56850},
    {"Ending", 11025, 1, 98884},
    {"Poyon", 11127, 1, 3292},
    {"Goon", 11127, 1, 9447},
};

const ImageSpec* find_image_spec(const char* name) {
  for (const ImageSpec& s : kImageCatalogue)
    if (equal_nocase(s.name, name)) return &s;
  return nullptr;
}

const WaveSpec* find_wave_spec(const char* name) {
  for (const WaveSpec& s : kWaveCatalogue)
    if (equal_nocase(s.name, name)) return &s;
  return nullptr;
}

bool equal_nocase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    char ca = *a, cb = *b;
    if (ca >= 'A' && ca <= 'Z') ca = char(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = char(cb - 'A' + 'a');
    if (ca != cb) return false;
  }
  return *a == *b;
}

}  // namespace zubroll
