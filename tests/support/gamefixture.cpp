// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamefixture.h"

#include "userinput.h"
#include "table/cardimage.h"
#include "table/frmmarigold.h"
#include "game/tableau.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>

GameFixture::GameFixture(const MakeRecords &makeRecords)
    : records(makeRecords ? makeRecords(dir.path()) : std::make_unique<RecordFiles>(dir.path()))
    , book(*records, random)
{
    services.book = &book;
    services.clock = &clock;
    services.prompts = &prompts;
    services.records = records.get();
    services.random = &random;
    services.announcer = &announcer;
    forms = std::make_unique<Forms>(services);
}

GameFixture::~GameFixture()
{
    forms.reset();
}

void GameFixture::writeFile(const QString &fileName, const QByteArray &bytes) const
{
    QFile file(path(fileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path(fileName)));
}

QByteArray GameFixture::readFile(const QString &fileName) const
{
    QFile file(path(fileName));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

frmMarigold *GameFixture::table()
{
    frmMarigold *window = forms->marigold();
    if (!window->isVisible())
        window->show();
    return window;
}

CardImage *GameFixture::spot(int index)
{
    return table()->imgSpot(index);
}

QLabel *GameFixture::label(const char *name)
{
    auto *found = table()->findChild<QLabel *>(QLatin1String(name));
    if (!found)
        qFatal("no label %s", name);
    return found;
}

QPushButton *GameFixture::button(const char *name)
{
    auto *found = table()->findChild<QPushButton *>(QLatin1String(name));
    if (!found)
        qFatal("no button %s", name);
    return found;
}

QString GameFixture::text(const char *labelName)
{
    return label(labelName)->text();
}

QList<int> GameFixture::clickableSpots()
{
    QList<int> spots;
    for (int index = 0; index < Tableau::SpotCount; ++index) {
        if (spot(index)->isClickable() && !spot(index)->isHidden())
            spots.append(index);
    }
    return spots;
}

bool GameFixture::click(int index)
{
    return UserInput::click(spot(index));
}

void GameFixture::putCard(int index, int card)
{
    table()->model().arrange(index, Spot{qint16(card), true, true, true});
    table()->showTable();
}

void GameFixture::take(int index)
{
    Spot spot = table()->model().spot(index);
    spot.onTable = false;
    table()->model().arrange(index, spot);
    table()->showTable();
}

bool GameFixture::click(const char *buttonName)
{
    return UserInput::click(button(buttonName));
}
