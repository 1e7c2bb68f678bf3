// Draws the program's icon (PNG at 16, 32, 48 and 256 pixels, a Windows .ico
// of those, and SVG) and
// its 36 x 17 logo from one description, into the directory given.
// Usage: densimo_render_art OUTPUT_DIR   (run with QT_QPA_PLATFORM=offscreen)
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QTextStream>

namespace {

// Icon geometry on a 32 x 32 grid: a white glass hydrometer (bulb and a
// black-and-white chequered stem) in a cyan field, beside a red 15℃.
constexpr QColor kCyan{0, 200, 230};
constexpr QColor kRed{220, 0, 0};
constexpr QRectF kBulb{2.5, 13.0, 8.0, 16.0};  // ellipse
constexpr double kStemX = 5.0, kStemWidth = 3.0, kStemTop = 2.0, kStemBottom = 14.0;
constexpr int kStemSquares = 6;  // alternating black and white, top to bottom
constexpr double kTextX = 12.0, kTextBaseline = 23.0, kTextPixels = 9.5;
const QString kText = QStringLiteral("15℃");

void DrawIcon(QPainter& p, int size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.fillRect(QRectF(0, 0, 32, 32), kCyan);
    p.setPen(QPen(Qt::black, 0.8));
    p.setBrush(Qt::white);
    p.drawEllipse(kBulb);
    const double square = (kStemBottom - kStemTop) / kStemSquares;
    for (int i = 0; i < kStemSquares; ++i) {
        p.setBrush(i % 2 == 0 ? Qt::black : Qt::white);
        p.drawRect(QRectF(kStemX, kStemTop + i * square, kStemWidth, square));
    }
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(static_cast<int>(kTextPixels * size / 32.0 + 0.5));
    p.save();
    p.scale(32.0 / size, 32.0 / size);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kRed);
    p.drawText(QPointF(kTextX * size / 32.0, kTextBaseline * size / 32.0), kText);
    p.restore();
}

QString IconSvg()
{
    QString svg;
    QTextStream s(&svg);
    s << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
         "viewBox=\"0 0 32 32\">\n";
    s << "  <title>Densimo</title>\n";
    s << "  <rect width=\"32\" height=\"32\" fill=\"" << kCyan.name() << "\"/>\n";
    s << "  <ellipse cx=\"" << kBulb.center().x() << "\" cy=\"" << kBulb.center().y() << "\" rx=\""
      << kBulb.width() / 2 << "\" ry=\"" << kBulb.height() / 2
      << "\" fill=\"#ffffff\" stroke=\"#000000\" stroke-width=\"0.8\"/>\n";
    const double square = (kStemBottom - kStemTop) / kStemSquares;
    for (int i = 0; i < kStemSquares; ++i) {
        s << "  <rect x=\"" << kStemX << "\" y=\"" << kStemTop + i * square << "\" width=\""
          << kStemWidth << "\" height=\"" << square << "\" fill=\""
          << (i % 2 == 0 ? "#000000" : "#ffffff")
          << "\" stroke=\"#000000\" stroke-width=\"0.8\"/>\n";
    }
    s << "  <text x=\"" << kTextX << "\" y=\"" << kTextBaseline << "\" font-family=\"IPAPGothic, "
      << "sans-serif\" font-size=\"" << kTextPixels << "\" font-weight=\"bold\" fill=\""
      << kRed.name() << "\">" << kText << "</text>\n";
    s << "</svg>\n";
    return svg;
}

// The logo: a blue drop on a white ground, cut by a black meniscus line.
QImage Logo()
{
    QImage image(36, 17, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath drop;
    drop.moveTo(18, 1);
    drop.cubicTo(24, 8, 25, 11, 25, 12);
    drop.arcTo(QRectF(11, 6, 14, 10), 0, -180);
    drop.cubicTo(11, 11, 12, 8, 18, 1);
    p.fillPath(drop, QColor(0, 0, 255));
    p.setPen(QPen(Qt::black, 1.0));
    p.drawLine(QPointF(2, 10.5), QPointF(34, 10.5));
    return image;
}

// A Windows icon file holding the PNG images as they are (Vista and later
// read PNG entries): header, one directory entry per image, the images.
QByteArray IcoFile(const QList<QByteArray>& pngs, const QList<int>& sizes)
{
    QByteArray ico;
    auto put16 = [&ico](int v) {
        ico.append(static_cast<char>(v & 0xFF)).append(static_cast<char>((v >> 8) & 0xFF));
    };
    auto put32 = [&](qsizetype v) {
        put16(static_cast<int>(v & 0xFFFF));
        put16(static_cast<int>((v >> 16) & 0xFFFF));
    };
    put16(0);
    put16(1);  // icon
    put16(static_cast<int>(pngs.size()));
    qsizetype offset = 6 + 16 * pngs.size();
    for (qsizetype i = 0; i < pngs.size(); ++i) {
        const int size = sizes[i] >= 256 ? 0 : sizes[i];  // 0 stands for 256
        ico.append(static_cast<char>(size)).append(static_cast<char>(size));
        ico.append('\0').append('\0');  // no palette, reserved
        put16(1);                       // planes
        put16(32);                      // bits per pixel
        put32(pngs[i].size());
        put32(offset);
        offset += pngs[i].size();
    }
    for (const QByteArray& png : pngs) {
        ico.append(png);
    }
    return ico;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QList<int> sizes = {16, 32, 48, 256};
    QList<QByteArray> pngs;
    for (int size : sizes) {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        DrawIcon(painter, size);
        painter.end();
        QFile file(out.filePath(QStringLiteral("icons/densimo-%1.png").arg(size)));
        if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG")) {
            return 1;
        }
        file.close();
        file.open(QIODevice::ReadOnly);
        pngs.append(file.readAll());
    }
    QFile ico(out.filePath(QStringLiteral("icons/densimo.ico")));
    if (!ico.open(QIODevice::WriteOnly) || ico.write(IcoFile(pngs, sizes)) < 0) {
        return 1;
    }
    QFile svg(out.filePath(QStringLiteral("icons/densimo.svg")));
    if (!svg.open(QIODevice::WriteOnly)) {
        return 1;
    }
    svg.write(IconSvg().toUtf8());
    return Logo().save(out.filePath(QStringLiteral("logo.png"))) ? 0 : 1;
}
