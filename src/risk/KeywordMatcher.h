#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qlt {

// Finds many keywords in one pass over a text (an Aho-Corasick automaton), ASCII
// letters compared without regard to case. Rating a message looks for a few
// hundred keywords in each of its texts; one pass keeps that linear in the
// text's length whatever the number of keywords.
class KeywordMatcher {
  public:
    static constexpr std::size_t kNever = SIZE_MAX;

    // The key under which findAll reports the needle; equal needles (ignoring
    // case) share a key. An empty needle gets kNever: it never matches. Adding
    // discards a finished automaton until finish() is called again.
    std::size_t add(std::string_view needle);
    void finish();

    std::size_t keyCount() const { return m_needles.size(); }

    // hits[key] becomes 1 for every needle occurring in the text, 0 for the
    // others. Call after finish().
    void findAll(std::string_view text, std::vector<std::uint8_t>& hits) const;

    static bool hit(const std::vector<std::uint8_t>& hits, std::size_t key) {
        return key != kNever && hits[key];
    }

  private:
    void assignClasses();
    void buildTrie();
    void linkFailures();
    void report(std::uint32_t row, std::vector<std::uint8_t>& hits) const;
    std::uint32_t step(std::uint32_t row, char c, std::vector<std::uint8_t>& hits) const;

    std::vector<std::string> m_needles;  // folded to lower case
    std::unordered_map<std::string, std::size_t> m_keys;

    // Byte -> column of the transition table; 0 for bytes in no needle.
    std::array<std::uint8_t, 256> m_class{};
    std::uint32_t m_columns = 1;
    std::size_t m_longest = 0;
    // Row offsets (state x m_columns) of the next state, with kOutputFlag set
    // where the next state ends some needle.
    std::vector<std::uint32_t> m_next;
    std::vector<std::int32_t> m_keyAt;       // per state: needle ending here, or -1
    std::vector<std::int32_t> m_outputLink;  // per state: nearest shorter suffix ending a needle, or -1
    bool m_finished = false;
};

}  // namespace qlt
