#pragma once
// The end of a turn, run by the map screen's next frame after an end-turn key:
// loss test, every node's end-of-turn effect, the other player's turn begins.

void finishTurn();
