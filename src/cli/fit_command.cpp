#include "cli/fit_command.h"

#include "fitting/fit_kind.h"
#include "fitting/fit_report.h"
#include "fitting/normal_equations.h"
#include "fitting/point_file.h"
#include "fitting/solver.h"
#include "fitting/streamed_sums.h"
#include "model/coefficient_template.h"
#include "model/polynomial_forms.h"
#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"
#include "toolkit/delimited_text.h"
#include "toolkit/errors.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>

namespace {

constexpr const char* kUsage =
    "Usage: tarvel fit FILE [--degree N] [--least-squares] [--weights] [--hold A=0]...\n"
    "                       [--exact] [--format text|json|csv|latex|c|python|formula]\n"
    "Fits a polynomial to the points of a CSV file as the window does, and checks it\n"
    "exactly. Through the points the degree is the points less one; --least-squares\n"
    "fits the degree --degree gives. --weights weighs each point by the file's third\n"
    "field, --hold holds a coefficient at a value, --exact writes the exact values.\n"
    "Files of any length are read as they stream; on a terminal a line counts them.\n"
    "Exit: 0 the fit agrees with the exact fit, 1 it does not or is unchecked,\n"
    "2 a wrong command line, 3 refused points, degree or value, 4 an unreadable file.\n";

// An error of the command line itself.
struct UsageError {
    std::string message;
};

struct FitRequest {
    std::string file;
    std::optional<int> degree;
    bool leastSquares = false, weights = false, exact = false, help = false;
    std::vector<std::pair<std::string, std::string>> held; // letter, value
    std::string format = "text";
};

FitRequest parse(const std::vector<std::string>& arguments) {
    FitRequest request;
    for (size_t k = 0; k < arguments.size(); ++k) {
        std::string option = arguments[k], value;
        const bool takesValue = option == "--degree" || option == "--hold" || option == "--format";
        if (const size_t equals = option.find('=');
            option.starts_with("--") && equals != std::string::npos) {
            value = option.substr(equals + 1);
            option.resize(equals);
        } else if (takesValue) {
            if (++k == arguments.size())
                throw UsageError{option + " needs a value."};
            value = arguments[k];
        }
        if (option == "--degree") {
            request.degree = StrToIntDef(value, -1);
            if (*request.degree < 0)
                throw UsageError{"--degree takes a whole number from 0, not " + value + "."};
        } else if (option == "--hold") {
            const size_t equals = value.find('=');
            if (equals == std::string::npos)
                throw UsageError{"--hold takes a letter and a value, as A=0."};
            request.held.push_back({value.substr(0, equals), value.substr(equals + 1)});
        } else if (option == "--format") {
            request.format = value;
        } else if (option == "--least-squares" || option == "--weights" || option == "--exact" ||
                   option == "--help") {
            (option == "--least-squares" ? request.leastSquares
             : option == "--weights"     ? request.weights
             : option == "--exact"       ? request.exact
                                         : request.help) = true;
        } else if (option.starts_with("-") && option != "-") {
            throw UsageError{"no option " + option + "."};
        } else if (!request.file.empty()) {
            throw UsageError{"one file at most."};
        } else {
            request.file = option;
        }
    }
    return request;
}

// The three grids of the window as the fit leaves them; in least squares
// the points are summed as the file streams, and the point grid stays empty.
struct Grids {
    CellTable points{2, 2}, answers{2, 2}, coefficients{2, 2};
    std::vector<std::string> letters;
    size_t pointCount = 0;
};

// Through the points a file's points are kept, up to the most the highest
// degree takes.
PointFile throughPoints(const std::string& path) {
    PointFile file;
    const StreamedPointFile streamed = streamPointFile(
        path,
        [&](PointFields& point, int) {
            if (file.points.size() <= size_t(kMaxDegree) + 1)
                file.points.push_back(std::move(point));
        },
        [&] { file.points.clear(); });
    file.weighted = streamed.weighted;
    return file;
}

// The grids for `degree` and the held values put in and held; the kind.
const FitKind& prepare(const FitRequest& request, const FitKind& chosen, int degree, Grids& grids) {
    const FitKind* kind = &chosen;
    generateTemplate(IntToStr(degree), grids.letters, grids.coefficients, grids.answers);
    grids.points.setCell(0, 0, "x");
    grids.points.setCell(1, 0, "f(x)");
    kind->sizeTable(grids.points, degree);
    for (const auto& [letter, value] : request.held) {
        size_t power = 0;
        while (power < grids.letters.size() && grids.letters[power] != letter)
            ++power;
        if (power == grids.letters.size())
            throw Exception("--hold " + letter + "=" + value + ": degree " + IntToStr(degree) +
                            " has no coefficient " + letter + ".");
        grids.coefficients.setCell(1, int(power) + 1, value);
        kind = &holding(*kind, grids.coefficients, power);
    }
    return *kind;
}

// The line that counts the points read, rewritten in place at most four
// times a second and cleared at the end; nothing without a terminal.
std::function<void(size_t)> progressLine(std::ostream* err) {
    if (!err)
        return {};
    using Clock = std::chrono::steady_clock;
    return [err, last = Clock::now()](size_t points) mutable {
        if (Clock::now() - last < std::chrono::milliseconds(250))
            return;
        last = Clock::now();
        *err << "\rtarvel fit: " << points << " points read" << std::flush;
    };
}

// Least squares over the whole file, summed as it streams: Build writes the
// normal equations from the sums, the solver reduces them as in the window,
// and the exact fit is made from the same sums.
FitReport fitLeastSquares(const FitRequest& request, bool weighted, Grids& grids,
                          const FitKind*& kind, std::ostream* progress) {
    if (!request.degree)
        throw UsageError{"least squares needs --degree."};
    const int degree = *request.degree;
    const StreamedSums streamed = streamedSums(request.file, degree, progressLine(progress));
    grids.pointCount = streamed.summed->sums->count;
    weighted = weighted || streamed.file.weighted;
    kind = &prepare(request, FitKind::leastSquares({.weighted = weighted}), degree, grids);
    const HeldValues& held = kind->options().held;
    writeNormalEquations(*streamed.summed, grids.answers, nullptr, held);
    eliminate(grids.answers);
    backSubstitute(grids.answers, grids.coefficients);
    return reportOn(ExactFit::nearest(streamed.summed, grids.pointCount, degree, held)
                        .compare(grids.coefficients));
}

FitReport fitThroughPoints(const FitRequest& request, const PointFile& file, Grids& grids,
                           const FitKind*& kind) {
    const int degree = int(file.points.size()) - 1;
    if (degree > kMaxDegree || (request.degree && *request.degree != degree))
        throw Exception("Through the points a polynomial of degree " +
                        IntToStr(request.degree.value_or(std::min(degree, kMaxDegree))) +
                        " takes " + IntToStr(request.degree.value_or(degree) + 1) +
                        " points; the file has " +
                        (degree > kMaxDegree ? "more" : IntToStr(degree + 1)) +
                        ". --least-squares fits any number.");
    kind = &prepare(request, FitKind::throughPoints(), degree, grids);
    kind->putPoints(grids.points, file.points);
    grids.pointCount = file.points.size();
    solveCoefficients(grids.points, grids.answers, grids.coefficients, *kind);
    return reportOn(kind->exactFit(grids.points, degree).compare(grids.coefficients));
}

std::string jsonText(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            const char* hex = "0123456789abcdef";
            quoted += std::string("\\u00") + hex[c >> 4] + hex[c & 15];
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

const char* verdictName(FitComparison::Verdict verdict) {
    using enum FitComparison::Verdict;
    return verdict == agrees ? "agrees" : verdict == off ? "off" : "not checked";
}

void printJson(const FitKind& kind, const Grids& grids, const FitReport& report,
               const std::string& polynomial, std::ostream& out) {
    out << "{\"fit\": " << jsonText(kind.reportLine(grids.pointCount, nullptr))
        << ",\n \"degree\": " << grids.letters.size() - 1 << ",\n \"points\": " << grids.pointCount
        << ",\n \"polynomial\": " << jsonText(polynomial)
        << ",\n \"verdict\": " << jsonText(verdictName(report.verdict))
        << ",\n \"summary\": " << jsonText(report.summary) << ",\n \"coefficients\": [";
    const CellBlock block = coefficientBlock(report);
    for (size_t row = 1; row < block.size(); ++row) {
        out << (row == 1 ? "\n  {" : ",\n  {");
        for (size_t col = 0; col < block[row].size(); ++col)
            out << (col == 0 ? "" : ", ") << jsonText(block[0][col]) << ": "
                << jsonText(block[row][col]);
        out << "}";
    }
    out << "]";
    if (const auto& figures = report.statistics)
        out << ",\n \"statistics\": {\"R2\": " << jsonText(figures->exactR2)
            << ", \"adjustedR2\": " << jsonText(figures->adjustedR2)
            << ", \"residualSd\": " << jsonText(figures->residualSd)
            << ", \"degreesOfFreedom\": " << figures->degreesOfFreedom
            << ", \"squaredError\": " << jsonText(figures->exactSquares) << "}";
    out << "}\n";
}

void printFit(const FitRequest& request, const FitKind& kind, const Grids& grids,
              const FitReport& report, std::ostream& out) {
    std::vector<std::string> values = coefficientTexts(grids.coefficients);
    if (request.exact)
        for (size_t k = 0; k < values.size() && k < report.coefficients.size(); ++k)
            values[k] = report.coefficients[k].exact;
    const std::map<std::string, PolynomialForm> forms = {{"latex", PolynomialForm::latex},
                                                         {"c", PolynomialForm::cpp},
                                                         {"python", PolynomialForm::python},
                                                         {"formula", PolynomialForm::spreadsheet}};
    if (const auto form = forms.find(request.format); form != forms.end()) {
        const std::string text = polynomialText(form->second, grids.letters, values);
        out << text << (text.ends_with('\n') ? "" : "\n");
        return;
    }
    const std::string polynomial = "f(x) = " + expandedForm(values);
    if (request.format == "json")
        return printJson(kind, grids, report, polynomial, out);
    const char separator = request.format == "csv" ? ',' : '\t';
    if (request.format == "text")
        out << kind.reportLine(grids.pointCount, &report) << "\n" << polynomial << "\n";
    for (const std::vector<std::string>& row : coefficientBlock(report)) {
        for (size_t col = 0; col < row.size(); ++col)
            out << (col == 0 ? "" : std::string(1, separator))
                << delimitedField(row[col], separator);
        out << "\n";
    }
    if (request.format == "text") {
        out << report.summary << "\n";
        if (report.statistics)
            out << fitNumbersText(*report.statistics) << "\n";
    }
}

// The fit of the request's file, printed; its exit code.
int fit(const FitRequest& request, std::ostream& out, std::ostream& err, bool progress) {
    const auto endProgress = [&] { // the progress line goes, before anything else is said
        if (progress)
            err << "\r\033[K" << std::flush;
    };
    Grids grids;
    const FitKind* kind = nullptr;
    FitReport report;
    try {
        const bool leastSquares = request.leastSquares || request.weights || !request.held.empty();
        if (leastSquares) {
            report =
                fitLeastSquares(request, request.weights, grids, kind, progress ? &err : nullptr);
        } else {
            const PointFile file = throughPoints(request.file);
            report = file.weighted
                         ? fitLeastSquares(request, true, grids, kind, progress ? &err : nullptr)
                         : fitThroughPoints(request, file, grids, kind);
        }
    } catch (const EInOutError& error) {
        endProgress();
        err << "tarvel fit: cannot read " << request.file << ": " << error.what() << "\n";
        return fitUnreadable;
    } catch (const Exception& error) {
        endProgress();
        err << "tarvel fit: " << request.file << ": " << error.what() << "\n";
        return fitRefused;
    }
    endProgress();
    printFit(request, *kind, grids, report, out);
    return report.verdict == FitComparison::Verdict::agrees ? fitAgrees : fitOff;
}

} // namespace

int runFitCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                  bool progress) {
    try {
        const FitRequest request = parse(arguments);
        if (request.help) {
            out << kUsage;
            return fitAgrees;
        }
        static const char* const formats[] = {"text", "json",   "csv",    "latex",
                                              "c",    "python", "formula"};
        if (std::find(std::begin(formats), std::end(formats), request.format) == std::end(formats))
            throw UsageError{"no format " + request.format + "."};
        if (request.file.empty())
            throw UsageError{"which file?"};
        return fit(request, out, err, progress);
    } catch (const UsageError& error) {
        err << "tarvel fit: " << error.message << "\nTry 'tarvel fit --help'.\n";
        return fitUsage;
    } catch (const Exception& error) {
        err << "tarvel fit: " << error.what() << "\n";
        return fitRefused;
    }
}
