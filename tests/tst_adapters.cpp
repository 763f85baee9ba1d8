#include "platform/gameclock.h"
#include "platform/prompts.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QInputDialog>
#include <QTest>
#include <QTimer>

// The real clock and dialogs, once each: everything else runs on their fakes.
class tst_Adapters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pauseLastsAtLeastItsLengthAndHandlesEvents()
    {
        SystemClock clock;
        bool handled = false;
        QTimer::singleShot(0, this, [&] { handled = true; });
        const QDeadlineTimer length(150);
        clock.pause(std::chrono::milliseconds(150));
        QVERIFY(length.hasExpired() && handled);
    }

    void dialogsCarryTheirTitlesAndCancelAnswersEmpty()
    {
        QApplication::setApplicationDisplayName(QStringLiteral("Marigold"));
        DialogPrompts prompts;
        QString title, prompt, text;
        // No event loop runs but the dialog's own, so a zero timer finds the dialog up.
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
            title = dialog->windowTitle();
            prompt = dialog->labelText();
            text = dialog->textValue();
            dialog->setTextValue(QStringLiteral("typed, then cancelled"));
            dialog->reject();
        });
        QCOMPARE(prompts.input(nullptr, u"One\rTwo"_qs, u"High Score!!"_qs, u"? Joy ?"_qs), QString());
        QCOMPARE(title, QStringLiteral("High Score!!"));
        QCOMPARE(prompt, QStringLiteral("One\nTwo"));
        QCOMPARE(text, QStringLiteral("? Joy ?"));
        QTimer::singleShot(0, this, [&] {
            title = QApplication::activeModalWidget()->windowTitle();
            QApplication::activeModalWidget()->close();
        });
        prompts.message(nullptr, u"time is up!!!"_qs);
        QCOMPARE(title, QStringLiteral("Marigold"));
    }
};

QTEST_MAIN(tst_Adapters)
#include "tst_adapters.moc"
