#pragma once
// The end of a turn, run by the tick that applied an EndTurn command:
// loss test, every node's end-of-turn effect, the other player's turn begins.

void finishTurn();
