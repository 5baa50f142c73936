// Writes the window icon as a PNG for the desktop's icon theme, so that the one picture the
// windows carry stays the only source of it.
#include <QImage>
#include <QString>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ICON.xpm ICON.png\n", argv[0]);
        return 2;
    }
    QImage icon;
    if (!icon.load(QString::fromLocal8Bit(argv[1]), "XPM")) {
        std::fprintf(stderr, "cannot read %s as XPM\n", argv[1]);
        return 1;
    }
    if (!icon.convertToFormat(QImage::Format_ARGB32).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
