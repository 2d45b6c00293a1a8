// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/frmHoldings.h"

#include "analysis/holdingsmodel.h"
#include "app/navigation.h"
#include "common/config.h"
#include "common/dialogs.h"
#include "common/numbers.h"
#include "data/exchange/pricefiles.h"
#include "data/exchange/pricehistory.h"
#include "data/store/trades.h"

#include <QGuiApplication>
#include <QHash>
#include <QHeaderView>
#include <QLocale>
#include <QScatterSeries>
#include <QTimer>
#include <algorithm>

namespace vantora {
namespace {

// Typing in the filter box waits for a pause before the table is read again.
constexpr int kFilterPauseMs = 250;

QString totalText(const std::optional<double> &total)
{
    return total ? formatNumber(*total) : QString();
}

QString dayText(QDate day)
{
    return QLocale().toString(day, QStringLiteral("d MMM yyyy"));
}

} // namespace

void frmHoldings::connectHandlers()
{
    m_model = new HoldingsModel(window());
    m_ui->grdHoldings->setModel(m_model);
    m_filterTimer = new QTimer(window());
    m_filterTimer->setSingleShot(true);
    m_filterTimer->setInterval(kFilterPauseMs);
    m_sp500.clear();
    m_sp500Read = false;

    connect(m_ui->txtFilter, &QLineEdit::textChanged, this, &frmHoldings::txtFilter_Change);
    connect(m_filterTimer, &QTimer::timeout, this, &frmHoldings::selectStocks);
    connect(m_ui->chkAllStocks, &QCheckBox::clicked, this, &frmHoldings::chkAllStocks_Click);
    connect(m_ui->chkCompare, &QCheckBox::clicked, this, &frmHoldings::chkCompare_Click);
    connect(m_ui->cmdHome, &QPushButton::clicked, this, &frmHoldings::cmdHome_Click);
    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &Screen::printReport);
    connect(m_ui->cmdPdf, &QPushButton::clicked, this, &Screen::exportPdf);
    connect(m_ui->grdHoldings->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmHoldings::grdHoldings_RowChange);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, &frmHoldings::grdHoldings_Sorted);
}

void frmHoldings::Form_Load()
{
    QTableView *grid = m_ui->grdHoldings;
    // A million rows scroll at once when every row has the same height.
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    grid->verticalHeader()->hide();
    QHeaderView *header = grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
    // Wide enough for the header and its sort arrow (a million rows are not measured); names
    // and advice need more.
    const QFontMetrics metrics = header->fontMetrics();
    for (int column = 0; column < HoldingsModel::ColumnCount; ++column) {
        const int text =
            metrics.horizontalAdvance(m_model->headerData(column, Qt::Horizontal).toString());
        header->resizeSection(column, std::max(text + 24, column == HoldingsModel::Name     ? 190
                                                          : column == HoldingsModel::Advice ? 115
                                                                                            : 85));
    }
    // Sorting on before the table is read: turning it on sorts at once.
    grid->setSortingEnabled(true);
    m_ui->chtPrice->ensurePolished();

    const QString path = config::databasePath();
    if (databaseReady(window()->windowTitle())) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const DbError error = m_model->open(path);
        QGuiApplication::restoreOverrideCursor();
        if (error)
            msgBox(error.message, OkOnly, window()->windowTitle());
    }
    showTotals();
    showFirstRow();
}

Report frmHoldings::report() const
{
    Report report;
    report.title = window()->windowTitle();
    report.databasePath = config::databasePath();
    report.table = m_ui->grdHoldings;
    report.totals = {{m_ui->lblTotalValueCaption->text(), m_ui->lblTotalValue->text()},
                     {m_ui->lblTotalProfitCaption->text(), m_ui->lblTotalProfit->text()},
                     {m_ui->lblCountCaption->text(), m_ui->lblCount->text()}};
    if (!m_ui->txtFilter->text().isEmpty())
        report.totals.prepend(
            {m_ui->lblFilter->text().remove(QLatin1Char('&')), m_ui->txtFilter->text()});
    report.chart = m_ui->chtPrice;
    return report;
}

void frmHoldings::Form_UnLoad()
{
    if (m_model)
        m_model->close();
}

void frmHoldings::txtFilter_Change()
{
    m_filterTimer->start();
}

void frmHoldings::chkAllStocks_Click()
{
    selectStocks();
}

void frmHoldings::chkCompare_Click()
{
    showChart();
}

void frmHoldings::cmdHome_Click()
{
    goHome(this);
}

void frmHoldings::selectStocks()
{
    if (!m_model || !isLoaded())
        return;
    m_filterTimer->stop();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const DbError error = m_model->select(m_ui->chkAllStocks->isChecked(), m_ui->txtFilter->text());
    QGuiApplication::restoreOverrideCursor();
    showTotals();
    showFirstRow();
    if (error)
        msgBox(error.message, OkOnly, window()->windowTitle());
}

void frmHoldings::grdHoldings_Sorted()
{
    showFirstRow();
    if (const DbError error = m_model->lastError())
        msgBox(error.message, OkOnly, window()->windowTitle());
}

void frmHoldings::showTotals()
{
    const HoldingsModel::Totals &totals = m_model->totals();
    m_ui->lblTotalValue->setText(totalText(totals.value));
    QString profit = totalText(totals.profit);
    if (totals.withoutPurchase > 0)
        profit +=
            (profit.isEmpty() ? QString() : QStringLiteral(" ")) +
            (totals.withoutPurchase == 1
                 ? tr("(1 stock with no purchase price left out)")
                 : tr("(%1 stocks with no purchase price left out)").arg(totals.withoutPurchase));
    m_ui->lblTotalProfit->setText(profit);
    m_ui->lblCount->setText(formatNumber(double(totals.rows)));
}

void frmHoldings::showFirstRow()
{
    QTableView *grid = m_ui->grdHoldings;
    if (m_model->rowCount() > 0) {
        grid->selectRow(0);
        grid->scrollToTop();
    }
    showChart();
}

void frmHoldings::grdHoldings_RowChange()
{
    showChart();
}

void frmHoldings::showChart()
{
    ChartView *chart = m_ui->chtPrice;
    const QModelIndex current = m_ui->grdHoldings->selectionModel()->currentIndex();
    if (!current.isValid()) {
        chart->showMessage(QString());
        return;
    }
    const QString ticker = m_model->ticker(current.row()).trimmed();
    if (ticker.isEmpty()) {
        chart->showMessage(tr("This stock has no ticker symbol, so it has no price history."));
        return;
    }
    const QString path = config::databasePath();
    QList<PriceDay> days;
    const DbError error = prices::readHistory(path, ticker, &days);
    if (error && error.kind != DbError::MissingTable) {
        chart->showMessage(error.message);
        return;
    }
    days = prices::lastYear(days);
    if (days.isEmpty()) {
        chart->showMessage(
            tr("No price history for %1. Import prices from the File menu.").arg(ticker));
        return;
    }

    QList<QDate> dates;
    QList<QPointF> closes;
    for (const PriceDay &day : std::as_const(days)) {
        closes << QPointF(double(dates.size()), day.close);
        dates << day.date;
    }
    // The band is the stock's 52-week range, as an import of prices gives it to the stock.
    prices::YearRange range;
    prices::readYearRange(path, ticker, &range);
    const double high = range.high.value_or(days.constLast().close);
    const double low = range.low.value_or(days.constLast().close);
    const double last = double(days.size() - 1);
    QString title =
        tr("%1, %2 to %3").arg(ticker, dayText(dates.constFirst()), dayText(dates.constLast()));
    chart->startChart(title, dates);
    chart->addBand(tr("52-week high and low"), {{0, low}, {last, low}}, {{0, high}, {last, high}});
    chart->addLine(tr("Close"), closes, ChartView::Colour::Line);
    // A stock never bought has no purchase price to show.
    if (const std::optional<double> purchase = m_model->purchasePrice(current.row());
        purchase && *purchase > 0)
        chart->addLine(tr("Purchase price"), {{0, *purchase}, {last, *purchase}},
                       ChartView::Colour::Level, Qt::DashLine);

    markTrades(ticker, dates);

    if (m_ui->chkCompare->isChecked()) {
        if (!m_sp500Read) {
            prices::readHistory(path, prices::kSp500, &m_sp500);
            m_sp500Read = true;
        }
        QHash<QDate, double> index;
        for (const PriceDay &day : std::as_const(m_sp500))
            index.insert(day.date, day.close);
        // Scaled so that it starts where the stock starts, on the first day both have.
        QList<QPointF> compared;
        double scale = 0;
        for (qsizetype i = 0; i < days.size(); ++i) {
            const auto found = index.constFind(days[i].date);
            if (found == index.cend() || *found == 0)
                continue;
            if (compared.isEmpty())
                scale = days[i].close / *found;
            compared << QPointF(double(i), *found * scale);
        }
        if (compared.isEmpty())
            chart->chart()->setTitle(title +
                                     tr(" (no history of %1 to compare)").arg(prices::kSp500));
        else
            chart->addLine(tr("S&P 500, scaled"), compared, ChartView::Colour::Compare);
    }
    chart->finishChart();
}

void frmHoldings::markTrades(const QString &ticker, const QList<QDate> &dates)
{
    DbConnection connection;
    QList<trades::StoredTrade> stored;
    if (connection.open(config::databasePath(), DbConnection::Mode::ReadOnly) ||
        readTableColumns(connection.db(), QStringLiteral("Trades")).table.isEmpty() ||
        trades::readTrades(connection.db(), ticker, &stored))
        return;
    // A trade stands on its day, or on the next trading day of the chart.
    QList<QPointF> buys, sells;
    for (const trades::StoredTrade &t : std::as_const(stored)) {
        if ((t.action != TradeAction::Buy && t.action != TradeAction::Sell) || !t.price ||
            t.date < dates.constFirst() || t.date > dates.constLast())
            continue;
        const qsizetype x = std::lower_bound(dates.cbegin(), dates.cend(), t.date) - dates.cbegin();
        (t.action == TradeAction::Buy ? buys : sells) << QPointF(double(x), *t.price);
    }
    if (!buys.isEmpty())
        m_ui->chtPrice->addMarks(tr("Buys"), buys, ChartView::Colour::Compare);
    // Told apart by their shape as well as their colour.
    if (!sells.isEmpty())
        m_ui->chtPrice->addMarks(tr("Sells"), sells, ChartView::Colour::Miss)
            ->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
}

} // namespace vantora
