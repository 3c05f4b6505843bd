#include "model/coefficient_template.h"

#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/string_grid.h"
#include "toolkit/text_box.h"

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
