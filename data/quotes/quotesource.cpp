// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/quotes/quotesource.h"

#include "data/exchange/pricefiles.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSettings>
#include <memory>
#include <vector>

namespace vantora::quotes {
namespace {

bool isStooq(const QString &urlTemplate)
{
    return QUrl(urlTemplate).host().endsWith(QLatin1String("stooq.com"), Qt::CaseInsensitive);
}

// What the answer is, when it is no file of daily history.
QString notAPriceFile(const QByteArray &bytes)
{
    const QByteArray start = bytes.left(512).trimmed();
    if (start.isEmpty())
        return QStringLiteral("the answer was empty");
    const QByteArray lower = start.toLower();
    if (lower.startsWith("<!doctype") || lower.startsWith("<html") || lower.contains("<body"))
        return QStringLiteral("the answer is a web page, not a file of daily history");
    const qsizetype end = start.indexOf('\n');
    QStringList header =
        QString::fromUtf8(end < 0 ? start : start.left(end)).trimmed().split(QLatin1Char(','));
    QString problem;
    if (prices::recognise(header, &problem))
        return {};
    const QString first =
        QString::fromUtf8(start.left(end < 0 ? 80 : std::min<qsizetype>(end, 80))).trimmed();
    return QStringLiteral("the answer is no file of daily history (it begins \"%1\")").arg(first);
}

} // namespace

QString defaultTemplate()
{
    return QStringLiteral("https://stooq.com/q/d/l/?s={symbol}&i=d");
}

QString savedTemplate()
{
    // The program's own settings, whichever program reads them.
    QSettings settings(QSettings::UserScope, QStringLiteral("vantora"), QStringLiteral("vantora"));
    const QString saved = settings.value(QStringLiteral("Quotes/URL template")).toString();
    return saved.trimmed().isEmpty() ? defaultTemplate() : saved.trimmed();
}

QString sourceSymbol(const QString &symbol, const QString &urlTemplate)
{
    if (!isStooq(urlTemplate))
        return symbol;
    const QString canonical = prices::canonicalSymbol(symbol);
    if (canonical == prices::kDow)
        return QStringLiteral("^dji");
    if (canonical == prices::kNasdaq)
        return QStringLiteral("^ndq");
    if (canonical == prices::kSp500)
        return QStringLiteral("^spx");
    const QString lower = symbol.trimmed().toLower();
    return lower.contains(QLatin1Char('.')) || lower.startsWith(QLatin1Char('^'))
               ? lower
               : lower + QStringLiteral(".us");
}

QUrl addressFor(const QString &urlTemplate, const QString &symbol, QDate from)
{
    QString address = urlTemplate;
    address.replace(QLatin1String("{symbol}"),
                    QString::fromUtf8(QUrl::toPercentEncoding(sourceSymbol(symbol, urlTemplate))));
    address.replace(QLatin1String("{from}"),
                    from.isValid() ? from.toString(QStringLiteral("yyyyMMdd")) : QString());
    return QUrl(address, QUrl::StrictMode);
}

prices::ImportResult fetchAndImport(const QString &databasePath, const QStringList &symbols,
                                    QDate from, const QString &urlTemplate,
                                    const Progress &progress)
{
    prices::ImportResult result;
    QNetworkAccessManager network;
    QEventLoop loop;
    struct Fetch
    {
        QString symbol;
        QUrl address;
        QNetworkReply *reply = nullptr;
        QByteArray bytes;
        QString problem;
        bool done = false;
    };
    std::vector<Fetch> fetches;
    for (const QString &symbol : symbols)
        fetches.push_back({prices::canonicalSymbol(symbol),
                           addressFor(urlTemplate, symbol, from),
                           nullptr,
                           {},
                           {},
                           false});

    int done = 0;
    bool cancelled = false;
    for (Fetch &fetch : fetches) {
        if (!fetch.address.isValid() || (fetch.address.scheme() != QLatin1String("http") &&
                                         fetch.address.scheme() != QLatin1String("https"))) {
            fetch.problem =
                QStringLiteral("\"%1\" is no web address").arg(fetch.address.toString());
            fetch.done = true;
            ++done;
            continue;
        }
        QNetworkRequest request(fetch.address);
        request.setTransferTimeout(kTimeoutMs);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        fetch.reply = network.get(request);
        QObject::connect(fetch.reply, &QNetworkReply::finished, &loop, [&, f = &fetch] {
            const int status =
                f->reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            if (f->reply->error() == QNetworkReply::OperationCanceledError)
                f->problem =
                    cancelled
                        ? QStringLiteral("cancelled")
                        : QStringLiteral("no answer within %1 seconds").arg(kTimeoutMs / 1000);
            else if (f->reply->error() != QNetworkReply::NoError)
                f->problem =
                    status >= 400
                        ? QStringLiteral("the source answered %1 %2")
                              .arg(QString::number(status),
                                   f->reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute)
                                       .toString())
                        : f->reply->errorString();
            else
                f->problem = notAPriceFile(f->bytes = f->reply->readAll());
            f->reply->deleteLater();
            f->done = true;
            ++done;
            if (progress && !cancelled && !progress(done, int(fetches.size()))) {
                cancelled = true;
                for (Fetch &other : fetches)
                    if (!other.done && other.reply)
                        other.reply->abort();
            }
            if (done == int(fetches.size()))
                loop.quit();
        });
    }
    if (done < int(fetches.size()))
        loop.exec();

    if (cancelled) {
        result.message = QStringLiteral("The update was cancelled; nothing was written.");
        return result;
    }
    QStringList problems;
    QList<prices::Source> sources;
    for (const Fetch &fetch : fetches) {
        if (!fetch.problem.isEmpty())
            problems << QStringLiteral("%1 (%2): %3")
                            .arg(fetch.symbol, fetch.address.toString(), fetch.problem);
        else
            sources << prices::Source{
                QStringLiteral("%1 from %2").arg(fetch.symbol, fetch.address.toString()),
                fetch.bytes, false, fetch.symbol, from};
    }
    if (!problems.isEmpty()) {
        result.message = problems.join(QLatin1Char('\n')) +
                         QStringLiteral("\nNothing was imported; the database is as it was.");
        return result;
    }
    return prices::importSources(databasePath, sources);
}

} // namespace vantora::quotes
