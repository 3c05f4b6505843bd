#pragma once

#include <QRectF>
#include <QString>

#include <string>
#include <vector>

class CellTable;
class FitKind;
struct LastSolve;
class ChartView;
class QPagedPaintDevice;
class QPainter;
class QWidget;
struct FitReport;

// The one-page report of a fit, for the printer or a PDF file: title, date
// and version; which fit, and in least squares its numbers; the points; the
// polynomial in both forms and as fitted; the coefficients shown and exact
// with the exact check's verdict; the chart, as a vector picture. What does not fit the page is cut
// short with a note
// ("and 151 more"), so it is always one page.
struct FitReportPage {
    QString date, version;
    std::string fit;       // "Through the points: …", "Least squares: 20 points, R² …"
    bool weighted = false; // the points have their weights, w, after x and f(x)
    std::vector<std::vector<std::string>> points; // x, f(x) and w of the filled rows
    std::string expanded, nested, fitted;
    struct Coefficient {
        std::string letter, shown, exact; // exact: "" without the check
        std::string standardError;        // least squares: the exact fit's
    };
    std::vector<Coefficient> coefficients;
    std::string verdict;        // the check's summary, or why there is none
    ChartView* chart = nullptr; // laid out at its size in the window to be drawn

    // What the window shows, which the report is made of.
    struct Sources {
        const LastSolve& solve;
        const FitKind& kind;
        const CellTable& points;
        const CellTable& coefficients;
        std::string expanded, nested, fitted;
        ChartView* chart;
    };
    // The report of these. Refused with an error before a solve, after a
    // failed one or after Generate.
    static FitReportPage of(const Sources& window);

    // Paints the page onto a printer or a PDF writer.
    void paint(QPagedPaintDevice& device) const;
    // The chart, into `area` of the page from its top to the lower margin.
    void paintChart(QPainter& painter, QRectF area) const;
    // Writes the page to a PDF file whole, or leaves the file as it was.
    // Raises Exception "Cannot save 'name': reason".
    void savePdf(const QString& path) const;
    // Asks for a printer, and prints the page there.
    void print(QWidget& parent) const;
};
