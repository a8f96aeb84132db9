#include "store/Codec.h"

#include <algorithm>

namespace qlt {

namespace {

constexpr std::uint8_t kFlagCompressed = 0;
constexpr std::uint8_t kFlagStored = 1;
constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kMaxCopy = 16;
constexpr std::size_t kMaxOffset = 4095;
constexpr std::size_t kHashSize = 4096;
constexpr std::size_t kItemsPerGroup = 16;
constexpr std::size_t kExpansionLimit = 8;
constexpr std::size_t kNoPosition = SIZE_MAX;

Bytes storedForm(std::span<const std::uint8_t> input) {
    Bytes out(kHeaderSize + input.size(), 0);
    out[0] = kFlagStored;
    std::copy(input.begin(), input.end(), out.begin() + kHeaderSize);
    return out;
}

std::size_t hashAt(const std::uint8_t* p) {
    const std::uint32_t mixed = ((static_cast<std::uint32_t>(p[0]) << 4 ^ p[1]) << 4) ^ p[2];
    return ((40543u * mixed) >> 4) & 0xFFF;
}

// The writer's state: output, the open group's control word and item count.
class GroupWriter {
  public:
    explicit GroupWriter(std::size_t inputSize) {
        m_out.reserve(inputSize + 36);
        m_out.assign(kHeaderSize, 0);
        m_out[0] = kFlagCompressed;
        reserveControl();
    }

    void literal(std::uint8_t b) {
        pushBit(0);
        m_out.push_back(b);
        closeFullGroup();
    }

    void copy(std::size_t length, std::size_t offset) {
        pushBit(1);
        m_out.push_back(static_cast<std::uint8_t>(((offset & 0xF00) >> 4) | (length - 1)));
        m_out.push_back(static_cast<std::uint8_t>(offset & 0xFF));
        closeFullGroup();
    }

    std::size_t size() const { return m_out.size(); }

    Bytes finish() {
        if (m_items == 0) {
            m_out.resize(m_controlPos);
        } else {
            m_control >>= (kItemsPerGroup - m_items);
            writeControl();
        }
        return std::move(m_out);
    }

  private:
    void reserveControl() {
        m_controlPos = m_out.size();
        m_out.push_back(0);
        m_out.push_back(0);
        m_control = 0;
        m_items = 0;
    }

    void pushBit(unsigned bit) {
        m_control = static_cast<std::uint16_t>((m_control >> 1) | (bit << 15));
        ++m_items;
    }

    void writeControl() {
        m_out[m_controlPos] = static_cast<std::uint8_t>(m_control & 0xFF);
        m_out[m_controlPos + 1] = static_cast<std::uint8_t>(m_control >> 8);
    }

    void closeFullGroup() {
        if (m_items == kItemsPerGroup) {
            writeControl();
            reserveControl();
        }
    }

    Bytes m_out;
    std::size_t m_controlPos = 0;
    std::uint16_t m_control = 0;
    std::size_t m_items = 0;
};

// Length of the match at p against q, known to agree in their first 3 bytes.
std::size_t matchLength(const std::uint8_t* p, const std::uint8_t* q) {
    std::size_t len = 3;
    while (len < kMaxCopy && p[len] == q[len]) ++len;
    return len;
}

}  // namespace

Bytes Codec::compress(std::span<const std::uint8_t> input) {
    const std::size_t n = input.size();
    const std::uint8_t* in = input.data();
    std::vector<std::size_t> table(kHashSize, kNoPosition);
    GroupWriter out(n);
    std::size_t p = 0;

    // The size check runs before the end of input is noticed, as in the
    // format's other writers: an empty input, and a block that outgrows the
    // input with its last item, take the stored form.
    for (;;) {
        if (out.size() > n) return storedForm(input);
        if (p == n) break;
        // Within 256 bytes of the end the size check runs after every item.
        const std::size_t itemsThisPass = (n - p < 256) ? 1 : kItemsPerGroup;
        for (std::size_t item = 0; item < itemsThisPass && p < n; ++item) {
            if (n - p < kMaxCopy) {
                out.literal(in[p++]);
                continue;
            }
            const std::size_t h = hashAt(in + p);
            const std::size_t q = table[h];
            table[h] = p;
            if (q == kNoPosition || p - q == 0 || p - q > kMaxOffset ||
                !std::equal(in + q, in + q + 3, in + p)) {
                out.literal(in[p++]);
                continue;
            }
            const std::size_t len = matchLength(in + p, in + q);
            out.copy(len, p - q);
            p += len;
        }
    }
    return out.finish();
}

std::optional<Bytes> Codec::decompress(std::span<const std::uint8_t> block) {
    if (block.size() < kHeaderSize) return std::nullopt;
    if (block[0] == kFlagStored) return Bytes(block.begin() + kHeaderSize, block.end());
    if (block[0] != kFlagCompressed) return std::nullopt;

    const std::size_t limit = block.size() * kExpansionLimit;
    Bytes out;
    out.reserve(std::min<std::size_t>(limit, block.size() * 3));
    std::size_t pos = kHeaderSize;
    std::uint16_t control = 0;
    std::size_t bitsLeft = 0;

    while (pos < block.size()) {
        if (bitsLeft == 0) {
            if (block.size() - pos < 2) return std::nullopt;
            control = static_cast<std::uint16_t>(block[pos] | (block[pos + 1] << 8));
            pos += 2;
            bitsLeft = kItemsPerGroup;
            // The block may end right after a control word: a group of no items.
            continue;
        }
        if (control & 1) {
            if (block.size() - pos < 2) return std::nullopt;
            const std::size_t length = (block[pos] & 0x0F) + 1u;
            const std::size_t offset = (static_cast<std::size_t>(block[pos] & 0xF0) << 4) | block[pos + 1];
            pos += 2;
            if (length < 3 || offset == 0 || offset > out.size() || out.size() + length > limit)
                return std::nullopt;
            std::size_t from = out.size() - offset;
            for (std::size_t k = 0; k < length; ++k) out.push_back(out[from++]);
        } else {
            if (out.size() + 1 > limit) return std::nullopt;
            out.push_back(block[pos++]);
        }
        control >>= 1;
        --bitsLeft;
    }
    return out;
}

void scramble(std::span<std::uint8_t> data) {
    std::uint8_t key = kScrambleStart;
    for (auto& b : data) {
        ++key;
        b ^= key;
    }
}

Bytes encodeStored(std::span<const std::uint8_t> plain) {
    Bytes block = Codec::compress(plain);
    scramble(block);
    return block;
}

std::optional<Bytes> decodeStored(std::span<const std::uint8_t> stored) {
    Bytes block(stored.begin(), stored.end());
    scramble(block);
    return Codec::decompress(block);
}

}  // namespace qlt
