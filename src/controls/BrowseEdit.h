#pragma once
// Destination field: a line edit for a folder path with a browse button.
//
// The 18-pixel button at the right end shows a folder glyph and opens a
// directories-only folder picker at the field's folder (the home folder when
// the text names none); a confirmed choice replaces the text. OnChange
// follows every change of the text, typed, pasted, picked or set through
// setPath. The text is kept as typed: neither checked nor normalised. A path
// the program sets is shown from its start.
//
// A folder dragged from a file manager and dropped on the field replaces
// the whole text with its path; a dropped file gives its folder. Other drops
// (plain text) are typed in where they land, as in any field.
//
// While the field has the focus its caret blinks at CaretBlinkRate; the
// desktop's rate is put back when the focus leaves.
#include "platform/DroppedPaths.h"

#include <QByteArray>
#include <QLineEdit>

#include <functional>

class QToolButton;

class TBrowseEdit : public QLineEdit
{
    Q_OBJECT

public:
    static constexpr int kButtonWidth = 18;

    explicit TBrowseEdit(QWidget *parent = nullptr);
    ~TBrowseEdit() override;

    // The text as file-system bytes.
    QByteArray Path() const;
    // Replaces the text unless it is already equal; a change raises OnChange.
    void setPath(const QByteArray &path);

    // How long the caret stays shown, and then hidden, in milliseconds;
    // 0 keeps the desktop's rate.
    int CaretBlinkRate() const { return m_caretBlinkRate; }
    void setCaretBlinkRate(int milliseconds);

    // The folder the picker opens at: the field's folder when the text names
    // an existing one, else the home folder.
    QString pickerStartFolder() const;

    QToolButton *browseButton() const { return m_button; }

    // Makes the text the dropped folder's path, or the folder of a dropped file.
    void setPathFromDrop(const QByteArray &path);

    // Asks the user for a folder; returns "" when the picker is cancelled.
    // Tests replace it to stand in for the modal dialog.
    std::function<QString(QWidget *owner)> pickFolder;

signals:
    void OnChange(QObject *sender);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void browse();
    // Answers a drag that carries files; false for one of text, left to the field.
    bool answerFileDrag(QDropEvent *event);
    void applyBlinkRate();
    void restoreDesktopBlinkRate();

    QToolButton *m_button;
    // The bytes last written through setPath.
    QByteArray m_path;
    int m_caretBlinkRate = 0;
    // The desktop's flash time while ours is in force, else -1.
    int m_desktopFlashTime = -1;
    droppedpaths::DragOffer m_dragOffer;
};
