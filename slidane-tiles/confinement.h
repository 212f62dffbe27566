#pragma once

#include <QString>

// Locks the decoder process down before it reads the first byte of a photo:
// from then on it can read and write only the descriptors it holds, start
// threads, and compute. It can open no file, make no socket, start or fork
// no program and signal no other process.
namespace confinement {

struct Limits {
    int cpuSeconds; // processor time of all threads together
    qint64 addressSpaceBytes; // 0: no limit (see confinement.cpp)
};

// Empty when the process is confined; otherwise why it is not, and the
// caller must decode nothing.
QString confine(const Limits &limits);

} // namespace confinement
