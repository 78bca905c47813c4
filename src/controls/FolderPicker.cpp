#include "controls/FolderPicker.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace folderpicker {

namespace {

// Column 3 of Qt's file system model is the modification date, which the
// model writes in the system locale; this writes it in Japanese.
class JapaneseDates : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::DisplayRole && index.column() == kDateColumn) {
            if (const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel()))
                return dateText(files->lastModified(mapToSource(index)));
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int kDateColumn = 3;
};

} // namespace

QString dateText(const QDateTime &time)
{
    if (!time.isValid())
        return QString();
    return QLocale(QLocale::Japanese, QLocale::Japan).toString(time.toLocalTime(), QStringLiteral("yyyy/MM/dd H:mm"));
}

QString pick(QWidget *owner, const QString &title, const QString &start)
{
    QFileDialog dialog(owner ? owner->window() : nullptr, title, start);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setProxyModel(new JapaneseDates(&dialog));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

} // namespace folderpicker
