// The sorting commands and the key map.
#include "app/MainForm1.h"

void TMainForm1::ClearButtonClick(int, QObject *)
{
}

void TMainForm1::SpeedButton1Click(QObject *)
{
}

void TMainForm1::FormKeyDown(QObject *, int &, Qt::KeyboardModifiers)
{
}
