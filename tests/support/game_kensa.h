// Checks of the window's game that must hold after every event, shared by the soak test
// and the fuzz targets: its record agrees with its board, and its whole state as bytes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <type_traits>

#include "app/game.h"
#include "kifu/kifu_file.h"
#include "taikyoku/chuudan.h"
#include "kyokumen_kensa.h"

namespace mirado::test {

// Plays entries 1..n of the record onto `p` the plain way, with no checks: the capturer
// takes the captured piece's base kind (a king only into its total), a drop leaves the
// hand of the dropped piece's side.
inline void kifu_saigen(Kyokumen& p, const Kifu& kifu, int n) {
  for (int i = 1; i <= n; ++i) {
    const KifuEntry& e = kifu.at(i);
    if (!on_ban(e.te.tc, e.te.tr)) continue;
    if (on_ban(e.te.fc, e.te.fr)) {
      p.ban[e.te.fc][e.te.fr] = kara;
    } else if (const int slot = mochigoma_slot(e.te.koma); slot != 0) {
      (e.te.koma < 0 ? p.mochigoma_sita : p.mochigoma_ue)[slot] -= 1;
      (e.te.koma < 0 ? p.mochigoma_su_sita : p.mochigoma_su_ue) -= 1;
    }
    const int tori = p.ban[e.te.tc][e.te.tr];
    if (is_koma(tori)) {
      if (const int slot = mochigoma_slot(tori)) (tori < 0 ? p.mochigoma_ue : p.mochigoma_sita)[slot] += 1;
      (tori < 0 ? p.mochigoma_su_ue : p.mochigoma_su_sita) += 1;
    }
    p.ban[e.te.tc][e.te.tr] = e.te.koma;
  }
}


// The record's position lies within it, and replaying it from `origin` gives the board
// and hands of the game.
inline std::string kifu_fusei(const Game& g, const Kyokumen& origin) {
  if (g.taikyoku().kifu().kifu_ichi < 0 ||
      g.taikyoku().kifu().kifu_ichi > g.taikyoku().kifu().kifu_nagasa)
    return "record position " + std::to_string(g.taikyoku().kifu().kifu_ichi) + " outside 0.." +
           std::to_string(g.taikyoku().kifu().kifu_nagasa);
  Kyokumen p = origin;
  kifu_saigen(p, g.taikyoku().kifu(), g.taikyoku().kifu().kifu_ichi);
  if (!same_position(p, g.taikyoku().pos()))
    return "replaying " + std::to_string(g.taikyoku().kifu().kifu_ichi) +
           " entries does not give the board";
  return {};
}

// Every record file the game wrote into `dir` loads again as the window loads it: it
// reads, passes the check by the rules of the game, and steps to its end from the start
// its handicap left.
inline std::string kaita_kifu_fusei(const std::filesystem::path& dir) {
  std::error_code ec;
  for (const auto& f : std::filesystem::directory_iterator(dir, ec)) {
    if (f.path().extension() != std::string(KIFU_KAKUCHOUSHI)) continue;
    const std::string name = "the record " + f.path().filename().string() + " the game wrote ";
    KifuFile k;
    std::string error;
    if (!read_kifu_file(f.path(), k, error)) return name + "cannot be read: " + error;
    if (const std::string naze = kifu_kensa(k).naze; !naze.empty()) return name + "is refused: " + naze;
    Taikyoku t = handicap_kyoku(kifu_handicap(k));
    t.kifu_yomikomi(k.entries);
    while (!t.owatta() && t.kifu().kifu_ichi < t.kifu().kifu_nagasa)
      if (const std::string naze = t.kifu_susumu(); !naze.empty()) return name + "does not step: " + naze;
  }
  return {};
}

// Every field of the game as bytes, through its public readers: position, hands and
// maps as they lie in memory, the turn, phase and clocks, the whole record with its file
// lines. Two equal results mean a game nothing has touched.
inline std::string joutai_kiroku(const Game& g) {
  std::string out;
  auto raw = [&out](const auto& v) {
    static_assert(std::is_trivially_copyable_v<std::decay_t<decltype(v)>>);
    out.append(reinterpret_cast<const char*>(&v), sizeof v);
  };
  const Kyokumen& p = g.taikyoku().pos();  // field by field: the maps are drawn when first read
  raw(p.ban);
  raw(p.mochigoma_sita);
  raw(p.mochigoma_ue);
  const int su[] = {p.mochigoma_su_sita, p.mochigoma_su_ue, p.ou_sita_x, p.ou_sita_y, p.ou_ue_x, p.ou_ue_y};
  raw(su);
  raw(p.fu_suji_sita);
  raw(p.fu_suji_ue);
  const Taikyoku& t = g.taikyoku();
  raw(t.kiki());
  auto n = [](Gawa side) { return static_cast<int>(side); };
  const int ints[] = {n(t.teban()), n(t.teban_nushi()), n(t.sita_gawa()), n(t.ue_gawa()),
                      static_cast<int>(t.taikyoku_shu()), n(t.shousha()), t.tesuu(),
                      static_cast<int>(t.dankai()), t.level(), t.saisei_chu(), t.saikai_machi(),
                      t.te_tochuu(), t.oute_mae(), t.ichite_x(), t.ichite_y(), t.nite_x(), t.nite_y(),
                      t.handicap(), t.handicap_zumi(), t.hanten_zumi(), t.kifu().kifu_ichi,
                      t.kifu().kifu_nagasa};
  raw(ints);
  const double clocks[] = {g.taikyoku().jikan_kaishi(), g.taikyoku().jikan_ima(),
                           g.taikyoku().jikan_sita(), g.taikyoku().jikan_ue()};
  raw(clocks);
  for (int i = 1; i <= g.taikyoku().kifu().kifu_nagasa; ++i) {
    const KifuEntry& e = g.taikyoku().kifu().at(i);  // field by field: the struct has padding
    const int fields[] = {e.te.fc, e.te.fr, e.te.tc, e.te.tr, e.te.koma, e.moto_koma, e.tori_koma, e.gyou,
                          e.kaketa_ran};
    const double times[] = {e.sita_mae, e.sita_ato, e.ue_mae, e.ue_ato};
    raw(fields);
    raw(times);
  }
  return out;
}

}  // namespace mirado::test
