// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmabout.h"

#include "assets/artwork.h"
#include "platform/actionguard.h"
#include "platform/designfonts.h"
#include "platform/programlauncher.h"
#include "platform/prompts.h"
#include "platform/registry.h"
#include "table/cardimage.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

constexpr int VersionMajor = MARIGOLD_VERSION_MAJOR;
constexpr int VersionMinor = MARIGOLD_VERSION_MINOR;
constexpr int VersionRevision = MARIGOLD_VERSION_PATCH;

// Read access plus the rights to change the key, as the program has always asked.
constexpr quint32 KeyAccess = 0x2003F;
constexpr qsizetype KeyValueCapacity = 1024;

const QString SysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString SysInfoValue = QStringLiteral("PATH");
const QString SysInfoFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString SysInfoFolderValue = QStringLiteral("MSINFO");
const QString SysInfoProgram = QStringLiteral("\\MSINFO32.EXE");

const QColor Blue(0, 0, 255);
const QColor Black(0, 0, 0);

QString applicationTitle()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Marigold") : name;
}

// A DWORD as stored: little-endian, possibly short by the trailing zero bytes that
// were trimmed off as if they ended a string.
quint32 littleEndianNumber(const QByteArray &bytes)
{
    quint32 number = 0;
    for (qsizetype index = qMin<qsizetype>(bytes.size(), 4); index-- > 0;)
        number = (number << 8) | quint8(bytes.at(index));
    return number;
}

} // namespace

frmAbout::frmAbout(const Services &services)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                           | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmAbout"));
    setModal(false);
    setFixedSize(382, 237);
    setWindowIcon(Artwork::windowIcon());
    setFont(DesignFonts::dialog());
    QPalette blue = palette();
    blue.setColor(QPalette::Window, Blue);
    setPalette(blue);
    setAutoFillBackground(true);

    picIcon = new QFrame(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(16, 16, 77, 102);
    picIcon->setFrameStyle(QFrame::Box | QFrame::Plain);
    picIcon->setLineWidth(1);
    QPalette framed = picIcon->palette();
    framed.setColor(QPalette::Window, QApplication::palette().color(QPalette::Base));
    framed.setColor(QPalette::WindowText, Black);
    picIcon->setPalette(framed);
    picIcon->setAutoFillBackground(true);
    auto *cardBack = new CardImage(picIcon);
    cardBack->setPicture(CardPicture::back(0));
    cardBack->setClickable(false);
    cardBack->move(1, 1);

    lblTitle = addLabel("lblTitle", {112, 16, 139, 32}, QString(), true);
    lblTitle->setFont(DesignFonts::futura(12, true));
    lblVersion = addLabel("lblVersion", {110, 52, 219, 15}, QString(), false);
    lblDescription = addLabel("lblDescription", {108, 75, 221, 78},
                              QStringLiteral("Marigold  is another simple card game that "
                                             "requires a little forethought before making "
                                             "your moves."),
                              true);
    lblDisclaimer = addLabel("lblDisclaimer", {17, 175, 250, 55},
                             tr("Marigold is free to share: pass it on to friends, unchanged "
                                "and with this notice."),
                             true);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(283, 175, 84, 23);
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(284, 205, 83, 23);
    setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();

    ActionGuard::connectAction(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    ActionGuard::connectAction(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    Form_Load();
}

QLabel *frmAbout::addLabel(const char *name, QRect geometry, const QString &text, bool black)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, Blue);
    if (black)
        colours.setColor(QPalette::WindowText, Black);
    label->setPalette(colours);
    label->setAutoFillBackground(true);
    return label;
}

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + applicationTitle());
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(VersionMajor)
                            .arg(VersionMinor)
                            .arg(VersionRevision));
    lblTitle->setText(applicationTitle());
}

void frmAbout::cmdOK_Click()
{
    hide();
    Q_EMIT backToMenu();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    QString SysInfoPath;
    bool found = GetKeyValue(Registry::HKeyLocalMachine, SysInfoKey, SysInfoValue, SysInfoPath);
    if (!found
        && GetKeyValue(Registry::HKeyLocalMachine, SysInfoFolderKey, SysInfoFolderValue,
                       SysInfoPath)) {
        // The folder is joined as it stands, even when it already ends in a backslash.
        const QString program = SysInfoPath + SysInfoProgram;
        if (m_services.launcher->fileExists(program)) {
            SysInfoPath = program;
            found = true;
        }
    }
    if (found && !SysInfoPath.isEmpty() && m_services.launcher->start(SysInfoPath))
        return;
    ++m_boxesOpen;
    m_services.prompts->message(this,
                                QStringLiteral("System Information Is Unavailable At This Time"));
    if (--m_boxesOpen == 0 && m_unloadPending)
        deleteLater();
}

void frmAbout::unload()
{
    // The message box is this window's child: deleting the window under it would delete
    // the box inside its own exec().
    if (m_boxesOpen > 0)
        m_unloadPending = true;
    else
        deleteLater();
}

bool frmAbout::GetKeyValue(quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                           QString &KeyVal)
{
    Registry &registry = *m_services.registry;
    Registry::Handle hKey = 0;
    if (registry.openKey(KeyRoot, KeyName.toLocal8Bit(), KeyAccess, &hKey)
        != Registry::ErrorSuccess) {
        KeyVal.clear();
        return false;
    }

    QByteArray tmpVal(KeyValueCapacity, '\0');
    quint32 KeyValSize = quint32(KeyValueCapacity);
    quint32 KeyValType = 0;
    if (registry.queryValue(hKey, SubKeyRef.toLocal8Bit(), &KeyValType, &tmpVal, &KeyValSize)
        != Registry::ErrorSuccess) {
        KeyVal.clear();
        registry.closeKey(hKey);
        return false;
    }

    // Strings are stored with their terminating NUL counted in the size; only that one
    // goes, and a value stored without one keeps every byte.
    const qsizetype stored = qMin<qsizetype>(KeyValSize, tmpVal.size());
    tmpVal.truncate(stored > 0 && tmpVal.at(stored - 1) == '\0' ? stored - 1 : stored);

    switch (KeyValType) {
    case Registry::RegSz:
        KeyVal = QString::fromLocal8Bit(tmpVal);
        break;
    case Registry::RegDword:
        KeyVal = QString::number(littleEndianNumber(tmpVal));
        break;
    default:
        break;
    }

    registry.closeKey(hKey);
    return true;
}

void frmAbout::reject()
{
    cmdOK_Click();
}

void frmAbout::paintEvent(QPaintEvent *)
{
    // An etched rule between the words and the buttons.
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(6, 163), QPoint(377, 163)), QColor(128, 128, 128));
    painter.fillRect(QRect(QPoint(7, 164), QPoint(377, 165)), QColor(255, 255, 255));
}
