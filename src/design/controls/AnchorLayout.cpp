#include "controls/AnchorLayout.h"

#include "controls/ColorMath.h"

namespace AnchorLayout {

namespace {

bool anchored(const QString &flags, int index)
{
    return index < flags.size() && flags.at(index) == QLatin1Char('T');
}

}

TagFlags splitTag(const QString &tag)
{
    if (tag.isEmpty() || !tag.contains(QLatin1String("*/")))
        return {QString(), tag};
    return {tag.left(4), tag.size() < 6 ? tag : tag.mid(6)};
}

Move moveFor(const QString &flags, const Geometry &geometry, int dH, int dW)
{
    enum { Left, Top, Right, Bottom };
    Move move;
    if (anchored(flags, Bottom)) {
        if (anchored(flags, Top)) {
            const int height = ColorMath::roundHalfEven(geometry.height + dH);
            if (height > 0)
                move.height = height;
        } else {
            move.top = geometry.top + dH;
        }
    }
    if (anchored(flags, Right)) {
        if (anchored(flags, Left)) {
            if (ColorMath::roundHalfEven(geometry.width + dW) > 0)
                move.width = geometry.width + dW;
        } else {
            move.left = geometry.left + dW;
        }
    }
    return move;
}

}
