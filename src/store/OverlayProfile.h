#pragma once

#include "store/InMemoryProfile.h"
#include "store/Profile.h"

namespace qlt {

// Reads through to the profile below and keeps its own writes in memory, so
// that nothing below changes: for a run that must write back only what it
// meant to change, and that by its own means.
class OverlayProfile final : public Profile {
  public:
    explicit OverlayProfile(const Profile& below) : m_below(below) {}

    std::optional<std::int32_t> readInt(std::string_view name) const override {
        return holder(name).readInt(name);
    }
    std::optional<std::string> readText(std::string_view name) const override {
        return holder(name).readText(name);
    }
    std::optional<Bytes> readBinary(std::string_view name) const override {
        return holder(name).readBinary(name);
    }
    bool contains(std::string_view name) const override {
        return m_writes.contains(name) || m_below.contains(name);
    }

    bool writeInt(std::string_view name, std::int32_t value) override {
        return m_writes.writeInt(name, value);
    }
    bool writeText(std::string_view name, std::string_view value) override {
        return m_writes.writeText(name, value);
    }
    bool writeBinary(std::string_view name, std::span<const std::uint8_t> value) override {
        return m_writes.writeBinary(name, value);
    }
    bool commit() override { return true; }
    bool update(const std::function<bool(Profile&)>& edit) override { return edit(*this); }
    // Nothing below is ever written over.
    bool backUp() override { return true; }
    std::string location() const override { return m_below.location(); }

  private:
    const Profile& holder(std::string_view name) const {
        return m_writes.contains(name) ? static_cast<const Profile&>(m_writes) : m_below;
    }

    const Profile& m_below;
    InMemoryProfile m_writes;
};

}  // namespace qlt
