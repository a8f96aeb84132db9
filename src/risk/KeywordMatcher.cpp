#include "risk/KeywordMatcher.h"

#include <algorithm>
#include <deque>

#include "base/AsciiText.h"

namespace qlt {

namespace {

constexpr std::uint32_t kOutputFlag = 0x80000000u;
constexpr std::uint32_t kNoChild = 0xFFFFFFFFu;
constexpr std::size_t kLanes = 4;
constexpr std::size_t kMinLaneLength = 128;

}  // namespace

std::size_t KeywordMatcher::add(std::string_view needle) {
    if (needle.empty()) return kNever;
    std::string folded(needle);
    for (char& c : folded) c = foldCase(c);
    const auto [it, added] = m_keys.try_emplace(folded, m_needles.size());
    if (added) {
        m_needles.push_back(std::move(folded));
        m_finished = false;
    }
    return it->second;
}

void KeywordMatcher::finish() {
    assignClasses();
    buildTrie();
    linkFailures();
    m_finished = true;
}

void KeywordMatcher::assignClasses() {
    m_class.fill(0);
    m_columns = 1;
    m_longest = 0;
    for (const auto& needle : m_needles) {
        m_longest = std::max(m_longest, needle.size());
        for (char c : needle) {
            auto& column = m_class[static_cast<std::uint8_t>(c)];
            if (column == 0) column = static_cast<std::uint8_t>(m_columns++);
        }
    }
    // Upper-case letters walk the same edges as their lower-case forms.
    for (int c = 'A'; c <= 'Z'; ++c)
        m_class[static_cast<std::size_t>(c)] = m_class[static_cast<std::size_t>(c - 'A' + 'a')];
}

void KeywordMatcher::buildTrie() {
    m_next.assign(m_columns, kNoChild);
    m_keyAt.assign(1, -1);
    for (std::size_t key = 0; key < m_needles.size(); ++key) {
        std::uint32_t state = 0;
        for (char c : m_needles[key]) {
            const std::size_t slot = state * m_columns + m_class[static_cast<std::uint8_t>(c)];
            if (m_next[slot] == kNoChild) {
                m_next[slot] = static_cast<std::uint32_t>(m_keyAt.size());
                m_keyAt.push_back(-1);
                m_next.resize(m_next.size() + m_columns, kNoChild);
            }
            state = m_next[slot];
        }
        m_keyAt[state] = static_cast<std::int32_t>(key);
    }
}

// Turns the trie into a complete automaton: a missing edge goes where the
// longest proper suffix would go. States are visited breadth-first, so a
// state's failure target is finished before the state itself. Edges are then
// stored as row offsets, flagged where the target ends a needle.
void KeywordMatcher::linkFailures() {
    const std::size_t states = m_keyAt.size();
    std::vector<std::uint32_t> failure(states, 0);
    m_outputLink.assign(states, -1);
    std::deque<std::uint32_t> queue;
    for (std::uint32_t c = 0; c < m_columns; ++c) {
        std::uint32_t& child = m_next[c];
        if (child == kNoChild) {
            child = 0;
        } else {
            queue.push_back(child);
        }
    }
    while (!queue.empty()) {
        const std::uint32_t state = queue.front();
        queue.pop_front();
        for (std::uint32_t c = 0; c < m_columns; ++c) {
            std::uint32_t& child = m_next[state * m_columns + c];
            const std::uint32_t viaFailure = m_next[failure[state] * m_columns + c];
            if (child == kNoChild) {
                child = viaFailure;
                continue;
            }
            failure[child] = viaFailure;
            m_outputLink[child] =
                m_keyAt[viaFailure] >= 0 ? static_cast<std::int32_t>(viaFailure) : m_outputLink[viaFailure];
            queue.push_back(child);
        }
    }
    for (auto& target : m_next) {
        const bool output = m_keyAt[target] >= 0 || m_outputLink[target] >= 0;
        target = target * m_columns | (output ? kOutputFlag : 0);
    }
}

void KeywordMatcher::report(std::uint32_t row, std::vector<std::uint8_t>& hits) const {
    std::int32_t state = static_cast<std::int32_t>(row / m_columns);
    if (m_keyAt[static_cast<std::size_t>(state)] < 0) state = m_outputLink[static_cast<std::size_t>(state)];
    while (state >= 0) {
        hits[static_cast<std::size_t>(m_keyAt[static_cast<std::size_t>(state)])] = 1;
        state = m_outputLink[static_cast<std::size_t>(state)];
    }
}

std::uint32_t KeywordMatcher::step(std::uint32_t row, char c, std::vector<std::uint8_t>& hits) const {
    row = m_next[row + m_class[static_cast<std::uint8_t>(c)]];
    if (row & kOutputFlag) {
        row &= ~kOutputFlag;
        report(row, hits);
    }
    return row;
}

// Each step of the walk waits for the table read of the step before. Walking
// a few stretches of the text side by side lets those reads overlap. A
// stretch starts early by the longest needle's length less one, so that every
// needle ending in it lies whole in it; a needle seen twice is still one hit.
void KeywordMatcher::findAll(std::string_view text, std::vector<std::uint8_t>& hits) const {
    hits.assign(m_needles.size(), 0);
    if (!m_finished || m_needles.empty()) return;
    const std::size_t lanes = std::clamp<std::size_t>(text.size() / kMinLaneLength, 1, kLanes);
    const std::size_t share = text.size() / lanes;
    std::array<const char*, kLanes> at{};
    std::array<const char*, kLanes> end{};
    std::array<std::uint32_t, kLanes> rows{};
    std::size_t common = text.size();
    for (std::size_t l = 0; l < lanes; ++l) {
        const std::size_t first = l * share;
        at[l] = text.data() + (first > m_longest ? first - (m_longest - 1) : 0);
        end[l] = text.data() + (l + 1 == lanes ? text.size() : first + share);
        common = std::min(common, static_cast<std::size_t>(end[l] - at[l]));
    }
    for (std::size_t i = 0; i < common; ++i) {
        for (std::size_t l = 0; l < lanes; ++l) rows[l] = step(rows[l], at[l][i], hits);
    }
    for (std::size_t l = 0; l < lanes; ++l) {
        for (const char* p = at[l] + common; p < end[l]; ++p) rows[l] = step(rows[l], *p, hits);
    }
}

}  // namespace qlt
