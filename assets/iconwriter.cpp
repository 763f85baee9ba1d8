// SPDX-License-Identifier: GPL-3.0-or-later
// Build-time helper: paints the window icon into the hicolor theme layout,
//   iconwriter <folder> <size>...      writes <folder>/<size>x<size>/marigold.png;
// and the window's own two sizes into a source file of pixels for the program,
//   iconwriter --pixels <file.cpp>.

#include "artwork.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

namespace {

// The sizes of Artwork::windowIcon(): a title bar's and a task bar's.
constexpr std::array<int, 2> WindowSizes = {16, 32};

bool writePixels(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&file);
    out << "// Painted by marigold-iconwriter from Artwork::windowIconImage; not to be edited.\n"
        << "#include \"assets/windowiconpixels.h\"\n\nnamespace {\n";
    for (const int side : WindowSizes) {
        const QImage image =
            Artwork::windowIconImage(side).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        out << "\nconst quint32 Pixels" << side << "[] = {";
        for (int y = 0; y < side; ++y) {
            const auto *row = reinterpret_cast<const quint32 *>(image.constScanLine(y));
            for (int x = 0; x < side; ++x)
                out << (x % 8 ? " " : "\n    ") << "0x" << QString::number(row[x], 16) << ",";
        }
        out << "\n};\n";
    }
    out << "\n} // namespace\n\nconst std::array<WindowIconPixels::Size, 2> WindowIconPixels::Sizes = {{\n";
    for (const int side : WindowSizes)
        out << "    {" << side << ", Pixels" << side << "},\n";
    out << "}};\n";
    out.flush();
    return file.error() == QFileDevice::NoError;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--pixels")) {
        if (writePixels(arguments.at(2)))
            return 0;
        QTextStream(stderr) << "could not write " << arguments.at(2) << Qt::endl;
        return 1;
    }
    if (arguments.size() < 3) {
        QTextStream(stderr) << "usage: " << arguments.value(0) << " <folder> <size>...\n       "
                            << arguments.value(0) << " --pixels <file.cpp>" << Qt::endl;
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
