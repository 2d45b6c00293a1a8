// SPDX-License-Identifier: GPL-3.0-or-later
#include "forecast/frmScorecard.h"

#include "app/navigation.h"
#include "common/config.h"
#include "common/dialogs.h"
#include "common/numbers.h"
#include "data/exchange/pricehistory.h"
#include "shell/Form6.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QRegularExpression>

namespace vantora {
namespace {

// Each column says what it measures and in which unit; the tooltips say how.
struct Column
{
    const char *header;
    const char *tip;
};
const Column kColumns[] = {
    {QT_TRANSLATE_NOOP("vantora::frmScorecard", "Days"),
     QT_TRANSLATE_NOOP("vantora::frmScorecard",
                       "Days with a forecast and the day's figures to score it against.")},
    {QT_TRANSLATE_NOOP("vantora::frmScorecard", "Close in range\n(%)"),
     QT_TRANSLATE_NOOP("vantora::frmScorecard",
                       "Share of days whose close lay between the forecast low and high.")},
    {QT_TRANSLATE_NOOP("vantora::frmScorecard", "95% interval of\nclose in range (%)"),
     QT_TRANSLATE_NOOP("vantora::frmScorecard", "The 95% confidence interval (Wilson's) of the "
                                                "share of closes in range, for this many days.")},
    {QT_TRANSLATE_NOOP("vantora::frmScorecard", "Range held\n(%)"),
     QT_TRANSLATE_NOOP("vantora::frmScorecard",
                       "Share of days whose whole range held inside the forecast: the day's low "
                       "at or above the forecast low and its high at or below the forecast "
                       "high.")},
    {QT_TRANSLATE_NOOP("vantora::frmScorecard", "Mean error of\nthe high (points)"),
     QT_TRANSLATE_NOOP(
         "vantora::frmScorecard",
         "Mean distance between the forecast high and the day's high, in index points.")},
    {QT_TRANSLATE_NOOP("vantora::frmScorecard", "Mean error of\nthe low (points)"),
     QT_TRANSLATE_NOOP(
         "vantora::frmScorecard",
         "Mean distance between the forecast low and the day's low, in index points.")},
    {QT_TRANSLATE_NOOP("vantora::frmScorecard", "Naive: close in\nrange (%)"),
     QT_TRANSLATE_NOOP(
         "vantora::frmScorecard",
         "The same for the naive forecast: the previous trading day's high and low.")},
    {QT_TRANSLATE_NOOP("vantora::frmScorecard", "Naive: range\nheld (%)"),
     QT_TRANSLATE_NOOP(
         "vantora::frmScorecard",
         "The same for the naive forecast: the previous trading day's high and low.")},
    {QT_TRANSLATE_NOOP("vantora::frmScorecard", "Naive: mean error\nof the high (points)"),
     QT_TRANSLATE_NOOP(
         "vantora::frmScorecard",
         "The same for the naive forecast: the previous trading day's high and low.")},
    {QT_TRANSLATE_NOOP("vantora::frmScorecard", "Naive: mean error\nof the low (points)"),
     QT_TRANSLATE_NOOP(
         "vantora::frmScorecard",
         "The same for the naive forecast: the previous trading day's high and low.")},
};
constexpr int kAllThree = kMarketIndices;

QString dayText(QDate day)
{
    return QLocale().toString(day, QStringLiteral("d MMM yyyy"));
}

QStringList cellsOf(const IndexScore &score)
{
    const QChar point = decimalPoint();
    if (score.count() == 0)
        return {QStringLiteral("0")};
    const Figures &f = score.forecaster, &n = score.naive;
    return {formatNumber(double(score.count())),
            percentText(f.closeInRange, point),
            QStringLiteral("%1–%2").arg(pointsText(score.closeInterval.lower * 100, point),
                                        percentText(score.closeInterval.upper, point)),
            percentText(f.rangeHeld, point),
            pointsText(f.errorHigh, point),
            pointsText(f.errorLow, point),
            percentText(n.closeInRange, point),
            percentText(n.rangeHeld, point),
            pointsText(n.errorHigh, point),
            pointsText(n.errorLow, point)};
}

} // namespace

QString frmScorecard::promisedAccuracy()
{
    static const QRegularExpression promise(QStringLiteral(R"((\d+(?:[.,]\d+)?\s?%))"));
    return promise.match(Form6::disclaimer()).captured(1);
}

void frmScorecard::connectHandlers()
{
    connect(m_ui->cmdHome, &QPushButton::clicked, this, &frmScorecard::cmdHome_Click);
    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &Screen::printReport);
    connect(m_ui->cmdPdf, &QPushButton::clicked, this, &Screen::exportPdf);
    connect(m_ui->grdScore, &QTableWidget::currentCellChanged, this,
            &frmScorecard::grdScore_RowChange);
}

void frmScorecard::Form_Load()
{
    m_ui->lblPromised->setText(promisedAccuracy());
    m_ui->chtScore->ensurePolished();
    m_card = {};
    const QString path = config::databasePath();
    QString problem;
    if (databaseReady(window()->windowTitle())) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        ScorecardInput input;
        const DbError error = prices::readScorecardInput(path, &input);
        if (!error)
            m_card = scoreForecasts(input);
        else if (error.kind != DbError::MissingTable)
            problem = error.message;
        QGuiApplication::restoreOverrideCursor();
    }
    if (!problem.isEmpty())
        msgBox(problem, OkOnly, window()->windowTitle());
    showScores();
}

Report frmScorecard::report() const
{
    Report report;
    report.title = window()->windowTitle();
    report.databasePath = config::databasePath();
    report.table = m_ui->grdScore;
    report.rowHeaders = true;
    const auto caption = [](const QLabel *label) { return label->text().remove(QLatin1Char('&')); };
    report.totals = {
        {caption(m_ui->lblPromisedCaption), m_ui->lblPromised->text()},
        {caption(m_ui->lblMeasuredCaption), m_ui->lblMeasured->text() + QStringLiteral(" (") +
                                                m_ui->lblInterval->text() + QLatin1Char(')')}};
    report.chart = m_ui->chtScore;
    return report;
}

void frmScorecard::cmdHome_Click()
{
    goHome(this);
}

void frmScorecard::showScores()
{
    QTableWidget *grid = m_ui->grdScore;
    grid->clear();
    grid->setColumnCount(int(std::size(kColumns)));
    grid->setRowCount(kMarketIndices + 1);
    QStringList columns, rows;
    for (const Column &column : kColumns)
        columns << tr(column.header);
    for (int i = 0; i < kMarketIndices; ++i)
        rows << indexName(MarketIndex(i));
    rows << tr("All three");
    grid->setHorizontalHeaderLabels(columns);
    grid->setVerticalHeaderLabels(rows);
    for (int column = 0; column < grid->columnCount(); ++column)
        grid->horizontalHeaderItem(column)->setToolTip(tr(kColumns[std::size_t(column)].tip));
    for (int row = 0; row <= kMarketIndices; ++row) {
        const QStringList cells =
            cellsOf(row == kAllThree ? m_card.all : m_card.indices[std::size_t(row)]);
        for (int column = 0; column < grid->columnCount(); ++column) {
            auto *item = new QTableWidgetItem(cells.value(column));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->setItem(row, column, item);
        }
    }
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->resizeRowsToContents();
    grid->setFixedHeight(grid->horizontalHeader()->sizeHint().height() +
                         grid->verticalHeader()->length() + 2 * grid->frameWidth());

    const QChar point = decimalPoint();
    if (m_card.empty()) {
        m_ui->lblMeasured->setText(QStringLiteral("–"));
        m_ui->lblInterval->setText(tr("Nothing to score yet: %1. Import the three indices and the "
                                      "market breadth with Import Prices in the File menu.")
                                       .arg(nothingToScoreReason()));
    } else {
        m_ui->lblMeasured->setText(percentText(m_card.all.forecaster.closeInRange, point));
        m_ui->lblInterval->setText(tr("95% interval %1–%2 over %3 index days")
                                       .arg(pointsText(m_card.all.closeInterval.lower * 100, point),
                                            percentText(m_card.all.closeInterval.upper, point),
                                            formatNumber(double(m_card.all.count()))));
    }
    grid->setCurrentCell(0, 0);
    showChart(0);
}

void frmScorecard::grdScore_RowChange()
{
    showChart(m_ui->grdScore->currentRow());
}

void frmScorecard::showChart(int row)
{
    ChartView *chart = m_ui->chtScore;
    if (row < 0 || row >= kMarketIndices) {
        chart->showMessage(tr("Choose one index to see its days."));
        return;
    }
    const QString name = indexName(MarketIndex(row));
    const IndexScore &score = m_card.indices[std::size_t(row)];
    if (score.days.isEmpty()) {
        chart->showMessage(tr("No day of the %1 to score.").arg(name));
        return;
    }
    QList<QDate> dates;
    QList<QPointF> closes, lower, upper, misses;
    for (const ScoredDay &day : score.days) {
        const double x = double(dates.size());
        dates << day.date;
        closes << QPointF(x, day.close);
        lower << QPointF(x, day.forecast.lower);
        upper << QPointF(x, day.forecast.upper);
        if (!day.forecast.holds(day.close))
            misses << QPointF(x, day.close);
    }
    chart->startChart(tr("%1: %2 days scored, %3 to %4")
                          .arg(name, formatNumber(double(score.count())),
                               dayText(dates.constFirst()), dayText(dates.constLast())),
                      dates);
    chart->addBand(tr("Forecast range"), lower, upper);
    chart->addLine(tr("Close"), closes, ChartView::Colour::Line);
    chart->addMarks(tr("Close outside the range"), misses, ChartView::Colour::Miss);
    chart->finishChart();
}

} // namespace vantora
