// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/holdingsmodel.h"

#include "analysis/ledger.h"
#include "analysis/portfolio.h"
#include "common/numbers.h"
#include "data/exchange/returns.h"
#include "data/store/trades.h"
#include "data/store/values.h"
#include "planners/advice.h"

namespace vantora {
namespace {

constexpr int kPageRows = 64;
constexpr int kPagesKept = 64;

const char *const kHeaders[HoldingsModel::ColumnCount] = {
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Name of Stock"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Ticker Symbol"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Shares Owned"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Current Price"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Value"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Purchase Price"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Profit/Loss"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "P/E Ratio(C)"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Advice"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Overall Rating"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Realized"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Dividends"),
    QT_TRANSLATE_NOOP("vantora::HoldingsModel", "Return a Year")};

QString figureText(const std::optional<double> &x)
{
    return x ? formatNumber(*x) : QString();
}

QString checkedText(const Checked &x)
{
    return x.ok() ? formatNumber(x.value) : QString();
}

} // namespace

HoldingsModel::HoldingsModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_pages(kPagesKept)
{
}

HoldingsModel::~HoldingsModel()
{
    close();
}

DbError HoldingsModel::open(const QString &path)
{
    beginResetModel();
    close();
    m_error = m_query.open(path);
    if (!m_error) {
        // A file without trades, or with a ledger another program left wrong, shows the stocks
        // without those figures.
        HoldingsQuery::Ledgers ledgers;
        prices::ReturnsReport report;
        if (!prices::computeReturns(m_query.db(), {}, {}, &report))
            for (const ReturnsLine &line : std::as_const(report.stocks))
                ledgers.insert(line.name, {line.position.realized, line.position.dividends,
                                           line.moneyWeighted});
        m_query.setLedgers(ledgers);
        m_error = m_query.select(false, QString());
    }
    endResetModel();
    return m_error;
}

void HoldingsModel::close()
{
    m_query.close();
    m_pages.clear();
    m_rowsRead = 0;
}

DbError HoldingsModel::select(bool allStocks, const QString &filter)
{
    beginResetModel();
    m_pages.clear();
    m_error = m_query.select(allStocks, filter);
    endResetModel();
    return m_error;
}

void HoldingsModel::sort(int column, Qt::SortOrder order)
{
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_error = m_query.sort(column, order);
    m_pages.clear();
    // The rows are read afresh in their new places; no selection follows a stock.
    const QModelIndexList persistent = persistentIndexList();
    changePersistentIndexList(persistent, QModelIndexList(persistent.size()));
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

HoldingsModel::Page *HoldingsModel::readPage(int page) const
{
    auto *rows = new Page;
    const QList<qint64> &ids = m_query.ids();
    const qsizetype first = qsizetype(page) * kPageRows;
    const qsizetype end = std::min<qsizetype>(first + kPageRows, ids.size());
    using Field = HoldingsQuery::Stock::Field;
    for (qsizetype i = first; i < end; ++i) {
        Row row;
        // A stock deleted since the order was read shows empty.
        if (const std::optional<HoldingsQuery::Stock> stock = m_query.stock(ids[i])) {
            const auto field = [&](Field f) { return stock->fields[std::size_t(f)]; };
            const auto figure = [&](Field f) { return schema::storedFigure(field(f)); };
            const Holding h{figure(Field::Price).value_or(0), figure(Field::Purchase).value_or(0),
                            figure(Field::NextEarnings).value_or(0),
                            figure(Field::Shares).value_or(0)};
            row.purchase = figure(Field::Purchase);
            row.cells = {schema::shownText(field(Field::Name)),
                         schema::shownText(field(Field::Ticker)),
                         figureText(figure(Field::Shares)),
                         figureText(figure(Field::Price)),
                         checkedText(shareValue(h.shares, h.currentPrice)),
                         figureText(row.purchase),
                         row.purchase ? checkedText(portfolioFigure(h, PortfolioFigure::ProfitLoss))
                                      : QString(),
                         checkedText(portfolioFigure(h, PortfolioFigure::CurrentPriceEarnings)),
                         schema::shownText(field(Field::Advice)),
                         figureText(figure(Field::Rating)),
                         {},
                         {},
                         {}};
            const HoldingsQuery::Ledgers &ledgers = m_query.ledgers();
            const auto ledger = ledgers.constFind(trades::tickerKey(row.cells[Ticker]));
            if (ledger != ledgers.cend()) {
                const QChar dp = decimalPoint();
                row.cells[Realized] = moneyText(ledger->realized, dp);
                row.cells[Dividends] = moneyText(ledger->dividends, dp);
                row.cells[ReturnAYear] = ledger->rate ? percentText(ledger->rate, dp) : QString();
            }
            ++m_rowsRead;
        }
        *rows << row;
    }
    m_pages.insert(page, rows);
    return rows;
}

const HoldingsModel::Row *HoldingsModel::row(int row) const
{
    if (row < 0 || row >= m_query.ids().size() || !m_query.isOpen())
        return nullptr;
    const int page = row / kPageRows;
    Page *rows = m_pages.object(page);
    if (!rows)
        rows = readPage(page);
    return &rows->at(row % kPageRows);
}

QString HoldingsModel::ticker(int r) const
{
    const Row *found = row(r);
    return found ? found->cells[Ticker] : QString();
}

std::optional<double> HoldingsModel::purchasePrice(int r) const
{
    const Row *found = row(r);
    return found ? found->purchase : std::nullopt;
}

int HoldingsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_query.ids().size());
}

int HoldingsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HoldingsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= ColumnCount)
        return {};
    const bool figure =
        index.column() != Name && index.column() != Ticker && index.column() != Advice;
    if (role == Qt::TextAlignmentRole)
        return int((figure ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const Row *found = row(index.row());
    return found ? found->cells[std::size_t(index.column())] : QString();
}

QVariant HoldingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return tr(kHeaders[section]);
    if (role == Qt::InitialSortOrderRole)
        return int(Qt::AscendingOrder);
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace vantora
