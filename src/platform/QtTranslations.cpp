#include "platform/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include <cstring>

namespace qttranslations {

namespace {

// Texts Qt shows that its Japanese catalogue lacks: the folder picker's type
// column says what each entry is.
struct Supplied
{
    const char *context;
    const char *source;
    const char *japanese;
};

const Supplied kSupplied[] = {
    {"QAbstractFileIconProvider", "Folder", "フォルダ"},
    {"QAbstractFileIconProvider", "File Folder", "ファイル フォルダ"},
    {"QAbstractFileIconProvider", "Drive", "ドライブ"},
    {"QAbstractFileIconProvider", "Shortcut", "ショートカット"},
    {"QAbstractFileIconProvider", "Alias", "エイリアス"},
    {"QAbstractFileIconProvider", "Unknown", "不明"},
};

// Answers only where Qt's own catalogue, asked first, has nothing.
class SuppliedTexts : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (!context || !source)
            return QString();
        for (const Supplied &text : kSupplied) {
            if (std::strcmp(context, text.context) == 0 && std::strcmp(source, text.source) == 0)
                return QString::fromUtf8(text.japanese);
        }
        return QString();
    }

    bool isEmpty() const override { return false; }
};

} // namespace

std::unique_ptr<QTranslator> installJapanese()
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    // The translator installed last is asked first: Qt's catalogue before ours.
    // Ours goes with Qt's, whose child it is.
    auto *supplied = new SuppliedTexts(translator.get());
    QCoreApplication::installTranslator(supplied);
    if (!QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}

} // namespace qttranslations
