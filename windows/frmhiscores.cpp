// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmhiscores.h"

#include "assets/artwork.h"
#include "game/highscoretable.h"
#include "game/randomgenerator.h"
#include "game/tablespeech.h"
#include "platform/actionguard.h"
#include "platform/announcer.h"
#include "platform/designfonts.h"
#include "platform/gameclock.h"
#include "platform/prompts.h"
#include "platform/services.h"
#include "records/highscorebook.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

// The window is laid out in twips, fifteen to the pixel.
constexpr int px(int twips)
{
    return twips / 15;
}

struct Row
{
    const char *rankName;
    int top;
    qreal pointSize;
    QColor colour;
    QSize rankSize;
    QSize nameSize;
    int scoreHeight;
};

const std::array<Row, HighScoreTable::EntryCount> Rows = {{
    {"lblOne", 360, 20.25, QColor(255, 0, 0), {495, 495}, {3015, 495}, 495},
    {"lblTwo", 840, 18, QColor(255, 255, 0), {375, 375}, {2775, 495}, 375},
    {"lblThree", 1200, 15.75, QColor(0, 255, 0), {375, 375}, {2775, 375}, 375},
    {"lblFour", 1560, 14.25, QColor(0, 255, 255), {375, 375}, {2775, 375}, 375},
    {"lblFive", 1920, 12, QColor(0, 0, 255), {255, 255}, {2415, 255}, 255},
    {"lblSix", 2280, 9.75, QColor(255, 0, 255), {255, 255}, {2415, 255}, 255},
    {"lblSeven", 2520, 9.75, QColor(255, 0, 255), {255, 255}, {2415, 255}, 255},
    {"lblEight", 2760, 9.75, QColor(255, 0, 255), {255, 255}, {2415, 255}, 255},
    {"lblNine", 3000, 9.75, QColor(255, 0, 255), {255, 255}, {2415, 255}, 255},
    {"LblTen", 3240, 9.75, QColor(255, 0, 255), {375, 255}, {2415, 255}, 255},
}};

QLabel *makeLabel(QWidget *parent, const QString &name, QRect twips, const Row &row,
                  Qt::Alignment alignment)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height()));
    label->setFont(DesignFonts::timesNewRoman(row.pointSize, true));
    label->setAlignment(alignment | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, row.colour);
    label->setPalette(colours);
    return label;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, int left)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(px(left), px(3600), px(735), px(495));
    return button;
}

} // namespace

const QString frmHiScores::NamePromptTitle = QStringLiteral("High Score!!");
const QString frmHiScores::NamePrompt =
    QStringLiteral("You Got A High Score!!\rEnter Your Name:\r(10 Characters Max.)");
const QString frmHiScores::NameAgainPrompt =
    QStringLiteral("Some letters of that name cannot be kept in the high scores.\rIt would be kept "
                   "as: %1\rPress OK to keep it so, or type another name.");
const QString frmHiScores::ClearQuestion =
    QStringLiteral("Are you sure you want clear the highscores");

frmHiScores::frmHiScores(const Services &services, QWidget *table)
    : FramedWindow(QStringLiteral("frmHiScores"), QStringLiteral("High Scores"),
                   QSize(px(6030), px(4200)),
                   Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                       | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_services(services)
    , m_table(table)
{
    setWindowIcon(Artwork::windowIcon());
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
        const Row &row = Rows[k - 1];
        QLabel *rank = makeLabel(this, QLatin1String(row.rankName),
                                 QRect(QPoint(240, row.top), row.rankSize), row, Qt::AlignLeft);
        rank->setText(QStringLiteral("#%1").arg(k));
        lblName[k - 1] = makeLabel(this, QStringLiteral("lblName[%1]").arg(k - 1),
                                   QRect(QPoint(840, row.top), row.nameSize), row, Qt::AlignLeft);
        lblScore[k - 1] = makeLabel(this, QStringLiteral("lblScore[%1]").arg(k - 1),
                                    QRect(3840, row.top, 1455, row.scoreHeight), row,
                                    Qt::AlignRight);
    }

    cmdOkay = makeButton(this, "cmdOkay", QStringLiteral("OK"), 1800);
    cmdClear = makeButton(this, "cmdClear", QStringLiteral("Clear"), 3240);
    setTabOrder(cmdOkay, cmdClear);
    // The buttons would take the arrows to move the focus between themselves.
    cmdOkay->installEventFilter(this);
    cmdClear->installEventFilter(this);
    ActionGuard::connectAction(cmdOkay, &QPushButton::clicked, this, &frmHiScores::cmdOkay_Click);
    ActionGuard::connectAction(cmdClear, &QPushButton::clicked, this, &frmHiScores::cmdClear_Click);
}

void frmHiScores::setVisible(bool visible)
{
    // Like a window loaded by its first showing: the load step runs once, right then.
    if (visible && !m_loaded) {
        m_loaded = true;
        Form_Load();
    }
    QWidget::setVisible(visible);
    if (visible)
        cmdOkay->setFocus();
}

void frmHiScores::Form_Load()
{
    if (m_services.book->table().entry(1).score == 0) {
        LoadClear = 1;
        ClearScores();
    }
}

void frmHiScores::ClearScores()
{
    if (LoadClear == 1) {
        m_services.book->initialise();
        LoadClear = 0;
        return;
    }
    m_services.book->clear();
    GetScores();
}

void frmHiScores::GetScores()
{
    const HighScoreTable table = m_services.book->table();
    for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
        lblScore[k - 1]->setText(QString::number(table.entry(k).score));
        lblName[k - 1]->setText(table.entry(k).name);
    }
    // Read with the button that has the focus when the window opens.
    cmdOkay->setAccessibleDescription(TableSpeech::highScoreList(table)
                                      + tr(" The up and down arrows read the list place by place."));
    m_readPlace = 0;
}

bool frmHiScores::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && readPlace(static_cast<QKeyEvent *>(event)->key()))
        return true;
    return FramedWindow::eventFilter(watched, event);
}

void frmHiScores::keyPressEvent(QKeyEvent *event)
{
    if (!readPlace(event->key()))
        FramedWindow::keyPressEvent(event);
}

bool frmHiScores::readPlace(int key)
{
    constexpr int Last = HighScoreTable::EntryCount;
    switch (key) {
    case Qt::Key_Down:
        m_readPlace = qMin(Last, m_readPlace + 1);
        break;
    case Qt::Key_Up:
        m_readPlace = qMax(1, m_readPlace - 1);
        break;
    case Qt::Key_Home:
        m_readPlace = 1;
        break;
    case Qt::Key_End:
        m_readPlace = Last;
        break;
    default:
        return false;
    }
    if (m_services.announcer)
        m_services.announcer->announce(TableSpeech::highScorePlace(m_services.book->table(), m_readPlace));
    return true;
}

void frmHiScores::HighScores(qint32 &Score, qint32 &HighScore)
{
    HighScoreBook &book = *m_services.book;
    m_services.random->seedFromTimeOfDay(m_services.clock->secondsSinceMidnight());
    const int place = book.placeFor(Score);
    // The score goes in where it belongs when the player answers: another copy of the
    // game may have filed one meanwhile.
    book.enter(Score, place > 0 ? std::optional<QString>(askName()) : std::nullopt);
    book.raiseHighScore(HighScore, Score);
    if (place > 0) {
        show();
        GetScores();
        m_table->setEnabled(false);
    }
}

QString frmHiScores::askName()
{
    QString name = m_services.prompts->input(m_table, NamePrompt, NamePromptTitle, QString());
    // Nothing is stored as '?' that the player has not seen.
    while (!name.isEmpty() && !HighScoreBook::storesWhole(name)) {
        const QString stored = HighScoreBook::storedName(name);
        name = m_services.prompts->input(m_table, NameAgainPrompt.arg(stored), NamePromptTitle, stored);
    }
    return name;
}

void frmHiScores::cmdOkay_Click()
{
    m_table->setEnabled(true);
    hide();
}

void frmHiScores::cmdClear_Click()
{
    if (m_services.prompts->question(this, ClearQuestion))
        ClearScores();
}

void frmHiScores::closeLikeButton()
{
    cmdOkay_Click();
}
