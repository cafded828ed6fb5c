// Draws the program's SVG icon at the sizes the window hands the window manager, as Qt's SVG icon engine draws
// them, into PNG files for the program's resources: the window then shows the same icon without drawing the SVG
// at every start.
// Usage: nagitori_window_icon_render <icon.svg> <output folder> <size>...  (writes <folder>/nagitori-<size>.png)
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <icon.svg> <output folder> <size>...\n", argv[0]);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: not a picture\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int side = std::atoi(argv[i]);
        QSize size = renderer.defaultSize();
        size.scale(side, side, Qt::KeepAspectRatio);
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(0);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QString file = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/nagitori-%1.png").arg(side);
        if (!image.save(file, "PNG")) {
            std::fprintf(stderr, "%s: cannot write\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
