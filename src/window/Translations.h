#pragma once

#include <QLocale>
#include <QTranslator>

#include <memory>

// The window's texts in the given locale's language, from the translations
// built into the program; none where there is no translation for it.
std::unique_ptr<QTranslator> translatorFor(const QLocale &locale);

// The toolkit's own texts (Yes, No, Close, Show Details…) in that language:
// from the toolkit's translations folder, or on Windows from the
// translations folder beside the program; none where there is none.
std::unique_ptr<QTranslator> toolkitTranslatorFor(const QLocale &locale);
