#include "toolkit/cell_block.h"

#include "toolkit/conversions.h"

namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string_view::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::vector<std::string> cellsOf(std::string_view line) {
    std::vector<std::string> cells;
    if (line.find('\t') != std::string_view::npos) {
        for (std::string_view cell : split(line, '\t'))
            cells.emplace_back(cell);
        return cells;
    }
    const char separator = line.find(';') != std::string_view::npos   ? ';'
                           : line.find(',') != std::string_view::npos ? ','
                                                                      : ' ';
    for (std::string_view cell : split(line, separator)) {
        if (separator == ' ' && cell.empty())
            continue; // a run of spaces is one separator
        cells.emplace_back(stripSpaces(cell));
    }
    if (cells.empty())
        cells.emplace_back(); // a blank line is a row of one empty cell
    return cells;
}

} // namespace

CellBlock parseCellBlock(std::string_view text) {
    if (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    CellBlock block;
    if (text.empty())
        return block;
    for (std::string_view line : split(text, '\n')) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        block.push_back(cellsOf(line));
    }
    return block;
}

std::string cellBlockText(const CellBlock& block) {
    std::string text;
    for (const auto& row : block) {
        for (size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                text += '\t';
            text += row[c];
        }
        text += '\n';
    }
    return text;
}
