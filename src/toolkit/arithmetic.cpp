#include "toolkit/arithmetic.h"

#include "toolkit/errors.h"

void raiseMathError(const char* message) {
    throw EMathError(message);
}
