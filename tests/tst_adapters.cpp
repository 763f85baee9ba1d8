#include "platform/gameclock.h"
#include "platform/prompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

// Runs `answer` on the modal dialog once it is up.
template<typename Dialog>
void whenShown(std::function<void(Dialog *)> answer)
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            answer(dialog);
        }
    });
    poll->start(10);
}

} // namespace

// The real clock and dialogs, once each: everything else runs on their fakes.
class tst_Adapters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setApplicationDisplayName(QStringLiteral("Marigold")); }

    void pauseLastsAtLeastItsLengthAndHandlesEvents()
    {
        SystemClock clock;
        bool handled = false;
        QTimer::singleShot(0, this, [&] { handled = true; });
        QElapsedTimer elapsed;
        elapsed.start();
        clock.pause(std::chrono::milliseconds(150));
        QVERIFY(elapsed.elapsed() >= 150);
        QVERIFY(handled);
    }

    void dialogsCarryTheirTitlesAndCancelAnswersEmpty()
    {
        DialogPrompts prompts;
        QString title, prompt;
        whenShown<QInputDialog>([&](QInputDialog *dialog) {
            title = dialog->windowTitle();
            prompt = dialog->labelText();
            dialog->setTextValue(QStringLiteral("typed, then cancelled"));
            dialog->reject();
        });
        QCOMPARE(prompts.input(nullptr, QStringLiteral("One\rTwo"), QStringLiteral("High Score!!")),
                 QString());
        QCOMPARE(title, QStringLiteral("High Score!!"));
        QCOMPARE(prompt, QStringLiteral("One\nTwo"));
        whenShown<QMessageBox>([&](QMessageBox *box) { title = box->windowTitle(); box->accept(); });
        prompts.message(nullptr, QStringLiteral("time is up!!!"));
        QCOMPARE(title, QStringLiteral("Marigold"));
    }
};

QTEST_MAIN(tst_Adapters)
#include "tst_adapters.moc"
