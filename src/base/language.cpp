#include "base/language.h"

#include <QLocale>

namespace kav {

QString LanguageCode(UiLanguage language)
{
    switch (language) {
    case UiLanguage::Russian: return QStringLiteral("ru");
    case UiLanguage::Ukrainian: return QStringLiteral("uk");
    case UiLanguage::English: break;
    }
    return QStringLiteral("en");
}

std::optional<UiLanguage> LanguageOfCode(const QString& code)
{
    for (const UiLanguage language : {UiLanguage::English, UiLanguage::Russian, UiLanguage::Ukrainian})
        if (code.trimmed().compare(LanguageCode(language), Qt::CaseInsensitive) == 0)
            return language;
    return std::nullopt;
}

UiLanguage LanguageOfLocale(const QLocale& locale)
{
    switch (locale.language()) {
    case QLocale::Russian: return UiLanguage::Russian;
    case QLocale::Ukrainian: return UiLanguage::Ukrainian;
    default: return UiLanguage::English;
    }
}

QString LanguageOwnName(UiLanguage language)
{
    switch (language) {
    case UiLanguage::Russian: return QStringLiteral("Русский");
    case UiLanguage::Ukrainian: return QStringLiteral("Українська");
    case UiLanguage::English: break;
    }
    return QStringLiteral("English");
}

} // namespace kav
