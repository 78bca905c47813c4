#include "controls/HistoryComboBox.h"

#include "controls/HistoryStore.h"
#include "platform/ExecutablePath.h"
#include "settings/UserRegistry.h"

#include <QCompleter>
#include <QFile>
#include <QLineEdit>

#include <cstdio>

THistoryComboBox::THistoryComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    // The list is ordered by AddText, never by the combo box's own insert.
    setInsertPolicy(QComboBox::NoInsert);
    // Matching entries are offered in a list below the field; typing never
    // completes the text itself, so a shorter entry can still be added.
    completer()->setCompletionMode(QCompleter::PopupCompletion);
    connect(lineEdit(), &QLineEdit::returnPressed, this, [this] {
        AddText();
        // The entry stays in view, selected, so the next one replaces it.
        lineEdit()->selectAll();
    });
}

THistoryComboBox::~THistoryComboBox()
{
    // A destructor must not throw: a failed store is only reported.
    try {
        storeAutomatically();
    } catch (...) {
        std::fputs("履歴を保存できません\n", stderr);
    }
}

QString THistoryComboBox::GetSectionString() const
{
    return m_saveSectionName.isEmpty() ? objectName() : m_saveSectionName;
}

QStringList THistoryComboBox::items() const
{
    QStringList list;
    list.reserve(count());
    for (int i = 0; i < count(); ++i)
        list << itemText(i);
    return list;
}

void THistoryComboBox::appendItems(const QStringList &entries)
{
    // Adding items must not replace what the user is typing.
    const QString typed = currentText();
    addItems(entries);
    setEditText(typed);
}

QByteArray THistoryComboBox::fileFor(const QString &name) const
{
    return history::resolveFileName(QFile::encodeName(name), executable::directory());
}

bool THistoryComboBox::SaveToFile()
{
    return !m_saveFileName.isEmpty() && SaveToFile(m_saveFileName);
}

bool THistoryComboBox::SaveToFile(const QString &name)
{
    m_error.clear();
    return history::saveToFile(fileFor(name), GetSectionString(), items(), &m_error);
}

bool THistoryComboBox::SaveToRegistry()
{
    return !m_saveKeyName.isEmpty() && SaveToRegistry(m_saveKeyName);
}

bool THistoryComboBox::SaveToRegistry(const QString &keyPath)
{
    m_error.clear();
    const auto registry = registry::openUser();
    return history::saveToRegistry(*registry, keyPath, GetSectionString(), items(), &m_error);
}

bool THistoryComboBox::LoadFromFile()
{
    return !m_saveFileName.isEmpty() && LoadFromFile(m_saveFileName);
}

bool THistoryComboBox::LoadFromFile(const QString &name)
{
    if (GetSectionString().trimmed().isEmpty())
        return false;
    appendItems(history::loadFromFile(fileFor(name), GetSectionString()));
    return true;
}

bool THistoryComboBox::LoadFromRegistry()
{
    return !m_saveKeyName.isEmpty() && LoadFromRegistry(m_saveKeyName);
}

bool THistoryComboBox::LoadFromRegistry(const QString &keyPath)
{
    if (registry::groupPath(keyPath).isEmpty() || registry::groupPath(GetSectionString()).isEmpty())
        return false;
    const auto registry = registry::openUser();
    appendItems(history::loadFromRegistry(*registry, keyPath, GetSectionString()));
    return true;
}

bool THistoryComboBox::AddText()
{
    return AddText(currentText());
}

bool THistoryComboBox::AddText(const QString &text)
{
    if (text.isEmpty())
        return false;
    const QString typed = currentText();
    // Whole-text match without regard to letter case.
    const int found = findText(text, Qt::MatchFixedString);
    if (found < 0) {
        insertItem(0, text);
    } else if (found > 0) {
        const QString listed = itemText(found);
        removeItem(found);
        insertItem(0, listed);
    }
    setEditText(typed);
    return found < 0;
}

void THistoryComboBox::showEvent(QShowEvent *event)
{
    QComboBox::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        restoreAutomatically();
    }
}

void THistoryComboBox::restoreAutomatically()
{
    if (m_saveMode != hsAuto && m_saveMode != hsAutoLoad)
        return;
    if (!m_saveKeyName.isEmpty())
        LoadFromRegistry();
    else if (!m_saveFileName.isEmpty())
        LoadFromFile();
}

void THistoryComboBox::storeAutomatically()
{
    if (m_saveMode != hsAuto && m_saveMode != hsAutoSave)
        return;
    // A box that never restored its history would overwrite it with a list
    // that never held it.
    if (m_saveMode == hsAuto && !m_shown)
        return;
    bool stored = true;
    if (!m_saveKeyName.isEmpty())
        stored = SaveToRegistry();
    else if (!m_saveFileName.isEmpty())
        stored = SaveToFile();
    if (!stored) {
        const QByteArray message = QStringLiteral("履歴を保存できません: %1\n").arg(m_error).toUtf8();
        std::fputs(message.constData(), stderr);
    }
}
