#pragma once
// The image-shaped controls: the common base, the push button and the panel.
#include "skin/ClearButton.h"
#include "skin/ClearControl.h"
#include "skin/ClearPanel.h"
