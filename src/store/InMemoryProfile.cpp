#include "store/InMemoryProfile.h"

#include <algorithm>

namespace qlt {

std::optional<std::int32_t> InMemoryProfile::readInt(std::string_view name) const {
    return read<std::int32_t>(name);
}

std::optional<std::string> InMemoryProfile::readText(std::string_view name) const {
    return read<std::string>(name);
}

std::optional<Bytes> InMemoryProfile::readBinary(std::string_view name) const {
    return read<Bytes>(name);
}

bool InMemoryProfile::writeInt(std::string_view name, std::int32_t value) {
    return put(name, value);
}

bool InMemoryProfile::writeText(std::string_view name, std::string_view value) {
    return put(name, std::string(value));
}

bool InMemoryProfile::writeBinary(std::string_view name, std::span<const std::uint8_t> value) {
    return put(name, Bytes(value.begin(), value.end()));
}

bool InMemoryProfile::backUp() {
    InMemoryProfile copy;
    copy.m_entries = m_entries;
    m_backups.push_back(std::move(copy));
    return true;
}

void InMemoryProfile::remove(std::string_view name) {
    std::erase_if(m_entries, [name](const Entry& e) { return e.name == name; });
}

std::vector<std::string> InMemoryProfile::names() const {
    std::vector<std::string> out;
    for (const auto& entry : m_entries) out.push_back(entry.name);
    return out;
}

std::size_t InMemoryProfile::indexOf(std::string_view name) const {
    const auto it =
        std::find_if(m_entries.begin(), m_entries.end(), [name](const Entry& e) { return e.name == name; });
    return static_cast<std::size_t>(it - m_entries.begin());
}

const InMemoryProfile::Value* InMemoryProfile::find(std::string_view name) const {
    const std::size_t i = indexOf(name);
    return i < m_entries.size() ? &m_entries[i].value : nullptr;
}

bool InMemoryProfile::put(std::string_view name, Value value) {
    const std::size_t i = indexOf(name);
    if (i < m_entries.size()) {
        m_entries[i].value = std::move(value);
    } else {
        m_entries.push_back({std::string(name), std::move(value)});
    }
    return true;
}

}  // namespace qlt
