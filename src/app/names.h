// The names of menu items as the window and the event scripts spell them, and of sounds.
#pragma once

#include <optional>
#include <string_view>

#include "app/ports.h"

namespace mirado {

const char* menu_name(Menu m);
std::optional<Menu> menu_from_name(std::string_view name);
const char* oto_name(Oto o);  // the handle's variable name, e.g. "snd_koma"

}  // namespace mirado
