#pragma once

#include <stdexcept>

// An error raised inside a handler; it unwinds to the error boundary where the event entered our code.
class RuntimeError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;

    static RuntimeError overflow();
};
