#pragma once

#include "chrome/TitelBarPainter.h"

#include <QPainterPath>

namespace titelbar {

// The character a caption button's glyph shows, in the face the design names, with its outline
// as the face standing in for it gives it (recorded: opening three font files to draw three
// characters cost the start-up more than the rest of the title bar). Nothing for the glyphs drawn
// with boxes.
struct ButtonCharacter {
    const char *character;
    const char *face;
    bool bold;
    QPainterPath outline;
};
const ButtonCharacter *ButtonCharacterOf(TitelBarButtonLook::Glyph glyph);

}
