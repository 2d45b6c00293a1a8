// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/marketdata.h"

#include "app/screen.h"
#include "common/config.h"
#include "common/dialogs.h"
#include "data/exchange/priceimport.h"
#include "data/quotes/quotesource.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressDialog>

namespace vantora {
namespace {

struct MarketTexts
{
    Q_DECLARE_TR_FUNCTIONS(MarketData)
};

std::unique_ptr<QProgressDialog> progressDialog(QWidget *parent, const QString &title,
                                                const QString &label, int maximum)
{
    auto dialog =
        std::make_unique<QProgressDialog>(label, MarketTexts::tr("Cancel"), 0, maximum, parent);
    dialog->setObjectName(QStringLiteral("vantoraProgress"));
    // A long label wraps rather than widening the window past the screen.
    auto *text = new QLabel(label);
    text->setWordWrap(true);
    text->setMaximumWidth(560);
    dialog->setLabel(text);
    dialog->setWindowTitle(title);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(400);
    dialog->setAutoClose(false);
    prepareDialog(*dialog);
    dialog->setValue(0);
    return dialog;
}

} // namespace

void importPrices(QWidget *parent)
{
    const QString title = MarketTexts::tr("Import Prices");
    const QStringList files =
        openFilesBox(title, MarketTexts::tr("Daily history (*.csv *.txt);;All files (*)"));
    if (files.isEmpty() || !databaseReady(title))
        return;
    const auto progress = progressDialog(parent, title, MarketTexts::tr("Reading the files…"), 0);
    const prices::ImportResult result =
        prices::importFiles(config::databasePath(), files, {}, [&progress](qint64 records) {
            progress->setLabelText(MarketTexts::tr("%L1 records read…").arg(records));
            QCoreApplication::processEvents();
            return !progress->wasCanceled();
        });
    progress->close();
    msgBox(result.message, OkOnly, title);
}

void updatePrices(QWidget *parent)
{
    const QString title = MarketTexts::tr("Update Prices");
    if (!databaseReady(title))
        return;
    QString problem;
    const QStringList symbols = prices::symbolsToUpdate(config::databasePath(), &problem);
    if (symbols.isEmpty()) {
        msgBox(problem, OkOnly, title);
        return;
    }
    const auto progress = progressDialog(
        parent, title,
        symbols.size() <= 6
            ? MarketTexts::tr("Fetching the prices of %1…").arg(symbols.join(QLatin1String(", ")))
            : MarketTexts::tr("Fetching the prices of %1 and %2 more…")
                  .arg(symbols.mid(0, 5).join(QLatin1String(", ")))
                  .arg(symbols.size() - 5),
        int(symbols.size()));
    const quotes::FetchResult result = quotes::fetchAndImport(
        config::databasePath(), symbols, quotes::savedOptions(), [&progress](int done, int) {
            progress->setValue(done);
            return !progress->wasCanceled();
        });
    progress->close();
    msgBox(result.message, OkOnly, title);
}

} // namespace vantora
