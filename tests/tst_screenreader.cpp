// SPDX-License-Identifier: GPL-3.0-or-later
// A whole game played by ear with the real Orca: real key presses on the built game under a
// real window manager, and only what Orca says to go by. The cards of a deal are random,
// so the player here finds a card that plays, one that does not and the stock by
// listening, as a blind player does.
#include "support/desktopsession.h"
#include "support/screenreadersession.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

const QStringList RankWords = {"Ace", "Two",  "Three", "Four", "Five",  "Six", "Seven",
                               "Eight", "Nine", "Ten", "Jack", "Queen", "King"};

int rankOf(const QString &card)
{
    return int(RankWords.indexOf(card.section(QLatin1Char(' '), 0, 0))) + 1;
}

bool follows(const QString &card, const QString &waste)
{
    const int gap = qAbs(rankOf(card) - rankOf(waste));
    return gap == 1 || gap == 12;
}

QRegularExpression exactly(const QString &pattern)
{
    return QRegularExpression(QLatin1Char('^') + pattern + QLatin1Char('$'));
}

QString quoted(const QString &text)
{
    return QRegularExpression::escape(text);
}

const QString CardName = QStringLiteral("(\\w+ of \\w+)");
const QString Number = QStringLiteral("[\\d,]+");

// The player: presses keys and listens. Keeps what it heard after each key, for the
// transcript, and what it knows of the table from what it heard.
struct Player
{
    Player(DesktopSession &desktop, ScreenReaderSession &reader)
        : desktop(desktop)
        , reader(reader)
    {
    }

    DesktopSession &desktop;
    ScreenReaderSession &reader;
    QStringList transcript;
    QString lastKey = QStringLiteral("(start)");
    qsizetype transcriptTo = 0; // utterances already written against a key
    qsizetype heard = 0;        // utterances already waited for

    QString waste;
    QStringList open;

    // Presses a key and waits until Orca says something matching `answer` in reply; the
    // answer, or an empty match when it never came.
    QRegularExpressionMatch press(const QString &key, const QRegularExpression &answer, int timeoutMs = 10000)
    {
        note();
        lastKey = key;
        if (!desktop.key(key))
            return {};
        return hear(answer, timeoutMs);
    }
    // Waits for more to be said after what was heard already.
    QRegularExpressionMatch hear(const QRegularExpression &answer, int timeoutMs = 10000)
    {
        const qsizetype at = reader.waitFor(answer, heard, timeoutMs);
        if (at < 0)
            return {};
        heard = at + 1;
        return answer.match(reader.spoken().at(at));
    }
    // Writes what was said since the last key against that key.
    void note()
    {
        const QStringList said = reader.spokenSince(transcriptTo);
        transcriptTo += said.size();
        transcript.append(QStringLiteral("%1 -> %2").arg(lastKey, said.join(QLatin1String(" | "))));
        heard = std::max(heard, transcriptTo);
    }

    // Tabs until Orca names `name` as the focus; false when it never comes round.
    bool tabTo(const QString &name)
    {
        const QRegularExpression focus(QStringLiteral("^(.*) push button\\.?$"));
        for (int presses = 0; presses < 16; ++presses) {
            const QRegularExpressionMatch said = press(QStringLiteral("Tab"), focus);
            if (!said.hasMatch())
                return false;
            if (said.captured(1) == name || said.captured(1).startsWith(name + QLatin1Char(',')))
                return true;
        }
        return false;
    }
    // The deal's sentence: the waste card and the open cards.
    bool heardDeal(int timeoutMs = 20000)
    {
        const QRegularExpressionMatch deal =
            hear(exactly(QStringLiteral("New deal\\. Waste card %1\\. Open cards: (.*)\\. 25 in the stock\\.( Focus on .*)?")
                             .arg(CardName)),
                 timeoutMs);
        waste = deal.captured(1);
        open = deal.captured(2).split(QStringLiteral(", "));
        return deal.hasMatch();
    }
    // Plays by ear while the round's clock has more than 25 seconds left: a card that
    // follows when one is open, else the stock, until three cards have played and the
    // stock has turned once. False when Orca did not say what a key press did.
    bool playFor(const QDeadlineTimer &roundClock, int &stockLeft)
    {
        int moves = 0, turns = 0;
        while (roundClock.remainingTime() > 25000 && (moves < 3 || turns < 1)) {
            const auto playable = std::find_if(open.cbegin(), open.cend(),
                                               [&](const QString &card) { return follows(card, waste); });
            if (playable != open.cend() && (moves < 3 || turns > 0)) {
                const QString card = *playable;
                if (!tabTo(card) || !play(card))
                    return false;
                ++moves;
                continue;
            }
            if (stockLeft == 0)
                break;
            if (!turnStock(stockLeft))
                return false;
            ++turns;
        }
        return turns > 0;
    }
    // Turns the stock from wherever the focus is; true when Orca says the new waste card
    // and the cards left.
    bool turnStock(int &stockLeft)
    {
        if (!tabTo(QStringLiteral("Stock")))
            return false;
        const QRegularExpressionMatch turn = press(
            QStringLiteral("space"),
            exactly(QStringLiteral("%1\\. (\\d+ in the stock|The stock is empty)\\.").arg(CardName)));
        --stockLeft;
        const QString left = stockLeft ? QStringLiteral("%1 in the stock").arg(stockLeft)
                                       : QStringLiteral("The stock is empty");
        if (!turn.hasMatch() || turn.captured(2) != left)
            return false;
        waste = turn.captured(1);
        return true;
    }
    // Plays `card` from the focus on it; true when Orca says what the move did.
    bool play(const QString &card)
    {
        const QRegularExpressionMatch move = press(
            QStringLiteral("space"),
            exactly(QStringLiteral("%1\\. (Peak bonus %2\\. )?Run \\d+\\. Score %2\\.( Turned up: (.*)\\.)?")
                        .arg(quoted(card), Number)));
        if (!move.hasMatch())
            return false;
        // The card has left its spot; the focus went on, and Orca says where.
        hear(QRegularExpression(QStringLiteral("push button")), 3000);
        waste = card;
        open.removeOne(card);
        if (!move.captured(3).isEmpty())
            open += move.captured(3).split(QStringLiteral(", "));
        return true;
    }
};

} // namespace

class tst_ScreenReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aWholeGamePlaysByEar()
    {
        DesktopSession desktop;
        DESKTOPSESSION_START_OR_SKIP(desktop, DesktopSession::WindowManager::Openbox);
        ScreenReaderSession reader(desktop, QStringLiteral(MARIGOLD_ORCA_LAUNCHER));
        SCREENREADERSESSION_START_OR_SKIP(reader);
        QProcess *game = desktop.launch(QStringLiteral(MARIGOLD_PROGRAM), {}, desktop.scratchPath(),
                                        reader.environment());
        Player player(desktop, reader);
        const auto writeTranscript = qScopeGuard([&] {
            player.note();
            const QString path = qEnvironmentVariable("MARIGOLD_TRANSCRIPT");
            QFile file(path);
            if (!path.isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::Text))
                file.write(player.transcript.join(QLatin1Char('\n')).toUtf8() + '\n');
        });
        QVERIFY(desktop.waitForWindow(QStringLiteral("^Marigold$"), game->processId()));
        QVERIFY(player.hear(exactly(QStringLiteral("Deal push button\\.?")), 20000).hasMatch());

        // The deal says the new table, then the focus moves to Take Score.
        player.press(QStringLiteral("space"), QRegularExpression());
        QVERIFY(player.heardDeal());
        const QDeadlineTimer roundClock(60000);

        // A card that does not follow is said in words. Should every open card follow, the
        // stock turns until one does not.
        int stockLeft = 25;
        bool refusedHeard = false;
        while (!refusedHeard && stockLeft > 20) {
            const auto notFollowing = std::find_if(player.open.cbegin(), player.open.cend(),
                                                   [&](const QString &card) { return !follows(card, player.waste); });
            if (notFollowing == player.open.cend()) {
                QVERIFY(player.turnStock(stockLeft));
                continue;
            }
            const QString card = *notFollowing;
            QVERIFY(player.tabTo(card));
            QVERIFY(player.press(QStringLiteral("space"),
                                 exactly(QStringLiteral("%1 does not follow %2\\.").arg(quoted(card), quoted(player.waste))))
                        .hasMatch());
            refusedHeard = true;
        }
        QVERIFY(refusedHeard);

        // Play by ear for a while: a card that follows when one is open, else the stock.
        QVERIFY(player.playFor(roundClock, stockLeft));
        // S says the whole table.
        QVERIFY(player.press(QStringLiteral("s"),
                             exactly(QStringLiteral("Waste card %1\\. Score %2\\. Run \\d+\\. \\d+ seconds left\\. "
                                                    "Round 1\\. %3 in the stock\\.")
                                         .arg(quoted(player.waste), Number).arg(stockLeft)))
                    .hasMatch());

        // Take Score: the time bonus once, the next round, and its deal.
        QVERIFY(player.tabTo(QStringLiteral("Take Score")));
        QVERIFY(player.press(QStringLiteral("space"), exactly(QStringLiteral("Time bonus %1\\.").arg(Number))).hasMatch());
        QVERIFY(player.hear(exactly(QStringLiteral("Score %1\\. Round: 2\\.").arg(Number)), 20000).hasMatch());
        QVERIFY(player.heardDeal());
        stockLeft = 25;
        QVERIFY(player.playFor(QDeadlineTimer(60000), stockLeft));

        // The second round ends the game: GAME OVER, and the name prompt of a first high score.
        QVERIFY(player.tabTo(QStringLiteral("Take Score")));
        QVERIFY(player.press(QStringLiteral("space"), exactly(QStringLiteral("Time bonus %1\\.").arg(Number))).hasMatch());
        const QRegularExpressionMatch gameOver =
            player.hear(exactly(QStringLiteral("GAME OVER\\. Final score (%1)\\.").arg(Number)), 20000);
        QVERIFY(gameOver.hasMatch());
        const QString finalScore = gameOver.captured(1);
        QVERIFY(player.hear(QRegularExpression(QStringLiteral("^You Got A High Score!! Enter Your Name:"))).hasMatch());
        player.note();
        player.lastKey = QStringLiteral("(typed) Blind Player");
        QVERIFY(desktop.type(QStringLiteral("Blind Player")));
        QVERIFY(player.hear(exactly(QStringLiteral("r ?"))).hasMatch());
        // The high-score window reads its list with its OK button, and the arrows go through it.
        QVERIFY(player.press(QStringLiteral("Return"),
                             exactly(QStringLiteral("High scores\\. Place 1: Blind Player, %1\\. Places 2 to 10 are "
                                                    "empty\\. The up and down arrows read the list place by place\\.")
                                         .arg(quoted(finalScore))))
                    .hasMatch());
        QVERIFY(player.press(QStringLiteral("Down"),
                             exactly(QStringLiteral("Place 1: Blind Player, %1\\.").arg(quoted(finalScore))))
                    .hasMatch());
        QVERIFY(player.press(QStringLiteral("Down"), exactly(QStringLiteral("Place 2 is empty\\."))).hasMatch());
        QVERIFY(player.press(QStringLiteral("space"), QRegularExpression(QStringLiteral("push button"))).hasMatch());

        // After the game the cards left still play until Deal, and say what they did.
        QVERIFY(player.press(QStringLiteral("s"), QRegularExpression(QStringLiteral("^Game over\\. Score "))).hasMatch());
        // The focus came back to the table's first button; the stock, or a card of the old
        // table, is a Tab or two away.
        QVERIFY(player.tabTo(stockLeft > 0 ? QStringLiteral("Stock") : player.open.value(0)));
        QVERIFY(player.press(QStringLiteral("space"),
                             QRegularExpression(QStringLiteral("^%1( does not follow %1\\.|\\. .*Run \\d+\\. Score %2\\."
                                                               "|\\. (\\d+ in the stock|The stock is empty)\\.)")
                                                    .arg(CardName, Number)))
                    .hasMatch());

        // The card-back chooser reads its instruction, and each back as the highlight moves.
        QVERIFY(player.tabTo(QStringLiteral("Menu")));
        QVERIFY(player.press(QStringLiteral("space"), QRegularExpression(QStringLiteral("push button"))).hasMatch());
        QVERIFY(player.tabTo(QStringLiteral("Change Cardbacks")));
        QVERIFY(player.press(QStringLiteral("space"),
                             QRegularExpression(QStringLiteral("Highlight your card choice and click OK\\.")))
                    .hasMatch());
        QVERIFY(player.press(QStringLiteral("Right"),
                             exactly(QStringLiteral("Highlighted: Card back 2: a red lattice of diamonds with gold studs\\.")))
                    .hasMatch());
        QVERIFY(player.press(QStringLiteral("Right"), exactly(QStringLiteral("Highlighted: Card back 3: .*"))).hasMatch());
        QVERIFY(player.press(QStringLiteral("Escape"), QRegularExpression(QStringLiteral("push button"))).hasMatch());
    }
};

QTEST_GUILESS_MAIN(tst_ScreenReader)
#include "tst_screenreader.moc"
