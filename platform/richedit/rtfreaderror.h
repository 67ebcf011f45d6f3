#pragma once
// Raised when bytes handed to the rich edit control as RTF do not begin as an
// RTF document. Callers catch it to read the same bytes again as plain text;
// damaged RTF that does begin properly is read as far as it makes sense and
// never raises this.

#include "platform/exception.h"

class RtfReadError : public Exception {
public:
    explicit RtfReadError(const std::string& message) : Exception(message) {}
};
