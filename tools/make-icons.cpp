// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the program's icon (data/icons/zolbin.svg) at the sizes of the hicolor icon theme, as
// data/icons/hicolor/<n>x<n>/apps/zolbin.png. Run after a change of the drawing:
//   cmake --build B --target make-icons && B/tools/make-icons data/icons

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-icons DATA/ICONS\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QSvgRenderer drawing(folder + QStringLiteral("/zolbin.svg"));
    if (!drawing.isValid()) {
        std::fprintf(stderr, "make-icons: cannot read %s/zolbin.svg\n", argv[1]);
        return 1;
    }
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        drawing.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        const QString dir = folder + QStringLiteral("/hicolor/%1x%1/apps").arg(size);
        QDir().mkpath(dir);
        if (!image.save(dir + QStringLiteral("/zolbin.png"))) {
            std::fprintf(stderr, "make-icons: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
