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
//                   with a least-squares fit's numbers; it keeps the last
//                   solve
//   elimination_player  the last solve's steps, one at a time
//   fit_kind_switch through the points or least squares, and the label
//                   that says which
//   point_files     the file dialogs, files read and written whole, drops
//   polynomial_copy Copy as LaTeX, code or a spreadsheet formula
//   fit_report_page the one-page report, printed or saved as PDF
//   passing_note    the note over the point table
//   summing_bar     the points of a long least-squares solve summed first,
//                   counted, and Cancel
//   window_history  undo and redo of the window's states
//   window_steps    one description per step and one runner for every way
//                   a step starts: buttons, paste, a switch of the fit kind,
//                   Open, cell edits, "Use exact values"
//   coefficient_menu  the coefficient grid's menu: hold a coefficient at
//                   its value in least squares, or release it
//   window_controls the controls, named as in the layout
//
// One click, end to end: Qt delivers `clicked` on btnGetCoefficients, and
// the step runner takes its description: an undo step named
// "GetCoefficients" that solves. It commits any open cell editor, starts the
// exact fit on another thread, and runs btnGetCoefficientsClick inside the
// guard; the handler hands the solver in fitting/ the cell tables of the
// three grids, the fit kind in force, which builds the system, and a record
// for its steps, and puts the Result text it returns into txtResult. An
// error thrown on the way ends the handler, and what was written stays: the
// grids show their tables as they now are, and the guard shows the message.
// Then the check view compares the exact fit with what the solve left and
// keeps it, with the steps, as the last solve, which Copy as, the report and
// the player read; the history keeps the states before and after as one step.

#include "app/window_controls.h"
#include "app/window_history.h"
#include "toolkit/cell_block.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class EliminationPlayer;
class FitCheckView;
class FitKind;
class CoefficientMenu;
class FitKindSwitch;
struct FitReportPage;
class PointFiles;
class PassingNote;
class SummingBar;
class PolynomialCopy;
class WindowActions;
class WindowLayout;
class WindowSteps;
struct StepDescription;

class TForm1 : public QWidget, public WindowControls {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // A passing note over the point table: what Generate dropped, or that
    // numbers with decimal commas were read.
    PassingNote* note;
    // Counts the sums of a long least-squares solve, with Cancel.
    SummingBar* summingBar;
    // The parts the window wires.
    FitCheckView* checkView;
    EliminationPlayer* player;
    FitKindSwitch* fitKind;
    WindowActions* actions;
    PolynomialCopy* polynomialCopy;
    CoefficientMenu* coefficientMenu;

    // Event handlers, each bound to its control's event in the constructor.
    void btnGenerateClick();
    void btnAddClick();
    void btnDelClick();
    void btnClearClick();
    void sgdResultSelectCell(int ACol, int ARow);
    void btnGetCoefficientsClick();
    void btnFxClick();
    void btnXForFxClick();
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

    // Switches the fit kind as one step. The point table becomes what the
    // kind keeps: in least squares every row and a blank one to type into;
    // through the points, one row per coefficient, as Generate makes it,
    // the points it drops counted in the note.
    void switchFit(const FitKind& kind);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Binds each button, the page control and both grids' pastes to its step.
    void bindEvents();
    // Binds cell edits, "Use exact values", the player, the fit kind's
    // switch, the files and the report to their steps and handlers.
    void bindParts();
    void FormCreate();
    // Ctrl+V in a grid as a step; the note says when decimal commas were read.
    using PasteHandler = void (TForm1::*)(const CellBlock&, const std::string&);
    std::function<void(const ReadBlock&, const std::string&)> pasteStep(PasteHandler handler,
                                                                        const char* rowsHold);

    WindowState captureState() const;
    void restoreState(const WindowState& state);
    std::vector<QLineEdit*> boxes() const;

    std::unique_ptr<WindowLayout> layout;
    PointFiles* pointFiles;
    WindowHistory history;
    std::unique_ptr<WindowSteps> steps;

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
