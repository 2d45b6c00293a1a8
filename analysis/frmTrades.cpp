// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/frmTrades.h"

#include "app/navigation.h"
#include "common/config.h"
#include "common/dialogs.h"
#include "common/numbers.h"
#include "data/exchange/returns.h"
#include "data/exchange/tradeimport.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QSqlQuery>
#include <QStyledItemDelegate>
#include <algorithm>

namespace vantora {
namespace {

// A file of many stocks offers the first so many to choose from.
constexpr int kStocksListed = 10000;

// The action of a trade is chosen from the four there are; the other cells are typed.
class ActionDelegate final : public QStyledItemDelegate
{
public:
    explicit ActionDelegate(TradesModel *model, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_model(model)
    {
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        if (!isAction(index))
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto *box = new QComboBox(parent);
        for (const TradeAction action :
             {TradeAction::Buy, TradeAction::Sell, TradeAction::Dividend, TradeAction::Split})
            box->addItem(actionCaption(action));
        connect(box, &QComboBox::activated, this, [this, box] {
            Q_EMIT const_cast<ActionDelegate *>(this)->commitData(box);
            Q_EMIT const_cast<ActionDelegate *>(this)->closeEditor(box);
        });
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor); box && isAction(index))
            box->setCurrentText(index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor); box && isAction(index))
            model->setData(index, box->currentText());
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    bool isAction(const QModelIndex &index) const
    {
        return m_model && m_model->columnAt(index.column()) == TradesModel::Action;
    }
    QPointer<TradesModel> m_model;
};

QString tradeText(const trades::StoredTrade &t)
{
    QString text = actionCaption(t.action);
    if (t.shares)
        text += u' ' + formatNumber(*t.shares);
    return text + u' ' + t.ticker;
}

} // namespace

void frmTrades::connectHandlers()
{
    m_model = new TradesModel(window());
    m_ui->grdTrades->setModel(m_model);
    m_ui->grdTrades->setItemDelegate(new ActionDelegate(m_model, m_ui->grdTrades));

    connect(m_ui->cboStock, &QComboBox::currentIndexChanged, this, &frmTrades::cboStock_Click);
    connect(m_ui->cmdAdd, &QPushButton::clicked, this, &frmTrades::cmdAdd_Click);
    connect(m_ui->cmdDelete, &QPushButton::clicked, this, &frmTrades::cmdDelete_Click);
    connect(m_ui->cmdImport, &QPushButton::clicked, this, &frmTrades::cmdImport_Click);
    connect(m_ui->cmdSetFromTrades, &QPushButton::clicked, this,
            &frmTrades::cmdSetFromTrades_Click);
    connect(m_ui->cmdHome, &QPushButton::clicked, this, &frmTrades::cmdHome_Click);
    // After the edit is over: a message box or a new order of the rows in the middle of the
    // view's commit would pull the editor from under it.
    connect(m_model, &TradesModel::refused, this, &frmTrades::showMessage, Qt::QueuedConnection);
    connect(m_model, &TradesModel::written, this, &frmTrades::showTrades, Qt::QueuedConnection);
}

void frmTrades::Form_Load()
{
    QTableView *grid = m_ui->grdTrades;
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    m_ui->lblDiffers->hide();
    m_ui->cmdSetFromTrades->hide();
    if (databaseReady(window()->windowTitle()))
        fillStocks(QString());
    showTrades();
}

QString frmTrades::ticker() const
{
    return m_ui->cboStock->currentData().toString();
}

void frmTrades::fillStocks(const QString &keep)
{
    QStringList tickers;
    DbConnection connection;
    if (!connection.open(config::databasePath(), DbConnection::Mode::ReadOnly)) {
        trades::readTickers(connection.db(), &tickers);
        QSqlQuery query(connection.db());
        if (query.exec(QStringLiteral("SELECT DISTINCT upper(trim(\"Ticker Symbol\")) FROM stocks "
                                      "WHERE trim(\"Ticker Symbol\") <> '' LIMIT %1")
                           .arg(kStocksListed)))
            while (query.next())
                tickers << query.value(0).toString();
    }
    std::sort(tickers.begin(), tickers.end());
    tickers.erase(std::unique(tickers.begin(), tickers.end()), tickers.end());

    QComboBox *box = m_ui->cboStock;
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItem(tr("All stocks"), QString());
    for (const QString &t : std::as_const(tickers))
        box->addItem(t, t);
    box->setCurrentIndex(std::max(0, box->findData(keep)));
}

void frmTrades::cboStock_Click()
{
    showTrades();
}

void frmTrades::showTrades()
{
    if (!isLoaded())
        return;
    QTableView *grid = m_ui->grdTrades;
    const QModelIndex current = grid->currentIndex();
    const qint64 id = current.isValid() ? m_model->rows().value(current.row()).id : 0;
    const int column = current.isValid() ? current.column() : 0;

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const DbError error = m_model->read(config::databasePath(), ticker());
    QGuiApplication::restoreOverrideCursor();
    QHeaderView *header = grid->horizontalHeader();
    const QFontMetrics metrics = header->fontMetrics();
    for (int c = 0; c < m_model->columnCount(); ++c)
        header->resizeSection(c, std::max(metrics.horizontalAdvance(QStringLiteral("0000-00-00")),
                                          metrics.horizontalAdvance(
                                              m_model->headerData(c, Qt::Horizontal).toString())) +
                                     40);
    // The trade that had the focus keeps it, wherever its date has put it.
    const auto &rows = m_model->rows();
    const auto found = std::find_if(rows.cbegin(), rows.cend(),
                                    [id](const trades::StoredTrade &t) { return t.id == id; });
    if (id != 0 && found != rows.cend())
        grid->setCurrentIndex(m_model->index(int(found - rows.cbegin()), column));
    showFigures();
    if (error && error.kind != DbError::MissingFile)
        showMessage(error.message);
}

void frmTrades::showFigures()
{
    const QString stock = ticker();
    prices::ReturnsReport report;
    const DbError error = prices::computeReturns(config::databasePath(), {}, {}, &report, stock);
    const QChar dp = decimalPoint();
    for (QLabel *label : {m_ui->lblHeld, m_ui->lblAverage, m_ui->lblRealized, m_ui->lblDividends})
        label->clear();
    if (error) {
        m_ui->lblReturn->setText(error.kind == DbError::NoRecord ||
                                         error.kind == DbError::MissingTable
                                     ? tr("No trades yet.")
                                     : error.message);
    } else if (stock.isEmpty()) {
        m_ui->lblRealized->setText(moneyText(report.portfolio.position.realized, dp));
        m_ui->lblDividends->setText(moneyText(report.portfolio.position.dividends, dp));
        m_ui->lblReturn->setText(portfolioLine(report.portfolio, dp));
    } else if (!report.stocks.isEmpty()) {
        const ReturnsLine &line = report.stocks.constFirst();
        m_ui->lblHeld->setText(formatNumber(line.position.shares));
        m_ui->lblAverage->setText(moneyText(line.position.average, dp));
        m_ui->lblRealized->setText(moneyText(line.position.realized, dp));
        m_ui->lblDividends->setText(moneyText(line.position.dividends, dp));
        m_ui->lblReturn->setText(returnsLine(line, dp));
    }

    // The portfolio screen edits the shares and purchase price by hand; the trades may say
    // otherwise.
    trades::StockCheck check;
    bool differs = false;
    if (!stock.isEmpty() && !m_model->rows().isEmpty()) {
        DbConnection connection;
        if (!connection.open(config::databasePath(), DbConnection::Mode::ReadOnly) &&
            !trades::checkStock(connection.db(), stock, &check))
            differs = check.differs;
    }
    if (differs) {
        const QString fromTrades =
            tr("%1 shares at %2")
                .arg(formatNumber(check.fromTrades.shares), formatNumber(check.fromTrades.average));
        m_ui->lblDiffers->setText(
            check.hasStock
                ? tr("The stock's record has %1 shares at %2; its trades give %3.")
                      .arg(check.shares ? formatNumber(*check.shares) : tr("no"),
                           check.purchase ? formatNumber(*check.purchase) : tr("no price"),
                           fromTrades)
                : tr("The stock has no record; its trades give %1.").arg(fromTrades));
    }
    m_ui->lblDiffers->setVisible(differs);
    m_ui->cmdSetFromTrades->setVisible(differs);
}

void frmTrades::showMessage(const QString &message)
{
    msgBox(message, OkOnly, window() ? window()->windowTitle() : tr("Trades"));
}

void frmTrades::cmdAdd_Click()
{
    const QString stock = ticker();
    if (stock.isEmpty()) {
        showMessage(tr("Choose the stock to add a trade to."));
        return;
    }
    trades::StoredTrade trade{0, stock, QDate::currentDate(), TradeAction::Buy, {}, {}, {}, {}};
    if (const DbError error = trades::addTrade(config::databasePath(), &trade)) {
        showMessage(error.message);
        return;
    }
    m_model->read(config::databasePath(), stock);
    const auto &rows = m_model->rows();
    for (qsizetype i = 0; i < rows.size(); ++i)
        if (rows[i].id == trade.id) {
            const QModelIndex cell = m_model->index(int(i), m_model->columnOf(TradesModel::Shares));
            m_ui->grdTrades->setFocus();
            m_ui->grdTrades->setCurrentIndex(cell);
            m_ui->grdTrades->scrollTo(cell);
            m_ui->grdTrades->edit(cell);
        }
    showFigures();
}

void frmTrades::cmdDelete_Click()
{
    const QModelIndex current = m_ui->grdTrades->currentIndex();
    if (!current.isValid() || current.row() >= m_model->rows().size()) {
        showMessage(tr("Choose the trade to delete."));
        return;
    }
    const trades::StoredTrade trade = m_model->rows().at(current.row());
    if (msgBox(tr("Delete the trade of %1 (%2)?")
                   .arg(trade.date.toString(Qt::ISODate), tradeText(trade)),
               OkCancel, window()->windowTitle()) != AnswerOk)
        return;
    if (const DbError error = trades::deleteTrade(config::databasePath(), trade))
        showMessage(error.message);
    showTrades();
}

void frmTrades::cmdImport_Click()
{
    const QStringList files =
        openFilesBox(tr("Import Trades"), tr("CSV files (*.csv);;All files (*)"));
    if (files.isEmpty())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const trades::ImportResult result = trades::importTradeFiles(config::databasePath(), files);
    QGuiApplication::restoreOverrideCursor();
    showMessage(result.message);
    if (result.ok) {
        fillStocks(ticker());
        showTrades();
    }
}

void frmTrades::cmdSetFromTrades_Click()
{
    if (const DbError error = trades::setStockFromTrades(config::databasePath(), ticker()))
        showMessage(error.message);
    showFigures();
}

void frmTrades::cmdHome_Click()
{
    goHome(this);
}

} // namespace vantora
