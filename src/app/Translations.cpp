#include "app/Translations.h"

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
