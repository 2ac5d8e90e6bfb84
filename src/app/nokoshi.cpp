// A game kept when the window closes, and taken up again (app/nokoshi.h).
#include "app/nokoshi.h"

#include <filesystem>

#include "app/ban_gamen.h"

namespace mirado {

bool Nokoshi::dekiru() const {
  // Only where files may be kept: without a data folder the player was told at start
  // that nothing is saved.
  return hozon_basho_ari() && nokoseru(t_);
}

bool Nokoshi::hozon(std::string& naze) const {
  naze.clear();
  if (!hozon_basho_ari()) return false;
  return chuudan_kaku(t_, w_.gamen.jikan_gamen(t_.sita_gawa()), w_.gamen.jikan_gamen(t_.ue_gawa()), naze);
}

void Nokoshi::nokosu() const {
  std::string naze;
  if (hozon(naze))
    w_.gamen.shiraseru("対局を残しました（対局 → 続きから）");
  else if (!naze.empty())
    w_.gamen.shiraseru("対局を残せませんでした（" + naze + "）");
}

bool Nokoshi::owari_kakunin(const std::string& naze) const {
  const Answer a = w_.gamen.msg("対局を残せません（" + naze + "）\r\rこのまま終わると、この対局は失われます。" +
                                    "\r終わりますか？（いいえ: 対局に戻る）",
                                "終了", Buttons::yesno_iie, Icon::warning);
  // A second close while the box waits is the player's answer: the window goes.
  return a == Answer::yes || w_.ports.ui->close_requested();
}

void Nokoshi::shiraseru() const {
  std::error_code ec;
  if (!hozon_basho_ari() || !std::filesystem::is_regular_file(CHUUDAN_KIFU, ec)) return;
  w_.gamen.shiraseru(saigo_no_chuudan()
                         ? "中断した対局があります（対局 → 続きから）"
                         : "以前に中断した対局があります（最後の対局とは限りません。対局 → 続きから）");
}

bool Nokoshi::yomu(Taikyoku& shiken, Tsuzuki& z) const {
  const std::string error =
      hozon_basho_ari() ? chuudan_yomu(shiken, z) : "データフォルダを使えません（" + hozon_fuka_ + "）";
  if (error.empty()) return true;
  w_.irai.snd_play(Oto::kinshi);
  w_.gamen.kotowaru("続きから始められません");
  w_.gamen.msg(error, "続きから");
  return false;
}

void Nokoshi::kesu() const {
  if (const std::string naze = chuudan_kesu(); !naze.empty())
    w_.gamen.shiraseru("中断した対局の棋譜を消せません（" + naze + "）");
}

}  // namespace mirado
