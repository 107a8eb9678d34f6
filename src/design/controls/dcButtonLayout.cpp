#include "controls/dcButtonLayout.h"

#include <algorithm>

namespace dcButtonLayout {

Placement place(QSize client, QSize caption, bool hasCaption, bool hasPicture, QSize picture,
                int pictureAlignment)
{
    const int W = client.width();
    const int H = client.height();
    Placement p;
    p.content = QRect(Margin, Margin, W - 2 * Margin, H - 2 * Margin);

    const int tw = hasCaption ? caption.width() : 0;
    const int th = hasCaption ? caption.height() : 0;
    p.caption = hasCaption ? QRect((W - tw) / 2, (H - th) / 2, tw, th) : QRect(W / 2, H / 2, 0, 0);
    if (!hasPicture)
        return p;

    // Larger than any screen, and small enough that the sums below cannot overflow.
    constexpr int largest = 1 << 16;
    const int pw = std::clamp(picture.width(), 0, largest);
    const int ph = std::clamp(picture.height(), 0, largest);
    const int gap = hasCaption ? 2 : 0;
    int px = 0;
    int py = 0;
    switch (pictureAlignment) {
    case PictureCentre:
        px = (W - pw) / 2;
        py = (H - ph) / 2;
        break;
    case PictureBottom:
        px = (W - pw) / 2;
        py = H - ph - Margin;
        break;
    case PictureBelowCaption: {
        const int down = (H - (th + ph)) / 2;
        p.caption.moveTop(down);
        px = (W - pw) / 2;
        py = th + down;
        break;
    }
    case PictureLeft:
        px = Margin;
        py = (H - ph) / 2;
        break;
    case PictureLeftOfCaption: {
        const int right = (W - (pw + gap + tw)) / 2;
        px = right;
        py = (H - ph) / 2;
        p.caption.moveLeft(pw + gap + right);
        break;
    }
    case PictureRight:
        px = W - pw - Margin;
        py = (H - ph) / 2;
        break;
    case PictureRightOfCaption: {
        const int right = (W - (tw + gap + pw)) / 2;
        p.caption.moveLeft(right);
        px = tw + gap + right;
        py = (H - ph) / 2;
        break;
    }
    case PictureTop:
        px = (W - pw) / 2;
        py = Margin;
        break;
    case PictureAboveCaption: {
        const int down = (H - (ph + th)) / 2;
        px = (W - pw) / 2;
        py = down;
        p.caption.moveTop(ph + down);
        break;
    }
    default:
        break;
    }
    p.picture = QRect(px, py, pw, ph);
    return p;
}

bool leftRounded(int buttonShape) { return buttonShape == 0 || buttonShape == 2; }
bool rightRounded(int buttonShape) { return buttonShape == 0 || buttonShape == 1; }

Shape shape(QSize client, int buttonShape)
{
    const int W = client.width();
    const int H = client.height();
    Shape s;
    s.roundRect = QRect(0, 0, W + 1, H + 1);
    const int half = ColorMath::roundHalfEven(W / 2.0);
    if (!leftRounded(buttonShape))
        s.squares.emplace_back(0, 0, half, H + 1);
    if (!rightRounded(buttonShape))
        s.squares.emplace_back(half, 0, W + 1 - half, H + 1);
    return s;
}

std::vector<ColorMath::Color> faceGradientRows(ColorMath::Color top, ColorMath::Color bottom,
                                               int height, float midPercent)
{
    using namespace ColorMath;
    std::vector<Color> rows;
    if (height <= 0)
        return rows;
    rows.reserve(static_cast<std::size_t>(height));
    const float percent = std::clamp(midPercent, 0.0f, 100.0f);
    const Color mid = blend(top, bottom, 0.5f);
    float m = percent * static_cast<float>(height - 2) / 100.0f;
    if (m == 0.0f)
        m = 1.0f;
    const double md = m;
    auto along = [](Color from, Color to, double t) {
        auto ch = [t](int a, int b) { return roundHalfEven(a + t * (b - a)); };
        return rgb(ch(red(from), red(to)), ch(green(from), green(to)), ch(blue(from), blue(to)));
    };
    for (int y = 0; y < height; ++y) {
        if (y <= md)
            rows.push_back(along(top, mid, y / md));
        else
            rows.push_back(along(mid, bottom, (y - md) / (height - 1 - md)));
    }
    return rows;
}

}
