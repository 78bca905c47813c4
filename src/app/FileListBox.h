#pragma once
// List of the playable media files of one folder.
//
// For now a plain list; the mask, folder reading and select-by-name come
// with the file list.
#include <QListWidget>

class TFileListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit TFileListBox(QWidget *parent = nullptr);

signals:
    // Raised for every change of the selection the user makes, by mouse or keyboard.
    void OnClick(QObject *sender);
};
