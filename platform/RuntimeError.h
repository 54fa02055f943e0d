#pragma once

#include <stdexcept>
#include <string>

// An error raised inside a handler; it unwinds to the error boundary where the event entered our code.
class RuntimeError : public std::runtime_error
{
public:
    enum Code { Overflow = 6, TypeMismatch = 13, DivisionByZero = 11 };

    RuntimeError(Code code, const std::string &description);

    Code code() const { return m_code; }

    static RuntimeError overflow();

private:
    Code m_code;
};
