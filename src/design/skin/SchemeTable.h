#pragma once

#include "runtime/OleColor.h"

#include <array>
#include <span>

// The colour scheme's 28 colours: which swatch of the colour window holds each, its key in the
// settings and preset files, where the colour window shows it, the colour it holds before anything
// is read, and what "Current Windows Default" gives it.
namespace SchemeTable {

struct SchemeColor {
    int swatch;                       // index in the colour window's ColorPicker array
    const char *key;                  // key in section "colors"
    const char *caption;              // the swatch's caption ("&&" shows one "&")
    const char *group;                // the caption of the group box that holds it
    runtime::OleColor initial;        // before anything is read
    runtime::OleColor windowsDefault; // a system colour (high bit set) or a fixed colour
};

inline constexpr int kColorCount = 28;

// The rows in swatch order (0 to 29 less 11 and 15).
std::span<const SchemeColor, kColorCount> Colors();
// The row of a swatch; nullptr for 11, 15 and indexes outside 0 to 29.
const SchemeColor *BySwatch(int swatch);

// The order in which both file writers write the keys.
extern const std::array<int, kColorCount> kFileOrder;
// The order in which the colour window's load reads the keys, up to the copy of swatches 6 and 10
// into 16 and 17, and after it (the two important-button keys themselves are read last).
extern const std::array<int, 14> kReadOrderBeforeImportant;
extern const std::array<int, 12> kReadOrderAfterImportant;
// The order in which "Current Windows Default" fills the swatches.
extern const std::array<int, kColorCount> kWindowsDefaultOrder;

// Swatch indexes the program reads by meaning.
enum Swatch {
    programback = 0,
    programtext = 1,
    buttontopback = 2,
    buttontext = 3,
    textback = 4,
    texttext = 5,
    titletopback = 6,
    titlebottomback = 7,
    titletopback2 = 8,
    titlebottomback2 = 9,
    titletext = 10,
    importanttext = 12,
    infotext = 13,
    logoback = 14,
    importantbuttontopback = 16,
    importantbuttontext = 17,
    pbback = 18,
    pbtext = 19,
    pbbar = 20,
    pbfilltext = 21,
    mbback = 22,
    mbtext = 23,
    mbbar = 24,
    mbfilltext = 25,
    titlebuttonback = 26,
    titlebuttonfore = 27,
    titlebuttonxback = 28,
    titlebuttonxfore = 29,
};

}
