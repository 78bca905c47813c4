// The nine destination slots.
#include "app/MainForm1.h"

void TMainForm1::BrowseEditChange(int, QObject *)
{
}
