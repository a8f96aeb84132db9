#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace qlt {

// Text of a fixed-capacity record field: a field of capacity N holds at most
// N - 1 characters (the stored form keeps a terminating zero). Longer text is
// cut on assignment, and text ends at its first NUL byte, as it would in the
// zero-terminated field. The characters live on the heap, so a record of many
// such fields costs only what its texts really hold.
template <std::size_t N>
class BoundedText {
    static_assert(N >= 1);

  public:
    static constexpr std::size_t capacity = N;
    static constexpr std::size_t maxLength = N - 1;

    BoundedText() = default;
    BoundedText(std::string_view text) { assign(text); }  // NOLINT: implicit by design

    BoundedText& operator=(std::string_view text) {
        assign(text);
        return *this;
    }

    void assign(std::string_view text) {
        text = text.substr(0, std::min(text.find('\0'), maxLength));
        m_text.assign(text);
    }

    const std::string& str() const { return m_text; }
    std::string_view view() const { return m_text; }
    const char* c_str() const { return m_text.c_str(); }
    std::size_t size() const { return m_text.size(); }
    bool empty() const { return m_text.empty(); }
    void clear() { m_text.clear(); }
    void shrink() { m_text.shrink_to_fit(); }

    operator std::string_view() const { return m_text; }  // NOLINT: implicit by design
    friend bool operator==(const BoundedText& a, const BoundedText& b) = default;
    friend bool operator==(const BoundedText& a, std::string_view b) { return a.view() == b; }

  private:
    std::string m_text;
};

}  // namespace qlt
