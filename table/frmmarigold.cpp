// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmmarigold.h"

#include "assets/artwork.h"
#include "assets/cardpainter.h"
#include "cardimage.h"
#include "clockbar.h"
#include "game/randomgenerator.h"
#include "game/tablespeech.h"
#include "platform/actionguard.h"
#include "platform/announcer.h"
#include "platform/designfonts.h"
#include "platform/gameclock.h"
#include "platform/prompts.h"
#include "records/highscorebook.h"
#include "records/recordfiles.h"
#include "tablebutton.h"
#include "tablekeyboard.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

using namespace std::chrono_literals;

namespace {

constexpr QColor Blue(0, 0, 255);
constexpr QColor Red(255, 0, 0);
constexpr QColor Yellow(255, 255, 0);
constexpr QColor Green(0, 255, 0);
constexpr QColor Cyan(0, 255, 255);
constexpr QColor Magenta(255, 0, 255);

constexpr std::array<QPoint, Tableau::SpotCount> SpotPositions = {{
    {128, 16}, {368, 16},                                                   // row 0
    {88, 56},  {168, 56},  {328, 56},  {408, 56},                           // row 1
    {48, 96},  {128, 96},  {208, 96},  {288, 96},  {368, 96},  {448, 96},   // row 2
    {8, 136},  {88, 136},  {168, 136}, {248, 136}, {328, 136}, {408, 136}, {488, 136}, // row 3
    {48, 176}, {128, 176}, {208, 176}, {288, 176}, {368, 176}, {448, 176},  // row 4
    {248, 216},                                                             // row 5
    {288, 352},                                                             // waste
    {208, 352},                                                             // stock
}};

QString number(qint64 value)
{
    return QString::number(value);
}

// Only a foreign or damaged record holds a back outside the ten; the first stands in.
int backInRange(int back)
{
    return back >= 0 && back < CardPainter::BackCount ? back : 0;
}

} // namespace

frmMarigold::frmMarigold(const Services &services)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                           | Qt::MSWindowsFixedSizeDialogHint)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmMarigold"));
    setWindowTitle(QStringLiteral("Marigold"));
    setWindowIcon(Artwork::windowIcon());
    setFixedSize(572, 461);
    QPalette blue = palette();
    blue.setColor(QPalette::Window, Blue);
    // A disabled table only ignores input while a secondary window is up: it keeps its
    // colours, so nothing on it greys out behind the menu.
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto colourRole = QPalette::ColorRole(role);
        blue.setColor(QPalette::Disabled, colourRole, blue.color(QPalette::Active, colourRole));
    }
    setPalette(blue);
    setAutoFillBackground(true);

    buildControls();

    Timer1 = m_services.clock->createTicker(1000ms, this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &Ticker::timeout, this, &frmMarigold::Timer1_Timer);
    // Queued, so that no box opens inside the handler whose save failed.
    connect(m_services.book, &HighScoreBook::failuresPending, this, [this] {
        if (!m_model.roundInPlay())
            tellRecordFailures();
    }, Qt::QueuedConnection);
    connect(m_services.book, &HighScoreBook::highScoreChanged, this, &frmMarigold::setHighScore);
    connect(m_services.book, &HighScoreBook::highRunChanged, this, &frmMarigold::setHighRun);
    connect(&m_model, &TableModel::scoreChanged, lblScore,
            [this](qint32 score) { lblScore->setText(number(score)); });
    connect(&m_model, &TableModel::clockChanged, ProgressBar1, &QProgressBar::setValue);
    connect(&m_model, &TableModel::highRunRaised, this,
            [this](qint16 highRun) { m_services.book->raiseHighRun(highRun); });

    Form_Load();
}

frmMarigold::~frmMarigold() = default;

void frmMarigold::buildControls()
{
    // Siblings stack in the order they are made: spots first, a higher index over a
    // lower one, then the labels, then the buttons and the clock over everything.
    for (int index = 0; index < Tableau::SpotCount; ++index) {
        auto *spot = new CardImage(this);
        spot->setObjectName(QStringLiteral("imgSpot[%1]").arg(index));
        spot->move(SpotPositions[index]);
        spot->show();
        connect(spot, &CardImage::clicked, this, [this, index] { imgSpot_Click(index); });
        m_imgSpot[index] = spot;
    }
    imgSpot(Tableau::WasteSpot)->setAccessibleDescription(tr("Waste card"));
    imgSpot(Tableau::WasteSpot)->setAccessibleRole(QAccessible::Graphic);
    imgSpot(Tableau::StockSpot)->setAccessibleDescription(tr("Stock"));

    const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignTop;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignTop;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignTop;
    lblHighRunlbl = addLabel("lblHighRunlbl", {8, 8, 97, 25}, QStringLiteral("High Run:"), Red, 14.25, centre);
    lblHighRun = addLabel("lblHighRun", {24, 32, 49, 25}, QStringLiteral("0"), Green, 15.75, centre);
    lblSpot0 = addLabel("lblSpot0", {136, 24, 65, 17}, QStringLiteral("1000"), Yellow, 12, centre);
    lblSpot1 = addLabel("lblSpot1", {376, 24, 65, 17}, QStringLiteral("1000"), Yellow, 12, centre);
    lblHighScorelbl = addLabel("lblHighScorelbl", {456, 8, 113, 25}, QStringLiteral("High Score:"), Red, 14.25, centre);
    lblHighScore = addLabel("lblHighScore", {488, 32, 81, 25}, QStringLiteral("99999"), Green, 15.75, centre);
    lblBonuslbl = addLabel("lblBonuslbl", {176, 104, 217, 33}, QStringLiteral("CARD BONUS:"), Red, 21.75, centre);
    lblBonus = addLabel("lblBonus", {248, 152, 81, 41}, QStringLiteral("999"), Magenta, 24, centre);
    lblCardslbl = addLabel("lblCardslbl", {24, 384, 97, 25}, QStringLiteral("Cards Left:"), Red, 12, left);
    lblCards = addLabel("lblCards", {144, 384, 33, 25}, QStringLiteral("25"), Yellow, 14.25, right);
    lblRunlbl = addLabel("lblRunlbl", {384, 376, 81, 25}, QStringLiteral("Run:"), Red, 15.75, centre);
    lblRun = addLabel("lblRun", {480, 376, 65, 25}, QStringLiteral("0"), Cyan, 18, centre);
    lblScorelbl = addLabel("lblScorelbl", {384, 416, 81, 25}, QStringLiteral("Score:"), Red, 15.75, centre);
    lblScore = addLabel("lblScore", {472, 416, 89, 25}, QStringLiteral("0"), Yellow, 18, centre);
    lblTime = addLabel("lblTime", {8, 432, 89, 17}, QStringLiteral("Time Left:"), Red, 12, left);

    cmdMenu = addButton("cmdMenu", {248, 16, 73, 33}, QStringLiteral("Menu"));
    cmdScores = addButton("cmdScores", {248, 56, 73, 33}, QStringLiteral("High Scores"));
    cmdDeal = addButton("cmdDeal", {128, 288, 73, 33}, QStringLiteral("Deal"));
    cmdExit = addButton("cmdExit", {368, 288, 73, 33}, QStringLiteral("Exit"));
    cmdTake = addButton("cmdTake", {416, 304, 105, 49}, QStringLiteral("Take Score"));
    cmdTake->setFont(DesignFonts::msSansSerif(13.5, true));

    ProgressBar1 = new ClockBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(96, 432, 97, 17);
    ProgressBar1->setRange(0, Rules::RoundSeconds);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->show();

    setTabOrder(cmdDeal, cmdExit);
    setTabOrder(cmdExit, cmdMenu);
    setTabOrder(cmdMenu, cmdTake);
    setTabOrder(cmdTake, cmdScores);
    new TableKeyboard(this, QList<CardImage *>(m_imgSpot.cbegin(), m_imgSpot.cend()),
                      {cmdDeal, cmdExit, cmdMenu, cmdTake, cmdScores});

    ActionGuard::connectAction(cmdDeal, &QPushButton::clicked, this, &frmMarigold::cmdDeal_Click);
    ActionGuard::connectAction(cmdTake, &QPushButton::clicked, this, &frmMarigold::cmdTake_Click);
    ActionGuard::connectAction(cmdExit, &QPushButton::clicked, this, &frmMarigold::cmdExit_Click);
    ActionGuard::connectAction(cmdMenu, &QPushButton::clicked, this, &frmMarigold::cmdMenu_Click);
    ActionGuard::connectAction(cmdScores, &QPushButton::clicked, this, &frmMarigold::cmdScores_Click);
}

QLabel *frmMarigold::addLabel(const char *name, QRect geometry, const QString &caption,
                              QColor colour, qreal pointSize, Qt::Alignment alignment)
{
    auto *label = new QLabel(caption, this);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setFont(DesignFonts::futura(pointSize));
    label->setAlignment(alignment);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    colours.setColor(QPalette::Window, Blue);
    label->setPalette(colours);
    label->setAutoFillBackground(true);
    label->show();
    return label;
}

QPushButton *frmMarigold::addButton(const char *name, QRect geometry, const QString &caption)
{
    auto *button = new TableButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    button->show();
    return button;
}

void frmMarigold::setHighRun(qint16 highRun)
{
    m_model.setHighRun(highRun);
    showTable();
}

void frmMarigold::setHighScore(qint32 highScore)
{
    m_model.setHighScore(highScore);
    showTable();
}

void frmMarigold::putBackOnEverySpot(qint16 back)
{
    m_model.putBackOnEverySpot(back);
    showTable();
}

void frmMarigold::showTable()
{
    for (int index = 0; index < Tableau::SpotCount; ++index) {
        const Spot &spot = m_model.spot(index);
        CardImage *image = imgSpot(index);
        // The waste's tag holds the rank of its card; the stock's holds nothing.
        if (index == Tableau::WasteSpot)
            image->setTag(spot.card ? number(m_model.wasteRank()) : QString());
        else if (index != Tableau::StockSpot)
            image->setTag(spot.card ? number(spot.card) : QString());
        image->setPicture(spot.faceUp ? CardPicture::face(spot.card)
                                      : CardPicture::back(backInRange(m_model.shownBack())));
        image->setClickable(spot.clickable);
        image->setVisible(spot.onTable);
    }
    const int stockCount = Tableau::StockSize - m_model.state().NextStock;
    imgSpot(Tableau::StockSpot)
        ->setAccessibleName(stockCount == 1 ? tr("Stock, 1 card")
                                            : tr("Stock, %1 cards").arg(stockCount));

    lblHighRun->setText(number(m_model.state().HighRun));
    lblHighScore->setText(number(m_model.state().HighScore));
    lblSpot0->setVisible(m_model.peakMarkerShown(0));
    lblSpot1->setVisible(m_model.peakMarkerShown(1));
    // A hidden caption keeps whatever it last said; only a shown one is written.
    if (m_model.bonusTitleShown())
        lblBonuslbl->setText(m_model.bonusTitle());
    lblBonuslbl->setVisible(m_model.bonusTitleShown());
    if (m_model.bonusFigureShown())
        lblBonus->setText(number(m_model.bonusFigure()));
    lblBonus->setVisible(m_model.bonusFigureShown());
    lblCards->setText(number(m_model.cardsShown()));
    lblRun->setText(number(m_model.runShown()));

    cmdTake->setVisible(m_model.takeShown());
    for (QPushButton *button : {cmdDeal, cmdExit, cmdMenu, cmdScores})
        button->setVisible(m_model.idleButtonsShown());
    Timer1->setEnabled(m_model.clockRunning());
}

// Start-up and deal

void frmMarigold::Form_Load()
{
    RecordFiles &records = *m_services.records;
    m_services.random->seedFromTimeOfDay(m_services.clock->secondsSinceMidnight());
    const qint32 highScore = records.readTopScore();
    const qint16 backNum = records.readBackIndex();
    const qint16 highRun = records.readHighRun();
    m_model.load(highScore, backNum, highRun);
    showTable();
}

void frmMarigold::cmdDeal_Click()
{
    m_model.deal(*m_services.random, m_services.records->readBackIndex());
    // Said before the table changes under the focus, so the new table comes before
    // whatever takes the focus.
    const auto focused = std::find(m_imgSpot.cbegin(), m_imgSpot.cend(), focusWidget());
    say(TableSpeech::dealt(m_model, focused == m_imgSpot.cend() ? -1 : int(focused - m_imgSpot.cbegin())));
    showTable();
}

// Playing a card

void frmMarigold::imgSpot_Click(int Index)
{
    if (Index == Tableau::StockSpot) {
        m_model.FlipCard();
        say(TableSpeech::turned(m_model));
        showTable();
        return;
    }
    const QList<int> openBefore = TableSpeech::openSpots(m_model);
    const TableModel::Play play = m_model.playSpot(Index);
    if (play == TableModel::Play::Illegal)
        m_services.prompts->beep();
    // Said before the card leaves its spot, which hands the focus on: the player hears
    // what the move did and then where the focus went.
    say(play == TableModel::Play::Illegal ? TableSpeech::refused(m_model, Index)
                                          : TableSpeech::played(m_model, Index, openBefore));
    showTable();
    if (play == TableModel::Play::Cleared)
        ClearBonus();
}

// Scoring

void frmMarigold::ClearBonus()
{
    m_model.startClearBonus();
    say(m_model.bonusTitle());
    tellRecordFailures();
    if (!Pause2())
        return;
    // Counted once, so a stock card turned during a pause cannot change how many steps remain.
    const int cards = m_model.startCardBonus();
    say(TableSpeech::cardBonus(cards));
    if (!countUp(TableModel::Bonus::Card, cards))
        return;
    if (!Pause2())
        return;
    cmdTake_Click();
}

bool frmMarigold::countUp(TableModel::Bonus bonus, int steps)
{
    for (int step = 1; step <= steps; ++step) {
        m_model.bonusStep(bonus, step, steps);
        if (!Pause1())
            return false;
    }
    return true;
}

// Clock, rounds and game end

void frmMarigold::Timer1_Timer()
{
    const bool timeUp = m_model.tick();
    const int left = m_model.state().TimeLeft;
    if (left == 30 || left == 10)
        say(TableSpeech::secondsLeft(left));
    if (timeUp) {
        showTable();
        m_services.prompts->message(this, QStringLiteral("time is up!!!"));
        m_model.timeUp();
        cmdTake_Click();
    }
    m_model.showClock();
}

bool frmMarigold::Pause1()
{
    return pauseShowingTable(150ms);
}

bool frmMarigold::Pause2()
{
    return pauseShowingTable(1000ms);
}

bool frmMarigold::pauseShowingTable(std::chrono::milliseconds length)
{
    showTable();
    m_services.clock->pause(length);
    return !m_closing;
}

void frmMarigold::cmdTake_Click()
{
    const int seconds = m_model.startTimeBonus();
    say(TableSpeech::timeBonus(seconds));
    tellRecordFailures();
    if (!countUp(TableModel::Bonus::Time, seconds))
        return;
    if (!Pause2())
        return;

    if (m_model.roundDecision() == Rules::RoundEnd::NextRound) {
        m_model.showNextRound();
        say(TableSpeech::nextRound(m_model));
        if (!Pause2())
            return;
        cmdDeal_Click();
        return;
    }

    if (m_model.state().Score == Rules::TeamPictureScore) {
        showTable();
        Q_EMIT teamPictureRequested();
        setEnabled(false);
        if (!waitForTeamPicture())
            return;
        setEnabled(true);
    }
    GameOver();
}

bool frmMarigold::waitForTeamPicture()
{
    QEventLoop wait;
    bool closed = false;
    connect(this, &frmMarigold::teamPictureClosed, &wait, [&] {
        closed = true;
        wait.quit();
    });
    connect(this, &frmMarigold::leaving, &wait, &QEventLoop::quit);
    // A game leaving, or a program quitting, ends the wait too; only the picture's own
    // end lets the game end go on.
    if (!m_closing)
        wait.exec();
    return closed && !m_closing;
}

void frmMarigold::GameOver()
{
    m_model.showGameOver();
    say(TableSpeech::gameOver(m_model));
    showTable();
    qint32 score = m_model.state().Score;
    qint32 highScore = m_model.state().HighScore;
    Q_EMIT gameEnded(score, highScore);
    m_model.setHighScore(highScore);
    m_model.endGame();
    showTable();
}

void frmMarigold::tellRecordFailures()
{
    // One box at a time: what fails while one is open is told once it is answered.
    if (m_tellingFailures)
        return;
    m_tellingFailures = true;
    for (QStringList failures; !(failures = m_services.book->takeFailures()).isEmpty();) {
        showTable(); // a round that has just ended shows so under the box
        for (const QString &message : std::as_const(failures))
            m_services.prompts->message(this, message);
    }
    m_tellingFailures = false;
}

void frmMarigold::cmdExit_Click()
{
    if (m_closing)
        return;
    m_closing = true;
    Q_EMIT leaving();
    QCoreApplication::quit();
}

void frmMarigold::cmdMenu_Click()
{
    Q_EMIT menuRequested();
    setEnabled(false);
}

void frmMarigold::cmdScores_Click()
{
    Q_EMIT highScoresRequested();
    setEnabled(false);
}

void frmMarigold::say(const QString &sentence)
{
    if (m_services.announcer)
        m_services.announcer->announce(sentence);
}

void frmMarigold::keyPressEvent(QKeyEvent *event)
{
    // S, for the state: the whole table at once. A plain letter, so it meets none of the
    // screen reader's own keys (its modifier with a key, and the keypad).
    if (event->key() == StateKey && event->modifiers() == Qt::NoModifier && !event->isAutoRepeat()) {
        say(TableSpeech::state(m_model));
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmMarigold::closeEvent(QCloseEvent *event)
{
    // Closing the table through its frame leaves the game, as Exit does.
    event->accept();
    cmdExit_Click();
}
