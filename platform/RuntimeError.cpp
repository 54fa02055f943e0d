#include "platform/RuntimeError.h"

RuntimeError::RuntimeError(Code code, const std::string &description)
    : std::runtime_error(description)
    , m_code(code)
{ }

RuntimeError RuntimeError::overflow()
{
    return RuntimeError(Overflow, "Overflow");
}
