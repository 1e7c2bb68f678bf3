// Dialog units to pixels, the way Windows lays out dialog templates: the
// horizontal base unit is the average width of "A"-"Z" and "a"-"z" in the
// dialog font, rounded; the vertical base unit is the font's height; a
// dialog unit is a quarter of the horizontal and an eighth of the vertical
// base unit, each product rounded as MulDiv rounds.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

struct DialogBaseUnits {
    int x = 0;  // pixels per 4 horizontal dialog units
    int y = 0;  // pixels per 8 vertical dialog units

    static DialogBaseUnits ForFont(const QFont& font);

    // (a * b) / c rounded half away from zero, as Win32 MulDiv.
    static int MulDiv(int a, int b, int c);

    int ToPixelsX(int du) const { return MulDiv(du, x, 4); }
    int ToPixelsY(int du) const { return MulDiv(du, y, 8); }
    // A rectangle given in dialog units (position and size) in pixels.
    QRect ToPixels(int x, int y, int width, int height) const;
    QSize ToPixels(int width, int height) const { return {ToPixelsX(width), ToPixelsY(height)}; }
};
