// The source folder, the file list and the current file.
#include "app/MainForm1.h"

void TMainForm1::FolderTreeView0Change(QObject *)
{
}

void TMainForm1::FileListBox1Click(QObject *)
{
}

void TMainForm1::E1Click(QObject *)
{
}
