#pragma once

#include <QString>

#include <cstring>

// The system's own words for an error number, in the user's language where
// the C library has it.
inline QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
