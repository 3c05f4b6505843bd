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
std::string utf8Of(std::string_view bytes, size_t width, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    int line = 1;
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
        lineIsNoText(int(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
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
std::string_view utf8Text(std::string_view bytes, std::string& decoded) {
    struct Mark {
        std::string_view bytes;
        size_t width;
        bool bigEndian;
    };
    // UTF-32's little-endian mark starts with UTF-16's, so it comes first.
    static constexpr Mark marks[] = {{{"\xff\xfe\0\0", 4}, 4, false},
                                     {{"\0\0\xfe\xff", 4}, 4, true},
                                     {"\xff\xfe", 2, false},
                                     {"\xfe\xff", 2, true}};
    for (const Mark& mark : marks)
        if (bytes.starts_with(mark.bytes)) {
            decoded = utf8Of(bytes.substr(mark.bytes.size()), mark.width, mark.bigEndian);
            return decoded;
        }
    if (const int line = lineOfBadByte(bytes))
        lineIsNoText(line);
    if (bytes.starts_with("\xef\xbb\xbf"))
        bytes.remove_prefix(3);
    return bytes;
}

// Collects the points record by record, keeping no more than a record's
// three fields at a time.
class PointCollector {
  public:
    explicit PointCollector(size_t maxPoints) : maxPoints(maxPoints) {}

    // Where semicolons or tabs separate the fields, commas in them may be
    // decimal commas.
    void endField(std::string& field, char separator, int line) {
        recordLine = line;
        if (utf16Length(field) > size_t(kMaxTextLength))
            throw Exception("Line " + IntToStr(recordLine) + " holds a field of more than " +
                            IntToStr(kMaxTextLength) + " characters, more than a cell holds.");
        if (separator != ',' && fieldCount < kPointFields) {
            // Its place among the points, once the blank lines before it are points too.
            const size_t point = file.points.size() + blankTexts.size();
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
        file.weighted = file.weighted || fieldCount == kPointFields;
        if (!header) {
            if (fieldCount > kPointFields)
                throw Exception("Line " + IntToStr(recordLine) + " has " +
                                IntToStr(int(fieldCount)) +
                                " fields; a point has two, x and f(x), and may have a weight w.");
            if (fieldCount == 1 && IsBlank(fields[0])) {
                // A blank line is a point only when a point follows it.
                if (++blankLines <= maxPoints)
                    blankTexts.push_back(fields[0]);
            } else {
                if (file.points.size() + blankLines + 1 > maxPoints)
                    throw Exception("The file holds more than " + IntToStr(int(maxPoints)) +
                                    " points; the table takes at most " + IntToStr(int(maxPoints)) +
                                    ".");
                for (std::string& text : blankTexts)
                    file.points.push_back({std::move(text), "", ""});
                blankTexts.clear();
                blankLines = 0;
                file.points.push_back(std::move(fields));
            }
        }
        fields = {};
        fieldCount = 0;
    }

    PointFile finish() {
        if (file.points.empty())
            throw Exception("The file holds no points.");
        commas.finish([this](size_t index) -> std::string& {
            return file.points[index / kPointFields][index % kPointFields];
        });
        file.decimalCommas = commas.commas();
        file.thousands = commas.thousands();
        return std::move(file);
    }

  private:
    const size_t maxPoints;
    PointFile file;
    static constexpr size_t kPointFields = 3;
    static constexpr const char* kFieldNames[kPointFields] = {"x", "f(x)", "w"};
    PointFields fields;
    size_t fieldCount = 0;
    int recordLine = 1;
    bool firstRecord = true, holdsNumber = false;
    DecimalCommas commas;
    std::vector<std::string> blankTexts;
    size_t blankLines = 0;
};

[[noreturn]] void refuseKind(mode_t mode) {
    throw Exception(S_ISDIR(mode)                    ? "it is a folder, not a file."
                    : S_ISFIFO(mode)                 ? "it is a named pipe, not a file."
                    : S_ISSOCK(mode)                 ? "it is a socket, not a file."
                    : S_ISCHR(mode) || S_ISBLK(mode) ? "it is a device, not a file."
                                                     : "it is not a regular file.");
}

[[noreturn]] void refuseWithSystemReason() {
    throw Exception(isolatedText(std::strerror(errno)) + ".");
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

std::string readPointFileBytes(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        refuseWithSystemReason();
    if (!S_ISREG(info.st_mode))
        refuseKind(info.st_mode);
    // Not blocking, in case the name was given to a pipe since.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        refuseWithSystemReason();
    const OnExit close([descriptor] { ::close(descriptor); });
    if (::fstat(descriptor, &info) != 0)
        refuseWithSystemReason();
    if (!S_ISREG(info.st_mode))
        refuseKind(info.st_mode);
    std::string bytes(
        std::min<size_t>(size_t(std::max<off_t>(info.st_size, 0)), kMaxPointFileBytes) + 1, '\0');
    size_t size = 0;
    for (;;) {
        if (size == bytes.size())
            bytes.resize(std::min(bytes.size() * 2, kMaxPointFileBytes + 1));
        const ssize_t got = ::read(descriptor, bytes.data() + size, bytes.size() - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            refuseWithSystemReason();
        if (got == 0)
            break;
        size += size_t(got);
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
    PointCollector points(maxPoints);
    readDelimited(text, {},
                  {[&](std::string& field, char separator, int line) {
                       points.endField(field, separator, line);
                   },
                   [&] { points.endRecord(); }});
    return points.finish();
}
