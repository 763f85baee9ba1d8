// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLine>
#include <QList>
#include <QWidget>

// A borderless blue window framed by four 5-pixel lines along its edges, standing in
// for the title bar it does not have, or a window with the window system's own frame.
// Closing it by the window system's own means (its close box, a keyboard close) or by
// Escape runs the window's own way out, so nothing is left disabled; Enter presses the
// focused button, or the default one.
//
// Not a QDialog, though it behaves as one: a screen reader would name every one of these
// windows a dialog, where it now says only the caption; QDialog makes each push button an
// auto-default one, drawn as the default while it has the focus; and its Enter presses the
// default button alone, never the focused one.
class QPushButton;

class FramedWindow : public QWidget
{
    Q_OBJECT

public:
    FramedWindow(const QString &name, const QString &caption, QSize clientSize,
                 const QList<QLine> &frameLines, QWidget *parent = nullptr);

protected:
    // A window framed by the window system as `flags` ask, with no lines of its own.
    FramedWindow(const QString &name, const QString &caption, QSize clientSize,
                 Qt::WindowFlags flags, QWidget *parent = nullptr);

    // The handler of the button that closes this window.
    virtual void closeLikeButton() = 0;
    // The button Enter presses when no button has the focus.
    virtual QPushButton *defaultButton() const { return nullptr; }

    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QList<QLine> m_frameLines;
};
