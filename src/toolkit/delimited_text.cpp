#include "toolkit/delimited_text.h"

#include "toolkit/conversions.h"

#include <algorithm>

namespace {

// The separator a line uses: a tab, else a semicolon, else a comma; else a
// space where runs of spaces may separate, or none. Quoted text counts only
// where quotes may span the line.
char separatorOf(std::string_view line, bool spaces, bool mindQuotes) {
    bool quoted = false, semicolon = false, comma = false;
    for (const char c : line) {
        if (mindQuotes && c == '"')
            quoted = !quoted;
        else if (mindQuotes && !quoted && c == '\n')
            break;
        else if (!quoted && c == '\t')
            return '\t';
        semicolon = semicolon || (!quoted && c == ';');
        comma = comma || (!quoted && c == ',');
    }
    return semicolon ? ';' : comma || !spaces ? ',' : ' ';
}

// Files: one pass over the whole text, quotes toggling anywhere.
void readFile(std::string_view text, DelimitedRules rules, const DelimitedSink& sink) {
    const char separator = rules.separator ? rules.separator : separatorOf(text, false, true);
    std::string field;
    int line = rules.firstLine, recordLine = rules.firstLine;
    bool quoted = false, pending = false; // pending: a record has begun
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        pending = true;
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                line += c == '\n';
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            sink.field(field, separator, recordLine);
            field.clear();
        } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            i += c == '\r';
            sink.field(field, separator, recordLine);
            field.clear();
            sink.recordEnd();
            recordLine = ++line;
            pending = false;
        } else {
            // The rest of a plain field at once, up to what may end it.
            size_t end = i + 1;
            while (end < text.size() && text[end] != separator && text[end] != '\n' &&
                   text[end] != '\r' && text[end] != '"')
                ++end;
            field.append(text.substr(i, end - i));
            i = end - 1;
        }
    }
    if (pending) {
        sink.field(field, separator, recordLine);
        sink.recordEnd();
    }
}

// A quoted field from `at` (a quote) to its closing quote, which a tab or the
// line's end must follow; `at` then stands after it. Otherwise nothing.
bool readQuoted(std::string_view line, size_t& at, std::string& field) {
    std::string inner;
    for (size_t i = at + 1; i < line.size(); ++i) {
        if (line[i] != '"') {
            inner += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
            inner += '"';
            ++i;
        } else if (i + 1 == line.size() || line[i + 1] == '\t') {
            field = std::move(inner);
            at = i + 1;
            return true;
        } else {
            return false;
        }
    }
    return false;
}

// A line split by tabs: fields verbatim unless quoted; a tab at the end of
// the line starts no field.
void readTabLine(std::string_view line, int number, const DelimitedSink& sink) {
    for (size_t at = 0;;) {
        std::string field;
        if (at >= line.size() || line[at] != '"' || !readQuoted(line, at, field)) {
            const size_t end = std::min(line.find('\t', at), line.size());
            field = line.substr(at, end - at);
            at = end;
        }
        sink.field(field, '\t', number);
        if (at >= line.size() || ++at == line.size())
            return;
    }
}

void readLine(std::string_view line, int number, const DelimitedSink& sink) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const char separator = separatorOf(line, true, false);
    if (separator == '\t') {
        readTabLine(line, number, sink);
    } else {
        bool any = false;
        for (size_t start = 0; start <= line.size();) {
            const size_t end = std::min(line.find(separator, start), line.size());
            std::string field(stripSpaces(line.substr(start, end - start)));
            if (separator != ' ' || end > start) { // a run of spaces is one separator
                sink.field(field, separator, number);
                any = true;
            }
            start = end + 1;
        }
        if (!any) {
            std::string blank; // a blank line is a record of one empty field
            sink.field(blank, separator, number);
        }
    }
    sink.recordEnd();
}

} // namespace

void readDelimited(std::string_view text, DelimitedRules rules, const DelimitedSink& sink) {
    if (!rules.lineByLine)
        return readFile(text, rules, sink);
    int number = 1;
    for (size_t start = 0;; ++number) {
        const size_t end = std::min(text.find('\n', start), text.size());
        readLine(text.substr(start, end - start), number, sink);
        if (end == text.size())
            return;
        start = end + 1;
    }
}

std::string delimitedField(const std::string& text, char separator) {
    if (text.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}
