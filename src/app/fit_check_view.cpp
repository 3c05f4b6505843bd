#include "app/fit_check_view.h"

#include "app/fit_check_panel.h"
#include "fitting/solver.h"
#include "toolkit/error_display.h"
#include "toolkit/string_grid.h"
#include "toolkit/text_box.h"

#include "model/coefficient_template.h"

#include <QAction>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextCharFormat>
#include <QToolButton>

#include <utility>

namespace {

bool isCtrlE(const QEvent* event) {
    const auto* key = static_cast<const QKeyEvent*>(event);
    return key->key() == Qt::Key_E && key->modifiers() == Qt::ControlModifier;
}

} // namespace

FitCheckView::FitCheckView(QWidget& window, QLineEdit& result, StringGrid& points,
                           StringGrid& coefficients)
    : QObject(&window), window(window), result(result), points(points), coefficients(coefficients) {
    indicator = result.addAction(QIcon(), QLineEdit::TrailingPosition);
    indicator->setText("Exact check");
    indicator->setVisible(false);
    indicatorButton = nullptr;
    for (QToolButton* button : result.findChildren<QToolButton*>())
        if (button->defaultAction() == indicator)
            indicatorButton = button;
    indicatorButton->setFocusPolicy(Qt::TabFocus); // Space or Enter on it opens the panel
    QWidget::setTabOrder(&result, indicatorButton);
    fitLine = new QLabel(&window);
    fitLine->setObjectName("FitLine");
    fitLine->setGeometry(64, 504, 497, 23);
    fitLine->hide();
    panel = new FitCheckPanel(&window);
    placePanel();
    connect(indicator, &QAction::triggered, this, &FitCheckView::openPanel);
    result.installEventFilter(this);
    panel->onUseExactValues = [this] {
        if (runAsStep)
            runAsStep([this] { useExactValues(); });
    };
    // Any change to the points or the shown values, by typing, pasting or a handler.
    for (StringGrid* grid : {&points, &coefficients})
        connect(grid->model(), &QAbstractItemModel::dataChanged, this, &FitCheckView::follow);
}

bool FitCheckView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &result && event->type() == QEvent::ShortcutOverride && isCtrlE(event)) {
        event->accept(); // the key comes to the box, and here, not to its line editing
        return true;
    }
    if (watched == &result && event->type() == QEvent::KeyPress && isCtrlE(event)) {
        openPanel();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void FitCheckView::beforeSolve(const FitKind& kind) {
    check.prepare(points.cells(), coefficients.cells(), kind);
}

SolveSteps* FitCheckView::recordSteps() {
    recording = std::make_shared<SolveSteps>();
    return recording.get();
}

void FitCheckView::afterSolve(const QString& failure, const FitKind& kind) {
    check.start(points.cells(), coefficients.cells(), failure.toStdString(), kind,
                std::exchange(recording, nullptr));
    show();
}

void FitCheckView::clear() {
    check.stop();
    show();
}

void FitCheckView::uncheck() {
    check.uncheck();
    show();
}

void FitCheckView::follow() {
    if (check.follow(points.cells(), coefficients.cells()))
        show();
}

void FitCheckView::restore(LastSolve solve) {
    check.restore(std::move(solve), coefficients.cells());
    show();
}

std::optional<BandBasis> FitCheckView::bands(double level) const {
    const FitReport* report = check.report();
    if (!report || !report->statistics || report->statistics->bandInverse.empty())
        return std::nullopt;
    const FitStatistics& fit = *report->statistics;
    return BandBasis{fit.bandSd,    fit.degreesOfFreedom, fit.bandCenter,
                     fit.bandScale, fit.bandInverse,      level};
}

void FitCheckView::placePanel() {
    panel->setGeometry(8, 100, window.width() - 16, result.y() - 104);
    showFitLine(); // its width follows the window
}

void FitCheckView::showHeld(const HeldValues& values) {
    held = values;
    show();
}

void FitCheckView::show() {
    const FitReport* report = check.report();
    StringGrid::CellNotes notes;
    for (const auto& [power, value] : held)
        notes[{1, int(power) + 1}] = "Held at " + value +
                                     ": the fit solves for the other coefficients. "
                                     "Release it from this grid's menu.";
    if (report)
        for (size_t k = 0; k < report->coefficients.size(); ++k)
            if (report->coefficients[k].off)
                notes[{1, int(k) + 1}] = "The exact value is " + report->coefficients[k].exact +
                                         "; this one is off by " +
                                         report->coefficients[k].difference + ".";
    coefficients.setMarks(std::move(notes));
    showTrustedDigits(report);
    if (onShown)
        onShown(check.lastSolve());
    indicator->setVisible(report != nullptr);
    showFitLine();
    result.update(); // nothing of a hidden indicator stays painted
    if (!report) {
        panel->hide();
        return;
    }
    using Verdict = FitReport::Verdict;
    const Verdict verdict = report->verdict;
    const auto [icon, name] =
        verdict == Verdict::agrees ? std::pair{QStyle::SP_DialogApplyButton, "Exact check: agrees"}
        : verdict == Verdict::off
            ? std::pair{QStyle::SP_MessageBoxWarning, "Exact check: off"}
            : std::pair{QStyle::SP_MessageBoxInformation, "Exact check: not checked"};
    indicator->setIcon(window.style()->standardIcon(icon));
    const QString summary = QString::fromStdString(report->summary + " " + report->clickHint);
    indicator->setToolTip(summary);
    indicatorButton->setAccessibleName(name);
    indicatorButton->setAccessibleDescription(summary);
    if (!panel->isHidden())
        panel->showReport(check.lastSolve().report);
}

void FitCheckView::showTrustedDigits(const FitReport* report) {
    StringGrid::CellFades fades;
    QList<QInputMethodEvent::Attribute> faint;
    QStringList notes;
    std::vector<size_t> starts;
    const std::vector<std::string> shown = coefficientTexts(coefficients.cells());
    // Result shows the coefficients only while it is their expanded form.
    const bool resultShows = expandedForm(shown, &starts) == result.text().toStdString();
    QTextCharFormat faded;
    QColor ink = result.palette().color(QPalette::Text);
    ink.setAlphaF(0.45f);
    faded.setForeground(ink);
    for (size_t k = 0; report && k < report->coefficients.size(); ++k) {
        const CoefficientCheck& coefficient = report->coefficients[k];
        const auto untrusted = untrustedDigits(coefficient);
        if (!untrusted)
            continue;
        const auto characters = [](const std::string& text, size_t bytes) {
            return int(QString::fromStdString(text.substr(0, bytes)).size());
        };
        const int from = characters(coefficient.shown, untrusted->from);
        fades[{1, int(k) + 1}] = {from, untrusted->note + "."};
        notes << QString::fromStdString(coefficient.letter + ": " + untrusted->note);
        if (resultShows && k < starts.size()) {
            const int start = characters(result.text().toStdString(), starts[k]) + from;
            const int length = int(QString::fromStdString(coefficient.shown).size()) - from;
            faint << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat,
                                                  start - result.cursorPosition(), length, faded);
        }
    }
    coefficients.setFades(std::move(fades));
    // A line edit colours parts of its text only as formats an input method sets.
    QInputMethodEvent formats(QString(), faint);
    QCoreApplication::sendEvent(&result, &formats);
    result.setToolTip(resultShows ? notes.join("\n") : QString());
}

void FitCheckView::showFitLine() {
    const FitReport* report = check.report();
    fitLine->setVisible(report && report->statistics);
    if (!report || !report->statistics)
        return;
    const FitStatistics& fit = *report->statistics;
    const std::vector<std::string> clauses =
        report->solveStopped
            ? stoppedClauses(fit)
            : statisticsClauses(fit, fit.largest ? report->points[*fit.largest].row : 0);
    // As many clauses as the line holds, each whole; the tooltip has them all.
    QString line, whole;
    for (const std::string& clause : clauses) {
        const QString more = (whole.isEmpty() ? "" : ", ") + QString::fromStdString(clause);
        if (whole.size() == line.size() &&
            fitLine->fontMetrics().horizontalAdvance(line + more) <= fitLine->width())
            line += more;
        whole += more;
    }
    fitLine->setText(line);
    fitLine->setToolTip(line == whole ? QString() : whole);
    fitLine->setAccessibleName(whole);
}

void FitCheckView::openPanel() {
    if (check.report()) {
        panel->showReport(check.lastSolve().report);
        panel->show();
        panel->raise();
        panel->closeButton->setFocus();
    }
}

void FitCheckView::useExactValues() {
    if (const ExactFit* exact = check.fit()) {
        exact->writeExactValues(coefficients.cells());
        SetText(result, resultText(coefficients.cells()));
        coefficients.sync();
    }
}
