#include "base/language.h"

#include <QLocale>

namespace kav {

QString LanguageCode(UiLanguage language)
{
    switch (language) {
    case l_Russian: return QStringLiteral("ru");
    case l_Ukrainian: return QStringLiteral("uk");
    case l_English: break;
    }
    return QStringLiteral("en");
}

std::optional<UiLanguage> LanguageOfCode(const QString& code)
{
    for (const UiLanguage language : {l_English, l_Russian, l_Ukrainian})
        if (code.trimmed().compare(LanguageCode(language), Qt::CaseInsensitive) == 0)
            return language;
    return std::nullopt;
}

UiLanguage LanguageOfLocale(const QLocale& locale)
{
    switch (locale.language()) {
    case QLocale::Russian: return l_Russian;
    case QLocale::Ukrainian: return l_Ukrainian;
    default: return l_English;
    }
}

QString LanguageOwnName(UiLanguage language)
{
    switch (language) {
    case l_Russian: return QStringLiteral("Русский");
    case l_Ukrainian: return QStringLiteral("Українська");
    case l_English: break;
    }
    return QStringLiteral("English");
}

} // namespace kav
