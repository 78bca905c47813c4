#pragma once
// Destination field: a line edit for a folder path with a browse button.
//
// The 18-pixel button at the right end shows a folder glyph and opens a
// directories-only folder picker; a confirmed choice replaces the text.
// OnChange follows every change of the text, typed, pasted, picked or set
// through setPath. The text is kept as typed: neither checked nor normalised.
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

    // The text as file-system bytes.
    QByteArray Path() const;
    // Replaces the text unless it is already equal; a change raises OnChange.
    void setPath(const QByteArray &path);

    QToolButton *browseButton() const { return m_button; }

    // Asks the user for a folder; returns "" when the picker is cancelled.
    // Tests replace it to stand in for the modal dialog.
    std::function<QString(QWidget *owner)> pickFolder;

signals:
    void OnChange(QObject *sender);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void browse();

    QToolButton *m_button;
    // The bytes last written through setPath.
    QByteArray m_path;
};
