#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

#include "base/BoundedText.h"
#include "store/Codec.h"

namespace qlt {

// Writes the stored form of fixed-layout records: integers little-endian,
// each text zero-terminated inside its field and the rest of the field zero.
class FieldWriter {
  public:
    explicit FieldWriter(Bytes& out) : m_out(out) {}

    template <std::size_t N>
    void text(const BoundedText<N>& value) {
        m_out.insert(m_out.end(), value.view().begin(), value.view().end());
        m_out.insert(m_out.end(), N - value.size(), 0);
    }

    template <class T>
    void number(T value) {
        auto bits = static_cast<std::make_unsigned_t<T>>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            m_out.push_back(static_cast<std::uint8_t>(bits & 0xFF));
            bits = static_cast<std::make_unsigned_t<T>>(bits >> 8);
        }
    }

    template <std::size_t N>
    void bytes(const std::array<std::uint8_t, N>& value) {
        m_out.insert(m_out.end(), value.begin(), value.end());
    }

    void reserved(std::size_t count) { m_out.insert(m_out.end(), count, 0); }

  private:
    Bytes& m_out;
};

// Reads what FieldWriter writes. The caller hands over exactly the record's
// bytes; a text field without a zero byte ends at its width (and is cut to
// what the field can hold).
class FieldReader {
  public:
    explicit FieldReader(std::span<const std::uint8_t> in) : m_in(in) {}

    template <std::size_t N>
    void text(BoundedText<N>& value) {
        const auto field = take(N);
        const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
        value = std::string_view(reinterpret_cast<const char*>(field.data()),
                                 static_cast<std::size_t>(end - field.begin()));
    }

    template <class T>
    void number(T& value) {
        const auto field = take(sizeof(T));
        std::make_unsigned_t<T> bits = 0;
        for (std::size_t i = sizeof(T); i-- > 0;) {
            bits = static_cast<std::make_unsigned_t<T>>((bits << 8) | field[i]);
        }
        value = static_cast<T>(bits);
    }

    template <std::size_t N>
    void bytes(std::array<std::uint8_t, N>& value) {
        const auto field = take(N);
        std::copy(field.begin(), field.end(), value.begin());
    }

    void reserved(std::size_t count) { take(count); }

  private:
    std::span<const std::uint8_t> take(std::size_t count) {
        const auto field = m_in.subspan(m_pos, count);
        m_pos += count;
        return field;
    }

    std::span<const std::uint8_t> m_in;
    std::size_t m_pos = 0;
};

}  // namespace qlt
