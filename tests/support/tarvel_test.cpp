#include "support/tarvel_test.h"

#include "app/application.h"
#include "toolkit/error_display.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QStringList recordedErrors;
}

void TarvelTest::SetUp() {
    recordedErrors.clear();
}

const QStringList& TarvelTest::errors() const {
    return recordedErrors;
}

bool showActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

void typeIntoCell(StringGrid& grid, const QString& text) {
    QTest::keyClicks(&grid, text.left(1));
    if (QWidget* editor = QApplication::focusWidget(); editor && editor != &grid)
        QTest::keyClicks(editor, text.mid(1));
}

void setPoints(TForm1& form, const Grid& rows) {
    form.txtDegree->setText(QString::number(rows.size() - 1));
    form.btnGenerate->click();
    for (size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < 2; ++c)
            form.sgdResult->setCell(c, int(r) + 1, rows[r][size_t(c)]);
}

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!getenv("XDG_RUNTIME_DIR")) {
        static const std::string runtime = "/tmp/tarvel-runtime-" + std::to_string(getuid());
        mkdir(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 0);
    }
    QApplication application(argc, argv);
    setUpApplication();
    QStandardPaths::setTestModeEnabled(true); // settings the tests write stay out of the user's
    ::testing::InitGoogleTest(&argc, argv);
    setErrorPresenter([](const QString& message) { recordedErrors << message; });

    // A modal dialog runs its own event loop, so this timer still fires.
    QTimer modalWatch;
    QObject::connect(&modalWatch, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a modal dialog opened: " << modal->windowTitle().toStdString();
            modal->close();
        }
    });
    modalWatch.start(50);
    return RUN_ALL_TESTS();
}
