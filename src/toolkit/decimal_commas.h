#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Numbers as spreadsheets in decimal-comma locales write them, in a source
// whose fields are split by tabs or semicolons: "2,5" for 2.5, "1.500,25"
// for 1500.25, "1.050.000" for 1050000. Whether "1.500" is 1.5 or 1500 is
// the whole source's to say: it is 1500 where other fields write decimal
// commas, and 1.5 where none does. A field that writes a decimal point
// beside decimal commas elsewhere, or mixes the two ("1,500.5"), is refused
// by name; nothing is guessed.
class DecimalCommas {
  public:
    // What becomes of a field whose dots may group thousands: kept by index
    // for finish() to settle; for a source read as it streams, only noted
    // (groupedSeen), or, in a second reading once decimal commas were
    // found, read as thousands at once.
    enum class Grouped { kept, noted, thousands };
    explicit DecimalCommas(Grouped grouped = Grouped::kept) : groupedFields(grouped) {}

    // One field, in reading order, as its index in the source; `where`
    // names it ("Line 3, x") should it be refused. A decimal comma reads as
    // a point at once.
    void take(std::string& field, size_t index, const std::function<std::string()>& where);
    // After the last field. Where the source writes decimal commas, the
    // fields with thousands dots lose them (`fieldAt` gives a field by its
    // index), and a field with a decimal point raises an error naming it.
    void finish(const std::function<std::string&(size_t index)>& fieldAt);

    bool commas() const { return commaSeen; }
    bool groupedSeen() const { return anyGrouped; }
    bool thousands() const { return commaSeen && (dotsInComma || anyGrouped); }

  private:
    Grouped groupedFields;
    bool commaSeen = false, dotsInComma = false, anyGrouped = false;
    std::vector<size_t> grouped;         // fields whose dots may group thousands
    std::optional<std::string> firstDot; // the refusal, should commas be seen
};

// Whether a field reads as a number in either convention, for telling a
// header row from a row of numbers.
bool readsAsNumberEitherWay(const std::string& field);
