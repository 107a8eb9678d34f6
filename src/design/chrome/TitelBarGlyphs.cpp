#include "chrome/TitelBarGlyphs.h"

#include <initializer_list>
#include <vector>

namespace titelbar {

namespace {

// One element of an outline in 1/64 pixel of a 64-pixel character, the unit the font engine
// hands outlines out in, so that every coordinate is exact.
struct OutlinePoint {
    QPainterPath::ElementType type;
    int x;
    int y;
};

QPainterPath outlineOf(std::initializer_list<OutlinePoint> points)
{
    using E = QPainterPath::ElementType;
    const std::vector<OutlinePoint> p(points);
    const auto at = [](const OutlinePoint &q) { return QPointF(q.x / 64.0, q.y / 64.0); };
    QPainterPath path;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i].type == E::MoveToElement)
            path.moveTo(at(p[i]));
        else if (p[i].type == E::LineToElement)
            path.lineTo(at(p[i]));
        else if (p[i].type == E::CurveToElement && i + 2 < p.size()) {
            path.cubicTo(at(p[i]), at(p[i + 1]), at(p[i + 2]));
            i += 2;
        }
    }
    return path;
}

constexpr auto M = QPainterPath::MoveToElement;
constexpr auto L = QPainterPath::LineToElement;
constexpr auto C = QPainterPath::CurveToElement;
constexpr auto D = QPainterPath::CurveToDataElement;

}

const ButtonCharacter *ButtonCharacterOf(TitelBarButtonLook::Glyph glyph)
{
    // Bold Nimbus Roman, DejaVu Sans Mono and bold DejaVu Sans at 64 pixels.
    static const ButtonCharacter help{
        "?", "Times New Roman", true,
        outlineOf({{M, 1036, -946}, {C, 1036, -1245}, {D, 1069, -1302}, {D, 1327, -1462}, {C, 1700, -1692}, {D, 1823, -1859},
                   {D, 1823, -2142}, {C, 1823, -2552}, {D, 1499, -2822}, {D, 1003, -2822}, {C, 553, -2822}, {D, 233, -2576},
                   {D, 233, -2232},  {C, 233, -2048},  {D, 348, -1921},  {D, 512, -1921},   {C, 668, -1921},  {D, 770, -2027},
                   {D, 770, -2183},  {C, 770, -2265},  {D, 750, -2314},  {D, 680, -2392},   {C, 631, -2445},  {D, 618, -2470},
                   {D, 618, -2511},  {C, 618, -2609},  {D, 717, -2674},  {D, 864, -2674},   {C, 1085, -2674}, {D, 1212, -2482},
                   {D, 1212, -2142}, {C, 1212, -1929}, {D, 1171, -1790}, {D, 1036, -1532},  {C, 938, -1343},  {D, 905, -1249},
                   {D, 905, -1135},  {C, 905, -1089},  {D, 905, -1069},  {D, 913, -946},    {L, 1036, -946},  {M, 979, -639},
                   {C, 790, -639},   {D, 631, -479},   {D, 631, -295},   {C, 631, -98},     {D, 782, 53},     {D, 979, 53},
                   {C, 1171, 53},    {D, 1323, -98},   {D, 1323, -291},  {C, 1323, -483},   {D, 1167, -639},  {D, 979, -639}})};
    static const ButtonCharacter minimize{
        "-", "Lucida Console", false, outlineOf({{M, 712, -1286}, {L, 1754, -1286}, {L, 1754, -958}, {L, 712, -958}, {L, 712, -1286}})};
    static const ButtonCharacter close{
        "x", "Verdana", true,
        outlineOf({{M, 910, -1146}, {L, 102, -2240}, {L, 860, -2240}, {L, 1318, -1576}, {L, 1782, -2240}, {L, 2540, -2240},
                   {L, 1732, -1150}, {L, 2580, 0}, {L, 1822, 0}, {L, 1318, -708}, {L, 820, 0}, {L, 62, 0}, {L, 910, -1146}})};
    switch (glyph) {
    case TitelBarButtonLook::Glyph::Help:
        return &help;
    case TitelBarButtonLook::Glyph::Minimize:
        return &minimize;
    case TitelBarButtonLook::Glyph::Close:
        return &close;
    default:
        return nullptr;
    }
}

}
