// The game's entry point with one difference: the generator's seed comes from
// the environment variable KARVOSSA_SEED, so that an end-to-end test can grow
// the same map with the library and know where to click.
#include <cstdlib>

#include "app/Entry.h"
#include "game/Model.h"
#include "game/Random.h"

int main(int argc, char** argv) {
    Model::getSelf();
    const char* seed = std::getenv("KARVOSSA_SEED");
    if (seed != nullptr) {
        Random::seed(static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10)));
    }
    return runGuarded(runGame, argc, argv);
}
