#pragma once

// Tarvel's one window. It owns the controls and the three private fields,
// holds the handlers, and wires these parts of app/, none of which calls it
// back (the README's map names every folder):
//
//   window_layout   where each control stands, its label and screen-reader
//                   name, the Tab chain, and how it follows a resize
//   window_actions  Open, Save, the report, Undo and Redo, made once for keys
//                   and the point table's menu; Enter pressing a box's button
//   fit_check_view  the exact check's indicator, panel and tints, the line
//                   with a least-squares fit's numbers, and the player of
//                   the solve's steps (elimination_player)
//   fit_mode_switch through the points or least squares, and the label
//                   that says which
//   point_files     the file dialogs, files read and written whole, drops
//   polynomial_copy Copy as LaTeX, code or a spreadsheet formula
//   fit_report_page the one-page report, printed or saved as PDF
//   passing_note    the note over the point table
//   window_history  undo and redo of the window's states
//
// One click, end to end: Qt delivers `clicked` on btnGetCoefficients, and
// run() finds its row in the table of steps: an undo step named
// "GetCoefficients" that solves. It commits any open cell editor, starts the
// exact fit on another thread, and runs btnGetCoefficientsClick inside the
// guard; the handler hands the solver in fitting/ the cell tables of the
// three grids and a record for its steps, and puts the Result text it
// returns into txtResult. An error thrown on the way ends the handler, and
// what was written stays: the grids show their tables as they now are, and
// the guard shows the message. Then the check view compares the exact fit
// with what the solve left and keeps the steps beside it, and the history
// keeps the states before and after as one step.

#include "app/window_history.h"
#include "model/fit_mode.h"
#include "toolkit/cell_block.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class ChartView;
class FitCheckView;
class FitModeSwitch;
struct FitReportPage;
class PointFiles;
class PassingNote;
class PolynomialCopy;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class StringGrid;
class WindowActions;
class WindowLayout;

class TForm1 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The controls, named as in the layout. The window owns them all.
    QLabel* Label10;
    QLineEdit* txtDegree;
    QPushButton* btnGenerate;
    QLabel* Label1;
    QLineEdit* txtFx1;
    QLabel* Label2;
    QLineEdit* txtFx2;
    QTabWidget* Tarvel;
    QWidget* TabSheet1;
    StringGrid* sgdResult;
    QGroupBox* GroupBox1;
    QLabel* Label3;
    QLabel* Label4;
    QLineEdit* txtX;
    QLineEdit* txtFx;
    QPushButton* btnAdd;
    QPushButton* btnDel;
    QPushButton* btnClear;
    QPushButton* btnGetCoefficients;
    StringGrid* sdgCoefficients;
    StringGrid* sgdAns1;
    QWidget* TabSheet2;
    ChartView* Chart1;
    QLabel* Label8;
    QLineEdit* txtMin;
    QLabel* Max;
    QLineEdit* txtMax;
    QLabel* Label9;
    QLineEdit* txtStep;
    QPushButton* btnDraw;
    QLabel* Label5;
    QLabel* Label6;
    QLineEdit* txtResult;
    QLabel* Label7;
    QLineEdit* txtRX;
    QPushButton* btnFx;
    QLineEdit* txtRfx;
    // A passing note over the point table: what Generate dropped, or that
    // numbers with decimal commas were read.
    PassingNote* note;
    // The parts the window wires.
    FitCheckView* checkView;
    FitModeSwitch* fitMode;
    WindowActions* actions;
    PolynomialCopy* polynomialCopy;

    // Event handlers, each bound to its control's event in the constructor.
    void btnGenerateClick();
    void btnAddClick();
    void btnDelClick();
    void btnClearClick();
    void sgdResultSelectCell(int ACol, int ARow);
    void btnGetCoefficientsClick();
    void btnFxClick();
    void btnDrawClick();
    void TarvelChange();
    // Ctrl+V in the point table and in the coefficient values; `source` is
    // what messages call the block's origin ("clipboard", "drop").
    void sgdResultPaste(const CellBlock& block, const std::string& source);
    void sdgCoefficientsPaste(const CellBlock& block, const std::string& source);

    // Points as CSV files. Open reads one as one step: Degree becomes the
    // number of points less one, Generate runs, and the points fill the
    // table; a file it refuses changes nothing. Save writes the table whole
    // or leaves the old file as it was. Messages name the file. Ctrl+O and
    // Ctrl+S ask for the file first; a point file dropped on the table opens.
    void openPoints(const QString& path);
    void savePoints(const QString& path, bool decimalCommas = false);
    // The one-page report of what the window shows.
    FitReportPage reportPage() const;

    // Switches the fit as one step. The point table becomes what the fit
    // keeps: in least squares every row and a blank one to type into;
    // through the points, one row per coefficient, as Generate makes it,
    // the points it drops counted in the note.
    void switchFit(FitMode mode);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The table of steps, a row for each handler a control runs: its name on
    // the undo stack (none for f(x), Draw and a page switch, which only
    // recompute), and what it does to the exact check.
    enum class CheckEffect { follow, solve, clear };
    struct Step {
        void (TForm1::*handler)();
        const char* undoText;
        CheckEffect check;
        std::vector<QLineEdit*> reads; // the boxes the handler reads
    };
    void bindEvents();
    void bindHistory();
    void FormCreate();
    // Runs a handler the way every event does: open cell editors committed
    // first, the grids shown as the handler left them, errors shown by the
    // guard, the step kept for undo, the exact check told.
    void run(const Step& step);
    // Writes any open cell editor's text into its cell, so nothing reads or
    // keeps the text from before the user's typing.
    void commitEdits();
    void showGrids();

    WindowState captureState() const;
    void restoreState(const WindowState& state);
    std::vector<QLineEdit*> boxes() const;

    std::unique_ptr<WindowLayout> layout;
    PointFiles* pointFiles;
    WindowHistory history;

    // The letters of the current template, entry i for coefficient i. Only
    // Generate reads and writes it; the letters the window shows are in the
    // grids. It is the window's record of the template in force.
    std::vector<std::string> coefNames;
    // Points put in through Add less those taken out through Del, since the
    // last Clear; Add's full-table guard.
    int pointCount = 0;
    // The degree read by the last Generate; -1 when that text was no integer.
    int degree = -1;

    friend struct TForm1State; // read by the tests
};
