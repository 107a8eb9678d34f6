#include "skin/SchemeTable.h"

namespace SchemeTable {

namespace {

constexpr runtime::OleColor sys(int index) { return runtime::SystemColorFlag | runtime::OleColor(index); }

using namespace runtime;

constexpr std::array<SchemeColor, kColorCount> kColors{{
    {0, "programback", "Background", "Program", 0x404040, sys(COLOR_BTNFACE)},
    {1, "programtext", "Text", "Program", 0xFFFFFF, sys(COLOR_BTNTEXT)},
    {2, "buttontopback", "Background", "Buttons && Tabs", 0x808080, sys(COLOR_ACTIVECAPTION)},
    {3, "buttontext", "Text", "Buttons && Tabs", 0xFFFFFF, sys(COLOR_BTNTEXT)},
    {4, "textback", "Background", "Text Boxes && Lists", 0xC0C0C0, sys(COLOR_WINDOW)},
    {5, "texttext", "Text", "Text Boxes && Lists", 0x0, sys(COLOR_WINDOWTEXT)},
    {6, "titletopback", "Top", "Title Bar && Border", 0xFF9933, sys(COLOR_ACTIVECAPTION)},
    {7, "titlebottomback", "Bottom && Border", "Title Bar && Border", 0x0, sys(COLOR_ACTIVECAPTION)},
    {8, "titletopback2", "Top Right", "Title Bar && Border", 0xC0C0C0, sys(COLOR_ACTIVECAPTION)},
    {9, "titlebottomback2", "Bottom Right", "Title Bar && Border", 0xC0C0C0, sys(COLOR_ACTIVECAPTION)},
    {10, "titletext", "Text", "Title Bar && Border", 0xFFFFFF, sys(COLOR_CAPTIONTEXT)},
    {12, "importanttext", "Important Text", "Program", 0xC8FD, 0xC38500},
    {13, "infotext", "Info Text", "Program", 0xFF9933, 0xC000},
    {14, "logoback", "Logo Background", "Program", 0x808080, sys(COLOR_BTNSHADOW)},
    {16, "importantbuttontopback", "Background", "Important Buttons", 0x808080, sys(COLOR_ACTIVECAPTION)},
    {17, "importantbuttontext", "Text", "Important Buttons", 0xFFFFFF, sys(COLOR_CAPTIONTEXT)},
    {18, "pbback", "Background", "Progress Bars", 0xC0C0C0, sys(COLOR_WINDOW)},
    {19, "pbtext", "Text", "Progress Bars", 0x0, sys(COLOR_WINDOWTEXT)},
    {20, "pbbar", "Fill", "Progress Bars", 0xFF9933, sys(COLOR_HIGHLIGHT)},
    {21, "pbfilltext", "Fill Text", "Progress Bars", 0x0, sys(COLOR_HIGHLIGHTTEXT)},
    {22, "mbback", "Background", "System Monitor Bars", 0xC0C0C0, sys(COLOR_WINDOW)},
    {23, "mbtext", "Text", "System Monitor Bars", 0x0, sys(COLOR_WINDOWTEXT)},
    {24, "mbbar", "Fill", "System Monitor Bars", 0xC8FD, sys(COLOR_HIGHLIGHT)},
    {25, "mbfilltext", "Fill Text", "System Monitor Bars", 0x0, sys(COLOR_HIGHLIGHTTEXT)},
    {26, "titlebuttonback", "Button Back", "Title Bar && Border", 0xBB6511, 0xBB6511},
    {27, "titlebuttonfore", "Button Top", "Title Bar && Border", 0xFFFFFF, 0xFFFFFF},
    {28, "titlebuttonxback", "Button X Back", "Title Bar && Border", 0x23D9, 0x23D9},
    {29, "titlebuttonxfore", "Button X Top", "Title Bar && Border", 0xFFFFFF, 0xFFFFFF},
}};

}

const std::array<int, kColorCount> kFileOrder{0, 1, 12, 13, 14, 2, 3, 4, 5, 6, 7, 8, 9, 10,
                                              16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29};
const std::array<int, 14> kReadOrderBeforeImportant{0, 1, 12, 13, 14, 2, 3, 4, 5, 6, 7, 8, 9, 10};
const std::array<int, 12> kReadOrderAfterImportant{18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29};
const std::array<int, kColorCount> kWindowsDefaultOrder{0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 16,
                                                        2, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29};

std::span<const SchemeColor, kColorCount> Colors() { return kColors; }

const SchemeColor *BySwatch(int swatch)
{
    for (const SchemeColor &row : kColors) {
        if (row.swatch == swatch)
            return &row;
    }
    return nullptr;
}

}
