#pragma once

#include <stdexcept>
#include <string>

// The program's error family. A handler raises one where a conversion or the
// arithmetic fails; the guard around every handler shows its message and the
// window goes on (toolkit/error_display.h).
class Exception : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Text that is not a number where a number is read.
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

// Division by zero, overflow, or an invalid operation.
class EMathError : public Exception {
  public:
    using Exception::Exception;
};

// A file that cannot be read: no such file, no regular file, no permission.
class EInOutError : public Exception {
  public:
    using Exception::Exception;
};
