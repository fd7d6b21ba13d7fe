#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class QLocale;

namespace kav {

// The languages the controls can speak: their captions, element names and messages.
enum class UiLanguage : std::uint8_t { English, Russian, Ukrainian };

// The two-letter code a settings file keeps for a language: "en", "ru", "uk"; and back, nothing
// for any other text.
QString languageCode(UiLanguage language);
std::optional<UiLanguage> languageOfCode(const QString& code);
// The language of a locale when it is one of the three; English otherwise.
UiLanguage languageOfLocale(const QLocale& locale);
// The language's name written in that language, as a list of languages shows it.
QString languageOwnName(UiLanguage language);

} // namespace kav
