// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the start-up benchmark: the least a Qt Widgets program must do to put
// a window of the table's size on screen. Anything the game costs beyond this is its own.

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setFixedSize(572, 461);
    window.show();
    return app.exec();
}
