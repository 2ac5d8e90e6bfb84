// The options the player chooses under ｵﾌﾟｼｮﾝ and the settings file keeps: what the
// board looks like and how the game talks to the player. Only the menus and the settings
// reader change them.
#pragma once

namespace mirado {

// Palette indices used by the presentation.
enum Iro : int {
  IRO_KURO = 0,
  IRO_MIDORI = 2,  // window background, grid, and the colour that erases outlines
  IRO_AKA = 12,    // selection frame, hand counts
  IRO_HINT = 13,   // the marks of a hint (light magenta)
  IRO_KIIRO = 14,  // coordinates
  IRO_SHIRO = 15,  // labels, times, move number, notation
};

// Picture ids of koma_egaku besides the piece codes.
enum : int {
  PIC_ZUVANSHOGI = 1,   // logo while a game runs
  PIC_ZUVANSHOGI2 = 2,  // logo before a game and when it is won
  HAIKEI_MIDORI = 3,
  HAIKEI_TATAMI = 4,
  HAIKEI_TAKE = 5,
  HAIKEI_UCHU = 6,
  HAIKEI_RENGA = 7,
};

// ｵﾌﾟｼｮﾝ → COMの手の表示: how long the computer's moves are shown.
enum class ComHyouji { hyoujun, hayai, shouryaku };

class Settei {
 public:
  int haikei() const { return haikei_; }
  bool sidou_on() const { return sidou_on_; }
  int sidou_iro() const { return sidou_iro_; }
  bool chokuzen_on() const { return chokuzen_on_; }      // ｵﾌﾟｼｮﾝ → 直前の手
  bool ichiran_on() const { return ichiran_on_; }        // ｵﾌﾟｼｮﾝ → 棋譜一覧
  bool kaiseki_zu_on() const { return kaiseki_zu_on_; }  // ｵﾌﾟｼｮﾝ → 解析グラフ
  // ｵﾌﾟｼｮﾝ → 成りを確認: a left click that may promote asks.
  bool nari_kakunin() const { return nari_kakunin_; }
  ComHyouji com_hyouji() const { return com_hyouji_; }
  // ｵﾌﾟｼｮﾝ → COMの考慮時間: LEVEL4's and LEVEL5's thinking time for a turn, 250, 1000 or
  // 3000 ms; anything else leaves it as it is.
  int kouryo_ms() const { return kouryo_ms_; }

  void haikei_kaeru(int id) { haikei_ = id; }
  void sidou(bool on) {
    sidou_on_ = on;
    sidou_iro_ = on ? IRO_SHIRO : IRO_MIDORI;  // off: outlines in the board colour stay invisible
  }
  void chokuzen(bool on) { chokuzen_on_ = on; }
  void ichiran(bool on) { ichiran_on_ = on; }
  void kaiseki_zu(bool on) { kaiseki_zu_on_ = on; }
  void nari_kakunin(bool on) { nari_kakunin_ = on; }
  void com_hyouji(ComHyouji h) { com_hyouji_ = h; }
  void kouryo_ms(int ms) {
    if (ms == 250 || ms == 1000 || ms == 3000) kouryo_ms_ = ms;
  }

 private:
  int haikei_ = HAIKEI_MIDORI;
  bool sidou_on_ = false;
  int sidou_iro_ = IRO_MIDORI;
  bool chokuzen_on_ = true;
  bool ichiran_on_ = false;
  bool kaiseki_zu_on_ = true;
  bool nari_kakunin_ = false;
  ComHyouji com_hyouji_ = ComHyouji::hyoujun;
  int kouryo_ms_ = 250;
};

}  // namespace mirado
