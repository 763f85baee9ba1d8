// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framedwindow.h"
#include "platform/services.h"

#include <array>
#include <optional>

class QLabel;
class QPushButton;

// The ten best scores with their players' names, as the high-score book holds them. The
// game hands every final score to HighScores; the table's High Scores button shows the
// window for viewing. The table window is disabled while this one is up, and hears of
// record changes from the book.
class frmHiScores : public FramedWindow
{
    Q_OBJECT

public:
    static const QString NamePromptTitle;
    static const QString NamePrompt;
    // Asked again when the name as stored would lose characters; %1 is how it is stored.
    static const QString NameAgainPrompt;
    static const QString ClearQuestion;

    frmHiScores(const Services &services, QWidget *table);

    void ClearScores();
    void GetScores();
    void HighScores(qint32 &Score, qint32 &HighScore);

    void cmdOkay_Click();
    void cmdClear_Click();

    void setVisible(bool visible) override;

protected:
    void closeLikeButton() override;
    QPushButton *defaultButton() const override { return cmdOkay; }
    // The up and down arrows, Home and End read the list to a screen reader, one place
    // at a time, wherever the focus is.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load();
    // The name prompt, asked again until the name is stored as shown or the player
    // takes what would be stored; empty for no name.
    QString askName();
    // Says the place `key` moves the reading to; false for any other key.
    bool readPlace(int key);

    Services m_services;
    QWidget *m_table;
    bool m_loaded = false;
    std::optional<int> LoadClear;

    std::array<QLabel *, 10> lblName{};
    std::array<QLabel *, 10> lblScore{};
    QPushButton *cmdOkay;
    QPushButton *cmdClear;
    int m_readPlace = 0; // the place read last, 0 before the first
};
