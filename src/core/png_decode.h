// PNG pictures, for the about picture: kept in the program as a PNG it is a
// third of its size as a 24-bit DIB (its thousands of colours rule out a
// palette one) and still exact to the pixel. The program's own pictures are
// 8-bit RGB or RGBA without interlacing; anything else, or anything broken,
// is refused rather than drawn wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillory {

struct PngPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;  // 0x00RRGGBB, top row first (a DIB section's layout)
};

// The data of a zlib stream (RFC 1950/1951), its Adler-32 checked; false for a
// stream that is broken, truncated or would unpack past `limit` bytes.
bool InflateZlib(const unsigned char* data, std::size_t size, std::size_t limit,
                 std::vector<unsigned char>& out);

// The picture of a PNG file; false (and `picture` empty) when it cannot be read.
bool DecodePng(const unsigned char* data, std::size_t size, PngPicture& picture);

}  // namespace quillory
