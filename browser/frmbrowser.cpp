// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmbrowser.h"

#include "assets/artwork.h"
#include "browser/browsericons.h"
#include "browser/webbrowsercontrol.h"
#include "platform/actionguard.h"
#include "platform/designfonts.h"
#include "platform/webaddresses.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <array>

namespace {

constexpr int TwipsPerPixel = 15;
constexpr QSize BuiltClientTwips(10830, 8565);
constexpr int ToolbarHeightTwips = 540;
constexpr QRect AddressBoxTwips(0, 540, 0, 675); // picAddress; its width follows the window
constexpr QRect LabelTwips(45, 60, 3075, 255);
constexpr QRect ComboTwips(45, 300, 3795, 315);
constexpr QRect BannerTwips(240, 1320, 5775, 615);
constexpr QRect PageTwips(120, 2175, 10560, 6240);
// Form_Resize keeps a margin of this much at the right and below.
constexpr int MarginTwips = 100;
constexpr int TimerIntervalMs = 5;
constexpr QSize ButtonPictureSize(24, 24);
const std::array<const char *, 6> ButtonKeys = {"Back", "Forward", "Stop", "Refresh", "Home",
                                                "Search"};
constexpr int CarriageReturn = 13;

int pixels(int twips)
{
    return qRound(double(twips) / TwipsPerPixel);
}

// Both edges are rounded, so that a box ending 50 twips short of an edge stays short
// of it whatever its left is.
QRect pixels(const QRect &twips)
{
    const QPoint topLeft(pixels(twips.x()), pixels(twips.y()));
    const QPoint bottomRight(pixels(twips.x() + twips.width()), pixels(twips.y() + twips.height()));
    return QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
}

// A click in the open address list, or Return there. The list takes its keys when they
// are offered to it as shortcuts, before they are pressed.
bool choosesFromList(const QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease)
        return true;
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

frmBrowser::frmBrowser(WebBrowserControl *page, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , tbToolBar(new QToolBar(this))
    , picAddress(new QWidget(this))
    , lblAddress(new QLabel(picAddress))
    , cboAddress(new QComboBox(picAddress))
    , Label1(new QLabel(this))
    , brwWebBrowser(page)
    , timTimer(new QTimer(this))
    , m_comboTwips(ComboTwips)
    , m_pageTwips(PageTwips)
{
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(WebAddresses::siteName());
    setWindowIcon(Artwork::windowIcon());
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    resize(pixels(BuiltClientTwips.width()), pixels(BuiltClientTwips.height()));

    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->setFloatable(false);
    tbToolBar->setIconSize(ButtonPictureSize);
    tbToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const char *key : ButtonKeys) {
        const QString name = QLatin1String(key);
        QAction *button = tbToolBar->addAction(BrowserIcons::icon(name), name);
        button->setObjectName(name);
        button->setData(name);
        button->setToolTip(name);
        // Assistive technology names each button by its tooltip.
        QWidget *widget = tbToolBar->widgetForAction(button);
        widget->setObjectName(name);
        widget->setAccessibleName(name);
    }

    picAddress->setObjectName(QStringLiteral("picAddress"));
    picAddress->setFocusPolicy(Qt::NoFocus);

    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    lblAddress->setText(QStringLiteral("&Address:"));
    lblAddress->setProperty("Tag", QStringLiteral("&Address:"));
    lblAddress->setBuddy(cboAddress);
    lblAddress->setGeometry(pixels(LabelTwips));

    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setEditable(true);
    // The window keeps the list itself: typed text is never added by the box, and
    // the box must not complete an address the player is typing.
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    cboAddress->setCompleter(nullptr);
    cboAddress->setAccessibleName(QStringLiteral("Address"));
    // Typed keys reach the box itself, which hands them to its line edit directly, past
    // any filter there; a key sent to the line edit comes through its own filter. Either
    // way each key is seen once.
    cboAddress->installEventFilter(this);
    cboAddress->lineEdit()->installEventFilter(this);
    // A choice from the open list is a click or a Return in the list's view; these
    // filters see it before the box does, and the box says "activated" right after.
    cboAddress->view()->installEventFilter(this);
    cboAddress->view()->viewport()->installEventFilter(this);
    cboAddress->setGeometry(pixels(m_comboTwips));

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(WebAddresses::siteName());
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(DesignFonts::futura(24, true));
    Label1->setAutoFillBackground(true);
    QPalette banner = Label1->palette();
    banner.setColor(QPalette::Window, Qt::black);
    banner.setColor(QPalette::WindowText, QColor(0, 255, 0));
    Label1->setPalette(banner);
    Label1->setGeometry(pixels(BannerTwips));

    brwWebBrowser->setParent(this);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    brwWebBrowser->setGeometry(pixels(m_pageTwips));

    timTimer->setObjectName(QStringLiteral("timTimer"));
    timTimer->setInterval(TimerIntervalMs);

    setTabOrder(cboAddress, brwWebBrowser);

    // As everywhere in the game, a control acts only while a player could use it.
    connect(tbToolBar, &QToolBar::actionTriggered, this, [this](QAction *button) {
        if (ActionGuard::mayAct(tbToolBar))
            tbToolBar_ButtonClick(button);
    });
    ActionGuard::connectAction(cboAddress, &QComboBox::activated, this, &frmBrowser::comboActivated);
    connect(timTimer, &QTimer::timeout, this, &frmBrowser::timTimer_Timer);
    connect(brwWebBrowser, &WebBrowserControl::DownloadComplete, this,
            &frmBrowser::brwWebBrowser_DownloadComplete);
    connect(brwWebBrowser, &WebBrowserControl::NavigateComplete2, this,
            &frmBrowser::brwWebBrowser_NavigateComplete2);

    layOutBars();
}

void frmBrowser::Form_Load()
{
    show();
    tbToolBar->update();
    Form_Resize();
    m_comboTwips.moveTo(50, LabelTwips.y() + LabelTwips.height() + 15);
    cboAddress->setGeometry(pixels(m_comboTwips));
    if (!StartingAddress.isEmpty()) {
        cboAddress->setEditText(StartingAddress);
        cboAddress->addItem(cboAddress->currentText());
        timTimer->start();
        brwWebBrowser->Navigate(StartingAddress);
    }
}

void frmBrowser::Form_Resize()
{
    const int width = this->width() * TwipsPerPixel;
    const int height = this->height() * TwipsPerPixel;
    layOutBars();
    // A minimised or very small window would give negative sizes; they stop at zero.
    m_comboTwips.setWidth(std::max(0, width - MarginTwips));
    cboAddress->setGeometry(pixels(m_comboTwips));
    m_pageTwips.setWidth(std::max(0, width - MarginTwips));
    // The page starts under the banner, so it is measured from its own top to stop
    // above the bottom edge rather than from the address bar's bottom.
    m_pageTwips.setHeight(std::max(0, height - m_pageTwips.y() - MarginTwips));
    brwWebBrowser->setGeometry(pixels(m_pageTwips));
}

void frmBrowser::cboAddress_Click()
{
    if (DontNavigateNow)
        return;
    timTimer->start();
    brwWebBrowser->Navigate(cboAddress->currentText());
}

void frmBrowser::cboAddress_KeyPress(int KeyAscii)
{
    if (KeyAscii == CarriageReturn)
        cboAddress_Click();
}

void frmBrowser::timTimer_Timer()
{
    if (brwWebBrowser->Busy()) {
        setWindowTitle(QStringLiteral("Working..."));
    } else {
        timTimer->stop();
        setWindowTitle(brwWebBrowser->LocationName());
    }
}

void frmBrowser::tbToolBar_ButtonClick(QAction *Button)
{
    timTimer->start();
    const QString key = Button->data().toString();
    if (key == QLatin1String("Back")) {
        brwWebBrowser->GoBack();
    } else if (key == QLatin1String("Forward")) {
        brwWebBrowser->GoForward();
    } else if (key == QLatin1String("Refresh")) {
        brwWebBrowser->Refresh();
    } else if (key == QLatin1String("Home")) {
        brwWebBrowser->GoHome();
    } else if (key == QLatin1String("Search")) {
        brwWebBrowser->GoSearch();
    } else if (key == QLatin1String("Stop")) {
        timTimer->stop();
        brwWebBrowser->Stop();
        setWindowTitle(brwWebBrowser->LocationName());
    }
}

void frmBrowser::brwWebBrowser_DownloadComplete()
{
    setWindowTitle(brwWebBrowser->LocationName());
}

void frmBrowser::brwWebBrowser_NavigateComplete2(const QString &)
{
    setWindowTitle(brwWebBrowser->LocationName());
    const QString address = brwWebBrowser->LocationURL();
    const int found = cboAddress->findText(address, Qt::MatchExactly | Qt::MatchCaseSensitive);
    DontNavigateNow = true;
    if (found >= 0)
        cboAddress->removeItem(found);
    cboAddress->insertItem(0, address);
    cboAddress->setCurrentIndex(0);
    cboAddress_Click();
    DontNavigateNow = false;
}

void frmBrowser::bringIntoView(const QString &startingAddress)
{
    StartingAddress = startingAddress;
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void frmBrowser::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

void frmBrowser::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

bool frmBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == cboAddress || watched == cboAddress->lineEdit())
        && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent *>(event)->text();
        if (text.size() == 1)
            cboAddress_KeyPress(text.at(0).unicode());
    } else if (watched == cboAddress->view() || watched == cboAddress->view()->viewport()) {
        if (choosesFromList(event)) {
            m_choosingFromList = true;
            QTimer::singleShot(0, this, [this] { m_choosingFromList = false; });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmBrowser::comboActivated()
{
    // The box also says "activated" when the focus leaves it, or Return is pressed in
    // it, with text equal to another entry of its list, and when the arrows or the wheel
    // step through the closed list. Only a choice from the open list goes anywhere;
    // Return has gone already, through cboAddress_KeyPress.
    if (m_choosingFromList) {
        m_choosingFromList = false;
        cboAddress_Click();
    }
}

void frmBrowser::layOutBars()
{
    tbToolBar->setGeometry(0, 0, width(), pixels(ToolbarHeightTwips));
    picAddress->setGeometry(0, pixels(AddressBoxTwips.y()), width(), pixels(AddressBoxTwips.height()));
}
