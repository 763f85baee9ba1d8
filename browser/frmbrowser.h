// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QAction;
class QComboBox;
class QLabel;
class QTimer;
class QToolBar;
class WebBrowserControl;

// The built-in web browser: a toolbar, an address box with a most-recent-first list of
// the pages seen, a banner and the page itself. It only drives its page control and
// mirrors the control's state in the caption and the address box. Laid out in twips,
// fifteen to the pixel.
class frmBrowser : public QWidget
{
    Q_OBJECT

public:
    // The window takes the page control as its child.
    explicit frmBrowser(WebBrowserControl *page, QWidget *parent = nullptr);

    // The address the window opens first.
    QString StartingAddress;

    void Form_Load();
    void Form_Resize();
    void cboAddress_Click();
    void cboAddress_KeyPress(int KeyAscii);
    void timTimer_Timer();
    void tbToolBar_ButtonClick(QAction *Button);
    void brwWebBrowser_DownloadComplete();
    void brwWebBrowser_NavigateComplete2(const QString &URL);

    // A second request to open the window while it is open: it takes the new start
    // address and comes into view, but goes nowhere.
    void bringIntoView(const QString &startingAddress);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void comboActivated();
    void layOutBars();

    QToolBar *tbToolBar;
    QWidget *picAddress;
    QLabel *lblAddress;
    QComboBox *cboAddress;
    QLabel *Label1;
    WebBrowserControl *brwWebBrowser;
    QTimer *timTimer;

    bool DontNavigateNow = false;
    bool m_loaded = false;
    // True from a click or Return in the open address list until the box has acted on it.
    bool m_choosingFromList = false;
    // Where the two controls that Form_Resize sizes are, in twips, so that rounding to
    // pixels never adds up over many resizes.
    QRect m_comboTwips;
    QRect m_pageTwips;
};
