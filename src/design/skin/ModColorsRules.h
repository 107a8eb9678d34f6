#pragma once

#include <span>
#include <vector>

// The colour engine's rule table, in the order in which both passes run it: for each step the
// scheme colour(s) it reads, the title-bar and window properties it sets, and its name-prefix
// rules with the properties a matching control receives, in order.
namespace ModColorsRules {

// What a property set receives.
enum class Value {
    Colour,     // the step's colour (for the bar steps: the first of its four)
    BarText,    // the bar steps' second colour
    BarFill,    // third
    BarFillText,// fourth
    Appearance, // the number 2
    Segments,   // the Value of the step's check box on the colour window, as an integer
};

struct Assignment {
    const char *property; // a property name, or a dotted path of QObject* properties
    Value value = Value::Colour;
};

// Work a rule does after its properties.
enum class After {
    Yield,                   // yield once
    Nothing,                 // no yield
    TabRedraw,               // the tab redraw, then yield
    YieldTabRedraw,          // yield, the tab redraw, then yield
    ApplyBackGroundColor,    // the method ApplyBackGroundColor, then yield
    GridFore,                // grid update, every cell's fore colour, then yield
    GridBack,                // grid update, every cell's back colour, then yield
    PictureBaseFrame,        // the frame drawn on the control (yields inside)
};

struct Rule {
    std::vector<const char *> prefixes; // lower case; any one matches
    std::vector<Assignment> sets = {};
    After after = After::Yield;
};

struct Step {
    const char *procedure;           // the design's name of the step, for readers and tests
    std::vector<int> swatches = {};  // one colour, or the four of a bar
    std::vector<const char *> titleBar = {}; // properties of TitelBar1, set first, a yield after each
    const char *windowForeFirst = nullptr; // window property set before the controls (then yield, shadow)
    std::vector<Rule> rules = {};
    const char *windowAfter = nullptr;     // window property set after the controls (then two yields)
    bool windowFrame = false;        // the window frame unless a control matched "picturebase"
    const char *segmentsBox = nullptr;     // the colour window's check box for Value::Segments
    int yieldsAfterPass = 0;
    bool yieldPerControl = false;    // one more yield for every control, matched or not
};

// Steps 1 to 23; step 24 (RefreshFormControls) has no rules.
std::span<const Step> Steps();

}
