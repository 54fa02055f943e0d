#include "platform/RuntimeError.h"

RuntimeError RuntimeError::overflow()
{
    return RuntimeError("Overflow");
}
