#include "controls/dcButtonState.h"

#include "controls/ColorMath.h"

#include <algorithm>

namespace dcButtonState {

QChar accessKey(const QString &caption)
{
    const int length = static_cast<int>(caption.size());
    if (length < 2)
        return {};
    // 0-based index of the character before the last one; the last "&" marks nothing.
    int from = length - 2;
    while (from >= 0) {
        const int hit = static_cast<int>(caption.lastIndexOf(QLatin1Char('&'), from));
        if (hit < 0)
            return {};
        if (hit == 0)
            return caption.at(1).toLower();
        if (caption.at(hit - 1) != QLatin1Char('&'))
            return caption.at(hit + 1).toLower();
        from = hit - 2;
    }
    return {};
}

int paintedState(int requested, bool checkBoxMode, bool value, bool enabled)
{
    return (checkBoxMode && value && enabled) ? Down : requested;
}

int contentOffset(int paintedState, bool value)
{
    if (paintedState == Disabled)
        return value ? 1 : 0;
    if (paintedState != Down && !value)
        return 0;
    if (paintedState == Down && value)
        return 2;
    return 1;
}

Picture statePicture(int paintedState, bool value, bool hasNormal, bool hasHot, bool hasDown)
{
    if (!hasNormal)
        return Picture::None;
    if (paintedState == Hot && hasHot)
        return Picture::Hot;
    if (paintedState == Down || value) {
        if (hasDown)
            return Picture::Down;
        if (hasHot)
            return Picture::Hot;
    }
    return Picture::Normal;
}

float opacityFraction(int percent)
{
    return static_cast<float>(std::clamp(percent, 10, 100)) / 100.0f;
}

int opacityPercent(float fraction)
{
    return ColorMath::roundHalfEven(static_cast<double>(fraction) * 100.0);
}

int standardPictureSide(int pictureSize)
{
    switch (pictureSize) {
    case 1: return 16;
    case 2: return 24;
    case 3: return 32;
    case 4: return 48;
    default: return 0;
    }
}

}
