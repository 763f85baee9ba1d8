// SPDX-License-Identifier: GPL-3.0-or-later
// A whole game played by ear with the real Orca: real key presses on the built game under a real
// window manager, and only what Orca says to go by. The deal is random, so the player finds a card
// that plays, one that does not and the stock by listening, as a blind player does.
#include "support/desktopsession.h"
#include "support/screenreadersession.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

const QStringList RankWords = {"Ace",   "Two",  "Three", "Four", "Five",  "Six", "Seven",
                               "Eight", "Nine", "Ten",   "Jack", "Queen", "King"};
const QString CardName = "(\\w+ of \\w+)", Number = "[\\d,]+";

bool follows(const QString &card, const QString &waste)
{
    const auto rank = [](const QString &name) { return RankWords.indexOf(name.section(' ', 0, 0)); };
    const qsizetype gap = qAbs(rank(card) - rank(waste));
    return gap == 1 || gap == 12;
}

// Presses keys and listens; keeps what it heard after each key for the transcript, and the table as heard.
struct Player
{
    DesktopSession &desktop;
    ScreenReaderSession &reader;
    QStringList transcript{};
    QString lastKey = "(start)";
    qsizetype transcriptTo = 0; // utterances already written against a key
    qsizetype heard = 0;        // utterances already waited for
    QString waste{};
    QStringList open{};
    int stockLeft = 25;

    // Waits for an utterance after those heard that is the whole of `answer`; its match, empty if none came.
    QRegularExpressionMatch hear(const QString &answer, int timeoutMs = 10000)
    {
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(answer));
        QRegularExpressionMatch match;
        DesktopSession::waitUntil([&] {
            const QStringList said = reader.spoken();
            while (heard < said.size() && !match.hasMatch())
                match = pattern.match(said.at(heard++));
            return match.hasMatch();
        }, timeoutMs);
        return match;
    }
    QRegularExpressionMatch press(const QString &key, const QString &answer)
    {
        note(key);
        return desktop.key(key) ? hear(answer) : QRegularExpressionMatch();
    }
    bool says(const QString &key, const QString &answer) { return press(key, answer).hasMatch(); }
    // Writes what was said since the last key against that key; `next` is the key that follows.
    void note(const QString &next)
    {
        const QStringList said = reader.spoken().mid(transcriptTo);
        transcriptTo += said.size();
        transcript.append(lastKey + " -> " + said.join(" | "));
        heard = std::max(heard, transcriptTo);
        lastKey = next;
    }
    // Tabs until Orca names `name` as the focus; false when it never comes round.
    bool tabTo(const QString &name)
    {
        for (int presses = 0; presses < 16; ++presses) {
            const QString focus = press("Tab", "(.*) push button\\.?").captured(1);
            if (focus.isEmpty() || focus == name || focus.startsWith(name + ','))
                return !focus.isEmpty();
        }
        return false;
    }
    bool heardDeal()
    {
        const QRegularExpressionMatch deal = hear(
            "New deal\\. Waste card " + CardName + "\\. Open cards: (.*)\\. 25 in the stock\\.( Focus on .*)?", 20000);
        waste = deal.captured(1);
        open = deal.captured(2).split(", ");
        stockLeft = 25;
        return deal.hasMatch();
    }
    // From wherever the focus is; true when Orca says the new waste card and the cards left.
    bool turnStock()
    {
        const QString left = --stockLeft ? QString::number(stockLeft) + " in the stock" : "The stock is empty";
        waste = tabTo("Stock") ? press("space", CardName + "\\. " + left + "\\.").captured(1) : QString();
        return !waste.isEmpty();
    }
    // From the focus on `card`; true when Orca says what the move did.
    bool play(const QString &card)
    {
        const QRegularExpressionMatch move =
            press("space", card + "\\. (Peak bonus " + Number + "\\. )?Run \\d+\\. Score " + Number
                               + "\\.( Turned up: (.*)\\.)?");
        hear(".* push button\\.?", 3000); // the focus left the card's spot, so Orca names where it went
        waste = card;
        open.removeOne(card);
        open += move.captured(3).split(", ", Qt::SkipEmptyParts);
        return move.hasMatch();
    }
    // The first open card that follows the waste card, or that does not; empty when none.
    QString openCard(bool following) const
    {
        const auto card =
            std::find_if(open.cbegin(), open.cend(), [&](const QString &c) { return follows(c, waste) == following; });
        return card == open.cend() ? QString() : *card;
    }
    // Until three cards have played and the stock has turned, or 25 seconds are left: a card that
    // follows when one is open, else the stock. False when Orca did not say what a key press did.
    bool playFor(const QDeadlineTimer &roundClock)
    {
        int moves = 0, turns = 0;
        while (roundClock.remainingTime() > 25000 && (moves < 3 || turns < 1)) {
            if (const QString card = openCard(true); !card.isEmpty() && moves < 3) {
                if (!tabTo(card) || !play(card))
                    return false;
                ++moves;
            } else if (stockLeft == 0) {
                break;
            } else if (!turnStock()) {
                return false;
            } else {
                ++turns;
            }
        }
        return turns > 0;
    }
    bool takeScore() { return tabTo("Take Score") && says("space", "Time bonus " + Number + "\\."); }
};

} // namespace

class tst_ScreenReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aWholeGamePlaysByEar()
    {
        if (const QString missing = ScreenReaderSession::missingTools().join(", "); !missing.isEmpty()) {
            std::printf("SKIPPED: not installed: %s\n", qPrintable(missing));
            std::fflush(stdout);
            QSKIP(qPrintable("not installed: " + missing));
        }
        DesktopSession desktop;
        DESKTOPSESSION_START_OR_SKIP(desktop, DesktopSession::WindowManager::Openbox);
        ScreenReaderSession reader(desktop, MARIGOLD_ORCA_LAUNCHER);
        QVERIFY2(reader.start(), qPrintable(reader.errorString()));
        QProcess *game = desktop.launch(MARIGOLD_PROGRAM, {}, desktop.scratchPath(), reader.environment());
        Player player{desktop, reader};
        const auto writeTranscript = qScopeGuard([&] {
            player.note({});
            QFile file(qEnvironmentVariable("MARIGOLD_TRANSCRIPT"));
            if (!file.fileName().isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::Text))
                file.write(player.transcript.join('\n').toUtf8() + '\n');
        });
        QVERIFY(desktop.waitForWindow("^Marigold$", game->processId()));
        QVERIFY(player.hear("Deal push button\\.?", 20000).hasMatch());
        QVERIFY(player.says("space", ".*"));
        QVERIFY(player.heardDeal());
        const QDeadlineTimer roundClock(60000);

        // A card that does not follow is said in words; should every open card follow, the stock turns.
        while (player.openCard(false).isEmpty() && player.stockLeft > 20)
            QVERIFY(player.turnStock());
        const QString refused = player.openCard(false);
        QVERIFY(!refused.isEmpty() && player.tabTo(refused));
        QVERIFY(player.says("space", refused + " does not follow " + player.waste + "\\."));

        QVERIFY(player.playFor(roundClock));
        QVERIFY(player.says("s", "Waste card " + player.waste + "\\. Score " + Number + "\\. Run \\d+\\. \\d+ seconds "
                                 "left\\. Round 1\\. " + QString::number(player.stockLeft) + " in the stock\\."));
        // The time bonus once, the next round, and its deal.
        QVERIFY(player.takeScore());
        QVERIFY(player.hear("Score " + Number + "\\. Round: 2\\.", 20000).hasMatch());
        QVERIFY(player.heardDeal());
        QVERIFY(player.playFor(QDeadlineTimer(60000)));

        // The second round ends the game: GAME OVER, and the name prompt of a first high score.
        QVERIFY(player.takeScore());
        const QString finalScore = player.hear("GAME OVER\\. Final score (" + Number + ")\\.", 20000).captured(1);
        QVERIFY(!finalScore.isEmpty());
        QVERIFY(player.hear("You Got A High Score!! Enter Your Name:.*").hasMatch());
        player.note("(typed) Blind Player");
        QVERIFY(desktop.type("Blind Player"));
        QVERIFY(player.hear("r ?").hasMatch());
        // The high-score window reads its list with its OK button, and the arrows go through it.
        QVERIFY(player.says("Return", "High scores\\. Place 1: Blind Player, " + finalScore + "\\. Places 2 to 10 are "
                                      "empty\\. The up and down arrows read the list place by place\\."));
        QVERIFY(player.says("Down", "Place 1: Blind Player, " + finalScore + "\\."));
        QVERIFY(player.says("Down", "Place 2 is empty\\."));
        QVERIFY(player.says("space", ".* push button\\.?"));

        // After the game the cards left still play until Deal, and say what they did. The focus is
        // back on the table's first button; the stock, or a card of the old table, is a Tab or two away.
        QVERIFY(player.says("s", "Game over\\. Score " + finalScore + "\\. .*"));
        QVERIFY(player.tabTo(player.stockLeft > 0 ? QString("Stock") : player.open.value(0)));
        QVERIFY(player.says("space", CardName + "( does not follow " + CardName + "\\.|\\. .*Run \\d+\\. Score "
                                         + Number + "\\..*|\\. (\\d+ in the stock|The stock is empty)\\.)"));

        // The card-back chooser reads its instruction, and each back as the highlight moves.
        QVERIFY(player.tabTo("Menu") && player.says("space", ".* push button\\.?"));
        QVERIFY(player.tabTo("Change Cardbacks"));
        QVERIFY(player.says("space", "Highlight your card choice and click OK\\..*"));
        QVERIFY(player.says("Right", "Highlighted: Card back 2: a red lattice of diamonds with gold studs\\."));
        QVERIFY(player.says("Right", "Highlighted: Card back 3: .*"));
        QVERIFY(player.says("Escape", ".* push button\\.?"));
    }
};

QTEST_GUILESS_MAIN(tst_ScreenReader)
#include "tst_screenreader.moc"
