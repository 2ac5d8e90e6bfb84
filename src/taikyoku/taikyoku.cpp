#include "taikyoku/taikyoku.h"

#include "kifu/kensa.h"
#include "rules/sfen.h"

namespace mirado {

double keika_byou(double start, double now) {
  return start <= now ? now - start : now + (86400 - start);
}

int Taikyoku::koma_su(Gawa side) const {
  const bool ue = side == j_.ue_gawa;
  if (!ue && side != j_.sita_gawa) return 0;
  int n = 0;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r)
      if (ue ? is_ue(j_.pos.ban[c][r]) : is_sita(j_.pos.ban[c][r])) ++n;
  const int* te = ue ? j_.pos.mochigoma_ue : j_.pos.mochigoma_sita;
  for (int k = 1; k <= 7; ++k) n += te[k];
  return n;
}

namespace {

bool oute(const Kyokumen& p, bool sita) {
  const Kiki& k = p.kiki();
  return sita ? k.kiki_ue[p.ou_sita_x][p.ou_sita_y] > 0 : k.kiki_sita[p.ou_ue_x][p.ou_ue_y] > 0;
}

}  // namespace

bool Taikyoku::ou_oute(bool sita) const { return oute(j_.pos, sita); }

bool Taikyoku::santeme_seigen() const {
  return santeme_seigen_ari(SantemeMenjo::ari, koma_su(j_.teban_nushi),
                            oute(j_.pos, j_.teban_nushi == j_.sita_gawa));
}

// The holder moves its own pieces in the first and third moves and the opponent's in the
// second. Which pieces those are depends on the pieces the holder plays, never on whether
// it moved first, so sides swapped by a loaded record stay right.
bool Taikyoku::ugoki_sita(Dankai d) const {
  const bool nushi_sita = j_.teban_nushi == j_.sita_gawa;
  return d == Dankai::ni ? !nushi_sita : nushi_sita;
}

bool Taikyoku::ugokaseru(Dankai d, int code) const {
  return ugoki_sita(d) ? is_sita(code) : is_ue(code);
}

void Taikyoku::ou_tori(int torareru) {
  if (torareru == OU) j_.shuukyoku = kachi(j_.sita_gawa);
  else if (torareru == -OU) j_.shuukyoku = kachi(j_.ue_gawa);
}

void Taikyoku::kidou() {
  j_.saisei_chu = false;
  j_.kifu.kifu_nagasa = 0;
  j_.level = 3;
  j_.ue_gawa = Gawa::sente;
  j_.sita_gawa = Gawa::gote;
}

void Taikyoku::shinki() {
  // Moves played after a flip or a handicap start from another position: replayed onto
  // the normal start they would be wrong.
  if (j_.hanten_zumi || j_.handicap_zumi) j_.kifu.kifu_nagasa = 0;
  j_.dankai = Dankai::ichi;
  j_.handicap = 0;
  j_.handicap_zumi = false;
  j_.hanten_zumi = false;
  j_.gun_irekae = false;
  j_.te_tochuu = false;
  j_.taikyoku_shu = TaikyokuShu::ningen;
  j_.shuukyoku = Shuukyoku::tsuzuku;
  j_.teban = Gawa::nashi;
  j_.kifu.kifu_ichi = 0;
  j_.tesuu = 0;
  j_.jikan_ue = 0;
  j_.jikan_sita = 0;
  j_.saikai_machi = false;
  j_.saisei_chu = false;
  j_.pos.shoki_haichi();
}

void Taikyoku::level_settei(int n) {
  if (n >= 1 && n <= 5) j_.level = n;
}

bool Taikyoku::ningen_kaishi(double now) {
  j_.jikan_kaishi = now;
  j_.taikyoku_shu = TaikyokuShu::ningen;
  const bool shoteme = j_.teban == Gawa::nashi || j_.tesuu == 0;
  if (shoteme) {
    j_.sita_gawa = Gawa::sente;
    j_.ue_gawa = Gawa::gote;
    j_.teban = j_.teban_nushi = Gawa::sente;
    j_.gun_irekae = false;
  }
  j_.saikai_machi = false;
  j_.saisei_chu = false;  // a loaded record can be played on between two people
  return shoteme;
}

void Taikyoku::com_kaishi() {
  j_.taikyoku_shu = TaikyokuShu::com;
  j_.saisei_chu = false;
  j_.kifu.kifu_nagasa = j_.kifu.kifu_ichi;
}

Tsugi Taikyoku::sente_kaishi(double now, bool& shoteme) {
  j_.jikan_kaishi = now;
  shoteme = j_.teban == Gawa::nashi || j_.tesuu == 0;
  if (shoteme || j_.sita_gawa == j_.teban) {
    j_.sita_gawa = Gawa::sente;
    j_.ue_gawa = Gawa::gote;
    j_.gun_irekae = false;
    j_.teban = j_.teban_nushi = Gawa::sente;
    j_.saikai_machi = false;
    return Tsugi::ningen;
  }
  return Tsugi::com;
}

Tsugi Taikyoku::gote_kaishi(bool& shoteme) {
  shoteme = j_.teban == Gawa::nashi || j_.tesuu == 0;
  if (shoteme) {
    j_.sita_gawa = Gawa::gote;
    j_.ue_gawa = Gawa::sente;
    j_.gun_irekae = false;
    j_.teban = j_.teban_nushi = Gawa::sente;
    return Tsugi::com;
  }
  if (j_.sita_gawa == j_.teban) {
    j_.teban_nushi = j_.teban;
    return Tsugi::ningen;
  }
  return Tsugi::com;
}

void Taikyoku::saikai(double now) {
  j_.saikai_machi = false;
  j_.jikan_kaishi = now;
}

double Taikyoku::jikan_hakaru(double now) {
  j_.jikan_ima = keika_byou(j_.jikan_kaishi, now);
  return j_.jikan_ima;
}

void Taikyoku::kifu_yomikomi(const std::vector<KifuEntry>& entries, int handicap) {
  if (handicap != 0) {
    const Taikyoku hajime = handicap_kyoku(handicap);
    j_.pos = hajime.j_.pos;
    j_.handicap = handicap;
    j_.handicap_zumi = true;
  }
  j_.saisei_chu = true;
  j_.gun_irekae = false;
  j_.kifu.set_entries(entries);
  j_.tesuu = 0;
  if (entries.empty()) return;
  if (entries.front().moto_koma >= 10) {  // the upper pieces moved first, as after GOTE
    j_.taikyoku_shu = TaikyokuShu::com;
    j_.ue_gawa = Gawa::sente;
    j_.sita_gawa = Gawa::gote;
  } else {  // the lower pieces moved first, as after START
    j_.taikyoku_shu = TaikyokuShu::ningen;
    j_.sita_gawa = Gawa::sente;
    j_.ue_gawa = Gawa::gote;
  }
  j_.teban = Gawa::sente;
  j_.teban_nushi = j_.teban;
}

std::string Taikyoku::kifu_susumu() {
  const int n = j_.kifu.kifu_ichi + 1;
  const KifuEntry e = j_.kifu.at(n);
  if (std::string naze = sasenai_riyuu(j_.pos, e, n); !naze.empty()) return naze;
  j_.kifu.kifu_ichi = n;
  ++j_.tesuu;
  do_move(j_.pos, kifu_te(e));
  ou_tori(e.tori_koma);
  j_.jikan_ue = e.ue_ato;
  j_.jikan_sita = e.sita_ato;
  // The side to move follows from the piece moved, as a step back takes it: a record
  // kept from a game whose other side moved first stays in step with its turns.
  j_.teban = aite(e.moto_koma > 0 ? j_.ue_gawa : j_.sita_gawa);
  return {};
}

void Taikyoku::kifu_modosu() {
  const KifuEntry e = j_.kifu.at(j_.kifu.kifu_ichi);
  undo_move(j_.pos, kifu_modoshi(e));
  modoshita(e);
}

void Taikyoku::tsuzuki(TaikyokuShu shu) {
  j_.saisei_chu = false;
  j_.taikyoku_shu = shu;
  // The turn in progress by the record's own phases: a phase the computer passed over
  // has no entry, so three entries are not always a turn.
  const KifuKensa k = kifu_kensa(j_.kifu.made(j_.kifu.kifu_ichi), {j_.handicap, false});
  j_.dankai = k.dankai;
  j_.teban_nushi = k.nushi_ue ? j_.ue_gawa : j_.sita_gawa;
  j_.teban = k.dankai == Dankai::ni ? aite(j_.teban_nushi) : j_.teban_nushi;
  j_.te_tochuu = k.dankai != Dankai::ichi;
  j_.santeme = k.santeme;
  j_.saikai_machi = true;
}

void Taikyoku::modoshi_hajime() {
  j_.saikai_machi = true;
  j_.shuukyoku = Shuukyoku::tsuzuku;  // a game ended by a capture goes on once the capture is taken back
}

int Taikyoku::modosu_su() {
  if (owatta()) {  // the turn the game ended in is played again from its first move
    j_.dankai = Dankai::ichi;
    j_.te_tochuu = false;
  }
  const int k = j_.kifu.kifu_ichi % 3;  // every turn is three entries from the start of the record
  const bool owari_no_te = owatta() || j_.kifu.kifu_ichi == j_.kifu.kifu_nagasa;
  return k == 0 || !owari_no_te ? 3 : k;
}

void Taikyoku::modoshita(const KifuEntry& e) {
  j_.jikan_ue = e.ue_mae;
  j_.jikan_sita = e.sita_mae;
  j_.teban = e.moto_koma > 0 ? j_.ue_gawa : j_.sita_gawa;
  --j_.kifu.kifu_ichi;
  --j_.tesuu;
}

Kotowari Taikyoku::hanten() {
  if (j_.saisei_chu) return Kotowari::kifu_mode;
  if (j_.te_tochuu && !owatta()) return Kotowari::te_tochuu;
  // The computer always plays the upper pieces; turning would hand it the person's army.
  if (com_taikyoku() && j_.teban != Gawa::nashi && !owatta()) return Kotowari::taikyoku_tochuu;
  j_.hanten_zumi = true;
  if (hajimatta()) j_.gun_irekae = !j_.gun_irekae;
  j_.pos = kaiten(j_.pos);  // the kings change squares and sides with it
  if (j_.handicap_zumi) j_.handicap = -j_.handicap;
  j_.teban = aite(j_.teban);
  // The army that held the turn keeps it: it now plays the other colour of pieces.
  if (j_.taikyoku_shu == TaikyokuShu::ningen) j_.teban_nushi = aite(j_.teban_nushi);
  j_.kifu.kifu_ichi = 0;
  j_.kifu.kifu_nagasa = 0;  // its squares no longer match the board
  return Kotowari::nashi;
}

namespace {

struct Masu {
  int c, r, koma;
};

// Each level between -10 and 10 takes one more piece of one side off the starting
// position; below 0 the lower side gives up pieces. Step k (1..10) lies between levels -k
// and -(k - 1) for the lower side, and between k - 1 and k for the upper side; the piece is
// the one present nearer to level 0.
constexpr Masu kSitaSteps[11] = {{0, 0, 0},      {2, 8, -KAKU}, {8, 8, -HISHA}, {1, 9, -KYOU},
                                 {9, 9, -KYOU},  {2, 9, -KEI},  {8, 9, -KEI},   {3, 9, -GIN},
                                 {7, 9, -GIN},   {4, 9, -KIN},  {6, 9, -KIN}};
constexpr Masu kUeSteps[11] = {{0, 0, 0},    {8, 2, KAKU}, {2, 2, HISHA}, {9, 1, KYOU},
                               {1, 1, KYOU}, {8, 1, KEI},  {2, 1, KEI},   {7, 1, GIN},
                               {3, 1, GIN},  {6, 1, KIN},  {4, 1, KIN}};

}  // namespace

Taikyoku::HandicapKekka Taikyoku::handicap_kaeru(int step) {
  HandicapKekka k;
  k.kotowari = j_.saisei_chu           ? Kotowari::kifu_mode
               : j_.kifu.kifu_ichi > 0 ? Kotowari::taikyoku_tochuu
               : j_.hanten_zumi        ? Kotowari::hanten_go
                                       : Kotowari::nashi;
  if (k.kotowari != Kotowari::nashi) return k;
  j_.kifu.kifu_nagasa = 0;  // a record from the even start no longer fits the board
  const int old = j_.handicap;
  if (step > 0 && old < 10) {
    j_.handicap = old + 1;
    const Masu& m = j_.handicap <= 0 ? kSitaSteps[-old] : kUeSteps[j_.handicap];
    j_.pos.oku(m.c, m.r, j_.handicap <= 0 ? m.koma : kara);
    k = {Kotowari::nashi, true, m.c, m.r};
  } else if (step < 0 && old > -10) {
    j_.handicap = old - 1;
    const Masu& m = j_.handicap < 0 ? kSitaSteps[-j_.handicap] : kUeSteps[old];
    j_.pos.oku(m.c, m.r, j_.handicap < 0 ? kara : m.koma);
    k = {Kotowari::nashi, true, m.c, m.r};
  }
  j_.handicap_zumi = true;
  return k;
}

bool Taikyoku::haichi(const Haichi& h, Taikyoku& out, std::string& error) {
  SfenPosition sp;
  if (h.sfen.empty()) sp.pos.shoki_haichi();
  else if (!parse_sfen(h.sfen, sp, error)) return false;
  Taikyoku t;
  Joutai& j = t.j_;
  j.pos = sp.pos;
  j.taikyoku_shu = h.shu;
  j.sita_gawa = h.sita_sente ? Gawa::sente : Gawa::gote;
  j.ue_gawa = aite(j.sita_gawa);
  j.teban = sp.teban_sita ? j.sita_gawa : j.ue_gawa;
  j.teban_nushi = h.dankai == Dankai::ni ? aite(j.teban) : j.teban;
  j.dankai = h.dankai;
  j.te_tochuu = h.dankai != Dankai::ichi;
  j.santeme = h.santeme;
  j.level = h.level;
  j.jikan_kaishi = h.jikan_kaishi;
  j.jikan_sita = h.jikan_sita;
  j.jikan_ue = h.jikan_ue;
  for (const KifuEntry& e : h.kifu_saki) j.kifu.kiroku(e);
  j.kifu.kifu_ichi = 0;
  out = t;
  return true;
}

Taikyoku sente_taikyoku(const Kyokumen& p, int level, int ichite_x, int ichite_y, int nite_x,
                        int nite_y) {
  Taikyoku t;
  Taikyoku::Joutai& j = t.j_;
  j.pos = p;
  j.sita_gawa = Gawa::sente;
  j.ue_gawa = Gawa::gote;
  j.level = level;
  j.santeme = {ichite_x, ichite_y, nite_x, nite_y};
  j.kifu.yoyaku(3);  // the turn's entries: playing it allocates nothing
  return t;
}

}  // namespace mirado
