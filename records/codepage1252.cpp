// SPDX-License-Identifier: GPL-3.0-or-later
#include "codepage1252.h"

#include <QList>

#include <array>
#include <optional>

namespace CodePage1252 {

namespace {

// 0x80..0x9F are where Windows-1252 differs from Latin-1. The five unassigned bytes
// map to the control characters of the same value, as Windows itself decodes them.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<char> byteFor(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == c)
            return char(0x80 + i);
    }
    return std::nullopt;
}

bool isMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
        || category == QChar::Mark_Enclosing;
}

QString fromCodePoint(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

// Each letter of the decomposed text takes those of its accents, in order, that
// compose with it into one character of the code page; the others are dropped.
QString composeWhatFits(const QString &text)
{
    QString result;
    QString letter;
    for (const char32_t c : text.normalized(QString::NormalizationForm_D).toUcs4()) {
        if (!isMark(c)) {
            result += letter;
            letter = fromCodePoint(c);
            continue;
        }
        const QString composed = (letter + fromCodePoint(c)).normalized(QString::NormalizationForm_C);
        const QList<uint> codePoints = composed.toUcs4();
        if (codePoints.size() == 1 && byteFor(codePoints.first()))
            letter = composed;
    }
    return result + letter;
}

} // namespace

QString nearest(const QString &text)
{
    QString result;
    for (const char32_t c : composeWhatFits(text).toUcs4()) {
        const QString kept = fromCodePoint(c);
        // Only for characters the code page lacks: the compatibility forms of some it
        // has ("½", "²", "µ") would lose something.
        const QString plain = byteFor(c) ? kept : composeWhatFits(kept.normalized(QString::NormalizationForm_KC));
        result += holds(plain) ? plain : kept;
    }
    // Composed again, so that what stays outside the code page is one code point, as it
    // will be one '?': a Hangul syllable comes out of decomposition as two or three jamo.
    // The code page's own characters are composed already and stay as they are.
    return result.normalized(QString::NormalizationForm_C);
}

bool holds(const QString &text)
{
    for (const char32_t c : text.toUcs4()) {
        if (!byteFor(c))
            return false;
    }
    return true;
}

QByteArray encode(const QString &text)
{
    QByteArray bytes;
    const QList<uint> codePoints = nearest(text).toUcs4();
    bytes.reserve(codePoints.size());
    for (const uint c : codePoints)
        bytes.append(byteFor(c).value_or('?'));
    return bytes;
}

QString decode(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(HighControls[b - 0x80]) : QChar(b));
    }
    return text;
}

} // namespace CodePage1252
