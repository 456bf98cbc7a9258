#pragma once
// Text drawn glyph by glyph with the Roman stroke font. Every glyph advances by
// its own width; the texts of the game add an extra move along x after some
// glyphs, given in font units.
#include <initializer_list>

// Writes a non-negative integer, most significant digit first, from the current
// model-view origin to the right; 100 font units of extra move after each digit
// except for a lone "0".
void drawNumber(int value);

// Draws one glyph and then moves along x by extraMove font units.
void drawGlyph(char glyph, float extraMove);

// Draws the glyphs of text in order, each followed by its entry of extraMoves.
void drawGlyphs(const char* text, const float* extraMoves);

// Draws words without spaces between them: glyphMove after each glyph inside
// a word, wordMove after a word's last glyph, nothing after the last word's.
void drawWords(std::initializer_list<const char*> words, float glyphMove, float wordMove);
