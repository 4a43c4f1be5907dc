// Prints the MIME type that the freedesktop MIME database gives each file, once by its
// name and contents and once by its contents alone, as "NAME CONTENT-TYPE" lines. The
// database is read from XDG_DATA_DIRS, so a test can point it at an installed tree.

#include <QCoreApplication>
#include <QFile>
#include <QMimeDatabase>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QMimeDatabase mime;
    for (const QString& path : QCoreApplication::arguments().mid(1)) {
        const QString byName = mime.mimeTypeForFile(path).name();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QString byContent = mime.mimeTypeForData(&file).name();
        std::printf("%s %s\n", qPrintable(byName), qPrintable(byContent));
    }
    return 0;
}
