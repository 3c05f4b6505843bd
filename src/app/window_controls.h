#pragma once

class ChartView;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class StringGrid;

// The window's controls, named as in the layout; window_layout makes them
// and places them, the window owns them all.
struct WindowControls {
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
    // x for f(x): the x where the polynomial takes the value in txtRfx, in
    // the drawn range, shown in txtXForFx.
    QPushButton* btnXForFx;
    QLineEdit* txtXForFx;
};
