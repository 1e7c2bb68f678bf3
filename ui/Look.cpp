#include "Look.h"

#include <QFontDatabase>
#include <QPalette>
#include <QWidget>

namespace look {

void InstallFontSubstitutions()
{
    const QString standIn = QStringLiteral("IPAPGothic");
    for (const QString& face : {kDialogFace, QStringLiteral("MS PGothic")}) {
        if (!QFontDatabase::families().contains(face)) {
            QFont::insertSubstitution(face, standIn);
        }
    }
}

void ApplyDialogColours(QWidget* dialog)
{
    QPalette palette = dialog->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    dialog->setPalette(palette);
    dialog->setAutoFillBackground(true);
}

QFont PixelFont(const QString& face, int pixels, int weight)
{
    QFont font(face);
    font.setPixelSize(pixels);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace look
