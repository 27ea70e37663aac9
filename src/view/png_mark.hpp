#pragma once
// A text chunk put into a PNG file right after its header chunk, so that the file names the
// program that made it within its first bytes.
#include <string>
#include <string_view>

namespace qv {

// Part of the chunk of every PNG picture we write; it tells our pictures from others.
inline constexpr std::string_view kPngMark = "quelvarin-plot NCI picture";

struct PngSize {
  long width = 0, height = 0;
};

// The width and height from the header chunk; zero when `png` is not a PNG file.
PngSize png_size(std::string_view png);

// CRC-32 of PNG chunks (the polynomial of zlib).
unsigned long png_crc(std::string_view bytes);

// `png` with a tEXt chunk "Software" = `text` after its header chunk; empty when `png` is not
// a PNG file.
std::string with_text_chunk(std::string_view png, std::string_view text);

}  // namespace qv
