#include "AboutDlg.h"

#include "DialogUnits.h"
#include "Look.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace {

// Controls in dialog units, template order.
struct AboutControl {
    const char* name;
    const char* text;  // nullptr for the icon
    int x, y, width, height;
};

constexpr AboutControl kAboutControls[] = {
    {"IconLabel", nullptr, 11, 9, 20, 20},
    {"VersionLabel", "Densimo Version 1.00", 40, 15, 119, 8},
    {"IDOK", "OK", 178, 7, 50, 14},
    {"LegalLabel", "Copyright © 2026 Tavenor", 39, 38, 93, 8},
    {"MakerLabel", "Tavenor", 39, 51, 169, 8},
};

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("IDD_ABOUTBOX"));
    setWindowTitle(QStringLiteral("Densimoのﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont dialogFont(look::kDialogFace);
    dialogFont.setPointSize(9);
    setFont(dialogFont);
    look::ApplyDialogColours(this);
    const DialogBaseUnits units = DialogBaseUnits::ForFont(dialogFont);

    for (const AboutControl& spec : kAboutControls) {
        QWidget* widget = nullptr;
        QRect rect = units.ToPixels(spec.x, spec.y, spec.width, spec.height);
        if (spec.text == nullptr) {
            auto* icon = new QLabel(this);
            icon->setPixmap(QIcon(QStringLiteral(":/icons/densimo-32.png")).pixmap(32, 32));
            rect.setSize(QSize(32, 32));  // an icon control takes the icon's size
            widget = icon;
        } else if (QStringLiteral("IDOK") == QLatin1String(spec.name)) {
            auto* ok = new QPushButton(QString::fromUtf8(spec.text), this);
            ok->setDefault(true);
            connect(ok, &QPushButton::clicked, this, &QDialog::accept);
            widget = ok;
        } else {
            auto* label = new QLabel(QString::fromUtf8(spec.text), this);
            label->setTextFormat(Qt::PlainText);  // no prefix processing
            widget = label;
        }
        widget->setObjectName(QLatin1String(spec.name));
        widget->setGeometry(rect);
    }
    findChild<QPushButton*>(QStringLiteral("IDOK"))->setFocus();
    setFixedSize(units.ToPixels(235, 73));
}
