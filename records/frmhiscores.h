#pragma once

#include "platform/services.h"

#include <QWidget>

#include <array>
#include <optional>

class QLabel;
class QPushButton;

// The ten best scores with their players' names. The game hands every final score to
// HighScores; the table's High Scores button shows the window for viewing. The table
// window is disabled while this one is up, and hears of record changes by signal.
class frmHiScores : public QWidget
{
    Q_OBJECT

public:
    static const QString NamePromptTitle;
    static const QString NamePrompt;
    static const QString ClearQuestion;

    frmHiScores(const Services &services, QWidget *table);

    void ClearScores();
    void GetScores();
    void HighScores(qint32 &Score, qint32 &HighScore);

    void cmdOkay_Click();
    void cmdClear_Click();

    void setVisible(bool visible) override;

Q_SIGNALS:
    // The table's HighScore and its label.
    void highScoreChanged(qint32 HighScore);
    // The table's HighRun and its label; the record file is written here.
    void highRunChanged(qint16 HighRun);

protected:
    void closeEvent(QCloseEvent *event) override;
    // Escape answers like OK; Enter presses the focused button, OK when none has it.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load();

    Services m_services;
    QWidget *m_table;
    bool m_loaded = false;
    std::optional<int> LoadClear;

    std::array<QLabel *, 10> lblName{};
    std::array<QLabel *, 10> lblScore{};
    QPushButton *cmdOkay;
    QPushButton *cmdClear;
};
