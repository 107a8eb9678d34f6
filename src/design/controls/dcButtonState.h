#pragma once

#include <QChar>
#include <QString>

// Rules of a dcButton that need no widget: visual states, access keys, picture choice.
namespace dcButtonState {

enum Visual { Normal = 0, Hot = 1, Down = 2, Disabled = 3 };

// What armed the button: the number of the mouse button last pressed (1 the left one), made
// ArmedForClick by every keyboard or programmatic click as well, and ArmedDoubleClick after a
// double click. Only ArmedForClick lets the click path click.
inline constexpr int ArmedForClick = 1;
inline constexpr int ArmedDoubleClick = 8;

// The caption's access key in lower case, or a null QChar when it has none. "&&" is a literal
// ampersand and marks nothing.
QChar accessKey(const QString &caption);

// A toggle that is on paints as Down in every enabled state.
int paintedState(int requested, bool checkBoxMode, bool value, bool enabled);

// How far caption and picture move right and down: a pressed push button 1 pixel, a toggle that
// is on 2 (1 while disabled).
int contentOffset(int paintedState, bool value);

enum class Picture { None, Normal, Hot, Down };
Picture statePicture(int paintedState, bool value, bool hasNormal, bool hasHot, bool hasDown);

// PictureOpacity is shown as a percentage and kept as a single-precision fraction.
float opacityFraction(int percent);
int opacityPercent(float fraction);

// The drawn side of PictureSize 1-4 (16, 24, 32, 48 pixels), 0 for every other value.
int standardPictureSide(int pictureSize);

}
