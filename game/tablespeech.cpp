// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablespeech.h"

#include "card.h"
#include "highscoretable.h"
#include "tablemodel.h"

#include <QLocale>
#include <QStringList>

namespace TableSpeech {

namespace {

// Thousands grouped, as they are spoken: "1,600".
QString number(qint64 value)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(value);
}

// The card as the spot shows it: its name when face up.
QString card(const Spot &spot)
{
    return spot.faceUp ? Card::name(spot.card) : QStringLiteral("Face-down card");
}

const Spot &waste(const TableModel &model)
{
    return model.spot(Tableau::WasteSpot);
}

QString stockLeft(const TableModel &model)
{
    const int left = Tableau::StockSize - model.state().NextStock;
    return left == 0 ? QStringLiteral("The stock is empty.")
                     : QStringLiteral("%1 in the stock.").arg(left);
}

bool isEmptyPlace(const HighScoreTable &table, int place)
{
    const HighScoreTable::Entry &entry = table.entry(place);
    return entry.score == 0 && entry.name.trimmed().isEmpty();
}

QString cardList(const TableModel &model, const QList<int> &spots)
{
    QStringList names;
    for (int index : spots)
        names.append(card(model.spot(index)));
    return names.join(QStringLiteral(", "));
}

} // namespace

QList<int> openSpots(const TableModel &model)
{
    QList<int> open;
    for (int index = 0; index < Tableau::TableauSize; ++index) {
        const Spot &spot = model.spot(index);
        if (spot.onTable && spot.faceUp && spot.clickable)
            open.append(index);
    }
    return open;
}

QString played(const TableModel &model, int spot, const QList<int> &openBefore)
{
    QStringList words{card(waste(model)) + QLatin1Char('.')};
    if (spot == 0 || spot == 1)
        words.append(QStringLiteral("Peak bonus %1.").arg(number(Rules::PeakBonus)));
    words.append(QStringLiteral("Run %1. Score %2.")
                     .arg(model.runShown())
                     .arg(number(model.scoreShown())));
    QList<int> turnedUp;
    for (int index : openSpots(model)) {
        if (!openBefore.contains(index))
            turnedUp.append(index);
    }
    if (!turnedUp.isEmpty())
        words.append(QStringLiteral("Turned up: %1.").arg(cardList(model, turnedUp)));
    return words.join(QLatin1Char(' '));
}

QString refused(const TableModel &model, int spot)
{
    return QStringLiteral("%1 does not follow %2.").arg(card(model.spot(spot)), card(waste(model)));
}

QString turned(const TableModel &model)
{
    return card(waste(model)) + QStringLiteral(". ") + stockLeft(model);
}

QString dealt(const TableModel &model, int focusedSpot)
{
    QString words = QStringLiteral("New deal. Waste card %1. Open cards: %2. %3")
                        .arg(card(waste(model)), cardList(model, openSpots(model)), stockLeft(model));
    // A spot that is covered now hands the focus on, and the screen reader says where.
    if (openSpots(model).contains(focusedSpot))
        words += QStringLiteral(" Focus on %1.").arg(card(model.spot(focusedSpot)));
    return words;
}

QString state(const TableModel &model)
{
    if (waste(model).card == 0)
        return QStringLiteral("No cards dealt yet. Deal starts a game.");
    const QString score = QStringLiteral("Score %1.").arg(number(model.scoreShown()));
    const QString run = QStringLiteral("Run %1.").arg(model.runShown());
    const QString wasteCard = QStringLiteral("Waste card %1.").arg(card(waste(model)));
    if (model.idleButtonsShown()) {
        // The cards of the last game still play until the next deal.
        return QStringList{QStringLiteral("Game over."), score, wasteCard, run, stockLeft(model)}
            .join(QLatin1Char(' '));
    }
    return QStringList{wasteCard, score, run, secondsLeft(model.clockShown()),
                       QStringLiteral("Round %1.").arg(model.state().RoundNum), stockLeft(model)}
        .join(QLatin1Char(' '));
}

QString secondsLeft(int seconds)
{
    return seconds == 1 ? QStringLiteral("1 second left.")
                        : QStringLiteral("%1 seconds left.").arg(seconds);
}

QString cardBonus(int cards)
{
    return QStringLiteral("Card bonus %1.").arg(number(qint64(cards) * Rules::CardBonus));
}

QString timeBonus(int seconds)
{
    return QStringLiteral("Time bonus %1.").arg(number(qint64(seconds) * Rules::TimeBonus));
}

QString nextRound(const TableModel &model)
{
    return QStringLiteral("Score %1. Round: %2.")
        .arg(number(model.scoreShown()))
        .arg(model.state().RoundNum);
}

QString gameOver(const TableModel &model)
{
    return QStringLiteral("GAME OVER. Final score %1.").arg(number(model.state().Score));
}

QString highScorePlace(const HighScoreTable &table, int place)
{
    if (isEmptyPlace(table, place))
        return QStringLiteral("Place %1 is empty.").arg(place);
    const HighScoreTable::Entry &entry = table.entry(place);
    return QStringLiteral("Place %1: %2, %3.").arg(place).arg(entry.name.trimmed(), number(entry.score));
}

QString highScoreList(const HighScoreTable &table)
{
    QStringList words{QStringLiteral("High scores.")};
    for (int place = 1; place <= HighScoreTable::EntryCount; ++place) {
        int last = place;
        while (last < HighScoreTable::EntryCount && isEmptyPlace(table, place) && isEmptyPlace(table, last + 1))
            ++last;
        if (last == place) {
            words.append(highScorePlace(table, place));
        } else if (place == 1 && last == HighScoreTable::EntryCount) {
            words.append(QStringLiteral("All %1 places are empty.").arg(HighScoreTable::EntryCount));
        } else {
            words.append(QStringLiteral("Places %1 to %2 are empty.").arg(place).arg(last));
        }
        place = last;
    }
    return words.join(QLatin1Char(' '));
}

} // namespace TableSpeech
