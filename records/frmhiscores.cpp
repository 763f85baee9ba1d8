#include "frmhiscores.h"

#include "assets/artwork.h"
#include "game/highscoretable.h"
#include "game/names.h"
#include "game/randomgenerator.h"
#include "platform/actionguard.h"
#include "platform/designfonts.h"
#include "platform/dialogkeys.h"
#include "platform/gameclock.h"
#include "platform/prompts.h"
#include "platform/services.h"
#include "recordfiles.h"

#include <QCloseEvent>
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
const QString frmHiScores::ClearQuestion =
    QStringLiteral("Are you sure you want clear the highscores");

frmHiScores::frmHiScores(const Services &services, QWidget *table)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                           | Qt::MSWindowsFixedSizeDialogHint)
    , m_services(services)
    , m_table(table)
{
    setObjectName(QStringLiteral("frmHiScores"));
    setWindowTitle(QStringLiteral("High Scores"));
    setWindowIcon(Artwork::windowIcon());
    setFixedSize(px(6030), px(4200));
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
    if (m_services.records->readTopScore() == 0) {
        LoadClear = 1;
        ClearScores();
    }
}

void frmHiScores::ClearScores()
{
    RecordFiles &records = *m_services.records;
    // The Clear button empties the table and the best run in one save, so that no crash
    // can keep one without the other.
    if (LoadClear == 1)
        records.initialiseHighScores();
    else
        records.clearHighScoresAndRun();
    Q_EMIT highScoreChanged(0);
    if (LoadClear == 1) {
        LoadClear = 0;
        return;
    }
    Q_EMIT highRunChanged(0);
    GetScores();
}

void frmHiScores::GetScores()
{
    const HighScoreTable table = m_services.records->readHighScores();
    for (int k = 1; k <= HighScoreTable::EntryCount; ++k) {
        lblScore[k - 1]->setText(QString::number(table.entry(k).score));
        lblName[k - 1]->setText(table.entry(k).name);
    }
}

void frmHiScores::HighScores(qint32 &Score, qint32 &HighScore)
{
    RandomGenerator &random = *m_services.random;
    random.seedFromTimeOfDay(m_services.clock->secondsSinceMidnight());
    HighScoreTable table = m_services.records->readHighScores();
    const int place = table.placeFor(Score);
    if (place > 0) {
        QString name = m_services.prompts->input(m_table, NamePrompt, NamePromptTitle);
        if (name.isEmpty())
            name = Names::DefaultNames[random.nextBelow(Names::DefaultNameCount)];
        table.insert(place, Score, name);
    }
    m_services.records->writeHighScores(table);
    if (Score > HighScore) {
        HighScore = Score;
        Q_EMIT highScoreChanged(HighScore);
    }
    if (place > 0) {
        show();
        GetScores();
        m_table->setEnabled(false);
    }
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

void frmHiScores::closeEvent(QCloseEvent *event)
{
    // Closing through the frame is the same as OK: the table must come back to life.
    if (isVisible()) {
        event->ignore();
        cmdOkay_Click();
        return;
    }
    QWidget::closeEvent(event);
}

void frmHiScores::keyPressEvent(QKeyEvent *event)
{
    if (!DialogKeys::handle(event, this, cmdOkay, [this] { cmdOkay->click(); }))
        QWidget::keyPressEvent(event);
}
