#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "store/Codec.h"

namespace qlt {

// The per-user profile: named integers, texts and binary values in the
// program's one section. A read yields nothing when the value is missing or
// cannot be read as the type asked for; writes report failure by result only.
class Profile {
  public:
    virtual ~Profile() = default;

    virtual std::optional<std::int32_t> readInt(std::string_view name) const = 0;
    virtual std::optional<std::string> readText(std::string_view name) const = 0;
    virtual std::optional<Bytes> readBinary(std::string_view name) const = 0;
    // True when the value exists, whether or not it reads as any type.
    virtual bool contains(std::string_view name) const = 0;

    virtual bool writeInt(std::string_view name, std::int32_t value) = 0;
    virtual bool writeText(std::string_view name, std::string_view value) = 0;
    virtual bool writeBinary(std::string_view name, std::span<const std::uint8_t> value) = 0;

    // Makes the writes so far durable; false when they could not be stored.
    virtual bool commit() = 0;

    // Re-reads the values as stored now, lets edit change them and commits,
    // while no other process can save the profile; false when edit declined
    // or the profile could not store the change.
    virtual bool update(const std::function<bool(Profile&)>& edit) = 0;

    // Copies the profile as it is stored now beside it, before something
    // that could not be read is written over; false when no copy was made.
    virtual bool backUp() = 0;

    // Where the profile is kept, for messages to the user.
    virtual std::string location() const = 0;
};

}  // namespace qlt
