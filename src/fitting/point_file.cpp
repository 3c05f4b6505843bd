#include "fitting/point_file.h"

#include "model/coefficient_template.h"
#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"

#include <algorithm>

namespace {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// The line of the first byte that is not UTF-8 text, or 0.
int lineOfBadByte(std::string_view bytes) {
    int line = 1;
    for (size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\n')
            ++line;
        if (byte == 0)
            return line;
        const size_t length = byte < 0x80            ? 1
                              : (byte >> 5) == 0x06  ? 2
                              : (byte >> 4) == 0x0E  ? 3
                              : (byte >> 3) == 0x1E  ? 4
                                                     : 0;
        if (length == 0 || i + length > bytes.size())
            return line;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return line;
        i += length;
    }
    return 0;
}

// The separator the first line uses outside quotes: tab, then ';', then ','.
char separatorOf(std::string_view text) {
    bool quoted = false, semicolon = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == '\n')
            break;
        else if (!quoted && c == '\t')
            return '\t';
        else if (!quoted && c == ';')
            semicolon = true;
    }
    return semicolon ? ';' : ',';
}

struct Record {
    std::vector<std::string> fields;
    int line; // where it starts
};

std::vector<Record> records(std::string_view text, char separator) {
    std::vector<Record> result;
    Record record{{""}, 1};
    int line = 1;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                record.fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                line += c == '\n';
                record.fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            record.fields.emplace_back();
        } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            i += c == '\r';
            result.push_back(std::move(record));
            record = Record{{""}, ++line};
        } else {
            record.fields.back() += c;
        }
    }
    if (record.fields.size() > 1 || !record.fields[0].empty())
        result.push_back(std::move(record));
    return result;
}

bool readsAsNumber(const std::string& text) {
    try {
        StrToFloat(text);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

} // namespace

std::string pointsCsv(const CellTable& sgdResult) {
    std::string text = "x,f(x)\n";
    for (int row = 1; row < sgdResult.rowCount(); ++row)
        text += csvField(sgdResult.cell(0, row)) + "," + csvField(sgdResult.cell(1, row)) + "\n";
    return text;
}

std::vector<std::array<std::string, 2>> readPointsCsv(std::string_view bytes) {
    if (bytes.size() > kMaxPointFileBytes)
        throw Exception("The file is larger than " + IntToStr(int(kMaxPointFileBytes >> 20)) +
                        " MB.");
    if (const int line = lineOfBadByte(bytes))
        throw Exception("Line " + IntToStr(line) + " is not text.");
    if (bytes.starts_with("\xef\xbb\xbf"))
        bytes.remove_prefix(3);
    std::vector<Record> lines = records(bytes, separatorOf(bytes));
    while (!lines.empty() && lines.back().fields.size() == 1 && IsBlank(lines.back().fields[0]))
        lines.pop_back();
    if (!lines.empty() && std::none_of(lines[0].fields.begin(), lines[0].fields.end(), readsAsNumber))
        lines.erase(lines.begin()); // the header
    std::vector<std::array<std::string, 2>> points;
    for (const Record& record : lines) {
        if (record.fields.size() > 2)
            throw Exception("Line " + IntToStr(record.line) + " has " +
                            IntToStr(int(record.fields.size())) +
                            " fields; a point has two: x and f(x).");
        points.push_back({record.fields[0], record.fields.size() > 1 ? record.fields[1] : ""});
    }
    if (points.empty())
        throw Exception("The file holds no points.");
    if (points.size() > size_t(kMaxDegree) + 1)
        throw Exception("The file holds " + IntToStr(int(points.size())) +
                        " points; the largest degree, " + IntToStr(kMaxDegree) + ", takes " +
                        IntToStr(kMaxDegree + 1) + ".");
    return points;
}
