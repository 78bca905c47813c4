#include "platform/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace qttranslations {

std::unique_ptr<QTranslator> installJapanese()
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}

} // namespace qttranslations
