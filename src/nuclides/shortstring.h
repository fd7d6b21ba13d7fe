#pragma once

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kav {

// A length-prefixed string of at most N single-byte characters, stored inline as files and
// nodes hold names; longer texts are cut.
template <int N> class ShortString {
public:
    ShortString() = default;
    ShortString(std::string_view text) { assign(text); }
    ShortString(const char* text) { assign(text); }
    explicit ShortString(QStringView text) { assign(text.toLatin1().toStdString()); }

    int size() const { return FLength; }
    bool empty() const { return FLength == 0; }
    char operator[](int i) const { return FChars[i]; }
    char back() const { return FLength ? FChars[FLength - 1] : '\0'; }
    std::string_view view() const { return {FChars, FLength}; }
    QString toString() const { return QString::fromLatin1(FChars, FLength); }

    friend bool operator==(const ShortString& a, const ShortString& b) { return a.view() == b.view(); }

private:
    void assign(std::string_view text)
    {
        FLength = static_cast<std::uint8_t>(std::min<std::size_t>(text.size(), N));
        std::memset(FChars, 0, N);
        std::memcpy(FChars, text.data(), FLength);
    }

    std::uint8_t FLength = 0;
    char FChars[N] = {};
};

using MassText = ShortString<4>;
using NuclideName = ShortString<7>;

} // namespace kav
