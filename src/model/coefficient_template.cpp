#include "model/coefficient_template.h"

#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/string_grid.h"
#include "toolkit/text_box.h"

#include <QString>

#include <algorithm>

std::string coefficientLetter(int i) {
    const unsigned char code = static_cast<unsigned char>((65 + i) % 256);
    if (code < 0x80)
        return std::string(1, char(code));
    // Latin-1 above 127 takes two bytes in UTF-8.
    return {char(0xC0 | (code >> 6)), char(0x80 | (code & 0x3F))};
}

std::string expandedForm(const std::vector<std::string>& letters) {
    std::string text;
    for (size_t i = 0; i < letters.size(); ++i) {
        if (i > 0)
            text += " + ";
        text += letters[i];
        if (i > 0)
            text += "x^" + IntToStr(int(i));
    }
    return text;
}

std::string nestedForm(const std::vector<std::string>& letters) {
    const int m = int(letters.size());
    std::string nested;
    for (int i = m - 1; i >= 0; --i) {
        const std::string& letter = letters[i];
        if (i == m - 1 && i >= 2) {
            nested = letter + "x"; // the top term of a template of degree 2 or more
            continue;
        }
        if (!nested.empty())
            nested += " + ";
        if (i > 0)
            nested = "(" + nested + letter + ")x";
        else
            nested += letter;
    }
    return nested;
}

int generateTemplate(const QLineEdit& txtDegree, std::vector<std::string>& coefNames,
                     StringGrid& sgdResult, StringGrid& sdgCoefficients, StringGrid& sgdAns1,
                     QLineEdit& txtFx1, QLineEdit& txtFx2) {
    const int n = StrToIntDef(Text(txtDegree), -1);
    if (n > kMaxDegree)
        throw Exception("Degree " + IntToStr(n) + " is too large: the largest degree is " +
                        IntToStr(kMaxDegree));
    coefNames.clear();
    if (n >= 0) {
        sgdResult.setRowCount(n + 2);
        sdgCoefficients.setRowCount(n + 2);
        sgdAns1.setColCount(n + 2);
        sgdAns1.setRowCount(2);
        sgdAns1.setCell(0, 0, "Answer");
    }
    for (int i = 0; i <= n; ++i) {
        const std::string letter = coefficientLetter(i);
        sdgCoefficients.setCell(0, i + 1, letter);
        sgdAns1.setCell(i + 1, 0, letter);
        coefNames.push_back(letter);
    }
    SetText(txtFx1, expandedForm(coefNames));
    SetText(txtFx2, nestedForm(coefNames));
    return n;
}

void pasteIntoTemplateGrid(StringGrid& grid, const CellBlock& block, const std::string& rowsHold) {
    const int rows = int(block.size());
    const int rowsBelow = grid.rowCount() - grid.row();
    if (rows > rowsBelow) {
        const int degreeNeeded = grid.row() - 1 + rows - 1;
        throw Exception("The clipboard holds " + IntToStr(rows) + " rows, but only " +
                        IntToStr(rowsBelow) + " fit from the current row down: the table holds " +
                        IntToStr(grid.rowCount() - 1) + " " + rowsHold + ". " +
                        (degreeNeeded <= kMaxDegree
                             ? "Degree " + IntToStr(degreeNeeded) + " would hold them all."
                             : "Not even the largest degree, " + IntToStr(kMaxDegree) +
                                   ", would hold them all."));
    }
    size_t cols = 0;
    for (const auto& row : block)
        cols = std::max(cols, row.size());
    const int colsRight = grid.colCount() - grid.col();
    if (int(cols) > colsRight)
        throw Exception("The clipboard holds " + IntToStr(int(cols)) + " columns, but only " +
                        IntToStr(colsRight) + " fit from the current column right.");
    for (const auto& row : block)
        for (const std::string& cell : row)
            if (QString::fromStdString(cell).size() > kMaxTextLength)
                throw Exception(tooLongMessage("a cell"));
    grid.pasteBlock(block);
}
