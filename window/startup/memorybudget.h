#pragma once

// Keeps the address space the program reserves close to what it uses, so
// that it starts under any address-space limit (ulimit -v) a bare Qt window
// starts under. Call first thing in main, before any thread exists.
namespace memorybudget {

void reserveLess();

} // namespace memorybudget
