// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frmTip.h"

#include "app/registry.h"
#include "common/config.h"
#include "common/dialogs.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QSettings>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace vantora {

namespace {

// The per-user store, addressed by the program file's name (the application name).
QString readShowTipsSetting()
{
    const QString app = QCoreApplication::applicationName();
    QSettings settings(QSettings::UserScope, app, app);
    settings.beginGroup(frmTip::settingsSection());
    return settings.value(frmTip::settingsKey(), QStringLiteral("1")).toString();
}

// False, with the settings file named, when the store could not be written.
bool writeShowTipsSetting(const QString &value, QString *file)
{
    const QString app = QCoreApplication::applicationName();
    QSettings settings(QSettings::UserScope, app, app);
    settings.beginGroup(frmTip::settingsSection());
    settings.setValue(frmTip::settingsKey(), value);
    settings.sync();
    *file = settings.fileName();
    return settings.status() == QSettings::NoError;
}

// The 32 x 32 light bulb of the tip panel, drawn for the screen's pixel ratio.
QPixmap lightBulb(qreal ratio)
{
    QPixmap pixmap(QSize(32, 32) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // Rays
    p.setPen(QPen(QColor(0xf2, 0xc1, 0x4e, 170), 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF centre(16, 12);
    for (int i = 0; i < 7; ++i) {
        const double angle = M_PI * (1.0 + i / 6.0);
        const QPointF dir(std::cos(angle), std::sin(angle));
        p.drawLine(centre + dir * 10.5, centre + dir * 13.5);
    }
    // Glass
    QRadialGradient glow(QPointF(14, 9), 10);
    glow.setColorAt(0, QColor(0xff, 0xf7, 0xd6));
    glow.setColorAt(0.55, QColor(0xf7, 0xd3, 0x6a));
    glow.setColorAt(1, QColor(0xe0, 0xa8, 0x2e));
    QPainterPath glass;
    glass.addEllipse(QPointF(16, 12), 8, 8);
    QPainterPath neck;
    neck.moveTo(11.2, 17.5);
    neck.cubicTo(12.5, 19.5, 12.5, 21, 12.5, 22);
    neck.lineTo(19.5, 22);
    neck.cubicTo(19.5, 21, 19.5, 19.5, 20.8, 17.5);
    neck.closeSubpath();
    p.setPen(QPen(QColor(0x8a, 0x62, 0x12), 1));
    p.setBrush(glow);
    p.drawPath(glass.united(neck));
    // Filament
    p.setPen(QPen(QColor(0xb0, 0x6a, 0x10), 1.1));
    p.setBrush(Qt::NoBrush);
    QPainterPath filament;
    filament.moveTo(14, 21);
    filament.lineTo(14, 14.5);
    filament.cubicTo(14, 12.5, 18, 12.5, 18, 14.5);
    filament.lineTo(18, 21);
    p.drawPath(filament);
    // Screw base
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc9, 0xcf, 0xd8));
    p.drawRoundedRect(QRectF(12, 22, 8, 6), 1.2, 1.2);
    p.setPen(QPen(QColor(0x7d, 0x86, 0x94), 1));
    p.drawLine(QPointF(12.5, 24), QPointF(19.5, 24));
    p.drawLine(QPointF(12.5, 26), QPointF(19.5, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5b, 0x63, 0x70));
    p.drawRoundedRect(QRectF(14, 28, 4, 2.2), 1, 1);
    return pixmap;
}

} // namespace

QString frmTip::missingFileNotice()
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("That the ") + tipsFileName() + QStringLiteral(" file was not found? ") +
           crlf + crlf + QStringLiteral("Create a text file named ") + tipsFileName() +
           QStringLiteral(" using NotePad with 1 tip per line. ") +
           QStringLiteral("Then place it in the same directory as the application. ");
}

QString frmTip::tipsDirectory() const
{
    return m_tipsDirectory.isEmpty() ? config::programDir() : m_tipsDirectory;
}

void frmTip::connectHandlers()
{
    m_placed = false;
    m_ui->imgTipIcon->setPixmap(lightBulb(window()->devicePixelRatioF()));

    connect(m_ui->cmdNextTip, &QPushButton::clicked, this, &frmTip::cmdNextTip_Click);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &frmTip::cmdOK_Click);
    // Esc is the OK button's too (the dialog rejects itself on Esc).
    connect(static_cast<QDialog *>(window()), &QDialog::rejected, this, &frmTip::cmdOK_Click);
    // Raised when the user clicks the box and when the program sets its value.
    connect(m_ui->chkLoadTipsAtStartup, &QCheckBox::toggled, this,
            &frmTip::chkLoadTipsAtStartup_Click);
}

bool frmTip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window() && event->type() == QEvent::Show && !m_placed) {
        m_placed = true;
        // The main window is shown after this one; place the tip once both are up.
        QTimer::singleShot(0, window(), [this] { placeBesideMainWindow(); });
    }
    return Screen::eventFilter(watched, event);
}

void frmTip::placeBesideMainWindow()
{
    QWidget *tip = window();
    const Screen *main = ScreenRegistry::existing(QStringLiteral("Form11"));
    if (!tip || !main || !main->window() || !main->window()->isVisible())
        return;
    const QRect mainFrame = main->window()->frameGeometry();
    const QRect tipFrame = tip->frameGeometry();
    const QScreen *screen = main->window()->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const int gap = 12;
    // To the right of the main window if it fits, else to its left; otherwise leave it.
    QPoint topLeft(mainFrame.right() + 1 + gap, mainFrame.top());
    if (topLeft.x() + tipFrame.width() > area.right() + 1)
        topLeft.setX(mainFrame.left() - gap - tipFrame.width());
    if (topLeft.x() < area.left())
        return;
    topLeft.setY(std::clamp(topLeft.y(), area.top(),
                            std::max(area.top(), area.bottom() + 1 - tipFrame.height())));
    tip->move(topLeft);
}

void frmTip::Form_Load()
{
    bool whole = false;
    const int showTips = readShowTipsSetting().trimmed().toInt(&whole);
    if (whole && showTips == 0) {
        unload();
        return;
    }
    m_loading = true;
    m_ui->chkLoadTipsAtStartup->setChecked(true);
    m_loading = false;

    m_random.seed(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));

    if (!LoadTips(tipsDirectory() + QLatin1Char('/') + tipsFileName()))
        m_ui->lblTipText->setText(missingFileNotice());
}

bool frmTip::LoadTips(const QString &sFile)
{
    // Each load reads the file afresh, so the list neither grows with every return to the main
    // window nor keeps tips of a file that has since gone.
    m_tips.clear();
    if (sFile.isEmpty())
        return false;
    const QFileInfo info(sFile);
    if (!info.exists() || info.isDir())
        return false;

    QFile file(sFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&file);
    QStringList lines;
    while (!in.atEnd())
        lines << in.readLine();
    // A file that cannot be read to its end counts as missing.
    if (in.status() != QTextStream::Ok || file.error() != QFileDevice::NoError)
        return false;
    file.close();
    m_tips = lines;

    nextTip();
    return true;
}

void frmTip::nextTip()
{
    // r in [0, 1) in single precision: the top 24 bits of a draw.
    const float r = static_cast<float>(m_random.generate() >> 8) * (1.0f / 16777216.0f);
    m_currentTip = static_cast<int>(static_cast<double>(r) * m_tips.size()) + 1;
    DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip()
{
    if (!m_ui || m_tips.isEmpty() || m_currentTip < 1 || m_currentTip > m_tips.size())
        return;
    m_ui->lblTipText->setText(m_tips.at(m_currentTip - 1));
}

void frmTip::cmdNextTip_Click()
{
    nextTip();
}

void frmTip::cmdOK_Click()
{
    unload();
}

void frmTip::chkLoadTipsAtStartup_Click()
{
    QString file;
    if (writeShowTipsSetting(m_ui->chkLoadTipsAtStartup->isChecked() ? QStringLiteral("1")
                                                                     : QStringLiteral("0"),
                             &file) ||
        m_loading || m_settingsFailureShown)
        return;
    // Said once in a run: the user's choice is lost, not only the program's own write.
    m_settingsFailureShown = true;
    msgBox(QStringLiteral("Your choice could not be kept: the settings file \"%1\" cannot be "
                          "written, so \"Show Tips at Startup\" stays as it was when the program "
                          "starts next time.")
               .arg(QDir::toNativeSeparators(file)));
}

} // namespace vantora
