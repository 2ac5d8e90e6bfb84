#include "app/names.h"

#include <iterator>

namespace mirado {

namespace {

constexpr const char* kMenuNames[] = {
    "TAIKYOKU", "MATCH_MAN", "START",   "START2", "SENTE",      "GOTE",      "LEVEL",
    "LEVEL1",   "LEVEL2",    "LEVEL3",  "LEVEL4", "OWARI",  "STOP",       "CANCEL",    "REVERSE",
    "REPLAY",   "AFTER",     "LBEL_UP", "LEBEL_DOWN", "KIFU",   "KIFU_READ", "KIFU_WRITE",
    "OPTION",   "HAIKEI_GA", "MIDORI",  "UCHU",   "TATAMI",     "TAKE",      "RENGA",
    "SIDOU",    "KEIKA",     "BGM",     "AICON",  "CHOKUZEN", "ICHIRAN", "HELP",       "ASOBIKATA", "HINT",      "VER"};
static_assert(std::size(kMenuNames) == static_cast<std::size_t>(Menu::COUNT));

constexpr const char* kControlNames[] = {
    "AICON_MAN1", "AICON_MAN2", "AICON_COM", "Drive1",   "Dir1",     "File1",    "Text1",   "Text2",
    "Text3",      "Text4",      "Label1_0",  "Label1_1", "Label1_2", "Label1_3", "Command1"};
static_assert(std::size(kControlNames) == static_cast<std::size_t>(Control::COUNT));

constexpr const char* kOtoNames[] = {"snd_sonota", "snd_kinshi", "snd_koma", "snd_jusei", "snd_bgm"};
static_assert(std::size(kOtoNames) == static_cast<std::size_t>(Oto::COUNT));

}  // namespace

const char* menu_name(Menu m) { return kMenuNames[static_cast<int>(m)]; }
const char* control_name(Control c) { return kControlNames[static_cast<int>(c)]; }
const char* oto_name(Oto o) { return kOtoNames[static_cast<int>(o)]; }

std::optional<Menu> menu_from_name(std::string_view name) {
  for (int i = 0; i < static_cast<int>(Menu::COUNT); ++i)
    if (name == kMenuNames[i]) return static_cast<Menu>(i);
  return std::nullopt;
}

std::optional<Control> control_from_name(std::string_view name) {
  for (int i = 0; i < static_cast<int>(Control::COUNT); ++i)
    if (name == kControlNames[i]) return static_cast<Control>(i);
  return std::nullopt;
}

}  // namespace mirado
