#include "frmmarigold.h"

#include "assets/artwork.h"
#include "card.h"
#include "cardimage.h"
#include "frmcards.h"
#include "names.h"
#include "platform/actionguard.h"
#include "platform/designfonts.h"
#include "platform/gameclock.h"
#include "platform/prompts.h"
#include "randomgenerator.h"
#include "records/frmhiscores.h"
#include "records/recordfiles.h"
#include "rules.h"
#include "shuffle.h"
#include "tablebutton.h"
#include "tablekeyboard.h"
#include "windows/forms.h"
#include "windows/frmbacks.h"
#include "windows/frmmenu.h"
#include "windows/frmteampic.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <cmath>

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

} // namespace

frmMarigold::frmMarigold(Forms &forms)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                           | Qt::MSWindowsFixedSizeDialogHint)
    , m_forms(forms)
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

    Timer1 = m_forms.services().clock->createTicker(1000ms, this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &Ticker::timeout, this, &frmMarigold::Timer1_Timer);
    connect(m_forms.services().records, &RecordFiles::failed, this,
            [this](const QString &message) { m_forms.services().prompts->message(this, message); },
            Qt::QueuedConnection);

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

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(96, 432, 97, 17);
    ProgressBar1->setRange(0, Rules::RoundSeconds);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(tr("Time left"));
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

void frmMarigold::showHighScore(qint32 highScore)
{
    lblHighScore->setText(number(highScore));
}

void frmMarigold::showHighRun(qint16 highRun)
{
    lblHighRun->setText(number(highRun));
}

// Start-up and deal

void frmMarigold::Form_Load()
{
    RecordFiles &records = *m_forms.services().records;
    RandomGenerator::instance().seedFromTimeOfDay(m_forms.services().clock->secondsSinceMidnight());
    m_state.TimeLeft = Rules::RoundSeconds;
    m_state.TeamPicClosed = 0;
    m_state.RoundNum = 1;
    m_state.Score = 0;
    Timer1->setEnabled(false);
    for (QWidget *control : std::initializer_list<QWidget *>{lblSpot0, lblSpot1, lblBonuslbl,
                                                             lblBonus, cmdTake})
        control->hide();
    m_state.HighScore = records.readTopScore();
    showHighScore(m_state.HighScore);
    m_state.BackNum = records.readBackIndex();
    m_state.HighRun = records.readHighRun();
    showHighRun(m_state.HighRun);
    for (CardImage *spot : m_imgSpot) {
        spot->setClickable(false);
        spot->setPicture(backPicture());
    }
    setStockCount(Tableau::StockSize);
    Names::SetNames();
}

void frmMarigold::cmdDeal_Click()
{
    Shuffle::ShuffleDeck();
    ReSetCards();
    m_state.NextStock = 0;
    m_state.TimeLeft = Rules::RoundSeconds;
    Timer1->setEnabled(true);
    m_roundInPlay = true;
    lblSpot0->hide();
    lblSpot1->hide();
    lblBonuslbl->hide();
    lblBonus->hide();
    cmdDeal->hide();
    cmdTake->show();
    cmdExit->hide();
    cmdMenu->hide();
    cmdScores->hide();
}

void frmMarigold::ReSetCards()
{
    m_state.BackNum = m_forms.services().records->readBackIndex();
    for (int spot = 0; spot <= Tableau::WasteSpot; ++spot) {
        imgSpot(spot)->setTag(number(Shuffle::Deck(spot + 1)));
        imgSpot(spot)->setPicture(backPicture());
        imgSpot(spot)->show();
        imgSpot(spot)->setClickable(false);
    }
    auto turnUp = [this](int spot) {
        imgSpot(spot)->setClickable(true);
        imgSpot(spot)->show();
        imgSpot(spot)->setPicture(facePicture(tagNumber(spot)));
    };
    for (int spot : Tableau::DealtFaceUp)
        turnUp(spot);
    turnUp(Tableau::WasteSpot); // made unclickable again below
    for (int i = 0; i < Tableau::StockSize; ++i)
        m_state.Stock[i] = qint16(Shuffle::Deck(i + 28));
    CardImage *stock = imgSpot(Tableau::StockSpot);
    stock->setClickable(true);
    stock->show();
    stock->setPicture(backPicture());
    imgSpot(Tableau::WasteSpot)->setClickable(false);
    SpotTag();
    m_state.CurRun = 0;
    lblScore->setText(number(m_state.Score));
    lblRun->setText(QStringLiteral("0"));
    setStockCount(Tableau::StockSize);
}

CardPicture frmMarigold::facePicture(int cardNumber) const
{
    return m_forms.cards()->imgCard(cardNumber - 1)->picture();
}

CardPicture frmMarigold::backPicture() const
{
    // Only a foreign or damaged file holds another index; the first back stands in.
    const int back = m_state.BackNum >= 0 && m_state.BackNum < frmBacks::BackCount ? m_state.BackNum : 0;
    return m_forms.backs()->imgCardBack(back)->picture();
}

void frmMarigold::setStockCount(int count)
{
    lblCards->setText(number(count));
    imgSpot(Tableau::StockSpot)
        ->setAccessibleName(count == 1 ? tr("Stock, 1 card") : tr("Stock, %1 cards").arg(count));
}

// Cards and the tableau

qint16 frmMarigold::tagNumber(int spot) const
{
    return qint16(std::lround(imgSpot(spot)->tag().toDouble()));
}

void frmMarigold::GetGameVal()
{
    m_state.GameVal = qint16(Card::rank(m_state.CardNum));
}

void frmMarigold::SpotTag()
{
    m_state.CardNum = tagNumber(Tableau::WasteSpot);
    GetGameVal();
    imgSpot(Tableau::WasteSpot)->setTag(number(m_state.GameVal));
}

void frmMarigold::SpotOpen(int spot)
{
    const std::span<const int> covers = Tableau::coveredBy(spot);
    if (covers.empty())
        return;
    for (int cover : covers) {
        if (!imgSpot(cover)->isHidden())
            return;
    }
    imgSpot(spot)->setClickable(true);
    imgSpot(spot)->setPicture(facePicture(tagNumber(spot)));
}

void frmMarigold::EnableOpenCards()
{
    m_state.ClearedCount = 0;
    for (int spot = 0; spot < Tableau::OpenTestCount; ++spot)
        SpotOpen(spot);
    for (int spot = 0; spot < Tableau::OpenTestCount; ++spot) {
        if (imgSpot(spot)->isHidden())
            ++m_state.ClearedCount;
    }
    // Spots 23 to 25 each lie over one of 0 to 22, so 23 taken means a clear tableau.
    if (m_state.ClearedCount == Tableau::OpenTestCount && m_roundInPlay)
        ClearBonus();
}

// Playing a card

void frmMarigold::imgSpot_Click(int Index)
{
    if (Index == Tableau::StockSpot) {
        FlipCard();
        return;
    }
    m_state.CardNum = tagNumber(Index);
    GetGameVal();
    m_state.SpotNum = qint16(Index);
    const double wasteRank = imgSpot(Tableau::WasteSpot)->tag().toDouble();
    if (Rules::isLegalMove(m_state.GameVal, wasteRank))
        MoveCard();
    else
        m_forms.services().prompts->beep();
    EnableOpenCards();
}

void frmMarigold::MoveCard()
{
    CardImage *waste = imgSpot(Tableau::WasteSpot);
    CardImage *taken = imgSpot(m_state.SpotNum);
    waste->setPicture(taken->picture());
    waste->setTag(taken->tag());
    taken->hide();
    if (m_state.SpotNum == 0 || m_state.SpotNum == 1) {
        m_state.Score += Rules::PeakBonus;
        lblScore->setText(number(m_state.Score));
        (m_state.SpotNum == 0 ? lblSpot0 : lblSpot1)->show();
    }
    SpotTag();
    ScoreRun();
}

void frmMarigold::FlipCard()
{
    // The stock hides itself after its last card; a press that slips through finds nothing.
    if (m_state.NextStock >= Tableau::StockSize)
        return;
    const int card = m_state.Stock[m_state.NextStock];
    CardImage *waste = imgSpot(Tableau::WasteSpot);
    waste->setPicture(facePicture(card));
    waste->setTag(number(card));
    SpotTag();
    m_state.CurRun = 0;
    lblRun->setText(number(m_state.CurRun));
    ++m_state.NextStock;
    setStockCount(Tableau::StockSize - m_state.NextStock);
    if (m_state.NextStock == Tableau::StockSize)
        imgSpot(Tableau::StockSpot)->hide();
}

// Scoring

void frmMarigold::ScoreRun()
{
    m_state.CurRun += Rules::RunStep;
    m_state.Score += m_state.CurRun;
    lblScore->setText(number(m_state.Score));
    const qint16 runCards = m_state.CurRun / Rules::RunStep;
    lblRun->setText(number(runCards));
    if (runCards > m_state.HighRun) {
        m_state.HighRun = runCards;
        showHighRun(m_state.HighRun);
        m_forms.services().records->writeHighRun(m_state.HighRun);
    }
}

void frmMarigold::ClearBonus()
{
    Timer1->setEnabled(false);
    m_roundInPlay = false;
    cmdTake->hide();
    lblBonuslbl->setText(QStringLiteral("YOU DID IT!!"));
    lblBonuslbl->show();
    if (!Pause2())
        return;
    lblBonuslbl->setText(QStringLiteral("CARD BONUS:"));
    lblBonus->setText(QStringLiteral("0"));
    lblBonus->show();
    // Counted with a counter of its own, so a stock card turned during a pause cannot
    // change how many steps remain.
    const int cardsLeft = Tableau::StockSize - m_state.NextStock;
    for (int step = 1; step <= cardsLeft; ++step) {
        lblBonus->setText(number(step * Rules::CardBonus));
        m_state.Score += Rules::CardBonus;
        lblScore->setText(number(m_state.Score));
        lblCards->setText(number(cardsLeft - step));
        if (!Pause1())
            return;
    }
    if (!Pause2())
        return;
    cmdTake_Click();
}

// Clock, rounds and game end

void frmMarigold::Timer1_Timer()
{
    --m_state.TimeLeft;
    if (m_state.TimeLeft == -1) {
        // Stopped before the message, so no tick can land while it is open.
        Timer1->setEnabled(false);
        m_forms.services().prompts->message(this, QStringLiteral("time is up!!!"));
        m_state.TimeLeft = 0;
        cmdTake_Click();
    }
    ProgressBar1->setValue(std::clamp<int>(m_state.TimeLeft, 0, Rules::RoundSeconds));
}

bool frmMarigold::Pause1()
{
    m_forms.services().clock->pause(150ms);
    return !m_closing;
}

bool frmMarigold::Pause2()
{
    m_forms.services().clock->pause(1000ms);
    return !m_closing;
}

void frmMarigold::cmdTake_Click()
{
    Timer1->setEnabled(false);
    m_roundInPlay = false;
    cmdTake->hide();
    lblBonuslbl->setText(QStringLiteral("TIME BONUS:"));
    lblBonuslbl->show();
    lblBonus->setText(QStringLiteral("0"));
    lblBonus->show();
    ++m_state.RoundNum;
    const int secondsLeft = m_state.TimeLeft;
    for (int step = 1; step <= secondsLeft; ++step) {
        lblBonus->setText(number(step * Rules::TimeBonus));
        m_state.Score += Rules::TimeBonus;
        lblScore->setText(number(m_state.Score));
        ProgressBar1->setValue(secondsLeft - step);
        if (!Pause1())
            return;
    }
    if (!Pause2())
        return;

    if (Rules::afterRound(m_state.RoundNum, m_state.Score) == Rules::RoundEnd::NextRound) {
        lblBonuslbl->setText(QStringLiteral("Round: ") + number(m_state.RoundNum));
        lblBonus->hide();
        if (!Pause2())
            return;
        cmdDeal_Click();
        return;
    }

    if (m_state.Score == Rules::TeamPictureScore) {
        m_forms.teamPic()->show();
        setEnabled(false);
        while (m_state.TeamPicClosed == 0) {
            if (!Pause1())
                return;
        }
    }
    m_state.TeamPicClosed = 0;
    GameOver();
}

void frmMarigold::GameOver()
{
    lblBonuslbl->setText(QStringLiteral("GAME OVER"));
    lblBonuslbl->show();
    m_forms.hiScores()->HighScores(m_state.Score, m_state.HighScore);
    lblBonus->hide();
    cmdTake->hide();
    cmdDeal->show();
    cmdExit->show();
    cmdMenu->show();
    cmdScores->show();
    m_state.RoundNum = 1;
    m_state.Score = 0;
}

void frmMarigold::cmdExit_Click()
{
    if (m_closing)
        return;
    m_closing = true;
    m_forms.hideAll();
    QCoreApplication::quit();
}

void frmMarigold::cmdMenu_Click()
{
    m_forms.menu()->show();
    setEnabled(false);
}

void frmMarigold::cmdScores_Click()
{
    frmHiScores *scores = m_forms.hiScores();
    scores->show();
    scores->GetScores();
    setEnabled(false);
}

void frmMarigold::closeEvent(QCloseEvent *event)
{
    // Closing the table through its frame leaves the game, as Exit does.
    event->accept();
    cmdExit_Click();
}
