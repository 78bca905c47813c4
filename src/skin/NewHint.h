#pragma once
// The hint component and its window.
#include "skin/AppHint.h"
#include "skin/HintEx.h"
