// The program's look, shared by its dialogs: the white dialog background
// with black text, the light-yellow input colour, the Japanese fonts.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace look {

inline constexpr QColor kInputYellow{250, 250, 200};  // fields and result
inline constexpr QColor kBlue{0, 0, 255};             // result and maker's name
inline const QString kDialogFace = QStringLiteral("ＭＳ Ｐゴシック");

// Where the dialog face is missing, IPAPGothic (fonts-ipafont-gothic) stands
// in for it under both its Japanese and its Latin name.
void InstallFontSubstitutions();

// White background, static texts and button surroundings with black text.
// Child windows (message boxes, popup lists) keep the system colours.
void ApplyDialogColours(QWidget* dialog);

// A font of `face` with a height in pixels (a cell height, as the dialogs'
// fixed-size fonts are given) and a weight on the 100-900 scale.
QFont PixelFont(const QString& face, int pixels, int weight);

}  // namespace look
