// The nine destination slots: a slot's sort button is usable only while its
// field names an existing folder, and its label shows that folder's name.
#include "app/MainForm1.h"

#include "controls/BrowseEdit.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "skin/ClearButton.h"

#include <QLabel>

void TMainForm1::BrowseEditChange(int slot, QObject *)
{
    const QByteArray text = BrowseEdit[slot - 1]->Path();
    // Relative texts are tested against the working directory, the source folder.
    const bool exists = m_fileSystem->isDirectory(text);
    ClearButton[slot - 1]->setEnabled(exists);
    Label[slot - 1]->setText(exists ? paths::toDisplay(paths::folderName(text)) : QString());
}
