#include "DialogUnits.h"

#include <QFontMetrics>
#include <QString>

DialogBaseUnits DialogBaseUnits::ForFont(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(width / 26 + 1) / 2, metrics.height()};
}

int DialogBaseUnits::MulDiv(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    const long long half = (c < 0 ? -c : c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const long long magnitude = ((product < 0 ? -product : product) + half) / (c < 0 ? -c : c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

QRect DialogBaseUnits::ToPixels(int left, int top, int width, int height) const
{
    // The dialog manager converts position and size each on its own.
    return {ToPixelsX(left), ToPixelsY(top), ToPixelsX(width), ToPixelsY(height)};
}
