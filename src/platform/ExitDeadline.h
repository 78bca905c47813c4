#pragma once
// The last resort of a program whose work may hang on a device: once it
// has decided to end, it ends within a deadline, even if something it
// tears down still waits in the kernel (a player closing a file on a share
// that no longer answers).
#include <chrono>

namespace exitdeadline {

// Ends the process with exitCode once `wait` has passed, unless it has
// ended by itself before.
void endWithin(std::chrono::milliseconds wait, int exitCode = 0);

} // namespace exitdeadline
