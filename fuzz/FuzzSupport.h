#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/UiPort.h"
#include "risk/KeywordDictionary.h"

namespace qlt::fuzz {

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Every box is answered "OK"; the fuzzed code may complain as often as it likes.
class SilentUiPort final : public UiPort {
  public:
    BoxAnswer messageBox(const std::string&, const std::string&, BoxIcon, BoxButtons) override {
        return BoxAnswer::Ok;
    }
    void progress(int, long) override {}
    void pumpPaint() override {}
    void pumpMessages() override {}
};

// The path of a file in memory that now holds the bytes, so the loaders that
// read a file by name run unchanged without touching the disk. One file per
// process, rewritten at each call.
const std::string& fileHolding(const std::uint8_t* data, std::size_t size);

// The dictionary the program ships, loaded once per process.
const KeywordDictionary& shippedDictionary();

}  // namespace qlt::fuzz
