// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QString>

class QPrinter;
class QTableView;
class QWidget;

namespace vantora {

// A screen's report on paper or as PDF: a title, the day and the database's name, the table as
// the screen shows it (its order, its filter, its visible columns), the totals and the chart,
// over as many pages as it takes, the table's header row repeated on each.
struct Report
{
    QString title;
    QString databasePath;
    const QTableView *table = nullptr;
    bool rowHeaders = false; // the table's row captions as its first column
    QList<QPair<QString, QString>> totals;
    QWidget *chart = nullptr;
};

// The report as one HTML page (the chart as the image "chart.png" in the document).
QString reportHtml(const Report &report);
// Prints the report (a printer set to PDF writes a PDF file).
void renderReport(const Report &report, QPrinter *printer);
// Writes the report as a PDF file; the reason in the user's words when it could not.
QString writeReportPdf(const Report &report, const QString &file);

// The dialogs behind a screen's "&Print…" and "Export P&DF…".
void printReportWithDialog(const Report &report, QWidget *parent);
void exportReportWithDialog(const Report &report);

} // namespace vantora
