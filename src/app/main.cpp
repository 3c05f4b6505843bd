#include "app/Unit1.h"
#include "app/application.h"
#include "cli/fit_command.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QSettings>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string_view>

#include <unistd.h>

namespace {

// The file named on the command line, if any. --help and --version print and
// end the program, as an unknown option does with exit code 2. No display is
// needed for any of them.
QString fileToOpen(int argc, char* argv[]) {
    const QCoreApplication parsing(argc, argv);
    QCoreApplication::setApplicationVersion(TARVEL_VERSION);
    QCommandLineParser options;
    options.setApplicationDescription(
        "Fit a polynomial through sample points, evaluate it and draw it.\n"
        "tarvel fit FILE ... fits a file without the window: tarvel fit --help.");
    options.addHelpOption();
    options.addVersionOption();
    options.addPositionalArgument("file", "A CSV file of points to open, as Ctrl+O opens it.",
                                  "[file]");
    if (!options.parse(QCoreApplication::arguments()) || options.positionalArguments().size() > 1) {
        std::fprintf(stderr, "tarvel: %s\nTry 'tarvel --help'.\n",
                     options.errorText().isEmpty() ? "one file at most."
                                                   : qPrintable(options.errorText()));
        std::exit(2);
    }
    if (options.isSet("help"))
        options.showHelp(0);
    if (options.isSet("version"))
        options.showVersion();
    return options.positionalArguments().value(0);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && std::string_view(argv[1]) == "fit")
        return runFitCommand({argv + 2, argv + argc}, std::cout, std::cerr, ::isatty(2) == 1);
    const QString file = fileToOpen(argc, argv);
    QApplication application(argc, argv);
    setUpApplication();
    QApplication::setApplicationVersion(TARVEL_VERSION);
    auto* Form1 = new TForm1;
    // Where the user left the window, as desktop programs do.
    QSettings settings;
    Form1->restoreGeometry(settings.value("geometry").toByteArray());
    const std::unique_ptr<QWidget> window(
        showFitted(*Form1, QApplication::primaryScreen()->availableGeometry()));
    if (!file.isEmpty())
        Form1->openPoints(file);
    QApplication::exec();
    settings.setValue("geometry", Form1->saveGeometry());
    return 0;
}
