#include "render/StrokeText.h"

#include <GL/glut.h>

namespace {

constexpr float kDigitExtraMove = 100;
constexpr int kDigitPositions = 30;

// Digits are written into positions 1..30 from the right; 31 is the NUL. The
// buffer keeps its contents between calls.
char numberBuffer[kDigitPositions + 1];

}  // namespace

void drawGlyph(char glyph, float extraMove) {
    glutStrokeCharacter(GLUT_STROKE_ROMAN, static_cast<unsigned char>(glyph));
    glTranslatef(extraMove, 0, 0);
}

void drawGlyphs(const char* text, const float* extraMoves) {
    for (int i = 0; text[i] != '\0'; ++i) {
        drawGlyph(text[i], extraMoves[i]);
    }
}

void drawWords(std::initializer_list<const char*> words, float glyphMove, float wordMove) {
    const char* const* last = words.end() - 1;
    for (const char* const* word = words.begin(); word != words.end(); ++word) {
        for (const char* glyph = *word; *glyph != '\0'; ++glyph) {
            const bool ends = glyph[1] == '\0';
            drawGlyph(*glyph, !ends ? glyphMove : word == last ? 0 : wordMove);
        }
    }
}

void drawNumber(int value) {
    // Counters never go below 0; a negative value would be shown as 0, not as garbage.
    if (value <= 0) {
        glutStrokeCharacter(GLUT_STROKE_ROMAN, '0');
        return;
    }
    int position = kDigitPositions;
    numberBuffer[kDigitPositions] = '\0';
    while (value != 0 && position >= 1) {
        numberBuffer[position - 1] = static_cast<char>('0' + value % 10);
        value /= 10;
        --position;
    }
    for (const char* digit = numberBuffer + position; *digit != '\0'; ++digit) {
        drawGlyph(*digit, kDigitExtraMove);
    }
}
