#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QTranslator* installToolkitTranslations(QCoreApplication& application, const QLocale& locale)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // The widgets' texts are in "qtbase"; a few languages still have only
    // the older "qt" catalogue, which holds them too.
    for (const QString& catalogue : {QStringLiteral("qtbase"), QStringLiteral("qt")}) {
        auto* translator = new QTranslator(&application);
        if (translator->load(locale, catalogue, QStringLiteral("_"), folder) &&
            QCoreApplication::installTranslator(translator))
            return translator;
        delete translator;
    }
    return nullptr;
}
