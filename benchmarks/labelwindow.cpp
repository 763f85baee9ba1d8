// SPDX-License-Identifier: GPL-3.0-or-later
// A second yardstick for start-up: the bare window with one line of text. Most of what a
// window with any text costs over a bare one is starting the font system, which the game
// cannot avoid either.

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Label"));
    window.setFixedSize(572, 461);
    auto *label = new QLabel(QStringLiteral("Score:"), &window);
    label->move(384, 416);
    window.show();
    return app.exec();
}
