#include "designfonts.h"

#include <QStringList>

namespace DesignFonts {

namespace {

const QString Futura = QStringLiteral("Futura Md BT");
const QString SansSerif = QStringLiteral("MS Sans Serif");
const QString Times = QStringLiteral("Times New Roman");

QFont font(const QString &family, qreal pointSize, bool bold)
{
    QFont f(family);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

} // namespace

void installSubstitutions()
{
    // BetecknaGS is a geometric face with a true bold, the nearest cousin of Futura
    // in Debian's fonts-beteckna; the Liberation faces are metric twins of the others.
    QFont::insertSubstitutions(Futura, QStringList() << QStringLiteral("BetecknaGS")
                                                     << QStringLiteral("Beteckna")
                                                     << QStringLiteral("Sans Serif"));
    QFont::insertSubstitutions(SansSerif, QStringList() << QStringLiteral("Liberation Sans")
                                                        << QStringLiteral("Arial")
                                                        << QStringLiteral("Sans Serif"));
    QFont::insertSubstitutions(Times, QStringList() << QStringLiteral("Liberation Serif")
                                                    << QStringLiteral("Serif"));
}

QFont futura(qreal pointSize, bool bold)
{
    return font(Futura, pointSize, bold);
}

QFont msSansSerif(qreal pointSize, bool bold)
{
    return font(SansSerif, pointSize, bold);
}

QFont timesNewRoman(qreal pointSize, bool bold)
{
    return font(Times, pointSize, bold);
}

QFont dialog()
{
    return msSansSerif(8.25);
}

} // namespace DesignFonts
