#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace kav {

// The ordinal of an enumeration value, for indexing tables kept in the enumeration's order.
template <typename E> constexpr std::size_t ordinal(E value)
{
    static_assert(std::is_enum_v<E>);
    return static_cast<std::size_t>(value);
}

// A set over the ordinals of an enumeration, with bit i standing for ordinal i.
// Bits is the stored width (8, 16 or 32), so that the raw value matches the files that hold it.
template <typename E, int Bits> class EnumSet {
    static_assert(std::is_enum_v<E>);
    static_assert(Bits == 8 || Bits == 16 || Bits == 32 || Bits == 64);

public:
    using Raw = std::conditional_t<
        Bits == 8, std::uint8_t,
        std::conditional_t<Bits == 16, std::uint16_t, std::conditional_t<Bits == 32, std::uint32_t, std::uint64_t>>>;

    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> values)
    {
        for (E v : values)
            insert(v);
    }
    static constexpr EnumSet fromRaw(Raw raw)
    {
        EnumSet s;
        s.m_bits = raw;
        return s;
    }

    constexpr Raw raw() const { return m_bits; }
    constexpr bool empty() const { return m_bits == 0; }
    constexpr bool contains(E v) const
    {
        const int i = static_cast<int>(v);
        return i >= 0 && i < Bits && (m_bits >> i) & 1u;
    }
    constexpr void insert(E v)
    {
        const int i = static_cast<int>(v);
        if (i >= 0 && i < Bits)
            m_bits = static_cast<Raw>(m_bits | (Raw{1} << i));
    }
    constexpr void erase(E v)
    {
        const int i = static_cast<int>(v);
        if (i >= 0 && i < Bits)
            m_bits = static_cast<Raw>(m_bits & ~(Raw{1} << i));
    }
    // The member of lowest ordinal; only meaningful when the set is not empty.
    constexpr E lowest() const
    {
        for (int i = 0; i < Bits; ++i)
            if ((m_bits >> i) & 1u)
                return static_cast<E>(i);
        return static_cast<E>(0);
    }

    friend constexpr bool operator==(EnumSet a, EnumSet b) { return a.m_bits == b.m_bits; }

private:
    Raw m_bits = 0;
};

} // namespace kav
