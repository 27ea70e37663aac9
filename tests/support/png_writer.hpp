#pragma once
// Writes a plain RGB PNG (deflate in stored blocks), for tests that need a picture file as a
// renderer would leave it.
#include <cstdint>
#include <string>

#include "view/png_mark.hpp"

namespace qv::testing {

namespace png_writer_detail {

inline void big_endian(std::string& s, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xFF);
}

inline void chunk(std::string& png, const std::string& type, const std::string& data) {
  big_endian(png, static_cast<std::uint32_t>(data.size()));
  png += type + data;
  big_endian(png, static_cast<std::uint32_t>(png_crc(type + data)));
}

}  // namespace png_writer_detail

// A width x height picture of one colour.
inline std::string solid_png(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  using namespace png_writer_detail;
  std::string raw;
  for (int y = 0; y < height; ++y) {
    raw += '\0';  // no filter
    for (int x = 0; x < width; ++x) raw += {static_cast<char>(r), static_cast<char>(g), static_cast<char>(b)};
  }
  std::string zlib = "\x78\x01";
  for (std::size_t at = 0; at < raw.size(); at += 65535) {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    zlib += static_cast<char>(at + n == raw.size() ? 1 : 0);
    zlib += {static_cast<char>(n & 0xFF), static_cast<char>(n >> 8),
             static_cast<char>(~n & 0xFF), static_cast<char>((~n >> 8) & 0xFF)};
    zlib += raw.substr(at, n);
  }
  std::uint32_t a = 1, b2 = 0;
  for (const char c : raw) {
    a = (a + static_cast<std::uint8_t>(c)) % 65521;
    b2 = (b2 + a) % 65521;
  }
  big_endian(zlib, (b2 << 16) | a);
  std::string header;
  big_endian(header, static_cast<std::uint32_t>(width));
  big_endian(header, static_cast<std::uint32_t>(height));
  header += {8, 2, 0, 0, 0};  // 8 bits, RGB, deflate, no filter choice, no interlace
  std::string png("\x89PNG\r\n\x1a\n", 8);
  chunk(png, "IHDR", header);
  chunk(png, "IDAT", zlib);
  chunk(png, "IEND", "");
  return png;
}

}  // namespace qv::testing
