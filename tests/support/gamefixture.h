// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakeannouncer.h"
#include "fakeclock.h"
#include "fakeprompts.h"
#include "game/randomgenerator.h"
#include "platform/services.h"
#include "records/highscorebook.h"
#include "records/recordfiles.h"
#include "windows/forms.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>

class CardImage;
class frmMarigold;
class QLabel;
class QPushButton;

// A whole game on a fake clock and scripted prompts, keeping its records in a scratch
// folder. The table is created only when first asked for, so a test can lay record
// files down before the game starts.
class GameFixture
{
public:
    using MakeRecords = std::function<std::unique_ptr<RecordFiles>(const QString &folder)>;

    // `makeRecords` gives the records a test's own RecordFiles over the scratch folder.
    explicit GameFixture(const MakeRecords &makeRecords = {});
    ~GameFixture();

    QString path(const QString &fileName) const { return dir.filePath(fileName); }
    void writeFile(const QString &fileName, const QByteArray &bytes) const;
    QByteArray readFile(const QString &fileName) const;

    frmMarigold *table();
    CardImage *spot(int index);
    QLabel *label(const char *name);
    QPushButton *button(const char *name);
    QString text(const char *labelName);

    // The spots that would answer a click now.
    QList<int> clickableSpots();
    // A click in the middle of what shows of a spot or a button of the table, as a
    // player's; false when the player could not click it there (hidden or covered).
    bool click(int spot);
    // Sets a position up without playing to it: a face-up, clickable card on a spot,
    // or a spot's card taken off the table.
    void putCard(int spot, int card);
    void take(int spot);
    bool click(const char *buttonName);

    QTemporaryDir dir;
    FakeClock clock;
    FakePrompts prompts;
    FakeAnnouncer announcer;
    RandomGenerator random;
    std::unique_ptr<RecordFiles> records;
    HighScoreBook book;
    Services services;
    std::unique_ptr<Forms> forms;
};
