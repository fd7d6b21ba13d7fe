#include "base/language.h"

#include <QLocale>

namespace kav {

QString languageCode(UiLanguage language)
{
    switch (language) {
    case UiLanguage::Russian: return QStringLiteral("ru");
    case UiLanguage::Ukrainian: return QStringLiteral("uk");
    case UiLanguage::English: break;
    }
    return QStringLiteral("en");
}

std::optional<UiLanguage> languageOfCode(const QString& code)
{
    for (const UiLanguage language : {UiLanguage::English, UiLanguage::Russian, UiLanguage::Ukrainian})
        if (code.trimmed().compare(languageCode(language), Qt::CaseInsensitive) == 0)
            return language;
    return std::nullopt;
}

UiLanguage languageOfLocale(const QLocale& locale)
{
    switch (locale.language()) {
    case QLocale::Russian: return UiLanguage::Russian;
    case QLocale::Ukrainian: return UiLanguage::Ukrainian;
    default: return UiLanguage::English;
    }
}

QString languageOwnName(UiLanguage language)
{
    switch (language) {
    case UiLanguage::Russian: return QStringLiteral("Русский");
    case UiLanguage::Ukrainian: return QStringLiteral("Українська");
    case UiLanguage::English: break;
    }
    return QStringLiteral("English");
}

} // namespace kav
