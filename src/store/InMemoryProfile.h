#pragma once

#include <string>
#include <variant>
#include <vector>

#include "store/Profile.h"

namespace qlt {

// A profile held in memory, for tests and the command line. Values keep the
// order in which their names were first written, as a registry key lists them.
class InMemoryProfile final : public Profile {
  public:
    using Value = std::variant<std::int32_t, std::string, Bytes>;

    std::optional<std::int32_t> readInt(std::string_view name) const override;
    std::optional<std::string> readText(std::string_view name) const override;
    std::optional<Bytes> readBinary(std::string_view name) const override;

    bool writeInt(std::string_view name, std::int32_t value) override;
    bool writeText(std::string_view name, std::string_view value) override;
    bool writeBinary(std::string_view name, std::span<const std::uint8_t> value) override;
    bool commit() override { return true; }
    bool update(const std::function<bool(Profile&)>& edit) override { return edit(*this) && commit(); }
    bool backUp() override;
    std::string location() const override { return "the profile in memory"; }

    bool contains(std::string_view name) const override { return find(name) != nullptr; }
    void remove(std::string_view name);
    std::vector<std::string> names() const;
    // The copies backUp made, oldest first.
    const std::vector<InMemoryProfile>& backups() const { return m_backups; }

  private:
    struct Entry {
        std::string name;
        Value value;
    };

    std::size_t indexOf(std::string_view name) const;  // size() when missing
    const Value* find(std::string_view name) const;
    bool put(std::string_view name, Value value);

    template <class T>
    std::optional<T> read(std::string_view name) const {
        const Value* value = find(name);
        if (value == nullptr || !std::holds_alternative<T>(*value)) return std::nullopt;
        return std::get<T>(*value);
    }

    std::vector<Entry> m_entries;
    std::vector<InMemoryProfile> m_backups;
};

}  // namespace qlt
