#pragma once

#include <QWidget>

#include <array>
#include <optional>

class Forms;
class QLabel;
class QPushButton;

// The ten best scores with their players' names. The game hands every final score to
// HighScores; the table's High Scores button shows the window for viewing.
class frmHiScores : public QWidget
{
    Q_OBJECT

public:
    static const QString NamePromptTitle;
    static const QString NamePrompt;
    static const QString ClearQuestion;

    explicit frmHiScores(Forms &forms);

    void ClearScores();
    void GetScores();
    void HighScores(qint32 &Score, qint32 &HighScore);

    void cmdOkay_Click();
    void cmdClear_Click();

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    // Escape answers like OK; Enter presses the focused button, OK when none has it.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load();

    Forms &m_forms;
    bool m_loaded = false;
    std::optional<int> LoadClear;

    std::array<QLabel *, 10> lblName{};
    std::array<QLabel *, 10> lblScore{};
    QPushButton *cmdOkay;
    QPushButton *cmdClear;
};
