// Playing the five sounds by name through the sound library.
#include "app/game.h"

namespace mirado {

void Game::snd_play(Oto which) {
  if (ports_.trace) ports_.trace->sound("play", which);
  ports_.sound->play(oto[static_cast<int>(which)]);
}

void Game::snd_loop(Oto which) {
  if (ports_.trace) ports_.trace->sound("loop", which);
  ports_.sound->play_looping(oto[static_cast<int>(which)]);
}

void Game::snd_stop(Oto which) {
  if (ports_.trace) ports_.trace->sound("stop", which);
  ports_.sound->stop(oto[static_cast<int>(which)]);
}

}  // namespace mirado
