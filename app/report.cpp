// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/report.h"

#include "common/dialogs.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLocale>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableView>
#include <QTextDocument>

namespace vantora {
namespace {

struct ReportTexts
{
    Q_DECLARE_TR_FUNCTIONS(Report)
};

QString cell(const QString &tag, const QString &text, bool right)
{
    return QStringLiteral("<%1%2>%3</%1>")
        .arg(tag, right ? QStringLiteral(" align=\"right\"") : QString(), text.toHtmlEscaped());
}

const QUrl kChart(QStringLiteral("chart.png"));

} // namespace

QString reportHtml(const Report &report)
{
    QString html =
        QStringLiteral("<html><body><h2>%1</h2><p>%2<br>%3</p>")
            .arg(report.title.toHtmlEscaped(),
                 QLocale().toString(QDate::currentDate(), QLocale::LongFormat).toHtmlEscaped(),
                 ReportTexts::tr("Database: %1")
                     .arg(QFileInfo(report.databasePath).fileName())
                     .toHtmlEscaped());
    if (report.table && report.table->model()) {
        const QAbstractItemModel *model = report.table->model();
        QList<int> columns;
        for (int column = 0; column < model->columnCount(); ++column)
            if (!report.table->isColumnHidden(column))
                columns << column;
        // A table header of its own (thead) is repeated at the top of every page.
        html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                               "width=\"100%\"><thead><tr>");
        if (report.rowHeaders)
            html += cell(QStringLiteral("th"), QString(), false);
        for (const int column : std::as_const(columns))
            html += cell(QStringLiteral("th"), model->headerData(column, Qt::Horizontal).toString(),
                         false);
        html += QStringLiteral("</tr></thead><tbody>");
        for (int row = 0; row < model->rowCount(); ++row) {
            html += QStringLiteral("<tr>");
            if (report.rowHeaders)
                html += cell(QStringLiteral("th"), model->headerData(row, Qt::Vertical).toString(),
                             false);
            for (const int column : std::as_const(columns)) {
                const QModelIndex index = model->index(row, column);
                const auto align = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
                html += cell(QStringLiteral("td"), index.data().toString(),
                             align.testFlag(Qt::AlignRight));
            }
            html += QStringLiteral("</tr>");
        }
        html += QStringLiteral("</tbody></table>");
    }
    if (!report.totals.isEmpty()) {
        html += QStringLiteral("<p>");
        for (const auto &[caption, value] : report.totals)
            html += QStringLiteral("%1: <b>%2</b><br>")
                        .arg(caption.toHtmlEscaped(), value.toHtmlEscaped());
        html += QStringLiteral("</p>");
    }
    if (report.chart)
        html += QStringLiteral("<p><img src=\"%1\" width=\"640\"></p>").arg(kChart.toString());
    return html + QStringLiteral("</body></html>");
}

void renderReport(const Report &report, QPrinter *printer)
{
    QTextDocument document;
    if (report.chart)
        document.addResource(QTextDocument::ImageResource, kChart, report.chart->grab().toImage());
    QFont font = document.defaultFont();
    font.setPointSizeF(8);
    document.setDefaultFont(font);
    document.setHtml(reportHtml(report));
    document.print(printer);
}

QString writeReportPdf(const Report &report, const QString &file)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setDocName(report.title);
    printer.setCreator(QString::fromLatin1(kAppTitle));
    printer.setPageSize(QPageSize(QLocale().measurementSystem() == QLocale::MetricSystem
                                      ? QPageSize::A4
                                      : QPageSize::Letter));
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    // A table of many columns reads best across the page.
    if (report.table && report.table->model() && report.table->model()->columnCount() > 6)
        printer.setPageOrientation(QPageLayout::Landscape);
    QFile::remove(file);
    renderReport(report, &printer);
    if (!QFileInfo::exists(file) || QFileInfo(file).size() == 0)
        return ReportTexts::tr("The PDF file could not be written to\n%1")
            .arg(QDir::toNativeSeparators(file));
    return {};
}

void printReportWithDialog(const Report &report, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(report.title);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(ReportTexts::tr("Print %1").arg(report.title));
    prepareDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    renderReport(report, &printer);
}

void exportReportWithDialog(const Report &report)
{
    const QString title = ReportTexts::tr("Export PDF");
    QString file = fileBox(title, ReportTexts::tr("PDF files (*.pdf)"), true, true);
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".pdf");
    const QString error = writeReportPdf(report, file);
    if (!error.isEmpty())
        msgBox(error, OkOnly, title);
}

} // namespace vantora
