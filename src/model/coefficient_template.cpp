#include "model/coefficient_template.h"

#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/utf8.h"

std::string coefficientLetter(int i) {
    std::string letter; // Latin-1 above 127 takes two bytes in UTF-8
    appendUtf8(letter, static_cast<unsigned char>((65 + i) % 256));
    return letter;
}

std::string expandedForm(const std::vector<std::string>& terms, std::vector<size_t>* starts) {
    std::string text;
    for (size_t i = 0; i < terms.size(); ++i) {
        if (i > 0)
            text += " + ";
        if (starts)
            starts->push_back(text.size());
        text += terms[i];
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

GeneratedTemplate generateTemplate(std::string_view degreeText, std::vector<std::string>& coefNames,
                                   CellTable& sdgCoefficients, CellTable& sgdAns1) {
    const int n = StrToIntDef(degreeText, -1);
    if (n > kMaxDegree)
        throw Exception("Degree " + IntToStr(n) + " is too large: the largest degree is " +
                        IntToStr(kMaxDegree));
    coefNames.clear();
    if (n >= 0) {
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
    return {n, expandedForm(coefNames), nestedForm(coefNames)};
}

namespace {

std::vector<std::string> column(const CellTable& sdgCoefficients, int col) {
    std::vector<std::string> texts;
    for (int row = 1; row < sdgCoefficients.rowCount(); ++row)
        texts.push_back(sdgCoefficients.cell(col, row));
    return texts;
}

} // namespace

std::vector<std::string> coefficientTexts(const CellTable& sdgCoefficients) {
    return column(sdgCoefficients, 1);
}

std::vector<std::string> coefficientLetters(const CellTable& sdgCoefficients) {
    return column(sdgCoefficients, 0);
}
