#include "player/PlayerBackend.h"

// Defined here, so the vtable and the type information live in this
// library only and are the same for the program and the module.
PlayerBackend::~PlayerBackend() = default;
