#include "base/language.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace kav {
namespace {

// What a settings file keeps for each language and what a locale gives: the three languages
// have codes of their own both ways, anything else is none (a code) or English (a locale).
TEST(LanguageTest, CodesAndLocales)
{
    struct Case {
        UiLanguage language;
        const char* code;
        QLocale::Language locale;
        const char* ownName;
    } cases[] = {{UiLanguage::English, "en", QLocale::English, "English"},
                 {UiLanguage::Russian, "ru", QLocale::Russian, "Русский"},
                 {UiLanguage::Ukrainian, "uk", QLocale::Ukrainian, "Українська"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(languageCode(c.language), QLatin1String(c.code));
        EXPECT_EQ(languageOfCode(QString::fromLatin1(c.code)), c.language);
        EXPECT_EQ(languageOfCode(QString::fromLatin1(c.code).toUpper() + u' '), c.language);
        EXPECT_EQ(languageOfLocale(QLocale(c.locale)), c.language);
        EXPECT_EQ(languageOwnName(c.language), QString::fromUtf8(c.ownName));
    }
    for (const char* other : {"", "de", "e", "english", "ua"})
        EXPECT_EQ(languageOfCode(QString::fromLatin1(other)), std::nullopt) << other;
    EXPECT_EQ(languageOfLocale(QLocale(QLocale::Belarusian)), UiLanguage::English);
    EXPECT_EQ(languageOfLocale(QLocale::c()), UiLanguage::English);
}

} // namespace
} // namespace kav
