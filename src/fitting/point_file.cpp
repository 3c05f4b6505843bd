#include "fitting/point_file.h"

#include "toolkit/decimal_commas.h"
#include "toolkit/delimited_text.h"

#include "toolkit/cell_table.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/message_text.h"
#include "toolkit/on_exit.h"
#include "toolkit/text_limits.h"
#include "toolkit/utf8.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void lineIsNoText(int line) {
    throw Exception("Line " + IntToStr(line) + " is not text.");
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
        const size_t length = sequenceLength(byte);
        if (length == 0 || i + length > bytes.size())
            return line;
        for (size_t k = 1; k < length; ++k)
            if (!isContinuation(static_cast<unsigned char>(bytes[i + k])))
                return line;
        i += length;
    }
    return 0;
}

// UTF-16 or UTF-32 text after its byte order mark, as UTF-8. Units of `width`
// bytes, most significant first when `bigEndian`.
std::string utf8Of(std::string_view bytes, size_t width, bool bigEndian, int line = 1) {
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](size_t at) {
        char32_t value = 0;
        for (size_t k = 0; k < width; ++k) {
            const auto byte =
                static_cast<unsigned char>(bytes[at + (bigEndian ? k : width - 1 - k)]);
            value = value << 8 | byte;
        }
        return value;
    };
    if (bytes.size() % width != 0)
        lineIsNoText(line + int(std::count(bytes.begin(), bytes.end(), '\n')));
    for (size_t at = 0; at < bytes.size(); at += width) {
        char32_t code = unit(at);
        if (width == 2 && code >= 0xD800 && code < 0xDC00 && at + 2 < bytes.size()) {
            const char32_t low = unit(at + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        if (code == 0 || (code >= 0xD800 && code < 0xE000) || code > 0x10FFFF)
            lineIsNoText(line);
        line += code == '\n';
        appendUtf8(out, code);
    }
    return out;
}

// The file's text as UTF-8 without a byte order mark; `decoded` holds it
// when it had to be converted.
// A byte order mark of UTF-16 or UTF-32.
struct Mark {
    std::string_view bytes;
    size_t width;
    bool bigEndian;
};

const Mark* markOf(std::string_view bytes) {
    // UTF-32's little-endian mark starts with UTF-16's, so it comes first.
    static constexpr Mark marks[] = {{{"\xff\xfe\0\0", 4}, 4, false},
                                     {{"\0\0\xfe\xff", 4}, 4, true},
                                     {"\xff\xfe", 2, false},
                                     {"\xfe\xff", 2, true}};
    for (const Mark& mark : marks)
        if (bytes.starts_with(mark.bytes))
            return &mark;
    return nullptr;
}

std::string_view utf8Text(std::string_view bytes, std::string& decoded) {
    if (const Mark* mark = markOf(bytes)) {
        decoded = utf8Of(bytes.substr(mark->bytes.size()), mark->width, mark->bigEndian);
        return decoded;
    }
    if (const int line = lineOfBadByte(bytes))
        lineIsNoText(line);
    if (bytes.starts_with("\xef\xbb\xbf"))
        bytes.remove_prefix(3);
    return bytes;
}

constexpr size_t kPointFields = std::tuple_size_v<PointFields>;

// How many lines hold more than spaces: at most a point each, room made
// for them at once, so that a million rows are not moved as the table grows
// and a file of blank lines takes none.
size_t linesWithText(std::string_view text) {
    size_t lines = 0;
    bool holds = false;
    for (const char c : text) {
        if (c == '\n') {
            lines += holds;
            holds = false;
        } else if (c != ' ' && c != '\r' && c != '\t') {
            holds = true;
        }
    }
    return lines + holds;
}

// Collects the points record by record, keeping no more than a record's
// three fields at a time, and hands each point on as its line ends.
class PointCollector {
  public:
    using Take = PointTaker;
    // A file read whole keeps its blank lines, which become points when a
    // point follows; streamed, they are only counted.
    PointCollector(size_t maxPoints, DecimalCommas::Grouped grouped, Take take)
        : maxPoints(maxPoints), take(std::move(take)), commas(grouped),
          keepsBlanks(grouped == DecimalCommas::Grouped::kept) {}

    // Where semicolons or tabs separate the fields, commas in them may be
    // decimal commas.
    void endField(std::string& field, char separator, int line) {
        recordLine = line;
        fieldSeparator = separator;
        // A field has no more UTF-16 units than bytes.
        if (field.size() > size_t(kMaxTextLength) && utf16Length(field) > size_t(kMaxTextLength))
            throw Exception("Line " + IntToStr(recordLine) + " holds a field of more than " +
                            IntToStr(kMaxTextLength) + " characters, more than a cell holds.");
        if (separator != ',' && fieldCount < kPointFields) {
            // Its place among the points, once the blank lines before it are points too.
            const size_t point = taken + blankLines;
            commas.take(field, kPointFields * point + fieldCount, [&] {
                return "Line " + IntToStr(recordLine) + ", " + kFieldNames[fieldCount];
            });
        }
        if (firstRecord)
            holdsNumber = holdsNumber || readsAsNumber(field);
        if (fieldCount < kPointFields)
            fields[fieldCount] = std::move(field);
        ++fieldCount;
    }

    void endRecord() {
        const bool header = firstRecord && !holdsNumber;
        firstRecord = false;
        weighted = weighted || fieldCount == kPointFields;
        if (!header) {
            if (fieldCount > kPointFields)
                throw Exception("Line " + IntToStr(recordLine) + " has " +
                                IntToStr(int(fieldCount)) +
                                " fields; a point has two, x and f(x), and may have a weight w.");
            if (fieldCount == 1 && IsBlank(fields[0])) {
                // A blank line is a point only when a point follows it.
                if (++blankLines <= maxPoints && keepsBlanks)
                    blankTexts.push_back(fields[0]);
            } else {
                if (taken + blankLines + 1 > maxPoints)
                    throw Exception("The file holds more than " + IntToStr(int(maxPoints)) +
                                    " points; the table takes at most " + IntToStr(int(maxPoints)) +
                                    ".");
                for (std::string& text : blankTexts) {
                    PointFields blank{std::move(text), "", ""};
                    take(blank, recordLine);
                }
                taken += blankLines + 1;
                blankTexts.clear();
                blankLines = 0;
                take(fields, recordLine);
            }
        }
        fields = {};
        fieldCount = 0;
    }

    // After the last record; `fieldAt` gives a point's field by its index,
    // for the thousands dots kept to be settled.
    void finish(const std::function<std::string&(size_t index)>& fieldAt) {
        if (taken == 0)
            throw Exception("The file holds no points.");
        commas.finish(fieldAt);
    }

    size_t points() const { return taken; }
    bool weighs() const { return weighted; }
    const DecimalCommas& numbers() const { return commas; }
    char separator() const { return fieldSeparator; }

  private:
    const size_t maxPoints;
    Take take;
    static constexpr const char* kFieldNames[kPointFields] = {"x", "f(x)", "w"};
    PointFields fields;
    size_t fieldCount = 0, taken = 0;
    int recordLine = 1;
    char fieldSeparator = 0;
    bool firstRecord = true, holdsNumber = false, weighted = false;
    DecimalCommas commas;
    const bool keepsBlanks;
    std::vector<std::string> blankTexts;
    size_t blankLines = 0;
};

[[noreturn]] void refuseKind(mode_t mode) {
    throw EInOutError(S_ISDIR(mode)                    ? "it is a folder, not a file."
                      : S_ISFIFO(mode)                 ? "it is a named pipe, not a file."
                      : S_ISSOCK(mode)                 ? "it is a socket, not a file."
                      : S_ISCHR(mode) || S_ISBLK(mode) ? "it is a device, not a file."
                                                       : "it is not a regular file.");
}

[[noreturn]] void refuseWithSystemReason() {
    throw EInOutError(isolatedText(std::strerror(errno)) + ".");
}

} // namespace

std::string pointsCsv(const CellTable& sgdResult, bool decimalCommas) {
    const char separator = decimalCommas ? ';' : ',';
    const auto field = [&](int col, int row) {
        std::string text = sgdResult.cell(col, row);
        if (decimalCommas && readsAsNumber(text))
            std::replace(text.begin(), text.end(), '.', ',');
        return delimitedField(text, separator);
    };
    const bool weighted = sgdResult.colCount() > 2;
    std::string text = std::string("x") + separator + "f(x)" +
                       (weighted ? std::string(1, separator) + "w" : "") + "\n";
    for (int row = 1; row < sgdResult.rowCount(); ++row)
        text += field(0, row) + separator + field(1, row) +
                (weighted ? separator + field(2, row) : "") + "\n";
    return text;
}

namespace {

// The file at `path` opened for reading, once it is known to be a regular
// file; its size.
int openPointFile(const std::string& path, off_t& size) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        refuseWithSystemReason();
    if (!S_ISREG(info.st_mode))
        refuseKind(info.st_mode);
    // Not blocking, in case the name was given to a pipe since.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        refuseWithSystemReason();
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int reason = errno;
        ::close(descriptor);
        if (!S_ISREG(info.st_mode))
            refuseKind(info.st_mode);
        errno = reason;
        refuseWithSystemReason();
    }
    size = info.st_size;
    return descriptor;
}

// Up to `room` bytes of the file into `into`; 0 at its end.
size_t readSome(int descriptor, char* into, size_t room) {
    for (;;) {
        const ssize_t got = ::read(descriptor, into, room);
        if (got >= 0)
            return size_t(got);
        if (errno != EINTR)
            refuseWithSystemReason();
    }
}

} // namespace

std::string readPointFileBytes(const std::string& path) {
    off_t fileSize = 0;
    const int descriptor = openPointFile(path, fileSize);
    const OnExit close([descriptor] { ::close(descriptor); });
    std::string bytes(
        std::min<size_t>(size_t(std::max<off_t>(fileSize, 0)), kMaxPointFileBytes) + 1, '\0');
    size_t size = 0;
    for (;;) {
        if (size == bytes.size())
            bytes.resize(std::min(bytes.size() * 2, kMaxPointFileBytes + 1));
        const size_t got = readSome(descriptor, bytes.data() + size, bytes.size() - size);
        if (got == 0)
            break;
        size += got;
        if (size > kMaxPointFileBytes)
            throw Exception("it is larger than " + IntToStr(int(kMaxPointFileBytes >> 20)) +
                            " MB.");
    }
    bytes.resize(size);
    return bytes;
}

PointFile readPointsCsv(std::string_view bytes, size_t maxPoints) {
    std::string decoded;
    const std::string_view text = utf8Text(bytes, decoded);
    PointFile file;
    file.points.reserve(std::min(linesWithText(text), maxPoints));
    PointCollector points(maxPoints, DecimalCommas::Grouped::kept, [&](PointFields& point, int) {
        file.points.push_back(std::move(point));
    });
    readDelimited(text, {},
                  {[&](std::string& field, char separator, int line) {
                       points.endField(field, separator, line);
                   },
                   [&] { points.endRecord(); }});
    points.finish([&](size_t index) -> std::string& {
        return file.points[index / kPointFields][index % kPointFields];
    });
    file.weighted = points.weighs();
    file.decimalCommas = points.numbers().commas();
    file.thousands = points.numbers().thousands();
    return file;
}

namespace {

constexpr size_t kStreamPiece = 1 << 20;
// The longest line a point can take: three fields of the most a cell holds,
// four bytes a character, every one a doubled quote.
constexpr size_t kMaxPointLine = kPointFields * 8 * size_t(kMaxTextLength) + 8;

// Where the text's last whole line ends, outside quotes: the text up to it
// can be read on its own. 0 when no line has ended.
size_t afterLastLine(std::string_view text) {
    size_t after = 0;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        quoted = quoted != (text[i] == '"');
        if (text[i] == '\n' && !quoted)
            after = i + 1;
    }
    return after;
}

// The file read once, a piece at a time, into the collector: each piece's
// whole lines are read as they come, the unfinished one waits for the next.
// UTF-16 and UTF-32 are turned into UTF-8 a piece at a time, a character
// split between pieces kept back.
void streamOnce(const std::string& path, PointCollector& points) {
    off_t size = 0;
    const int descriptor = openPointFile(path, size);
    const OnExit close([descriptor] { ::close(descriptor); });
    std::string piece(kStreamPiece, '\0'), text, held;
    const Mark* mark = nullptr;
    bool first = true, atEnd = false;
    int line = 1; // of the first character of `text`
    DelimitedRules rules;
    const DelimitedSink sink{
        [&](std::string& field, char separator, int at) { points.endField(field, separator, at); },
        [&] { points.endRecord(); }};
    while (!atEnd) {
        const size_t got = readSome(descriptor, piece.data(), piece.size());
        atEnd = got == 0;
        std::string_view bytes(piece.data(), got);
        if (first) {
            mark = markOf(bytes);
            bytes.remove_prefix(mark                                ? mark->bytes.size()
                                : bytes.starts_with("\xef\xbb\xbf") ? 3
                                                                    : 0);
            first = false;
        }
        if (mark) {
            held.append(bytes);
            size_t whole = held.size() - held.size() % mark->width;
            const auto unit = [&](size_t at) {
                return mark->bigEndian ? uint8_t(held[at]) << 8 | uint8_t(held[at + 1])
                                       : uint8_t(held[at + 1]) << 8 | uint8_t(held[at]);
            };
            if (!atEnd && mark->width == 2 && whole >= 2 && (unit(whole - 2) & 0xFC00) == 0xD800)
                whole -= 2; // the first half of a pair
            if (atEnd && whole != held.size())
                whole = held.size(); // refused as no text
            text += utf8Of(std::string_view(held).substr(0, whole), mark->width, mark->bigEndian,
                           line + int(std::count(text.begin(), text.end(), '\n')));
            held.erase(0, whole);
        } else {
            text.append(bytes);
        }
        const size_t readable = atEnd ? text.size() : afterLastLine(text);
        if (readable == 0 && text.size() > kMaxPointLine)
            throw Exception("Line " + IntToStr(line) + " is longer than any line of a point.");
        const std::string_view lines = std::string_view(text).substr(0, readable);
        if (const int bad = mark ? 0 : lineOfBadByte(lines))
            lineIsNoText(line + bad - 1);
        rules.firstLine = line;
        readDelimited(lines, rules, sink);
        rules.separator = points.separator();
        line += int(std::count(lines.begin(), lines.end(), '\n'));
        text.erase(0, readable);
    }
}

} // namespace

StreamedPointFile streamPointFile(const std::string& path, const PointTaker& take,
                                  const std::function<void()>& startOver) {
    using enum DecimalCommas::Grouped;
    for (const DecimalCommas::Grouped grouped : {noted, thousands}) {
        PointCollector points(SIZE_MAX, grouped, take);
        streamOnce(path, points);
        points.finish({});
        const DecimalCommas& numbers = points.numbers();
        if (grouped == noted && numbers.commas() && numbers.groupedSeen()) {
            startOver(); // "1.500" was read as 1.5 before a decimal comma was seen
            continue;
        }
        return {points.points(), points.weighs(), numbers.commas(), numbers.thousands()};
    }
    return {};
}
