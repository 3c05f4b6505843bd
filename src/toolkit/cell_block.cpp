#include "toolkit/cell_block.h"

#include "toolkit/conversions.h"
#include "toolkit/decimal_commas.h"
#include "toolkit/delimited_text.h"

#include <algorithm>

namespace {

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
    std::vector<std::string> row;
    const auto cell = [&](std::string& text, char separator, int line) {
        if (separator == '\t' || separator == ';') { // commas free to be decimal commas
            places.emplace_back(rows.size(), row.size());
            commas.take(text, places.size() - 1, [line, col = row.size()] {
                return "Line " + std::to_string(line) + ", cell " + std::to_string(col + 1);
            });
        }
        row.push_back(std::move(text));
    };
    readDelimited(text, {.lineByLine = true}, {cell, [&] {
                                                   rows.push_back(std::move(row));
                                                   row.clear();
                                               }});
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
            text += delimitedField(row[c], '\t');
        }
        text += '\n';
    }
    return text;
}
