#include "toolkit/decimal_commas.h"

#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/message_text.h"
#include "toolkit/number_grammar.h"

#include <algorithm>

namespace {

// Whether `whole` is digits grouped in threes by dots: "1.500", "12.345.678".
bool groupsThousands(std::string_view whole) {
    const size_t dot = whole.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot > 3)
        return false;
    for (size_t at = 0; at < whole.size(); ++at) {
        const bool dotPlace = at >= dot && (at - dot) % 4 == 0;
        if (dotPlace ? whole[at] != '.' : !isDigit(whole[at]))
            return false;
    }
    return (whole.size() - dot) % 4 == 0;
}

// The integer part of a number's text: after spaces and a sign, up to a
// comma, an exponent or the end.
std::string_view integerPart(std::string_view text) {
    text = stripSpaces(text);
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        text.remove_prefix(1);
    return text.substr(0, text.find_first_of(",eE"));
}

std::string withoutDots(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '.'), text.end());
    return text;
}

enum class Reading { other, comma, grouped, point };

// How a field reads: a decimal comma (`number` then the text with a point
// and no thousands dots), thousands dots that may also be a decimal point,
// a plain decimal point or a mix of the two, or no number with a mark.
Reading readingOf(const std::string& field, std::string& number) {
    const size_t comma = field.find(',');
    const bool dots = field.find('.') != std::string::npos;
    if (comma != std::string::npos && field.find(',', comma + 1) == std::string::npos &&
        (!dots || groupsThousands(integerPart(field)))) {
        number = withoutDots(field);
        number[number.find(',')] = '.';
        if (readsAsNumber(number))
            return Reading::comma;
    }
    if (!dots && comma == std::string::npos)
        return Reading::other;
    if (comma == std::string::npos && groupsThousands(integerPart(field)) &&
        readsAsNumber(withoutDots(field)))
        return Reading::grouped;
    // "1.5", or "1,500.5": a decimal point, or the other locale's grouping.
    const bool writesPoint =
        readsAsNumber(field) || readsAsNumber(withoutDots(field)) ||
        (comma != std::string::npos &&
         readsAsNumber(field.substr(0, comma).append(field.substr(comma + 1))));
    return writesPoint ? Reading::point : Reading::other;
}

} // namespace

void DecimalCommas::take(std::string& field, size_t index,
                         const std::function<std::string()>& where) {
    std::string number;
    switch (readingOf(field, number)) {
    case Reading::comma:
        dotsInComma = dotsInComma || field.find('.') != std::string::npos;
        field = std::move(number);
        commaSeen = true;
        break;
    case Reading::grouped:
        anyGrouped = true;
        if (groupedFields == Grouped::kept)
            grouped.push_back(index);
        else if (groupedFields == Grouped::thousands)
            field = withoutDots(field);
        break;
    case Reading::point:
        if (!firstDot)
            firstDot = where() + ": " + quotedText(field) +
                       " writes a decimal point, where other numbers here write decimal commas; "
                       "write them all one way.";
        break;
    case Reading::other:
        break;
    }
}

void DecimalCommas::finish(const std::function<std::string&(size_t index)>& fieldAt) {
    if (!commaSeen)
        return;
    if (firstDot)
        throw Exception(*firstDot);
    for (const size_t index : grouped)
        fieldAt(index) = withoutDots(fieldAt(index));
}

bool readsAsNumberEitherWay(const std::string& field) {
    std::string number;
    return readsAsNumber(field) || readingOf(field, number) == Reading::comma;
}
