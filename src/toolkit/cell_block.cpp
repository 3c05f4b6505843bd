#include "toolkit/cell_block.h"

#include "toolkit/decimal_commas.h"

#include "toolkit/conversions.h"

#include <algorithm>

namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string_view::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

// A quoted cell from `at` (a quote) to its closing quote, which a tab or the
// line's end must follow; `at` then stands after it. Otherwise nothing.
bool readQuoted(std::string_view line, size_t& at, std::string& cell) {
    std::string inner;
    for (size_t i = at + 1; i < line.size(); ++i) {
        if (line[i] != '"') {
            inner += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
            inner += '"';
            ++i;
        } else if (i + 1 == line.size() || line[i + 1] == '\t') {
            cell = std::move(inner);
            at = i + 1;
            return true;
        } else {
            return false;
        }
    }
    return false;
}

std::vector<std::string> tabCells(std::string_view line) {
    std::vector<std::string> cells;
    for (size_t at = 0;;) {
        std::string cell;
        if (at >= line.size() || line[at] != '"' || !readQuoted(line, at, cell)) {
            const size_t end = std::min(line.find('\t', at), line.size());
            cell = line.substr(at, end - at);
            at = end;
        }
        cells.push_back(std::move(cell));
        if (at >= line.size())
            break;
        if (++at == line.size())
            break; // a tab at the end of the line
    }
    return cells;
}

// The cells of one line; `commasFree`: whether its separator leaves commas
// free to be decimal commas.
std::vector<std::string> cellsOf(std::string_view line, bool& commasFree) {
    std::vector<std::string> cells;
    const char separator = line.find('\t') != std::string_view::npos  ? '\t'
                           : line.find(';') != std::string_view::npos ? ';'
                           : line.find(',') != std::string_view::npos ? ','
                                                                      : ' ';
    if (separator == '\t') {
        cells = tabCells(line);
    } else {
        for (std::string_view cell : split(line, separator)) {
            if (separator == ' ' && cell.empty())
                continue; // a run of spaces is one separator
            cells.emplace_back(stripSpaces(cell));
        }
    }
    commasFree = separator == '\t' || separator == ';';
    if (cells.empty())
        cells.emplace_back(); // a blank line is a row of one empty cell
    return cells;
}

bool holdsNumber(const std::vector<std::string>& row) {
    return std::any_of(row.begin(), row.end(),
                       [](const std::string& cell) { return readsAsNumber(cell); });
}

} // namespace

ReadBlock parseCellBlock(std::string_view text) {
    if (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    ReadBlock read;
    if (text.empty())
        return read;
    CellBlock& rows = read.cells;
    DecimalCommas commas;
    std::vector<std::pair<size_t, size_t>> places; // of the cells read for decimal commas
    for (std::string_view line : split(text, '\n')) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        bool commasFree = false;
        rows.push_back(cellsOf(line, commasFree));
        for (size_t col = 0; commasFree && col < rows.back().size(); ++col) {
            places.emplace_back(rows.size() - 1, col);
            commas.take(rows.back()[col], places.size() - 1, [&] {
                return "Line " + std::to_string(rows.size()) + ", cell " + std::to_string(col + 1);
            });
        }
    }
    commas.finish([&](size_t index) -> std::string& {
        return rows[places[index].first][places[index].second];
    });
    read.decimalCommas = commas.commas();
    read.thousands = commas.thousands();
    const bool header = rows.size() > 1 && !holdsNumber(rows[0]) &&
                        std::any_of(rows[0].begin(), rows[0].end(),
                                    [](const std::string& cell) { return !IsBlank(cell); }) &&
                        std::any_of(rows.begin() + 1, rows.end(), holdsNumber);
    if (header)
        rows.erase(rows.begin());
    return read;
}

std::string cellBlockText(const CellBlock& block) {
    std::string text;
    for (const auto& row : block) {
        for (size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                text += '\t';
            const std::string& cell = row[c];
            if (cell.find('\t') == std::string::npos && !cell.starts_with('"')) {
                text += cell;
                continue;
            }
            text += '"';
            for (const char ch : cell)
                text += ch == '"' ? std::string("\"\"") : std::string(1, ch);
            text += '"';
        }
        text += '\n';
    }
    return text;
}
