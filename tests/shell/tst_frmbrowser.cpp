// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/banner.h"
#include "app/registry.h"
#include "app/webview.h"
#include "common/config.h"
#include "shell/frmBrowser.h"
#include "tests/support/testsupport.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <arpa/inet.h>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace vantora;

namespace {

frmBrowser *browser()
{
    return ScreenRegistry::get<frmBrowser>(QStringLiteral("frmBrowser"));
}

template <typename T> T *control(const char *name)
{
    return test::control<T>(browser(), QString::fromLatin1(name));
}

// The web engine's own view inside the browser's.
QWebEngineView *view()
{
    return qobject_cast<QWebEngineView *>(control<WebView>("brwWebBrowser")->engineView());
}

QComboBox *addressBox()
{
    return control<QComboBox>("cboAddress");
}

QTimer *timer()
{
    return control<QTimer>("timTimer");
}

QString caption()
{
    return browser()->window()->windowTitle();
}

QStringList entries()
{
    QStringList list;
    for (int i = 0; i < addressBox()->count(); ++i)
        list << addressBox()->itemText(i);
    return list;
}

void typeAddress(const QString &text)
{
    QLineEdit *edit = addressBox()->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void clickButton(const char *key)
{
    control<QToolBar>("tbToolBar")->widgetForAction(control<QAction>(key))->setFocus();
    control<QAction>(key)->trigger();
}

} // namespace

class TstFrmBrowser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writePage("a.html", "<title>Page A</title><p>First page</p>");
        writePage("b.html", "<title>Page B</title><p>Second page</p>");
        writePage("c.html", "<title>Page C</title><p>Third page</p>");
        writePage("untitled.html", "<p>No title here</p>");
        // Keeps the page loading for a while after its title has arrived.
        writePage("slow.html", "<html><head><title>Slow page</title></head><body><p>Slow</p>"
                               "<script>var t = Date.now(); while (Date.now() - t < 700) {}"
                               "</script></body></html>");
        writePage("site/index.html", "<title>Offline home</title><p>Home</p>");
        writePage("site/search.html", "<title>Offline search</title><p>Search</p>");
        config::setSiteRoot(QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("site/"))));
    }

    void cleanup()
    {
        browser()->unload();
        browser()->setStartingAddress(QString());
        test::flushDeletes();
    }

    void emptyStartingAddress()
    {
        browser()->setProperty("StartingAddress", QString());
        browser()->load();

        QVERIFY(browser()->window()->isVisible());
        QVERIFY(caption().isEmpty());
        QVERIFY(addressBox()->currentText().isEmpty());
        QCOMPARE(addressBox()->count(), 0);
        QVERIFY(!timer()->isActive());
        // Nothing was asked of the view, so nothing can come of it later either.
        QVERIFY(!browser()->busy());
        QVERIFY(view()->url().isEmpty());
    }

    void controls()
    {
        browser()->load();
        QCOMPARE(control<QLabel>("lblAddress")->text(), QStringLiteral("&Address:"));
        QCOMPARE(control<QLabel>("lblAddress")->buddy(), addressBox());
        QVERIFY(addressBox()->isEditable());
        QCOMPARE(timer()->interval(), 5);
        QStringList keys;
        for (QAction *button : control<QToolBar>("tbToolBar")->actions()) {
            keys << button->objectName();
            QCOMPARE(button->toolTip(), button->objectName());
            const QSize picture = button->icon().actualSize(QSize(24, 24));
            QCOMPARE(picture, QSize(24, 24));
        }
        QCOMPARE(keys, QStringList({"Back", "Forward", "Stop", "Refresh", "Home", "Search"}));
    }

    void startingAddress_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("finalCaption");

        QTest::newRow("page with a title") << "a.html"
                                           << "Page A";
        QTest::newRow("page without a title")
            << "untitled.html" << m_dir.filePath(QStringLiteral("untitled.html"));
        QTest::newRow("slow page") << "slow.html"
                                   << "Slow page";
    }

    void startingAddress()
    {
        QFETCH(QString, page);
        QFETCH(QString, finalCaption);
        const QString address = url(page);
        browser()->setProperty("StartingAddress", address);
        QStringList captions;
        browser()->load();
        connect(browser()->window(), &QWidget::windowTitleChanged, this,
                [&captions](const QString &title) { captions << title; });

        QCOMPARE(addressBox()->currentText(), address);
        QCOMPARE(entries(), QStringList{address});
        QVERIFY(timer()->isActive());

        QTRY_COMPARE(caption(), finalCaption);
        QTRY_VERIFY(!timer()->isActive());
        QCOMPARE(caption(), finalCaption);
        QVERIFY2(captions.contains(QStringLiteral("Working...")), qPrintable(captions.join('|')));
        QCOMPARE(captions.lastIndexOf(QStringLiteral("Working...")) <
                     captions.lastIndexOf(finalCaption),
                 true);
        QCOMPARE(view()->url().toString(), address);
        QCOMPARE(entries(), QStringList{address});
    }

    void reloadedWindowOpensTheSameAddress()
    {
        browser()->setStartingAddress(url("b.html"));
        browser()->load();
        QTRY_COMPARE(caption(), QStringLiteral("Page B"));
        browser()->window()->close();
        QVERIFY(!browser()->isLoaded());
        test::flushDeletes();

        browser()->load();
        QCOMPARE(addressBox()->currentText(), url("b.html"));
        QTRY_COMPARE(caption(), QStringLiteral("Page B"));
    }

    void addressBoxKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("navigates");

        QTest::newRow("Enter") << int(Qt::Key_Return) << true;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true;
        QTest::newRow("Tab") << int(Qt::Key_Tab) << false;
        QTest::newRow("space") << int(Qt::Key_Space) << false;
        QTest::newRow("End") << int(Qt::Key_End) << false;
        QTest::newRow("no key beyond the typing") << 0 << false;
    }

    void addressBoxKeys()
    {
        QFETCH(int, key);
        QFETCH(bool, navigates);
        openOn("a.html", "Page A");

        QSignalSpy loads(view(), &QWebEngineView::loadStarted);
        typeAddress(url("b.html"));
        if (key)
            QTest::keyClick(addressBox()->lineEdit(), Qt::Key(key));

        if (navigates) {
            QVERIFY(timer()->isActive() || caption() != QStringLiteral("Page A"));
            QTRY_COMPARE(caption(), QStringLiteral("Page B"));
            QCOMPARE(view()->url().toString(), url("b.html"));
            QCOMPARE(loads.count(), 1);
        } else {
            QVERIFY(!browser()->busy());
            QVERIFY(!timer()->isActive());
            QCOMPARE(caption(), QStringLiteral("Page A"));
            // A load of our own, once it has finished, shows that the keys had asked for none.
            QSignalSpy urls(view(), &QWebEngineView::urlChanged);
            view()->setUrl(QUrl(url("c.html")));
            QTRY_COMPARE(caption(), QStringLiteral("Page C"));
            QCOMPARE(loads.count(), 1);
            for (const QList<QVariant> &change : urls)
                QVERIFY(change.at(0).toUrl() != QUrl(url("b.html")));
        }
    }

    // The typed text goes to the view as it is, also when it matches a list entry but for case.
    void enterTakesTheTypedText()
    {
        openOn("a.html", "Page A");
        const QString typed = url("A.html");
        typeAddress(typed);
        QTest::keyClick(addressBox()->lineEdit(), Qt::Key_Return);
        QTRY_COMPARE(view()->url().toString(), typed);
        QTRY_VERIFY(!timer()->isActive());
    }

    void historyIsMostRecentFirst()
    {
        openOn("a.html", "Page A");
        for (const char *page : {"b.html", "a.html", "c.html", "c.html"}) {
            typeAddress(url(page));
            QTest::keyClick(addressBox()->lineEdit(), Qt::Key_Return);
            QTRY_COMPARE(view()->url().toString(), url(page));
            QTRY_VERIFY(!timer()->isActive());
        }
        QCOMPARE(entries(), QStringList({url("c.html"), url("a.html"), url("b.html")}));
        QCOMPARE(addressBox()->currentText(), url("c.html"));
    }

    void pickingAListEntryNavigates()
    {
        openOn("a.html", "Page A");
        typeAddress(url("b.html"));
        QTest::keyClick(addressBox()->lineEdit(), Qt::Key_Return);
        QTRY_COMPARE(caption(), QStringLiteral("Page B"));
        QCOMPARE(entries().indexOf(url("a.html")), 1);

        addressBox()->setCurrentIndex(1);
        Q_EMIT addressBox()->activated(1);
        QVERIFY(timer()->isActive());
        QTRY_COMPARE(caption(), QStringLiteral("Page A"));
        QCOMPARE(entries(), QStringList({url("a.html"), url("b.html")}));
    }

    // Keys as the window system delivers them, to the widget with the focus: the address box
    // reached by its label's key, then a typed address and Enter, or an entry of the list.
    void addressBoxNavigatesOnce_data()
    {
        QTest::addColumn<QString>("typed"); // empty: picked from the list
        QTest::addColumn<bool>("popup");    // picked from the open list rather than by Down
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("title");

        QTest::newRow("new address") << "c.html" << false << "c.html"
                                     << "Page C";
        QTest::newRow("known address") << "a.html" << false << "a.html"
                                       << "Page A";
        QTest::newRow("next entry by Down") << "" << false << "a.html"
                                            << "Page A";
        QTest::newRow("entry of the open list") << "" << true << "a.html"
                                                << "Page A";
    }

    void addressBoxNavigatesOnce()
    {
        QFETCH(QString, typed);
        QFETCH(bool, popup);
        QFETCH(QString, page);
        QFETCH(QString, title);
        openOnAThenB();
        QVERIFY(QTest::qWaitForWindowActive(browser()->window()));
        control<QToolBar>("tbToolBar")->widgetForAction(control<QAction>("Home"))->setFocus();
        test::pressKey(Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(addressBox()->hasFocus());

        QSignalSpy loads(view(), &QWebEngineView::loadStarted);
        if (!typed.isEmpty()) {
            test::pressKey(Qt::Key_A, Qt::ControlModifier);
            test::typeText(url(typed));
            test::pressKey(Qt::Key_Return);
        } else if (popup) {
            test::pressKey(Qt::Key_Down, Qt::AltModifier);
            QTRY_VERIFY(addressBox()->view()->isVisible());
            test::pressKey(Qt::Key_Down);
            test::pressKey(Qt::Key_Return);
        } else {
            test::pressKey(Qt::Key_Down);
        }
        QTRY_COMPARE(caption(), title);
        QTRY_VERIFY(!timer()->isActive());
        QCOMPARE(view()->url().toString(), url(page));
        QTest::qWait(300); // a second navigation would start by now
        QCOMPARE(loads.count(), 1);
        QCOMPARE(addressBox()->currentText(), url(page));
    }

    void toolbar_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expectedPage");
        QTest::addColumn<QString>("expectedCaption");

        QTest::newRow("Back") << "Back"
                              << "a.html"
                              << "Page A";
        QTest::newRow("Refresh") << "Refresh"
                                 << "b.html"
                                 << "Page B";
        QTest::newRow("Home") << "Home"
                              << "site/index.html"
                              << "Offline home";
        QTest::newRow("Search") << "Search"
                                << "site/search.html"
                                << "Offline search";
    }

    void toolbar()
    {
        QFETCH(QString, key);
        QFETCH(QString, expectedPage);
        QFETCH(QString, expectedCaption);
        openOnAThenB();

        QSignalSpy loads(view(), &QWebEngineView::loadFinished);
        clickButton(key.toLatin1().constData());
        QVERIFY(timer()->isActive());
        QTRY_COMPARE(loads.count(), 1);
        QTRY_COMPARE(caption(), expectedCaption);
        QCOMPARE(view()->url().toString(), url(expectedPage));
        QTRY_VERIFY(!timer()->isActive());
        // The browser window stays; it never brings back another screen.
        QVERIFY(browser()->isLoaded());
        QCOMPARE(ScreenRegistry::loaded().size(), 1);
    }

    void backAndForward()
    {
        openOn("a.html", "Page A");
        typeAddress(url("b.html"));
        QTest::keyClick(addressBox()->lineEdit(), Qt::Key_Return);
        QTRY_COMPARE(caption(), QStringLiteral("Page B"));

        clickButton("Back");
        QTRY_COMPARE(caption(), QStringLiteral("Page A"));
        clickButton("Forward");
        QTRY_COMPARE(caption(), QStringLiteral("Page B"));
        QTRY_VERIFY(!timer()->isActive());

        // Nothing ahead: only the timer runs, and its next tick restores the caption.
        clickButton("Forward");
        QVERIFY(timer()->isActive());
        QTRY_VERIFY(!timer()->isActive());
        QCOMPARE(caption(), QStringLiteral("Page B"));
        QCOMPARE(view()->url().toString(), url("b.html"));
    }

    void backWithNoPageAtAll()
    {
        browser()->load();
        clickButton("Back");
        QTRY_VERIFY(!timer()->isActive());
        QVERIFY(caption().isEmpty());
        QVERIFY(browser()->isLoaded());
    }

    void stopDuringALoad()
    {
        openOn("a.html", "Page A");
        typeAddress(url("slow.html"));
        QTest::keyClick(addressBox()->lineEdit(), Qt::Key_Return);
        QTRY_COMPARE(caption(), QStringLiteral("Working..."));

        clickButton("Stop");
        QVERIFY(!timer()->isActive());
        QVERIFY(caption() != QStringLiteral("Working..."));
        QCOMPARE(caption(), browser()->locationName());
        // Whatever the view still reports about the stopped load comes before the page answers
        // a script of ours (its own script has run to its end by then), and starts nothing.
        bool answered = false;
        view()->page()->runJavaScript(QStringLiteral("1"),
                                      [&answered](const QVariant &) { answered = true; });
        QTRY_VERIFY_WITH_TIMEOUT(answered, 10000);
        QCoreApplication::processEvents();
        QVERIFY(!timer()->isActive());
        QVERIFY(caption() != QStringLiteral("Working..."));
        QVERIFY(!caption().isEmpty());
    }

    void resizeRule_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("boxWidth");
        QTest::addColumn<int>("viewWidth");
        QTest::addColumn<int>("viewBelowStrip"); // the view's height + 7 below the strip

        // 100 twips are 6.67 pixels, so both widths are 7 pixels narrower than the window.
        QTest::newRow("ordinary") << QSize(640, 480) << 633 << 633 << 0;
        QTest::newRow("large") << QSize(1200, 860) << 1193 << 1193 << 0;
        QTest::newRow("8 pixels wide") << QSize(8, 300) << 1 << 1 << 0;
        QTest::newRow("narrower than 100 twips") << QSize(6, 300) << 0 << 0 << 0;
        // No room below the address strip: the view's height is 0, not negative.
        QTest::newRow("shorter than the strip") << QSize(300, 40) << 293 << 293 << -1;
    }

    void resizeRule()
    {
        QFETCH(QSize, size);
        QFETCH(int, boxWidth);
        QFETCH(int, viewWidth);
        QFETCH(int, viewBelowStrip);
        browser()->load();
        const QPoint viewPosition = view()->pos();
        const int boxHeight = addressBox()->height();

        browser()->window()->resize(size);
        QTRY_COMPARE(browser()->window()->size(), size);

        auto *strip = control<QFrame>("picAddress");
        const int stripBottom = strip->y() + strip->height();
        QCOMPARE(addressBox()->width(), boxWidth);
        QCOMPARE(addressBox()->height(), boxHeight);
        QCOMPARE(view()->width(), viewWidth);
        if (viewBelowStrip < 0)
            QCOMPARE(view()->height(), 0);
        else
            QCOMPARE(view()->height(), size.height() - stripBottom - 7);
        QCOMPARE(view()->pos(), viewPosition);
        // The address box sits 50 twips in, 15 twips under its label.
        auto *label = control<QLabel>("lblAddress");
        QCOMPARE(addressBox()->pos(), QPoint(3, label->y() + label->height() + 1));
    }

    // A local page keeps its scripts, but reads no local file outside the offline site and
    // reaches no server, in the browser window as in a banner view.
    void localPageReadsNoOtherFile_data()
    {
        QTest::addColumn<bool>("banner");
        QTest::newRow("browser window") << false;
        QTest::newRow("banner view") << true;
    }
    void localPageReadsNoOtherFile()
    {
        QFETCH(bool, banner);
        Listener server;
        QVERIFY(server.port() > 0);
        writePage("secret.txt", "TOPSECRET");
        QByteArray probe = R"(<title>probe</title><iframe id="outside" src="@SECRET"></iframe>
<script>
const secret = '@SECRET', server = 'http://127.0.0.1:@PORT/';
async function get(url) {
  const abort = new AbortController();
  setTimeout(() => abort.abort(), 1500);
  try {
    const text = await (await fetch(url, {signal: abort.signal, mode: 'no-cors'})).text();
    return text.includes('TOPSECRET') ? 'read' : 'loaded';
  } catch (e) { return 'blocked'; }
}
async function probe() {
  const seen = ['file:' + await get(secret), 'site:' + await get('index.html')];
  const frame = document.getElementById('outside').contentDocument;
  seen.push('frame:' + (frame && frame.body && frame.body.innerText.includes('TOPSECRET')
                        ? 'read' : 'blocked'));
  seen.push('net:' + await get(server + '?' + seen.join()));
  await new Promise(done => { const i = new Image(); i.onload = i.onerror = done;
                              i.src = server + 'i.png'; });
  document.title = seen.join(' ');
}
window.onload = () => probe();
</script>)";
        probe.replace("@SECRET", url(QStringLiteral("secret.txt")).toUtf8())
            .replace("@PORT", QByteArray::number(server.port()));
        writePage("site/ban2.htm", probe);

        WebView bannerView;
        auto *shown = qobject_cast<QWebEngineView *>(bannerView.engineView());
        if (banner) {
            showBanner(&bannerView);
        } else {
            browser()->setStartingAddress(url(QStringLiteral("site/ban2.htm")));
            browser()->load();
            shown = view();
        }
        QTRY_COMPARE_WITH_TIMEOUT(shown->title(),
                                  QStringLiteral("file:blocked site:loaded frame:blocked "
                                                 "net:blocked"),
                                  15000);
        QCOMPARE(server.connections(), 0);
    }

    // The offline site shows whole: its home page holds the banner page in a frame.
    void offlineSiteShowsItsBanner()
    {
        config::setSiteRoot(QUrl::fromLocalFile(config::programDir() + QStringLiteral("/site/")));
        const auto restore = qScopeGuard([this] {
            config::setSiteRoot(QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("site/"))));
        });
        browser()->setStartingAddress(frmBrowser::homePage().toString());
        browser()->load();
        QTRY_COMPARE_WITH_TIMEOUT(caption(), QStringLiteral("Tallowby Software"), 15000);
        const QString script =
            QStringLiteral("document.querySelector('iframe').contentDocument.title");
        // Answers to the earlier tries may come after the test: they write where they can.
        const auto framed = std::make_shared<QString>();
        QTRY_VERIFY_WITH_TIMEOUT(
            (view()->page()->runJavaScript(script,
                                           [framed](const QVariant &v) { *framed = v.toString(); }),
             *framed == QLatin1String("Vantora Market Pro")),
            15000);
    }

private:
    // A server that takes connections and never answers: it counts whoever reached it.
    class Listener
    {
    public:
        Listener()
        {
            m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            socklen_t size = sizeof address;
            if (::bind(m_fd, reinterpret_cast<sockaddr *>(&address), size) == 0 &&
                ::listen(m_fd, 16) == 0 &&
                ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &size) == 0)
                m_port = ntohs(address.sin_port);
        }
        ~Listener() { ::close(m_fd); }
        Q_DISABLE_COPY_MOVE(Listener)
        int port() const { return m_port; }
        int connections()
        {
            int count = 0;
            for (int client; (client = ::accept(m_fd, nullptr, nullptr)) >= 0; ++count)
                ::close(client);
            return count;
        }

    private:
        int m_fd = -1;
        int m_port = 0;
    };

    QString url(const QString &page) const
    {
        return QUrl::fromLocalFile(m_dir.filePath(page)).toString();
    }

    void writePage(const QString &name, const QByteArray &html)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<!DOCTYPE html><meta charset=\"utf-8\">" + html);
    }

    // Page A, then page B typed into the address box: two entries in its list.
    void openOnAThenB()
    {
        openOn("a.html", "Page A");
        typeAddress(url("b.html"));
        QTest::keyClick(addressBox()->lineEdit(), Qt::Key_Return);
        QTRY_COMPARE(caption(), QStringLiteral("Page B"));
        QTRY_VERIFY(!timer()->isActive());
    }

    void openOn(const QString &page, const QString &title)
    {
        browser()->setStartingAddress(url(page));
        browser()->load();
        QTRY_COMPARE(caption(), title);
        QTRY_VERIFY(!timer()->isActive());
    }

    QTemporaryDir m_dir;
};

VANTORA_TEST_MAIN(TstFrmBrowser)
#include "tst_frmbrowser.moc"
