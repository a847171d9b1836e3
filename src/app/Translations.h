#pragma once

#include <QLocale>
#include <QTranslator>

#include <memory>

// The window's texts in the given locale's language, from the translations
// built into the program; none where there is no translation for it.
std::unique_ptr<QTranslator> translatorFor(const QLocale &locale);
