// Build-time helper: paints the window icon into the hicolor theme layout,
// iconwriter <folder> <size>... writes <folder>/<size>x<size>/marigold.png.

#include "artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 3) {
        QTextStream(stderr) << "usage: " << arguments.value(0) << " <folder> <size>..." << Qt::endl;
        return 2;
    }

    const QDir folder(arguments.at(1));
    for (const QString &argument : arguments.mid(2)) {
        bool isNumber = false;
        const int size = argument.toInt(&isNumber);
        if (!isNumber || size < 1) {
            QTextStream(stderr) << "not an icon size: " << argument << Qt::endl;
            return 2;
        }
        const QString sizeFolder = QStringLiteral("%1x%1").arg(size);
        const QString path = folder.filePath(sizeFolder + QStringLiteral("/marigold.png"));
        if (!folder.mkpath(sizeFolder) || !Artwork::windowIconImage(size).save(path)) {
            QTextStream(stderr) << "could not write " << path << Qt::endl;
            return 1;
        }
    }
    return 0;
}
