// Drives the real window offscreen as a user would, with random texts in every
// box and cell, random clicks, selections, page switches, switches between
// the fits, the lesson in any arithmetic, pastes, undo and redo, and checks
// after every action what no input may break, and after each seed that
// undoing every step gives back the start. Seeded and reproducible:
//
//   TARVEL_SEEDS=1,2,3 TARVEL_ACTIONS=200000 build/tests/interaction_tests
//
// runs the long mode; a failure names its seed and action.
#include "app/coefficient_menu.h"
#include "app/elimination_lesson_view.h"
#include "app/elimination_player.h"
#include "app/fit_check_view.h"
#include "app/fit_kind_switch.h"
#include "support/tarvel_test.h"

#include "fitting/point_table.h"
#include "plot/chart_view.h"

#include "toolkit/conversions.h"
#include "toolkit/error_display.h"
#include "toolkit/errors.h"
#include "toolkit/text_box.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using Texts = std::vector<std::string>;

std::vector<unsigned long> seeds() {
    std::vector<unsigned long> list;
    std::stringstream text(getenv("TARVEL_SEEDS") ? getenv("TARVEL_SEEDS") : "1,2,3");
    for (std::string seed; std::getline(text, seed, ',');)
        list.push_back(std::stoul(seed));
    return list;
}

// The action under way, for the crash note: a crash names its seed and action
// like any other failure.
char currentAction[256] = "no action yet";

void noteCrash(int signal) {
    const char prefix[] = "\nCRASHED during ";
    [[maybe_unused]] auto written = write(2, prefix, sizeof prefix - 1);
    written = write(2, currentAction, strlen(currentAction));
    written = write(2, "\n", 1);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

long actionsPerSeed() {
    return getenv("TARVEL_ACTIONS") ? std::atol(getenv("TARVEL_ACTIONS")) : 2000;
}

// Ends the process when one action runs longer than any handler may: a hung
// handler would otherwise hang the test until CTest's timeout, without a word.
class Watchdog {
  public:
    explicit Watchdog(std::chrono::seconds limit) : limit(limit), thread([this] { watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex);
            stopping = true;
        }
        changed.notify_one();
        thread.join();
    }
    void start(std::string what) {
        std::lock_guard lock(mutex);
        action = std::move(what);
        ++generation;
        running = true;
        changed.notify_one();
    }
    void stop() {
        std::lock_guard lock(mutex);
        running = false;
    }

  private:
    void watch() {
        std::unique_lock lock(mutex);
        while (!stopping) {
            if (!running) {
                changed.wait(lock);
                continue;
            }
            const long watched = generation;
            if (!changed.wait_for(lock, limit,
                                  [&] { return stopping || !running || generation != watched; })) {
                std::fprintf(stderr, "HUNG for over %llds: %s\n", (long long)limit.count(),
                             action.c_str());
                std::_Exit(3);
            }
        }
    }

    std::chrono::seconds limit;
    std::mutex mutex;
    std::condition_variable changed;
    std::string action;
    long generation = 0;
    bool running = false;
    bool stopping = false;
    std::thread thread;
};

class Interaction : public TarvelTest {
  protected:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng); }
    template <class T> const T& oneOf(const std::vector<T>& items) {
        return items[size_t(pick(0, int(items.size()) - 1))];
    }

    std::string numberText() {
        switch (pick(0, 5)) {
        case 0:
            return IntToStr(pick(-20, 20));
        case 1:
            return FloatToStr(pick(-1000, 1000) / 8.0);
        case 2:
            return oneOf<std::string>({"0", "-0", "1e308", "-1E308", "1e-320", "1E-50", "1e38",
                                       "3.5e38", "1e39", "0.1", "1.", ".5", "+2", " 7 ",
                                       "999999999999999", "1E15", "1e400", "-1e400", "1e-400"});
        default: {
            const double magnitude = std::pow(10.0, pick(-320, 308));
            return FloatToStr(std::uniform_real_distribution<double>(-1, 1)(rng) * magnitude);
        }
        }
    }

    // Texts a hostile clipboard brings: far longer than a box or cell holds,
    // or full of NUL bytes, direction controls and combining marks.
    std::string hostileText() {
        switch (pick(0, 3)) {
        case 0:
            return std::string(size_t(1) << 20, char(pick('0', '9')));
        case 1:
            return numberText() + std::string(1, '\0') + numberText();
        case 2:
            return oneOf<std::string>(
                       {"\u202E", "\u2066", "\u2067", "\u2068", "\u2069", "\u200F", "\u061C"}) +
                   numberText();
        default:
            return numberText() + "\u0301\u0323\u20DD";
        }
    }

    std::string junkText() {
        if (chance(0.05))
            return hostileText();
        switch (pick(0, 3)) {
        case 0:
            return oneOf<std::string>({"",
                                       " ",
                                       "   ",
                                       "\t",
                                       "abc",
                                       "1,5",
                                       "0x1F",
                                       "inf",
                                       "nan",
                                       "-",
                                       "+",
                                       ".",
                                       "1e",
                                       "e5",
                                       "1 2",
                                       "--1",
                                       "\xc3\xa9",
                                       "\xe6\x95\xb0\xe5\xad\x97",
                                       "\xf0\x9f\x99\x82",
                                       "'",
                                       "\"",
                                       "\\",
                                       "%s%n",
                                       "\n3\n"});
        case 1: {
            std::string text(size_t(pick(1, 5000)), 'x');
            for (char& c : text)
                c = char(pick(32, 126));
            return text;
        }
        case 2:
            return std::string(size_t(pick(1, 300)), '9');
        default:
            return "\xc3\xa9" + numberText() + "\xe2\x82\xac";
        }
    }

    // Files a hostile hour brings, made once: a pipe, a device, a folder, the
    // shapes that once froze the window, and files that open.
    static const std::vector<QString>& hostileFiles() {
        static QTemporaryDir folder;
        static std::vector<QString> files;
        if (!files.empty())
            return files;
        const auto write = [&](const char* name, const QByteArray& bytes) {
            QFile file(folder.filePath(name));
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
            files.push_back(file.fileName());
        };
        constexpr int kMegabytes16 = 16 << 20;
        write("commas.csv", QByteArray(kMegabytes16 - 1, ','));
        write("newlines.csv", QByteArray(kMegabytes16, '\n'));
        write("comma-lines.csv", QByteArray(kMegabytes16, ',').replace(",,", ",\n"));
        write("long-field.csv", "1," + QByteArray(40000, '7') + "\n");
        write("europe.csv", "1,5;2,25\n2,5;6,25\n3,5;12,25\n");
        write("utf16.csv", QByteArray("\xff\xfe"
                                      "1\0,\0"
                                      "4\0\n\0"
                                      "2\0,\0"
                                      "8\0",
                                      16));
        write("junk.csv", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10));
        write("points.csv", "x,f(x)\n1,4\n2,8\n3,20\n4,46\n");
        const QString fifo = folder.filePath("fifo.csv");
        mkfifo(QFile::encodeName(fifo).constData(), 0600);
        QFile::link("/dev/zero", folder.filePath("zero.csv"));
        QDir(folder.path()).mkdir("folder.csv");
        files.insert(files.end(), {fifo, folder.filePath("zero.csv"), folder.filePath("folder.csv"),
                                   folder.filePath("missing.csv")});
        return files;
    }

    std::string anyText() { return chance(0.65) ? numberText() : junkText(); }

    std::string degreeText() {
        const int roll = pick(0, 99);
        if (roll < 80)
            return IntToStr(pick(-5, 12));
        if (roll < 92)
            return IntToStr(pick(13, 40));
        if (roll < 97)
            return IntToStr(pick(41, 200));
        return oneOf<std::string>({"190", "191", "2147483647", "-2147483648", "99999999999", "3.0",
                                   "abc", "", " 4 ", "+5"});
    }

    std::string rangeText(QLineEdit* box) {
        if (chance(0.2))
            return anyText();
        if (box == form.txtStep)
            return oneOf<std::string>({"0.5", "1", "0.1", "2.5", "10", "0", "-1", "1E-9", "0.7"});
        return IntToStr(pick(-50, 50));
    }

    // QTest types printable ASCII only.
    static bool isPlainAscii(const std::string& text) {
        return std::all_of(text.begin(), text.end(), [](char c) { return c >= 32 && c < 127; });
    }

    void typeIntoBox(QLineEdit* box, const std::string& text) {
        const QString qtext = QString::fromStdString(text);
        if (qtext.size() > kMaxTextLength) { // nobody types this much: it comes pasted
            QApplication::clipboard()->setText(qtext);
            box->selectAll();
            box->paste();
        } else if (qtext.size() < 12 && isPlainAscii(text) && chance(0.1)) {
            box->clear();
            QTest::keyClicks(box, qtext);
        } else {
            box->setText(qtext);
        }
    }

    // One random action; returns its description.
    std::string act() {
        QLineEdit* const boxes[] = {form.txtDegree, form.txtX,      form.txtFx,   form.txtRX,
                                    form.txtMin,    form.txtMax,    form.txtStep, form.txtFx1,
                                    form.txtFx2,    form.txtResult, form.txtRfx};
        QPushButton* const buttons[] = {
            form.btnGenerate,        form.btnAdd, form.btnDel,    form.btnClear,
            form.btnGetCoefficients, form.btnFx,  form.btnXForFx, form.btnDraw};
        if (chance(0.01)) {
            const QString path = oneOf(hostileFiles());
            typedIntoTable = true; // a file that opens fills the table
            form.openPoints(path);
            return "open " + QFileInfo(path).fileName().toStdString();
        }
        if (chance(0.03)) {        // Ctrl+L: the other fit
            typedIntoTable = true; // switching back drops rows
            form.txtDegree->setFocus();
            QTest::keyClick(form.txtDegree, Qt::Key_L, Qt::ControlModifier);
            return "switch the fit";
        }
        if (chance(0.05)) { // Ctrl+Z or a redo key, on the table or in a box
            typedIntoTable = true;
            const bool undo = chance(0.7);
            QWidget* target = chance(0.5) ? static_cast<QWidget*>(form.sgdResult)
                                          : boxes[pick(0, std::size(boxes) - 1)];
            if (target != form.sgdResult && TForm1State::undoStack(form).index() == 0)
                typedBeforeFirstStep.insert(
                    static_cast<QLineEdit*>(target)); // its own undo may run
            if (!target->isVisible())
                target = form.sgdResult;
            target->setFocus();
            QTest::keyClick(target,
                            undo          ? Qt::Key_Z
                            : chance(0.5) ? Qt::Key_Y
                                          : Qt::Key_Z,
                            undo || chance(0.5) ? Qt::ControlModifier
                                                : Qt::ControlModifier | Qt::ShiftModifier);
            return std::string(undo ? "undo" : "redo") + " in " +
                   target->objectName().toStdString();
        }
        const int roll = pick(0, 99);
        if (roll < 30) {
            QLineEdit* box = boxes[pick(0, std::size(boxes) - 1)];
            if (TForm1State::undoStack(form).index() == 0)
                typedBeforeFirstStep.insert(box);
            const std::string text =
                box == form.txtDegree                                             ? degreeText()
                : box == form.txtMin || box == form.txtMax || box == form.txtStep ? rangeText(box)
                                                                                  : anyText();
            typeIntoBox(box, text);
            return "type into " + box->objectName().toStdString();
        }
        if (roll < 55) {
            StringGrid* grid = chance(0.7) ? form.sgdResult : form.sdgCoefficients;
            const int row = pick(1, grid->cells().rowCount() - 1);
            const int col = grid == form.sgdResult ? pick(0, 1) : 1;
            const QModelIndex index = grid->model()->index(row - 1, col - grid->fixedCols());
            const std::string text = chance(0.8) ? numberText() : junkText();
            if (text.size() < 10 && isPlainAscii(text) && !text.empty() && text[0] != ' ' &&
                chance(0.1)) {
                grid->setCurrentIndex(index);
                typeIntoCell(*grid, QString::fromStdString(text));
                grid->commitEdit();
            } else {
                grid->model()->setData(index, QString::fromStdString(text));
            }
            typedIntoTable = grid == form.sgdResult;
            return "type into " + grid->objectName().toStdString() + " cell (" + IntToStr(col) +
                   ", " + IntToStr(row) + ")";
        }
        if (roll < 85) {
            QPushButton* button = buttons[pick(0, std::size(buttons) - 1)];
            if (button == form.btnGetCoefficients && form.sgdAns1->cells().colCount() > 60 &&
                !chance(0.1))
                button = form.btnFx; // large solves are slow under the sanitizers; keep a few
            if (chance(0.2))
                QTest::mouseClick(button, Qt::LeftButton);
            else
                button->click();
            return "click " + button->objectName().toStdString();
        }
        if (roll < 86)
            return fitOption();
        if (roll < 87)
            return lessonAction();
        if (roll < 93) {
            StringGrid* grid = form.sgdResult;
            grid->setCurrentIndex(
                grid->model()->index(pick(0, grid->cells().rowCount() - 2), pick(0, 1)));
            return "select a cell of sgdResult";
        }
        if (roll < 95) {
            form.Tarvel->setCurrentIndex(1 - form.Tarvel->currentIndex());
            return "switch page";
        }
        if (roll < 98) {
            StringGrid* grids[] = {form.sgdResult, form.sdgCoefficients, form.sgdAns1};
            StringGrid* grid = grids[pick(0, 2)];
            grid->setFocus();
            const QModelIndex index = grid->model()->index(
                pick(0, grid->model()->rowCount() - 1), pick(0, grid->model()->columnCount() - 1));
            grid->setCurrentIndex(index);
            const int key = pick(0, 2);
            if (key == 0) {
                std::string block;
                for (int r = pick(0, 12); r > 0; --r)
                    block +=
                        anyText() + oneOf<std::string>({"\t", ",", ";", " "}) + anyText() + "\n";
                QApplication::clipboard()->setText(QString::fromStdString(block));
            }
            QTest::keyClick(grid,
                            key == 0   ? Qt::Key_V
                            : key == 1 ? Qt::Key_C
                                       : Qt::Key_Delete,
                            key == 2 ? Qt::NoModifier : Qt::ControlModifier);
            typedIntoTable = grid == form.sgdResult;
            return std::string(key == 0   ? "paste"
                               : key == 1 ? "copy"
                                          : "delete") +
                   " in " + grid->objectName().toStdString();
        }
        QLineEdit* box = boxes[pick(0, std::size(boxes) - 1)];
        if (TForm1State::undoStack(form).index() == 0)
            typedBeforeFirstStep.insert(box);
        QApplication::clipboard()->setText(QString::fromStdString(anyText()));
        box->selectAll();
        box->paste();
        return "paste into " + box->objectName().toStdString();
    }

    // The lesson in any arithmetic: the last solve's system or a random one,
    // a random arithmetic, digits or pivoting, a row operation typed and
    // applied, undone, the own steps again, a step shown, LaTeX copied.
    std::string lessonAction() {
        EliminationLessonView& lesson = *form.player->lesson;
        switch (pick(0, 5)) {
        case 0: {
            if (chance(0.5)) {
                form.player->open();
                form.player->anyArithmetic->click();
                return "lesson of the last solve";
            }
            const int n = pick(1, 6);
            std::string system;
            for (int r = 0; r < n; ++r) {
                for (int c = pick(n, n + 2); c > 0; --c)
                    system += (chance(0.95) ? numberText() : junkText()) + " ";
                system += "\n";
            }
            lesson.open(system);
            return "lesson of a random system";
        }
        case 1: {
            const size_t side = size_t(pick(0, 1));
            lesson.arithmetics[side]->setCurrentIndex(
                pick(0, lesson.arithmetics[side]->count() - 1));
            lesson.digits[side]->setValue(pick(1, 16));
            lesson.pivoting->setCurrentIndex(pick(0, 1));
            return "lesson arithmetic";
        }
        case 2: {
            const std::string row = "R" + IntToStr(pick(0, 7));
            lesson.operation->setText(QString::fromStdString(oneOf<std::string>(
                {row + " <-> R" + IntToStr(pick(1, 3)), row + " <- " + numberText() + " " + row,
                 row + " <- " + row + " / " + numberText(),
                 row + " <- " + row + " - " + numberText() + " R" + IntToStr(pick(1, 3)),
                 junkText()})));
            lesson.applyButton->click();
            return "lesson operation " + lesson.operation->text().left(40).toStdString();
        }
        case 3:
            (chance(0.7) ? lesson.undoButton : lesson.ownSteps)->click();
            return "lesson undo or own steps";
        case 4:
            lesson.steps->setCurrentIndex(
                lesson.steps->model()->index(pick(0, lesson.steps->model()->rowCount()), 0));
            return "lesson step";
        default:
            lesson.copyLatex->click();
            return "lesson LaTeX";
        }
    }

    // Weights on or off, a coefficient held at what it shows or released, or
    // a band level typed.
    std::string fitOption() {
        const int option = pick(0, 3);
        if (option == 0) {
            form.fitKind->weights->trigger();
            return "fit option weights";
        }
        if (option == 3) {
            const std::string level = chance(0.5) ? numberText() : junkText();
            guarded([&] { form.Chart1->setBandLevel(QString::fromStdString(level)); });
            return "fit option band level";
        }
        StringGrid& grid = *form.sdgCoefficients;
        if (grid.cells().rowCount() > 1)
            grid.setCurrentIndex(grid.model()->index(pick(0, grid.cells().rowCount() - 2), 0));
        (option == 1 ? form.coefficientMenu->hold : form.coefficientMenu->release)->trigger();
        return option == 1 ? "fit option hold" : "fit option release";
    }

    Texts tableTexts() const {
        Texts texts;
        for (int r = 0; r < form.sgdResult->cells().rowCount(); ++r)
            for (const std::string& text : rowTexts(form.sgdResult->cells(), r))
                texts.push_back(text);
        return texts;
    }

    static bool readsAsNumber(const std::string& text) {
        try {
            StrToFloat(text);
            return true;
        } catch (const EConvertError&) {
            return false;
        }
    }

    // What no action may break; `action` is what just ran.
    void checkInvariants(const std::string& action, const Texts& tableBefore, int newErrors) {
        static const QRegularExpression known(
            "^(((Points|Coefficients|Answer), row \\d+, [^:]+: )?'\u2068.*\u2069' is (not a valid "
            "floating point value|beyond the range of a double)|Floating point division by zero|"
            "Floating point overflow|Invalid floating point operation|"
            "Degree -?\\d+ is too large: the largest degree is 190|Step must be greater than 0|"
            "Too many samples: the range needs (more than )?\\d+; at most 100000 can be drawn|"
            "Step \\S+ is too small to move x on from \\S+|"
            "The text is too long: a (box|cell) holds at most 32768 characters\\.|"
            "The clipboard holds .*|Cannot open '\u2068.*|"
            "A least-squares fit of degree \\d+( with \\d+ held)? needs at least \\d+ points? with "
            "different x; the "
            "table has \\d+\\.|The sum of .* over the \\d+ points is .*|"
            "Least squares reads numbers of at most 40 .*|"
            "Line \\d+, cell \\d+: '\u2068.*\u2069' writes a decimal point, where other numbers "
            "here write decimal commas; write them all one way\\.|"
            "Points, row \\d+, w is .*: a weight is a number above 0, .*|"
            "Coefficient .* (holds no number to hold|is held at a number of at most).*|"
            "Every coefficient would be held: at least one stays free for the fit\\.|"
            "Coefficients are held in least squares; Ctrl\\+L switches to it\\.|"
            "A band level lies between 0 and 1, .*|"
            "(f\\(x\\)|Min|Max|Coefficient .*) has more digits than x for f\\(x\\) reads .*|"
            "x for f\\(x\\) is found for degrees up to 30\\.)$",
            QRegularExpression::DotMatchesEverythingOption);
        for (qsizetype i = errors().size() - newErrors; i < errors().size(); ++i)
            ASSERT_TRUE(known.match(errors()[i]).hasMatch())
                << "unexpected error: " << errors()[i].left(200).toStdString();

        const bool changesTable =
            action.starts_with("open ") || action.starts_with("click btnAdd") ||
            action.starts_with("click btnDel") || action.starts_with("click btnClear") ||
            action.starts_with("click btnGenerate") || action == "fit option weights" ||
            typedIntoTable;
        if (!changesTable) {
            ASSERT_EQ(tableTexts(), tableBefore) << "the point table changed";
        }

        if (&form.fitKind->kind() != &FitKind::throughPoints()) {
            const CellTable& points = form.sgdResult->cells();
            const int last = points.rowCount() - 1;
            ASSERT_TRUE(last == kMaxLeastSquaresPoints || filledRows(points).empty() ||
                        filledRows(points).back() < last)
                << "least squares keeps a blank row to type into";
            ASSERT_EQ(points.colCount(), form.fitKind->kind().options().weighted ? 3 : 2);
        }
        if (action.starts_with("click btnGenerate") && newErrors == 0 &&
            &form.fitKind->kind() == &FitKind::throughPoints()) {
            const int n = StrToIntDef(form.txtDegree->text().toStdString(), -1);
            if (n >= 0) {
                ASSERT_EQ(form.sgdResult->cells().rowCount(), n + 2);
                ASSERT_EQ(form.sdgCoefficients->cells().rowCount(), n + 2);
                ASSERT_EQ(form.sgdAns1->cells().colCount(), n + 2);
            }
        }
        for (int r = 1; r < form.sgdAns1->cells().rowCount(); ++r)
            for (int c = 1; c < form.sgdAns1->cells().colCount(); ++c) {
                const std::string& cell = form.sgdAns1->cells().cell(c, r);
                ASSERT_TRUE(cell.empty() || readsAsNumber(cell))
                    << "sgdAns1 (" << c << ", " << r << "): " << cell;
            }
        if (action.starts_with("click btnGetCoefficients") && newErrors == 0) {
            for (const std::string& value : columnTexts(form.sdgCoefficients->cells(), 1))
                ASSERT_TRUE(readsAsNumber(value)) << value;
        }
        if ((action.starts_with("click btnFx") || action.starts_with("click btnDraw")) &&
            newErrors == 0 && form.txtRfx->text() != rfxBefore) {
            ASSERT_TRUE(readsAsNumber(form.txtRfx->text().toStdString()))
                << form.txtRfx->text().toStdString();
        }
        // Undo and redo give back what a user typed, too.
        const bool userTyped = action.starts_with("type") || action.starts_with("paste") ||
                               action.starts_with("undo") || action.starts_with("redo");
        for (QLineEdit* box :
             {form.txtResult, form.txtRfx, form.txtMin, form.txtMax, form.txtStep}) {
            const QString text = box->text().toLower();
            if (!userTyped && box->text() != textsBefore[box]) {
                ASSERT_FALSE(text.contains("inf") || text.contains("nan"))
                    << box->objectName().toStdString() << ": " << text.left(100).toStdString();
            }
        }
        ASSERT_LE(form.Chart1->chart()->series().size(), 1);
    }

    void run(unsigned long seed, long actions, Watchdog& watchdog) {
        rng.seed(seed);
        for (long i = 0; i < actions && !HasFatalFailure(); ++i) {
            const Texts tableBefore = tableTexts();
            rfxBefore = form.txtRfx->text();
            for (QLineEdit* box :
                 {form.txtResult, form.txtRfx, form.txtMin, form.txtMax, form.txtStep})
                textsBefore[box] = box->text();
            const qsizetype errorsBefore = errors().size();
            typedIntoTable = false;
            const std::string where =
                "seed " + std::to_string(seed) + ", action " + std::to_string(i);
            std::snprintf(currentAction, sizeof currentAction, "%s", where.c_str());
            watchdog.start(where);
            const std::string action = act();
            std::snprintf(currentAction, sizeof currentAction, "%s: %s", where.c_str(),
                          action.c_str());
            // What the event loop does between two user actions, deleting what
            // Qt Charts handed to deleteLater included.
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            watchdog.stop();
            SCOPED_TRACE("seed " + std::to_string(seed) + ", action " + std::to_string(i) + ": " +
                         action);
            checkInvariants(action, tableBefore, int(errors().size() - errorsBefore));
        }
    }

    // What undoing every step must give back: the grids, the private fields,
    // and the boxes only steps write, unless typed into while no step was
    // left to undo (that typing is part of the state before the first step).
    struct StartState {
        CellTable points, coefficients, answers;
        Texts coefNames;
        int pointCount, degree;
        std::map<QLineEdit*, QString> boxes;
        bool checked; // the exact check's indicator shows
    };
    StartState startState() const {
        std::map<QLineEdit*, QString> boxes;
        for (QLineEdit* box : {form.txtDegree, form.txtFx1, form.txtFx2, form.txtResult})
            if (!typedBeforeFirstStep.contains(box))
                boxes[box] = box->text();
        return {form.sgdResult->cells(),
                form.sdgCoefficients->cells(),
                form.sgdAns1->cells(),
                TForm1State::coefNames(form),
                TForm1State::pointCount(form),
                TForm1State::degree(form),
                boxes,
                form.checkView->indicator->isVisible()};
    }
    void expectUndoingEverythingGivesBack(const StartState& start) {
        QUndoStack& stack = TForm1State::undoStack(form);
        while (stack.canUndo())
            stack.undo();
        QCoreApplication::processEvents();
        const StartState now = startState();
        EXPECT_EQ(dataRows(now.points), dataRows(start.points));
        EXPECT_EQ(now.points, start.points);
        EXPECT_EQ(now.coefficients, start.coefficients);
        EXPECT_EQ(now.answers, start.answers);
        EXPECT_EQ(now.coefNames, start.coefNames);
        EXPECT_EQ(now.pointCount, start.pointCount);
        EXPECT_EQ(now.degree, start.degree);
        for (const auto& [box, text] : now.boxes)
            EXPECT_EQ(text, start.boxes.at(box)) << box->objectName().toStdString();
        EXPECT_EQ(now.checked, start.checked) << "the exact check as it stood";
    }

    std::mt19937_64 rng;
    TForm1 form;
    std::set<QLineEdit*> typedBeforeFirstStep;
    bool typedIntoTable = false;
    QString rfxBefore;
    std::map<QLineEdit*, QString> textsBefore;
};

TEST_F(Interaction, NothingAUserDoesBreaksTheWindow) {
    ASSERT_TRUE(showActive(form));
    Watchdog watchdog(std::chrono::seconds(60));
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        std::signal(signal, noteCrash);
    TForm1State::undoStack(form).setUndoLimit(0); // every step, back to the start
    const StartState startUp = startState();
    for (const unsigned long seed : seeds()) {
        const auto start = std::chrono::steady_clock::now();
        run(seed, actionsPerSeed(), watchdog);
        if (HasFatalFailure())
            return;
        SCOPED_TRACE("seed " + std::to_string(seed) + ": undoing every step");
        expectUndoingEverythingGivesBack(startUp);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::printf("seed %lu: %ld actions in %.1f s\n", seed, actionsPerSeed(), took.count());
    }
}

} // namespace
