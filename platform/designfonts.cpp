// SPDX-License-Identifier: GPL-3.0-or-later
#include "designfonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <array>

namespace DesignFonts {

namespace {

const QString Futura = QStringLiteral("Futura Md BT");
const QString SansSerif = QStringLiteral("MS Sans Serif");
const QString Times = QStringLiteral("Times New Roman");

// A design face and the faces that stand in for it, nearest first. BetecknaGS is a
// geometric face with a true bold, the nearest cousin of Futura in Debian's
// fonts-beteckna; the Liberation faces are metric twins of the others.
struct Face
{
    const QString &designName;
    QStringList standIns;
    QString family; // what the windows ask for
};

enum FaceIndex { FuturaFace, SansSerifFace, TimesFace, FaceCount };

std::array<Face, FaceCount> &faces()
{
    static std::array<Face, FaceCount> all = {{
        {Futura, {QStringLiteral("BetecknaGS"), QStringLiteral("Beteckna"), QStringLiteral("Sans Serif")}, {}},
        {SansSerif, {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Sans Serif")}, {}},
        {Times, {QStringLiteral("Liberation Serif"), QStringLiteral("Serif")}, {}},
    }};
    return all;
}

// The installed face the substitutions would pick, asked for by its own name: a name
// fontconfig does not know costs it a list of fallbacks at every first use, about a
// tenth of the game's start. Where no stand-in is installed the design name stays, and
// the substitutions pick as before.
QString installedFamily(const Face &face, const QStringList &installed)
{
    if (installed.contains(face.designName, Qt::CaseInsensitive))
        return face.designName;
    for (const QString &standIn : face.standIns) {
        if (installed.contains(standIn, Qt::CaseInsensitive))
            return standIn;
    }
    return face.designName;
}

QFont font(const Face &face, qreal pointSize, bool bold)
{
    QFont f(face.family.isEmpty() ? face.designName : face.family);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

} // namespace

void installSubstitutions()
{
    const QStringList installed = QFontDatabase::families();
    for (Face &face : faces()) {
        QFont::insertSubstitutions(face.designName, face.standIns);
        face.family = installedFamily(face, installed);
    }
}

QFont futura(qreal pointSize, bool bold)
{
    return font(faces()[FuturaFace], pointSize, bold);
}

QFont msSansSerif(qreal pointSize, bool bold)
{
    return font(faces()[SansSerifFace], pointSize, bold);
}

QFont timesNewRoman(qreal pointSize, bool bold)
{
    return font(faces()[TimesFace], pointSize, bold);
}

QFont dialog()
{
    return msSansSerif(8.25);
}

} // namespace DesignFonts
