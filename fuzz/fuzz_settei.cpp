// The settings file: whatever its bytes, reading it leaves exactly one background
// chosen, the move guidance colour matching its option, and a file that the game
// itself reads back to the same options.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fakes.h"
#include "scratch.h"

namespace {

using namespace mirado;
using mirado::fuzz::hitsuyou;

constexpr const char* kFile = "ミラド将棋.ini";
constexpr Menu kHaikei[] = {Menu::MIDORI, Menu::UCHU, Menu::TATAMI, Menu::TAKE, Menu::RENGA};
constexpr Menu kOptions[] = {Menu::SIDOU, Menu::KEIKA, Menu::BGM, Menu::AICON};

std::string jotai(const Game& g) {
  std::string s =
      std::to_string(g.settei().haikei()) + ":" + std::to_string(g.settei().sidou_iro());
  for (Menu m : kHaikei) s += g.kirikae().is_checked(m) ? '1' : '0';
  for (Menu m : kOptions) s += g.kirikae().is_checked(m) ? '1' : '0';
  return s;
}

std::string fusei(const Game& g) {
  int haikei = 0;
  for (Menu m : kHaikei) haikei += g.kirikae().is_checked(m);
  if (haikei != 1) return std::to_string(haikei) + " backgrounds checked";
  if (g.settei().sidou_on() != g.kirikae().is_checked(Menu::SIDOU))
    return "move guidance flag differs from its menu";
  if (g.settei().sidou_iro() != (g.settei().sidou_on() ? IRO_SHIRO : IRO_MIDORI))
    return "move guidance colour differs from its option";
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mirado::fuzz::scratch_hairu();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mirado::fuzz::kaku(kFile, std::string_view(reinterpret_cast<const char*>(data), size));
  test::Harness h;
  h.game.opushon().settei_yomi();
  hitsuyou(fusei(h.game), "settei_yomi");
  // What the game writes for these options reads back as the same options.
  h.game.opushon().settei_kaki();
  test::Harness again;
  again.game.opushon().settei_yomi();
  hitsuyou(jotai(h.game) == jotai(again.game) ? "" : "written settings read back differently", "settei_kaki");
  return 0;
}
