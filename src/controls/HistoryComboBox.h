#pragma once
// An editable combo box that remembers what was entered: its list is kept
// most recently used first by AddText (Enter in the edit field adds the
// text too, and selects it), and is stored to and restored from a section
// of an INI file or a key of the per-user registry (see HistoryStore.h).
// While typing, matching entries are offered in a list below the field.
//
// With SaveMode hsAuto or hsAutoLoad the history is restored when the box
// is first shown; with hsAuto or hsAutoSave it is stored when the box is
// destroyed. A non-empty SaveKeyName selects the registry, else a non-empty
// SaveFileName the INI file; the section is SaveSectionName, or the box's
// object name when that is empty. A failed automatic store is reported on
// standard error and leaves what was stored before as it was.
#include <QComboBox>
#include <QString>

enum THistoryMode { hsAuto, hsManual, hsAutoSave, hsAutoLoad };

class THistoryComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit THistoryComboBox(QWidget *parent = nullptr);
    ~THistoryComboBox() override;

    THistoryMode SaveMode() const { return m_saveMode; }
    void SetSaveMode(THistoryMode value) { m_saveMode = value; }
    // Registry key path below the user's root, "\" or "/" separated.
    const QString &SaveKeyName() const { return m_saveKeyName; }
    void SetSaveKeyName(const QString &value) { m_saveKeyName = value; }
    const QString &SaveFileName() const { return m_saveFileName; }
    void SetSaveFileName(const QString &value) { m_saveFileName = value; }
    const QString &SaveSectionName() const { return m_saveSectionName; }
    void SetSaveSectionName(const QString &value) { m_saveSectionName = value; }

    // SaveSectionName, or the object name when it is empty.
    QString GetSectionString() const;

    // The overloads without a name use SaveFileName or SaveKeyName and
    // return false when it is empty. Stores return false when nothing was
    // stored (errorString() says why); loads append the stored entries to
    // the list and return false only for a refused section or key.
    bool SaveToFile();
    bool SaveToFile(const QString &name);
    bool SaveToRegistry();
    bool SaveToRegistry(const QString &keyPath);
    bool LoadFromFile();
    bool LoadFromFile(const QString &name);
    bool LoadFromRegistry();
    bool LoadFromRegistry(const QString &keyPath);

    // Puts the text at the top of the list: true when it was new; a text
    // already listed (letter case ignored) moves up in its own spelling.
    // An empty text is not added. The edit field keeps its text.
    bool AddText();
    bool AddText(const QString &text);

    const QString &errorString() const { return m_error; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QStringList items() const;
    void appendItems(const QStringList &entries);
    QByteArray fileFor(const QString &name) const;
    void restoreAutomatically();
    void storeAutomatically();

    THistoryMode m_saveMode = hsAuto;
    QString m_saveKeyName;
    QString m_saveFileName;
    QString m_saveSectionName;
    QString m_error;
    // Set once the box has been shown and the automatic restore has had
    // its turn.
    bool m_shown = false;
};
