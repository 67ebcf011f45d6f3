#pragma once
// The one error type of the program. Errors are raised, never returned; the
// entry points from Qt catch them and hand them to the application's default
// error handler (platform/ui/guard.h). Messages are UTF-8.

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string message() const { return what(); }
};
