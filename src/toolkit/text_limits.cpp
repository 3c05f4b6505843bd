#include "toolkit/text_limits.h"

#include "toolkit/conversions.h"

std::string tooLongMessage(const char* where) {
    return std::string("The text is too long: ") + where + " holds at most " +
           IntToStr(kMaxTextLength) + " characters.";
}
