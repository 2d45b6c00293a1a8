// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/screen.h"
#include "ui_frmBrowser.h"

#include <QElapsedTimer>
#include <QString>
#include <QUrl>

class QAction;
class QTimer;

namespace vantora {

// A small web browser: toolbar, address box with a most-recent-first history, and a web view.
// A caller sets StartingAddress and loads the screen; the window shows itself and opens it.
class frmBrowser final : public FormScreen<Ui::frmBrowser>
{
    Q_OBJECT
    Q_PROPERTY(QString StartingAddress READ StartingAddress WRITE setStartingAddress)

public:
    QString StartingAddress() const { return m_startingAddress; }
    void setStartingAddress(const QString &address) { m_startingAddress = address; }

    // Where "Home" and "Search" go: pages of the offline site beside the program.
    static QUrl homePage();
    static QUrl searchPage();

    // The window's unit: 1440 twips to the inch, 15 twips to a pixel at 96 dots per inch.
    static constexpr int kTwipsPerPixel = 15;
    static int toTwips(int pixels) { return pixels * kTwipsPerPixel; }
    static int toPixels(int twips);

    // What the web view reports: loading, the page's title (or local path), its address.
    bool busy() const;
    QString locationName() const;
    QString locationAddress() const;

private:
    void connectHandlers() override;
    void Form_Load() override;
    void Form_UnLoad() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void Form_Resize();
    void tbToolBar_ButtonClick(QAction *Button);
    void cboAddress_Click();
    void cboAddress_KeyPress(int KeyAscii);
    void timTimer_Timer();
    void brwWebBrowser_DownloadComplete();
    void brwWebBrowser_NavigateComplete();
    void navigateTo(const QUrl &url);
    void expectLoad();

    QTimer *m_timTimer = nullptr;
    QString m_startingAddress;
    bool m_navigationHold = false;
    bool m_loading = false;       // between the view's load start and load end
    bool m_loadRequested = false; // asked for a load that has not started yet
    QElapsedTimer m_requestAge;
};

} // namespace vantora
