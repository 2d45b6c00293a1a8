// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/chartview.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace vantora {

ChartView::ChartView(QWidget *parent)
    : QChartView(parent)
{
    // Until the style sheet gives the colours.
    const QPalette p = palette();
    m_paper = p.color(QPalette::Base);
    m_ink = m_level = p.color(QPalette::Text);
    m_grid = p.color(QPalette::Midlight);
    m_line = p.color(QPalette::Highlight);
    m_compare = m_miss = p.color(QPalette::Dark);
    m_band = p.color(QPalette::Highlight).lighter(170);
    setRenderHint(QPainter::Antialiasing);
    setFocusPolicy(Qt::NoFocus);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setBackgroundRoundness(0);
}

QColor ChartView::colour(Colour which) const
{
    switch (which) {
    case Colour::Line:
        return m_line;
    case Colour::Compare:
        return m_compare;
    case Colour::Level:
        return m_level;
    case Colour::Band:
        return m_band;
    case Colour::Miss:
        return m_miss;
    }
    return m_ink;
}

void ChartView::clear()
{
    QChart *c = chart();
    c->removeAllSeries();
    for (QAbstractAxis *axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
    c->setBackgroundBrush(m_paper);
    c->setBackgroundPen(Qt::NoPen);
    c->setTitleBrush(m_ink);
    QFont title = font();
    title.setBold(true);
    c->setTitleFont(title);
    c->legend()->setLabelColor(m_ink);
    c->legend()->setFont(font());
    m_hasValues = false;
    m_dayCount = 0;
}

void ChartView::showMessage(const QString &text)
{
    clear();
    chart()->setTitle(text);
    chart()->legend()->hide();
}

QString ChartView::message() const
{
    return chart()->series().isEmpty() ? chart()->title() : QString();
}

void ChartView::startChart(const QString &title, const QList<QDate> &days)
{
    clear();
    QChart *c = chart();
    c->setTitle(title);
    c->legend()->show();
    m_dayCount = days.size();

    auto *x = new QCategoryAxis;
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (const auto &[position, label] : dayLabels(days))
        x->append(label, position);
    x->setRange(-0.5, double(std::max<qsizetype>(days.size(), 1)) - 0.5);
    auto *y = new QValueAxis;
    for (QAbstractAxis *axis : {static_cast<QAbstractAxis *>(x), static_cast<QAbstractAxis *>(y)}) {
        axis->setLabelsColor(m_ink);
        axis->setLabelsFont(font());
        axis->setGridLineColor(m_grid);
        axis->setLinePenColor(m_grid);
    }
    c->addAxis(x, Qt::AlignBottom);
    c->addAxis(y, Qt::AlignLeft);
}

void ChartView::attach(QAbstractSeries *series)
{
    chart()->addSeries(series);
    for (QAbstractAxis *axis : chart()->axes())
        series->attachAxis(axis);
}

void ChartView::include(const QList<QPointF> &points)
{
    for (const QPointF &p : points) {
        m_low = m_hasValues ? std::min(m_low, p.y()) : p.y();
        m_high = m_hasValues ? std::max(m_high, p.y()) : p.y();
        m_hasValues = true;
    }
}

QLineSeries *ChartView::addLine(const QString &name, const QList<QPointF> &points, Colour which,
                                Qt::PenStyle style)
{
    auto *series = new QLineSeries;
    series->setName(name);
    series->replace(points);
    series->setPen(QPen(colour(which), 2, style));
    attach(series);
    include(points);
    return series;
}

void ChartView::addBand(const QString &name, const QList<QPointF> &lower,
                        const QList<QPointF> &upper, Colour which)
{
    auto *area = new QAreaSeries;
    auto *top = new QLineSeries(area);
    auto *bottom = new QLineSeries(area);
    top->replace(upper);
    bottom->replace(lower);
    area->setUpperSeries(top);
    area->setLowerSeries(bottom);
    area->setName(name);
    area->setBrush(colour(which));
    area->setPen(Qt::NoPen);
    attach(area);
    include(lower);
    include(upper);
}

QScatterSeries *ChartView::addMarks(const QString &name, const QList<QPointF> &points, Colour which)
{
    auto *series = new QScatterSeries;
    series->setName(name);
    series->replace(points);
    series->setMarkerSize(9);
    series->setColor(colour(which));
    series->setBorderColor(m_paper);
    attach(series);
    include(points);
    return series;
}

void ChartView::finishChart()
{
    const QList<QAbstractAxis *> vertical = chart()->axes(Qt::Vertical);
    auto *y = vertical.isEmpty() ? nullptr : qobject_cast<QValueAxis *>(vertical.first());
    if (!y)
        return;
    double low = m_hasValues ? m_low : 0, high = m_hasValues ? m_high : 1;
    const double margin = high > low ? (high - low) * 0.06 : std::max(std::abs(high) * 0.01, 1.0);
    y->setRange(low - margin, high + margin);
    y->applyNiceNumbers();
    y->setLabelFormat(y->max() - y->min() >= 20 ? QStringLiteral("%.0f") : QStringLiteral("%.2f"));
}

QList<QPair<int, QString>> ChartView::dayLabels(const QList<QDate> &days)
{
    QList<QPair<int, QString>> labels;
    if (days.isEmpty())
        return labels;
    const qint64 span = days.constFirst().daysTo(days.constLast());
    enum Unit { Week, Month, Quarter, Year };
    const Unit unit = span <= 60 ? Week : span <= 400 ? Month : span <= 1200 ? Quarter : Year;
    const auto period = [unit](QDate d) -> int {
        int year = d.year();
        switch (unit) {
        case Week:
            return d.weekNumber(&year) + 100 * year;
        case Month:
            return d.month() + 12 * year;
        case Quarter:
            return (d.month() - 1) / 3 + 4 * year;
        case Year:
            break;
        }
        return year;
    };
    const QLocale locale;
    const auto text = [&](QDate d, bool first) {
        switch (unit) {
        case Week:
            return locale.toString(d,
                                   first ? QStringLiteral("d MMM yyyy") : QStringLiteral("d MMM"));
        case Month:
            // The year where it changes, and throughout when a month name would come twice.
            return locale.toString(d, first || d.month() == 1 || span > 330
                                          ? QStringLiteral("MMM yyyy")
                                          : QStringLiteral("MMM"));
        case Quarter:
            return locale.toString(d, QStringLiteral("MMM yyyy"));
        case Year:
            break;
        }
        return locale.toString(d, QStringLiteral("yyyy"));
    };

    QList<int> starts;
    for (qsizetype i = 1; i < days.size(); ++i)
        if (period(days[i]) != period(days[i - 1]))
            starts << int(i);
    // No more than ten labels; the first day is named too, unless a label stands close by.
    const qsizetype every = std::max<qsizetype>(1, (starts.size() + 9) / 10);
    QList<int> kept;
    for (qsizetype i = 0; i < starts.size(); i += every)
        kept << starts[i];
    const int gap = int(std::max<qsizetype>(1, days.size() / 12));
    if (kept.isEmpty() || kept.constFirst() >= gap)
        kept.prepend(0);
    for (const int position : std::as_const(kept))
        labels << qMakePair(position, text(days[position], position == kept.constFirst()));
    return labels;
}

} // namespace vantora
