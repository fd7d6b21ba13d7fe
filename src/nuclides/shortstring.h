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

    int size() const { return m_length; }
    bool empty() const { return m_length == 0; }
    char operator[](int i) const { return m_chars[i]; }
    char back() const { return m_length ? m_chars[m_length - 1] : '\0'; }
    std::string_view view() const { return {m_chars, m_length}; }
    QString toString() const { return QString::fromLatin1(m_chars, m_length); }

    friend bool operator==(const ShortString& a, const ShortString& b) { return a.view() == b.view(); }

private:
    void assign(std::string_view text)
    {
        m_length = static_cast<std::uint8_t>(std::min<std::size_t>(text.size(), N));
        std::memset(m_chars, 0, N);
        std::memcpy(m_chars, text.data(), m_length);
    }

    std::uint8_t m_length = 0;
    char m_chars[N] = {};
};

using MassText = ShortString<4>;
using NuclideName = ShortString<7>;

} // namespace kav
