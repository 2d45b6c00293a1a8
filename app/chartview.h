// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChartView>
#include <QColor>
#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

class QAbstractSeries;
class QLineSeries;
class QScatterSeries;

namespace vantora {

// A chart over trading days, one step per day (weekends and holidays leave no gaps), with
// readable dates under it. Its colours come from the program's style sheet (qproperty-paper
// and the like), as every other colour of the program does.
class ChartView final : public QChartView
{
    Q_OBJECT
    Q_PROPERTY(QColor paper MEMBER m_paper)
    Q_PROPERTY(QColor ink MEMBER m_ink)
    Q_PROPERTY(QColor grid MEMBER m_grid)
    Q_PROPERTY(QColor line MEMBER m_line)
    Q_PROPERTY(QColor compare MEMBER m_compare)
    Q_PROPERTY(QColor level MEMBER m_level)
    Q_PROPERTY(QColor band MEMBER m_band)
    Q_PROPERTY(QColor miss MEMBER m_miss)

public:
    explicit ChartView(QWidget *parent = nullptr);

    // Nothing drawn but the text, in the middle of the chart.
    void showMessage(const QString &text);
    QString message() const;

    // A fresh chart over these days (oldest first): the position of a day is its x.
    void startChart(const QString &title, const QList<QDate> &days);
    enum class Colour { Line, Compare, Level, Band, Miss };
    QLineSeries *addLine(const QString &name, const QList<QPointF> &points, Colour colour,
                         Qt::PenStyle style = Qt::SolidLine);
    // A shaded band between two lines of the same days.
    void addBand(const QString &name, const QList<QPointF> &lower, const QList<QPointF> &upper,
                 Colour colour = Colour::Band);
    QScatterSeries *addMarks(const QString &name, const QList<QPointF> &points, Colour colour);
    // Fits the value axis to what was added.
    void finishChart();

    // Where the dates stand under a chart of these days: at the first day of each week, month,
    // quarter or year, whichever gives a handful of labels.
    static QList<QPair<int, QString>> dayLabels(const QList<QDate> &days);

private:
    QColor colour(Colour which) const;
    void attach(QAbstractSeries *series);
    void include(const QList<QPointF> &points);
    void clear();

    QColor m_paper, m_ink, m_grid, m_line, m_compare, m_level, m_band, m_miss;
    double m_low = 0, m_high = 0;
    bool m_hasValues = false;
    qsizetype m_dayCount = 0;
};

} // namespace vantora
