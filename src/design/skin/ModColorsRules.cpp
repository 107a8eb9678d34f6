#include "skin/ModColorsRules.h"

#include "skin/SchemeTable.h"

namespace ModColorsRules {

namespace {

using namespace SchemeTable;
using V = Value;
using A = After;

const std::vector<const char *> kButtons{"comm", "button", "pushb", "dcbutton"};
const std::vector<const char *> kImportantButtons{"b2comm", "b2button", "b2dcbutton"};
const std::vector<const char *> kTexts{"txt", "combo", "lis", "dri", "tex", "lv", "cmb"};
const std::vector<const char *> kPBars{"pbar", "pb1", "pb2", "pb3"};

std::vector<Step> build()
{
    std::vector<Step> steps;
    steps.push_back({.procedure = "ApplyTitleTopColor", .swatches = {titletopback},
                     .titleBar = {"BackColorV1Begin"},
                     .rules = {{{"panel"}, {{"gCTitleStart"}}}}});
    steps.push_back({.procedure = "ApplyTitleBottomColor", .swatches = {titlebottomback},
                     .titleBar = {"BackColorV1End"},
                     .rules = {{{"panel"}, {{"gCTitleEnd"}}}}});
    steps.push_back({.procedure = "ApplyTitleTopColor2", .swatches = {titletopback2}, .titleBar = {"BackColorV2Begin"}});
    steps.push_back({.procedure = "ApplyTitleBottomColor2", .swatches = {titlebottomback2}, .titleBar = {"BackColorV2End"}});
    steps.push_back({.procedure = "ApplyTitleTextColor", .swatches = {titletext},
                     .titleBar = {"CaptionColor"},
                     .rules = {{{"panel"}, {{"TitleForeColor"}}}}});
    steps.push_back({
        .procedure = "ApplyProgramBackColor",
        .swatches = {programback},
        .rules = {
            {{"opt", "lab", "lbl", "chk", "che", "pict", "info", "important", "taskbar", "resizer"}, {{"BackColor"}}},
            {{"fra", "colorpicker"}, {{"BackColor"}, {"Appearance", V::Appearance}}, A::Nothing},
            {{"scroll"}, {{"BarBackColor"}, {"ButtonsBackColor"}, {"ScrollerBackColor"}, {"ScrollerGripColor"}}},
            {{"alphashape"}, {{"BackColor"}}},
            {{"xtab"}, {{"ActiveTabBackStartColor"}, {"ActiveTabBackEndColor"}, {"TabStripBackColor"}, {"HoverColor"}, {"FocusedColor"}}},
            {{"tabcontrol"},
             {{"BackColor"}, {"PaintManager.ColorSet.ButtonSelected"}, {"PaintManager.ColorSet.ButtonHighlighted"},
              {"PaintManager.ColorSet.HeaderFaceDark"}, {"PaintManager.ColorSet.HeaderFaceLight"},
              {"PaintManager.ColorSet.PaneFace"}, {"PaintManager.ColorSet.ControlFace"}},
             A::TabRedraw},
            {{"panel"}, {{"PanelBackColor"}, {"gCPanelEnd"}, {"gCPanelStart"}}},
            {{"db1"}, {{"BackGroundColor"}}, A::ApplyBackGroundColor},
        },
        .windowAfter = "BackColor",
    });
    steps.push_back({
        .procedure = "ApplyProgramTextColor",
        .swatches = {programtext},
        .rules = {
            {{"opt", "lab", "chk", "lbl", "che"}, {{"ForeColor"}}},
            {{"fra"}, {{"ForeColor"}, {"Appearance", V::Appearance}}, A::Nothing},
            {{"scroll"}, {{"ButtonsArrowColor"}}},
            {{"alphashape"}, {{"FillColor"}}},
            {{"xtab"}, {{"ActiveTabForeColor"}}},
            {{"tabcontrol"}, {{"PaintManager.ColorSet.SelectedText"}, {"PaintManager.ColorSet.HighlightText"}}, A::TabRedraw},
            {{"db1"}, {{"LeftColorBarColor"}, {"RightColorBarColor"}}},
        },
    });
    steps.push_back({
        .procedure = "ApplyBorderColor",
        .swatches = {titlebottomback},
        .windowForeFirst = "ForeColor",
        .rules = {
            {{"picturebase"}, {{"ForeColor"}}, A::PictureBaseFrame},
            {{"pictureshape"}, {{"BorderColor"}}},
            {{"alphashape"}, {{"BorderColor"}}},
            {{"scroll"}, {{"BarBorderColor"}, {"ButtonsBorderColor"}, {"ScrollerBorderColor"}}},
            {{"panel"}, {{"PanelBorderColor"}}},
            {{"barpic"}, {{"BackColor"}}},
            {{"ctx"}, {{"FormatControl.BorderColor"}}},
            {{"taskbar"}, {{"ForeColor"}}},
            {{"tabcontrol"}, {{"PaintManager.ColorSet.FrameBorder"}}, A::TabRedraw},
        },
        .windowFrame = true,
    });
    steps.push_back({.procedure = "ApplyImportantTextColor", .swatches = {importanttext},
                     .rules = {{{"important"}, {{"ForeColor"}}}, {{"importantpic"}, {{"BackColor"}}}},
                     .yieldsAfterPass = 1});
    steps.push_back({.procedure = "ApplyInfoTextColor", .swatches = {infotext},
                     .rules = {{{"info"}, {{"ForeColor"}}}, {{"resizer"}, {{"ForeColor"}}}},
                     .yieldsAfterPass = 1});
    steps.push_back({.procedure = "ApplyLogoBackColor", .swatches = {logoback},
                     .rules = {{{"logopicture"}, {{"BackColor"}}}},
                     .yieldsAfterPass = 1});
    steps.push_back({
        .procedure = "ApplyButtonBackColor",
        .swatches = {buttontopback},
        .rules = {
            {kButtons, {{"BackColor"}, {"BackStartColor"}}},
            {{"xtab"}, {{"OuterBorderColor"}, {"InActiveTabBackStartColor"}, {"InActiveTabBackEndColor"}}},
            {{"tabcontrol"}, {{"PaintManager.ColorSet.ButtonNormal"}, {"PaintManager.ColorSet.BorderHighlight"}}, A::TabRedraw},
            {{"panel"}, {{"TileBackColor"}}},
            {{"taskbar"}, {{"SelectingBackColor"}, {"SunkenBackColor"}}},
            {{"ctx"}, {{"FormatControl.BackGradient.Color"}}},
        },
    });
    steps.push_back({
        .procedure = "ApplyButtonForeColor",
        .swatches = {buttontext},
        .rules = {
            {kButtons, {{"ForeColor"}}},
            {{"taskbar"}, {{"ButtonForeColor"}}},
            {{"xtab"}, {{"InActiveTabForeColor"}}},
            {{"tabcontrol"}, {{"PaintManager.ColorSet.NormalText"}}, A::YieldTabRedraw},
            {{"ctx"}, {{"FormatControl.ForeColor"}}},
        },
        .yieldPerControl = true,
    });
    steps.push_back({
        .procedure = "ApplyTextForeColor",
        .swatches = {texttext},
        .rules = {
            {kTexts, {{"ForeColor"}}},
            {{"tree"}, {{"ForeColor"}, {"SelectionBackColor"}}},
            {{"lynx"},
             {{"ForeColor"}, {"ForeColorEdit"}, {"ForeColorHdr"}, {"BackColorSel"}, {"FocusRectColor"}, {"GridColor"}},
             A::GridFore},
        },
    });
    std::vector<const char *> textBacks = kTexts;
    textBacks.push_back("imagelist");
    steps.push_back({
        .procedure = "ApplyTextBackColor",
        .swatches = {textback},
        .rules = {
            {textBacks, {{"BackColor"}}},
            {{"tree"}, {{"BackColor"}, {"SelectionForeColor"}}},
            {{"lynx"},
             {{"BackColor"}, {"BackColorBkg"}, {"BackColorEdit"}, {"BackColorEvenRows"}, {"ForeColorSel"},
              {"ThemeCustomColorFrom"}, {"ThemeCustomColorTo"}},
             A::GridBack},
        },
    });
    steps.push_back({.procedure = "ApplyImportantButtonBackColor", .swatches = {importantbuttontopback},
                     .rules = {{kImportantButtons, {{"BackColor"}, {"BackStartColor"}}}}});
    steps.push_back({.procedure = "ApplyImportantButtonForeColor", .swatches = {importantbuttontext},
                     .rules = {{kImportantButtons, {{"ForeColor"}}}}});
    const std::vector<Assignment> barSets{{"BackColor"}, {"ForeColor", V::BarText}, {"BarColor", V::BarFill},
                                          {"Segments", V::Segments}, {"BarForeColor", V::BarFillText}};
    steps.push_back({.procedure = "ApplyPBarColors", .swatches = {pbback, pbtext, pbbar, pbfilltext},
                     .rules = {{kPBars, barSets}}, .segmentsBox = "CheckPBarSmooth", .yieldsAfterPass = 1});
    steps.push_back({.procedure = "ApplyMBarColors", .swatches = {mbback, mbtext, mbbar, mbfilltext},
                     .rules = {{{"mbar"}, barSets}}, .segmentsBox = "CheckMBarSmooth", .yieldsAfterPass = 1});
    steps.push_back({.procedure = "ApplyTitleButtonBackColor", .swatches = {titlebuttonback}, .titleBar = {"ButtonBackColor"}});
    steps.push_back({.procedure = "ApplyTitleButtonForeColor", .swatches = {titlebuttonfore}, .titleBar = {"ButtonForeColor"}});
    steps.push_back({.procedure = "ApplyTitleButtonXBackColor", .swatches = {titlebuttonxback}, .titleBar = {"ButtonXBackColor"}});
    steps.push_back({.procedure = "ApplyTitleButtonXForeColor", .swatches = {titlebuttonxfore}, .titleBar = {"ButtonXForeColor"}});
    return steps;
}

}

std::span<const Step> Steps()
{
    static const std::vector<Step> steps = build();
    return steps;
}

}
