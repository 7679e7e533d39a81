#include "core/png_decode.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace quillory {

namespace {

// ---- Deflate (RFC 1951) ------------------------------------------------------

constexpr int kMaxCodeBits = 15;
constexpr int kLiteralCodes = 288;
constexpr int kDistanceCodes = 30;
constexpr int kEndOfBlock = 256;

// Bits in the order deflate packs them: from each byte's lowest bit up.
class BitReader {
public:
    BitReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    // The next `count` bits (at most 16) as a number; -1 once the input has run out.
    int Bits(int count) {
        std::uint32_t value = held_;
        while (held_count_ < count) {
            if (at_ == size_) return -1;
            value |= static_cast<std::uint32_t>(data_[at_++]) << held_count_;
            held_count_ += 8;
        }
        held_ = value >> count;
        held_count_ -= count;
        return static_cast<int>(value & ((1u << count) - 1));
    }

    // Drops what is left of the current byte; the whole bytes after it follow.
    void AlignToByte() { held_ = held_count_ = 0; }
    bool TakeBytes(std::size_t count, const unsigned char*& bytes) {
        if (count > size_ - at_) return false;
        bytes = data_ + at_;
        at_ += count;
        return true;
    }

private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    std::uint32_t held_ = 0;
    int held_count_ = 0;
};

// A canonical Huffman code: how many codes each length has, and the symbols
// in code order.
struct HuffmanCode {
    std::array<std::uint16_t, kMaxCodeBits + 1> Count{};
    std::array<std::uint16_t, kLiteralCodes> Symbol{};
};

// False when the lengths ask for more codes than the bits allow. A code with
// unused bit patterns is kept: reading one of them fails in Decode.
bool BuildCode(HuffmanCode& code, const std::uint8_t* lengths, int symbols) {
    code.Count.fill(0);
    for (int symbol = 0; symbol < symbols; ++symbol) ++code.Count[lengths[symbol]];
    int left = 1;
    for (int length = 1; length <= kMaxCodeBits; ++length) {
        left = 2 * left - code.Count[length];
        if (left < 0) return false;
    }
    std::array<std::uint16_t, kMaxCodeBits + 1> next{};
    for (int length = 1; length < kMaxCodeBits; ++length)
        next[length + 1] = static_cast<std::uint16_t>(next[length] + code.Count[length]);
    for (int symbol = 0; symbol < symbols; ++symbol)
        if (lengths[symbol] != 0) code.Symbol[next[lengths[symbol]]++] = static_cast<std::uint16_t>(symbol);
    return true;
}

// One symbol, read a bit at a time: codes of one length are consecutive
// numbers, so the first `count` numbers past `first` are that length's.
int Decode(BitReader& in, const HuffmanCode& code) {
    int value = 0, first = 0, index = 0;
    for (int length = 1; length <= kMaxCodeBits; ++length) {
        const int bit = in.Bits(1);
        if (bit < 0) return -1;
        value |= bit;
        const int count = code.Count[length];
        if (value - first < count) return code.Symbol[index + value - first];
        index += count;
        first = (first + count) << 1;
        value <<= 1;
    }
    return -1;
}

constexpr std::array<std::uint16_t, 29> kLengthBase{3,  4,  5,  6,  7,  8,  9,  10, 11, 13,
                                                    15, 17, 19, 23, 27, 31, 35, 43, 51, 59,
                                                    67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtraBits{0, 0, 0, 0, 0, 0, 0, 0, 1, 1,
                                                        1, 1, 2, 2, 2, 2, 3, 3, 3, 3,
                                                        4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, kDistanceCodes> kDistanceBase{
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, kDistanceCodes> kDistanceExtraBits{
    0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// A compressed block's symbols up to its end: literal bytes, and copies of
// what came before.
bool InflateCodes(BitReader& in, const HuffmanCode& literals, const HuffmanCode& distances,
                  std::size_t limit, std::vector<unsigned char>& out) {
    for (;;) {
        int symbol = Decode(in, literals);
        if (symbol < 0) return false;
        if (symbol == kEndOfBlock) return true;
        if (symbol < kEndOfBlock) {
            if (out.size() >= limit) return false;
            out.push_back(static_cast<unsigned char>(symbol));
            continue;
        }
        symbol -= kEndOfBlock + 1;
        if (symbol >= static_cast<int>(kLengthBase.size())) return false;
        const int lengthExtra = in.Bits(kLengthExtraBits[symbol]);
        const int distanceSymbol = lengthExtra < 0 ? -1 : Decode(in, distances);
        if (distanceSymbol < 0 || distanceSymbol >= kDistanceCodes) return false;
        const int distanceExtra = in.Bits(kDistanceExtraBits[distanceSymbol]);
        if (distanceExtra < 0) return false;
        const std::size_t length = kLengthBase[symbol] + static_cast<std::size_t>(lengthExtra);
        const std::size_t distance =
            kDistanceBase[distanceSymbol] + static_cast<std::size_t>(distanceExtra);
        if (distance > out.size() || length > limit - out.size()) return false;
        for (std::size_t from = out.size() - distance, end = from + length; from < end; ++from) {
            const unsigned char byte = out[from];
            out.push_back(byte);
        }
    }
}

bool InflateStored(BitReader& in, std::size_t limit, std::vector<unsigned char>& out) {
    in.AlignToByte();
    const unsigned char* header = nullptr;
    if (!in.TakeBytes(4, header)) return false;
    const unsigned length = header[0] | header[1] << 8;
    if (static_cast<unsigned>(header[2] | header[3] << 8) != (~length & 0xFFFFu)) return false;
    const unsigned char* bytes = nullptr;
    if (length > limit - out.size() || !in.TakeBytes(length, bytes)) return false;
    out.insert(out.end(), bytes, bytes + length);
    return true;
}

bool InflateFixed(BitReader& in, std::size_t limit, std::vector<unsigned char>& out) {
    std::array<std::uint8_t, kLiteralCodes> lengths{};
    for (int symbol = 0; symbol < kLiteralCodes; ++symbol)
        lengths[symbol] = symbol < 144 ? 8 : symbol < 256 ? 9 : symbol < 280 ? 7 : 8;
    std::array<std::uint8_t, kDistanceCodes> distanceLengths;
    distanceLengths.fill(5);
    HuffmanCode literals, distances;
    BuildCode(literals, lengths.data(), kLiteralCodes);
    BuildCode(distances, distanceLengths.data(), kDistanceCodes);
    return InflateCodes(in, literals, distances, limit, out);
}

// The block's own codes come first, themselves Huffman coded.
bool InflateDynamic(BitReader& in, std::size_t limit, std::vector<unsigned char>& out) {
    const int literalBits = in.Bits(5), distanceBits = in.Bits(5), lengthCodeBits = in.Bits(4);
    if (literalBits < 0 || distanceBits < 0 || lengthCodeBits < 0) return false;
    const int literalCount = literalBits + 257;
    const int distanceCount = distanceBits + 1;
    const int lengthCodeCount = lengthCodeBits + 4;
    if (literalCount > 286 || distanceCount > kDistanceCodes) return false;

    constexpr std::array<std::uint8_t, 19> kLengthCodeOrder{16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                            11, 4,  12, 3, 13, 2, 14, 1, 15};
    std::array<std::uint8_t, 286 + kDistanceCodes> lengths{};
    for (int i = 0; i < lengthCodeCount; ++i) {
        const int length = in.Bits(3);
        if (length < 0) return false;
        lengths[kLengthCodeOrder[i]] = static_cast<std::uint8_t>(length);
    }
    HuffmanCode lengthCode;
    if (!BuildCode(lengthCode, lengths.data(), 19)) return false;

    const int total = literalCount + distanceCount;
    for (int index = 0; index < total;) {
        const int symbol = Decode(in, lengthCode);
        if (symbol < 0) return false;
        if (symbol < 16) {
            lengths[index++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        // 16 repeats the length before, 3-6 times; 17 and 18 give runs of zeros.
        if (symbol == 16 && index == 0) return false;
        const std::uint8_t repeated = symbol == 16 ? lengths[index - 1] : 0;
        const int extra = in.Bits(symbol == 16 ? 2 : symbol == 17 ? 3 : 7);
        if (extra < 0) return false;
        const int repeat = (symbol == 18 ? 11 : 3) + extra;
        if (repeat > total - index) return false;
        for (int i = 0; i < repeat; ++i) lengths[index++] = repeated;
    }
    if (lengths[kEndOfBlock] == 0) return false;

    HuffmanCode literals, distances;
    if (!BuildCode(literals, lengths.data(), literalCount) ||
        !BuildCode(distances, lengths.data() + literalCount, distanceCount))
        return false;
    return InflateCodes(in, literals, distances, limit, out);
}

std::uint32_t ReadBigEndian32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

std::uint32_t Adler32(const std::vector<unsigned char>& data) {
    constexpr std::uint32_t kModulus = 65521;
    std::uint32_t low = 1, high = 0;
    for (unsigned char byte : data) {
        low = (low + byte) % kModulus;
        high = (high + low) % kModulus;
    }
    return high << 16 | low;
}

// ---- PNG ---------------------------------------------------------------------

std::uint32_t Crc32(const unsigned char* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

int Paeth(int left, int up, int upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = estimate > left ? estimate - left : left - estimate;
    const int toUp = estimate > up ? estimate - up : up - estimate;
    const int toUpLeft = estimate > upLeft ? estimate - upLeft : upLeft - estimate;
    if (toLeft <= toUp && toLeft <= toUpLeft) return left;
    return toUp <= toUpLeft ? up : upLeft;
}

// Undoes each row's filter in place; `rows` holds a filter byte before each row.
bool Unfilter(std::vector<unsigned char>& rows, std::size_t stride, int height, int pixelBytes) {
    const unsigned char* previous = nullptr;
    for (int y = 0; y < height; ++y) {
        unsigned char* row = rows.data() + y * (stride + 1);
        const int filter = row[0];
        ++row;
        for (std::size_t i = 0; i < stride; ++i) {
            const int left = i >= static_cast<std::size_t>(pixelBytes) ? row[i - pixelBytes] : 0;
            const int up = previous ? previous[i] : 0;
            const int upLeft =
                previous && i >= static_cast<std::size_t>(pixelBytes) ? previous[i - pixelBytes] : 0;
            int predicted = 0;
            switch (filter) {
                case 0: predicted = 0; break;
                case 1: predicted = left; break;
                case 2: predicted = up; break;
                case 3: predicted = (left + up) / 2; break;
                case 4: predicted = Paeth(left, up, upLeft); break;
                default: return false;
            }
            row[i] = static_cast<unsigned char>(row[i] + predicted);
        }
        previous = row;
    }
    return true;
}

}  // namespace

bool InflateZlib(const unsigned char* data, std::size_t size, std::size_t limit,
                 std::vector<unsigned char>& out) {
    out.clear();
    // Deflate, a window of at most 32 KB, no preset dictionary, a checked header.
    constexpr int kDeflate = 8, kPresetDictionary = 0x20;
    if (size < 2 || (data[0] & 0x0F) != kDeflate || data[0] >> 4 > 7 ||
        (data[1] & kPresetDictionary) != 0 || (data[0] << 8 | data[1]) % 31 != 0)
        return false;
    BitReader in(data + 2, size - 2);
    for (int last = 0; last == 0;) {
        last = in.Bits(1);
        const int type = in.Bits(2);
        bool read = false;
        switch (type) {
            case 0: read = InflateStored(in, limit, out); break;
            case 1: read = InflateFixed(in, limit, out); break;
            case 2: read = InflateDynamic(in, limit, out); break;
            default: read = false; break;
        }
        if (last < 0 || !read) return false;
    }
    in.AlignToByte();
    const unsigned char* checksum = nullptr;
    return in.TakeBytes(4, checksum) && ReadBigEndian32(checksum) == Adler32(out);
}

bool DecodePng(const unsigned char* data, std::size_t size, PngPicture& picture) {
    picture = {};
    constexpr unsigned char kSignature[8] = {137, 'P', 'N', 'G', '\r', '\n', 26, '\n'};
    constexpr std::uint32_t kMaxSide = 4096;
    constexpr int kTrueColour = 2, kPixelBytes = 3;
    if (size < sizeof kSignature || !std::equal(kSignature, kSignature + 8, data)) return false;

    int width = 0, height = 0;
    std::vector<unsigned char> compressed;
    bool ended = false;
    for (std::size_t at = sizeof kSignature; !ended;) {
        if (size - at < 12) return false;
        const std::uint32_t length = ReadBigEndian32(data + at);
        if (length > size - at - 12) return false;
        const unsigned char* type = data + at + 4;
        const unsigned char* body = type + 4;
        if (ReadBigEndian32(body + length) != Crc32(type, length + 4)) return false;
        at += length + 12;
        const std::string_view name(reinterpret_cast<const char*>(type), 4);
        if (name == "IHDR") {
            // 8 bits a channel, RGB, deflate, the one filter set, no interlace.
            if (length != 13 || width != 0 || body[8] != 8 || body[9] != kTrueColour ||
                body[10] != 0 || body[11] != 0 || body[12] != 0)
                return false;
            const std::uint32_t w = ReadBigEndian32(body), h = ReadBigEndian32(body + 4);
            if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) return false;
            width = static_cast<int>(w);
            height = static_cast<int>(h);
        } else if (width == 0) {
            return false;  // IHDR comes first
        } else if (name == "IDAT") {
            compressed.insert(compressed.end(), body, body + length);
        } else if (name == "IEND") {
            ended = true;
        } else if ((type[0] & 0x20) == 0 && name != "PLTE") {
            return false;  // a critical chunk we cannot read
        }
    }

    const std::size_t stride = static_cast<std::size_t>(width) * kPixelBytes;
    const std::size_t rawSize = (stride + 1) * static_cast<std::size_t>(height);
    std::vector<unsigned char> rows;
    rows.reserve(rawSize);
    if (!InflateZlib(compressed.data(), compressed.size(), rawSize, rows) ||
        rows.size() != rawSize || !Unfilter(rows, stride, height, kPixelBytes))
        return false;

    picture.Width = width;
    picture.Height = height;
    picture.Pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = rows.data() + y * (stride + 1) + 1;
        for (int x = 0; x < width; ++x, row += kPixelBytes)
            picture.Pixels[static_cast<std::size_t>(y) * width + x] =
                static_cast<std::uint32_t>(row[0]) << 16 | static_cast<std::uint32_t>(row[1]) << 8 |
                row[2];
    }
    return true;
}

}  // namespace quillory
