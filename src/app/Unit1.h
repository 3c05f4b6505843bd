#pragma once

// Tarvel's one window. Where everything lives:
//
//   app/       this window: it owns every control, lays them out, binds each
//              event to its handler, and keeps the three private fields; the
//              exact check's panel; undo and redo of the window's states;
//              point files (Open and Save dialogs, drops on the point table)
//   model/     the coefficient template (Generate) and the point evaluation (f(x))
//   fitting/   the sample point table (Add, Del, Clear) and its CSV files,
//              the solver, and the exact check of the coefficients it shows
//   exact/     exact numbers: decimal texts read exactly, interpolation,
//              correct rounding
//   plot/      the function plot (Draw), its samples, its axis labels, the
//              line kept to what the plot can show, the chart view, and the
//              range proposed on a page switch
//   toolkit/   the number core, free of widgets: the cell table, text
//              conversions, the error family, checked arithmetic, clipboard
//              blocks; and the widgets' side: the string grid that shows a
//              cell table, the limits of edit boxes, and the guard that shows
//              errors
//
// The rules in model/, fitting/ and exact/ know no widget: they work on cell tables
// and texts. This window binds them to its controls.
//
// One click, end to end: Qt delivers `clicked` on btnGetCoefficients; the
// binding commits any open cell editor and runs btnGetCoefficientsClick inside
// the guard; the handler hands the solver in fitting/ the cell tables of the
// three grids, and puts the Result text it returns into txtResult. An error
// thrown anywhere on the way ends the handler, and what was written stays:
// the binding shows the grids' tables as they now are, and the guard shows
// the message. Then the binding starts the exact check on the same tables,
// and the indicator at the end of txtResult shows its verdict.
//
// The controls are the store: each handler reads its inputs from controls,
// calls one subsystem function, and writes the results back into controls.

#include "app/window_history.h"
#include "fitting/fit_check.h"
#include "toolkit/cell_block.h"

#include <QWidget>

#include <string>
#include <tuple>
#include <vector>

class ChartView;
class FitCheckPanel;
class PointFiles;
class QAction;
class QMenu;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class StringGrid;

class TForm1 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);

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
    // The exact check of the coefficients shown: an indicator at the end of
    // txtResult, and the panel it opens.
    QAction* fitIndicator = nullptr;
    FitCheckPanel* fitPanel = nullptr;
    // A passing note over the point table: what Generate dropped, or that
    // numbers with decimal commas were read.
    QLabel* note;

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
    void savePoints(const QString& path);
    // The point table's context menu: Open, Save, Undo, Redo, Cut, Copy,
    // Paste, Delete.
    QMenu* pointsMenu();

  protected:
    // A window larger than laid out gives the room to the page control, the
    // answer grid and the chart, and widens the formula boxes; the rows below
    // the pages move down with them. It never gets smaller than laid out.
    void resizeEvent(QResizeEvent* event) override;

  private:
    void createControls();
    // How each control follows the room beyond the laid-out size.
    enum class Follow { grow, growWidth, moveDown, moveDownGrowWidth };
    void anchorControls();
    std::vector<std::tuple<QWidget*, QRect, Follow>> anchors;
    void nameForScreenReaders();
    void chainTabOrder();
    void bindEvents();
    void bindKeyboard();
    void FormCreate();
    // Runs a handler the way every event does: open cell editors committed
    // first, the grids shown as the handler left them, errors shown by the
    // guard.
    void run(void (TForm1::*handler)());
    // Writes any open cell editor's text into its cell, so nothing reads or
    // keeps the text from before the user's typing.
    void commitEdits();
    void showGrids();
    // The exact check beside the solver: made after a solve that succeeds,
    // gone after one that fails or a Generate, and kept current as the user
    // edits the grids.
    void createFitCheck();
    void placeFitPanel();
    void followFitCheck();
    void showFitCheck();
    void openFitPanel();
    void useExactValues();

    // Undo and redo (Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y): every handler that
    // changes the window's data, every edit in a grid, a paste, an Open or a
    // drop is one step.
    void bindHistory();
    WindowState captureState() const;
    void restoreState(const WindowState& state);
    std::vector<QLineEdit*> boxes() const;
    void askToOpenPoints();
    void askToSavePoints();
    PointFiles* pointFiles;
    // Shows `text` over the point table for a few seconds.
    void showNote(const QString& text);

    FitCheck fitCheck;
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
