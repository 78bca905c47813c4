#pragma once
// The program's icon, drawn at each size a window system asks for: the same
// picture as the desktop entry's scalable icon (a blue tile with a sound
// wave, a yellow folder and "1-9"), so task bars and window switchers show
// it without an SVG reader.
#include <QIcon>

namespace appicon {

QIcon make();

} // namespace appicon
