#include "app/fit_report_page.h"

#include "app/point_files.h"
#include "fitting/fit_check.h"
#include "fitting/fit_kind.h"
#include "fitting/fit_report.h"
#include "fitting/point_table.h"
#include "model/coefficient_template.h"
#include "plot/chart_view.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/message_text.h"

#include <QBuffer>
#include <QChart>
#include <QCoreApplication>
#include <QDate>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextOption>

namespace {

constexpr int kPointRows = 40;

// Draws lines of text down from `top` within `width`, each elided at its end;
// returns where the next line would stand.
double lines(QPainter& painter, double left, double top, double width,
             const std::vector<QString>& texts) {
    const QFontMetricsF metrics(painter.font());
    QTextOption leftToRight(Qt::AlignLeft);
    leftToRight.setTextDirection(Qt::LeftToRight); // whatever the letters of a large template
    leftToRight.setWrapMode(QTextOption::NoWrap);
    for (const QString& text : texts) {
        // Control characters, such as the letters of a large template beyond
        // 127 that break a line, show as marks.
        QString shown = QString::fromStdString(visibleText(text.toStdString()));
        for (QChar& c : shown)
            if (c.unicode() >= 0x7F && c.unicode() < 0xA0)
                c = QChar::ReplacementCharacter;
        painter.drawText(QRectF(left, top, width, metrics.lineSpacing()),
                         metrics.elidedText(shown, Qt::ElideRight, width), leftToRight);
        top += metrics.lineSpacing();
    }
    return top;
}

QString more(size_t shown, size_t all, const char* what) {
    return QString("and %1 more %2").arg(all - shown).arg(what);
}

} // namespace

void FitReportPage::paint(QPagedPaintDevice& device) const {
    device.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&device);
    // Work in points: 595 x 842 on A4, with 36 points of margin.
    const double scale = device.logicalDpiX() / 72.0;
    painter.scale(scale, scale);
    const double left = 36, width = 595 - 72;
    QFont font("Arial");
    font.setPixelSize(16); // in points, as the painter is scaled
    font.setBold(true);
    painter.setFont(font);
    double top = lines(painter, left, 36, width, {"Tarvel: the fitted polynomial"});
    font.setBold(false);
    font.setPixelSize(8);
    painter.setFont(font);
    top = lines(painter, left, top + 2, width,
                {date + ", Tarvel " + version, QString::fromStdString(fit)}) +
          10;

    // The points on the left, the polynomial and its coefficients on the right.
    std::vector<QString> pointLines{weighted ? "Points (x, f(x), w)" : "Points (x, f(x))"};
    for (size_t k = 0; k < points.size() && k < kPointRows; ++k) {
        QStringList fields;
        for (const std::string& field : points[k])
            fields << QString::fromStdString(field);
        pointLines.push_back(fields.join("    "));
    }
    if (points.size() > kPointRows)
        pointLines.push_back(more(kPointRows, points.size(), "points"));
    const double columnTop = top;
    const double pointsBottom = lines(painter, left, columnTop, 150, pointLines);

    const double right = left + 165, rightWidth = width - 165;
    std::vector<QString> polynomial{"f(x) = " + QString::fromStdString(expanded),
                                    "f(x) = " + QString::fromStdString(nested),
                                    "Fitted: f(x) = " + QString::fromStdString(fitted), ""};
    top = lines(painter, right, columnTop, rightWidth, polynomial);
    const QFontMetricsF metrics(painter.font());
    const int room = int((columnTop + 455 - top) / metrics.lineSpacing()) - 3;
    const bool errors = !coefficients.empty() && !coefficients[0].standardError.empty();
    std::vector<QString> table{errors ? "Coefficient, shown, exact, standard error"
                                      : "Coefficient, shown, exact"};
    const size_t rows = std::min(coefficients.size(), size_t(std::max(room, 1)));
    for (size_t k = 0; k < rows; ++k) {
        const Coefficient& c = coefficients[k];
        table.push_back(QString::fromStdString(c.letter + "    " + c.shown + "    " + c.exact +
                                               (errors ? "    " + c.standardError : "")));
    }
    if (rows < coefficients.size())
        table.push_back(more(rows, coefficients.size(), "coefficients: Copy as gives them all"));
    top = lines(painter, right, top, rightWidth, table);
    painter.drawText(QRectF(right, top + 4, rightWidth, 60), Qt::TextWordWrap,
                     "Exact check: " + QString::fromStdString(verdict));

    paintChart(painter, QRectF(left, std::max(pointsBottom, columnTop + 470), width, 0));
}

void FitReportPage::paintChart(QPainter& painter, QRectF area) const {
    // Below the text, drawn as vectors and laid out for the page, a pixel a
    // point: its labels keep their size and room whatever the window's size.
    if (!chart)
        return;
    area.setBottom(842 - 36);
    QChart& drawn = *chart->chart();
    const auto layOut = [&drawn](QSizeF size) {
        drawn.resize(size);
        drawn.layout()->activate(); // now, not at the next event
    };
    layOut(area.size());
    drawn.scene()->render(&painter, area, QRectF(drawn.pos(), area.size()));
    layOut(chart->size()); // as the view gives it when shown
}

FitReportPage FitReportPage::of(const Sources& window) {
    if (!window.solve.solved)
        throw Exception("No report yet: GetCoefficients has not solved the points.");
    FitReportPage page;
    page.date = QDate::currentDate().toString(Qt::ISODate);
    page.version = TARVEL_VERSION;
    const CellTable& points = window.points;
    // A weighted fit's points with their weights, a blank one written as
    // the 1 it counts as: the page alone gives the fit again.
    page.weighted = window.kind.options().weighted;
    for (const int row : filledRows(points)) {
        page.points.push_back({points.cell(0, row), points.cell(1, row)});
        const std::string w = points.colCount() > 2 ? points.cell(2, row) : "";
        if (page.weighted)
            page.points.back().push_back(w.find_first_not_of(' ') == std::string::npos ? "1" : w);
    }
    const FitReport* check = window.solve.report.get();
    page.fit = window.kind.reportLine(page.points.size(), check);
    page.expanded = window.expanded;
    page.nested = window.nested;
    page.fitted = window.fitted;
    const std::vector<std::string> letters = coefficientLetters(window.coefficients);
    const std::vector<std::string> shown = coefficientTexts(window.coefficients);
    const FitStatistics* fit = check && check->statistics ? &*check->statistics : nullptr;
    for (size_t k = 0; k < shown.size(); ++k)
        page.coefficients.push_back(
            {letters[k], shown[k],
             check && k < check->coefficients.size() ? check->coefficients[k].exact : "",
             fit && k < fit->standardErrors.size() ? fit->standardErrors[k] : ""});
    page.verdict = check ? check->summary : "not made for these values.";
    page.chart = window.chart;
    return page;
}

void FitReportPage::print(QWidget& parent) const {
    QPrinter printer;
    QPrintDialog dialog(&printer, &parent);
    if (dialog.exec() == QDialog::Accepted)
        paint(printer);
}

void FitReportPage::savePdf(const QString& path) const {
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&bytes);
        pdf.setTitle("Tarvel report");
        pdf.setCreator("Tarvel " + version);
        pdf.setResolution(300);
        paint(pdf);
    }
    // Whole or not at all, as the points are saved.
    PointFiles::write(path, bytes.data().toStdString());
}
