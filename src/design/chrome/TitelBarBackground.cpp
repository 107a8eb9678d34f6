#include "chrome/TitelBarBackground.h"

#include "chrome/TitelBarColors.h"

#include <cmath>

namespace titelbar {

namespace {

constexpr std::uint32_t kDotGrey = 0x5A5A5A;
constexpr std::uint32_t kDotWhite = 0xFFFFFF;

struct Ramps {
    Ramp left, right, border;
};

void planStyle0(const BackgroundInput &in, int n, const Ramps &r, BackgroundPlan &plan)
{
    for (int i = 0; i <= n; ++i)
        plan.lines.push_back({0, i, in.width, i, r.left.at(i)});
}

// Styles 1 to 8: a straight boundary at the cover, slanting left (1-4) or right (5-8), with three
// thin stripes beside it in the even styles.
void planSlanted(const BackgroundInput &in, int n, const Ramps &r, BackgroundPlan &plan)
{
    const bool slantRight = in.style >= 5;
    const bool stripes = in.style == 2 || in.style == 4 || in.style == 6 || in.style == 8;
    for (int i = 0; i <= n; ++i) {
        const int split = (in.width - in.cover) + (slantRight ? i : -i);
        plan.lines.push_back({0, i, split, i, r.left.at(i)});
        plan.lines.push_back({split, i, in.width, i, r.right.at(i)});
        if (stripes) {
            for (int offset : {2, 6, 11})
                plan.lines.push_back({split + offset, i, split + offset - 1, i, r.left.at(i)});
        }
    }
}

// Styles 9 to 12: a boundary curved along a tangent.
void planCurved(const BackgroundInput &in, int n, const Ramps &r, BackgroundPlan &plan)
{
    const int top = nearest((in.height - n) / 2.0);
    for (int k = 0; k <= n; ++k) {
        const double t = -1.0 + 2.0 * k / n;
        const int w = nearest(std::tan(t) * n / 1.3);
        const int row = top + k;
        const int split = (in.width - in.cover) + w;
        plan.lines.push_back({0, row, split, row, r.left.at(row)});
        plan.lines.push_back({split, row, in.width, row, r.right.at(row)});
    }
}

void planTab(const BackgroundInput &in, int n, const Ramps &r, BackgroundPlan &plan)
{
    int cut = in.cover;
    int bx = 0;
    // Laid out right to left, so the last shown button is the leftmost one.
    for (const ButtonBox *b : {&in.buttons.close, &in.buttons.maximize, &in.buttons.minimize, &in.buttons.help}) {
        if (b->shown) {
            cut = nearest(b->left - 1.2 * n);
            bx = b->left;
        }
    }
    const int tabRight = in.width - n / 2;
    for (int i = 0; i <= n; ++i) {
        plan.lines.push_back({0, i, cut + i, i, r.left.at(i)});
        if (i > 4)
            plan.lines.push_back({cut + i, i, tabRight + i, i, r.right.at(i)});
    }

    const ButtonBox &x = in.buttons.close;
    const int pitch = (x.height - 2) / 4;
    for (int k = 0; k <= 3; ++k) {
        for (int j = 0; j <= 3 - k; ++j) {
            plan.pixels.push_back({bx - 5 - j * in.dotStep, x.top + 2 + k * pitch, kDotGrey});
            plan.pixels.push_back({bx - 6 - j * in.dotStep, x.top + 3 + k * pitch, kDotWhite});
        }
        for (int j = 0; j <= k; ++j) {
            const int px = x.left + x.width + 3 + j * in.dotStep;
            const int py = x.top + 3 + k * pitch;
            plan.pixels.push_back({px, py, kDotGrey});
            plan.pixels.push_back({px + 1, py + 1, kDotWhite});
        }
    }
}

void planHalves(const BackgroundInput &in, int n, const Ramps &r, BackgroundPlan &plan)
{
    for (int i = 0; i <= n; ++i)
        plan.lines.push_back({0, i, in.width, i, r.left.at(i)});
    for (int i = 0; i <= n; ++i)
        plan.lines.push_back({0, n + i, in.width, n + i, r.right.at(i)});
    const int cut = nearest(in.buttons.minimize.left - n - 1.2 * n);
    for (int i = 0; i <= 2 * n - 1; ++i)
        plan.lines.push_back({cut + i, i, in.width, i, r.border.at(i)});
    if (in.borderNormal >= 1) {
        const int w = in.width;
        const int h = in.height;
        plan.lines.push_back({0, h - 1, w, h - 1, in.borderDarkLight});
        plan.lines.push_back({w - 1, 0, w - 1, h - 1, in.borderDarkLight});
        plan.lines.push_back({0, 0, w, 0, in.borderHighLight});
        plan.lines.push_back({0, 0, 0, h, in.borderHighLight});
    }
}

}

int RowCount(int style, int height)
{
    int n = height;
    if (style == StyleHalves)
        n = nearest(n / 2.0);
    return n < 1 ? 25 : n;
}

BackgroundPlan PlanBackground(const BackgroundInput &in)
{
    const int n = RowCount(in.style, in.height);
    const Ramps ramps{Ramp(in.c1, in.c2, n), Ramp(in.c3, in.c4, n),
                      Ramp(in.borderHighLight, in.borderDarkLight, 2 * n)};
    BackgroundPlan plan;
    switch (in.style) {
    case 0:
        planStyle0(in, n, ramps, plan);
        break;
    case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8:
        planSlanted(in, n, ramps, plan);
        break;
    case 9: case 10: case 11: case 12:
        planCurved(in, n, ramps, plan);
        break;
    case StyleTab:
        planTab(in, n, ramps, plan);
        break;
    case StyleHalves:
        planHalves(in, n, ramps, plan);
        break;
    default:
        break; // any other value paints no background and leaves the colour key
    }
    return plan;
}

}
