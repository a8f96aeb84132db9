#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace qlt {

// How long a RIFF/WAVE file plays, in milliseconds, read from its first bytes
// (header and chunk list; the sample data need not be there) and the file's
// whole size. A data chunk that claims more than the file holds (a recording
// cut short, a stream header) counts only what is there. Nullopt when the
// bytes are no WAVE file with a usable format and a data chunk.
std::optional<std::uint64_t> wavDurationMs(std::span<const std::uint8_t> head, std::uint64_t fileSize);

}  // namespace qlt
