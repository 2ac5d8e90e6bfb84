#include "app/names.h"

#include <iterator>

namespace mirado {

namespace {

constexpr const char* kMenuNames[] = {
    "TAIKYOKU", "MATCH_MAN", "START",   "START2", "SENTE",      "GOTE",      "LEVEL",
    "LEVEL1",   "LEVEL2",    "LEVEL3",  "LEVEL4", "LEVEL5", "OWARI",  "STOP",       "CANCEL",    "REVERSE",
    "REPLAY",   "AFTER",     "LBEL_UP", "LEBEL_DOWN", "KIFU",   "KIFU_READ", "KIFU_WRITE",
    "OPTION",   "HAIKEI_GA", "MIDORI",  "UCHU",   "TATAMI",     "TAKE",      "RENGA",
    "SIDOU",    "KEIKA",     "BGM",     "AICON",  "CHOKUZEN", "ICHIRAN", "KAISEKI_ZU", "HELP",       "ASOBIKATA", "HINT",  "KAISEKI",    "VER",
    "TSUZUKI", "NARI_KAKUNIN", "COM_HYOUJI", "HYOUJUN", "HAYAI", "SHOURYAKU",
    "KOURYO", "KOURYO_025", "KOURYO_1", "KOURYO_3"};
static_assert(std::size(kMenuNames) == static_cast<std::size_t>(Menu::COUNT));

constexpr const char* kOtoNames[] = {"snd_sonota", "snd_kinshi", "snd_koma", "snd_jusei", "snd_bgm"};
static_assert(std::size(kOtoNames) == static_cast<std::size_t>(Oto::COUNT));

}  // namespace

const char* menu_name(Menu m) { return kMenuNames[static_cast<int>(m)]; }
const char* oto_name(Oto o) { return kOtoNames[static_cast<int>(o)]; }

std::optional<Menu> menu_from_name(std::string_view name) {
  for (int i = 0; i < static_cast<int>(Menu::COUNT); ++i)
    if (name == kMenuNames[i]) return static_cast<Menu>(i);
  return std::nullopt;
}

}  // namespace mirado
