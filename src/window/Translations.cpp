#include "window/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

// Outside any namespace, as the resource's initializer must be called.
static void initTranslations()
{
    Q_INIT_RESOURCE(translations);
}

std::unique_ptr<QTranslator> translatorFor(const QLocale &locale)
{
    initTranslations();
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("tpfw"), QStringLiteral("_"),
                          QStringLiteral(":/translations")))
        return nullptr;
    return translator;
}

std::unique_ptr<QTranslator> toolkitTranslatorFor(const QLocale &locale)
{
#ifdef Q_OS_WIN
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
#else
    const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder))
        return nullptr;
    return translator;
}
