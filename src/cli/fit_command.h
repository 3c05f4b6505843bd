#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// tarvel fit: a point file fitted without the window, by the window's own
// reader, solver and exact check, for scripts and pipelines.
//
//   tarvel fit FILE [--degree N] [--least-squares] [--weights] [--hold A=0]...
//                   [--exact] [--format text|json|csv|latex|c|python|formula]
//
// Through the points (the default) the degree is the points less one; in
// least squares (--least-squares, or implied by --weights, --hold or a file
// with a weight column) --degree is needed. It prints the polynomial, the
// coefficients shown and exact, the check's verdict and, in least squares,
// the fit's figures; --exact writes the polynomial with the exact values.

// The exit codes, as the manual page lists them.
enum FitExit : int {
    fitAgrees = 0,     // the solve's coefficients are the exact fit's
    fitOff = 1,        // they are not, or could not be checked
    fitUsage = 2,      // the command line is wrong
    fitRefused = 3,    // the points, the degree or a held value are refused
    fitUnreadable = 4, // the file cannot be read
};

// Runs `tarvel fit` with the arguments after "fit": the fit on `out`, any
// error on `err`, naming line and field where the file is at fault. With
// `progress` (err is a terminal), a line on `err` counts the points read
// as a long file streams, and goes when the reading ends.
int runFitCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                  bool progress = false);
