// Construction of the game object.
#include "app/game.h"

namespace mirado {

Game::Game(const Ports& ports) : ports_(ports) {
}

}  // namespace mirado
