#pragma once

#include <functional>
#include <string>
#include <string_view>

// Delimited text as spreadsheets, CSV files and text editors write it, read
// and written one way for files and the clipboard: fields separated by a
// tab, a semicolon or a comma, in that order of precedence; records ended by
// "\n" or "\r\n"; a field in quotes holding what would end it, its quotes
// doubled.

struct DelimitedRules {
    // Files: the separator is the one the first line uses outside quotes,
    // for the whole text; a quote anywhere opens a quoted field, which may
    // hold line breaks.
    // The clipboard (`lineByLine`): every line is a record with a separator
    // of its own, and a line with none splits at runs of spaces; only in a
    // line split by tabs may a field be quoted, when it starts with a quote
    // and its closing quote ends it. Fields split by anything but tabs are
    // trimmed of spaces, and a run of spaces is one separator.
    bool lineByLine = false;
    // Files read in pieces: every piece after the first takes the first's
    // separator, and counts its lines on from where the one before ended.
    char separator = 0; // 0: the first line's
    int firstLine = 1;
};

// What a reader is told of each field, with the separator of its record,
// and of each record's end; `line` is where the record began, counting
// from 1.
struct DelimitedSink {
    std::function<void(std::string& text, char separator, int line)> field;
    std::function<void()> recordEnd;
};

// Reads `text` by `rules`, field by field. In files the last line break
// ends the last record; line by line, each line is one, the last too.
void readDelimited(std::string_view text, DelimitedRules rules, const DelimitedSink& sink);

// One field written so that the reader reads it back: in quotes, its
// quotes doubled, when it holds the separator, a quote or a line break.
std::string delimitedField(const std::string& text, char separator);
