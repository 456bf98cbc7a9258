#include "app/Entry.h"

int main(int argc, char** argv) {
    return runGuarded(runGame, argc, argv);
}
