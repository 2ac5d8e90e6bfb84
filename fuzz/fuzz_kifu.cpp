// Record files: a game between two people is under way when the bytes are opened as a
// record; a record the window refuses must leave that game exactly as it was. An accepted
// one is stepped through every entry, all the way back and forward again, then play goes
// on from the last position against a person or the computer. The last bytes of the
// input also choose the moves before the load and how play goes on.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fakes.h"
#include "game_kensa.h"
#include "scratch.h"

namespace {

using namespace mirado;
using mirado::fuzz::hitsuyou;

constexpr const char* kFile = "f.棋譜";

struct Seigyo {  // bytes read from the end of the input
  const std::uint8_t* data;
  std::size_t size;
  std::size_t i = 0;
  int next() { return i < size ? data[size - 1 - i++] : 0; }
};

Kyokumen shoki() {
  Kyokumen p;
  p.shoki_haichi();
  return p;
}

void kensa(const Game& g, const char* where) {
  static const Kyokumen kShoki = shoki();
  hitsuyou(kyokumen_fusei(g.taikyoku().pos()), where);
  hitsuyou(test::koma_kazu_fusei(g.taikyoku().pos(), 0), where);
  hitsuyou(test::kifu_fusei(g, kShoki), where);
}

// Forward to the end or the first entry that cannot be played; returns the entries played.
int susumu(Game& g) {
  while (g.taikyoku().kifu().kifu_ichi < g.taikyoku().kifu().kifu_nagasa) {
    const int mae = g.taikyoku().kifu().kifu_ichi;
    g.on_menu(Menu::AFTER);
    kensa(g, "after");
    if (g.taikyoku().kifu().kifu_ichi == mae) break;
  }
  return g.taikyoku().kifu().kifu_ichi;
}

// Back to the start and forward again: every entry that played once plays again.
void modoru(Game& g, int n) {
  static const Kyokumen kShoki = shoki();
  while (g.taikyoku().kifu().kifu_ichi > 0) {
    g.ippo_modosu();
    kensa(g, "ippo_modosu");
  }
  hitsuyou(test::same_position(g.taikyoku().pos(), kShoki)
               ? ""
               : "stepping back does not give the start",
           "modoru");
  for (int i = 0; i < n; ++i)
    hitsuyou(g.ippo_susumu() ? "" : "an entry played before is refused", "ippo_susumu");
  kensa(g, "ippo_susumu");
}

void osu(Game& g, Seigyo& s) {
  const int cell = s.next() % 95;
  const int button = s.next() % 2 + 1;
  int c, r;
  if (cell < 81) c = cell % 9 + 1, r = cell / 9 + 1;
  else if (cell < 88) c = TE_SITA, r = cell - 81 + 3;
  else c = TE_UE, r = cell - 88 + 1;
  g.on_mouse_down(button, 0, cell_x(c) + 40, cell_y(r) + 40);
  kensa(g, "mouse");
}

// A few clicks of a two-person game, so that a refused load has a game to leave alone.
void mae_ni_sasu(Game& g, Seigyo& s) {
  g.on_menu(Menu::START);
  const int clicks = s.next() % 8;
  for (int i = 0; i < clicks; ++i) osu(g, s);
}

bool yomikonda(const test::Harness& h) {
  for (const test::Box& b : h.ui.boxes)
    if (b.text == " 読み込みました") return true;
  return false;
}

void tsuzukeru(Game& g, Seigyo& s) {
  const int mode = s.next() % 3;
  g.on_menu(mode == 0 ? Menu::LEVEL1 : mode == 1 ? Menu::LEVEL2 : Menu::LEVEL3);
  const int start = s.next() % 3;
  g.on_menu(start == 0 ? Menu::START : start == 1 ? Menu::SENTE : Menu::GOTE);
  kensa(g, "start");
  for (int i = 0; i < 16; ++i) osu(g, s);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mirado::fuzz::scratch_hairu();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mirado::fuzz::kaku(kFile, std::string_view(reinterpret_cast<const char*>(data), size));
  test::Harness h;
  Game& g = h.game;
  Seigyo s{data, size};
  g.shinki_kyoku();
  mae_ni_sasu(g, s);
  const std::string mae = test::joutai_kiroku(g);
  h.ui.boxes.clear();
  g.kifu_panel().panel_file_click(kFile);
  kensa(g, "panel_file_click");
  if (!yomikonda(h)) {
    hitsuyou(test::joutai_kiroku(g) == mae ? "" : "a refused load changed the game", "panel_file_click");
    return 0;
  }
  const int n = susumu(g);
  modoru(g, n);
  tsuzukeru(g, s);
  return 0;
}
