#include "view/png_mark.hpp"

#include <array>
#include <cstdint>

namespace qv {

namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
constexpr std::size_t kHeaderEnd = 8 + 4 + 4 + 13 + 4;  // signature, IHDR length, type, data, CRC

std::array<std::uint32_t, 256> crc_table() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

std::uint32_t big_endian(std::string_view s, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t k = 0; k < 4; ++k) v = (v << 8) | static_cast<unsigned char>(s[at + k]);
  return v;
}

void append_big_endian(std::string& s, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xFF);
}

bool is_png(std::string_view png) {
  return png.size() >= kHeaderEnd && png.substr(0, 8) == kSignature &&
         big_endian(png, 8) == 13 && png.substr(12, 4) == "IHDR";
}

}  // namespace

PngSize png_size(std::string_view png) {
  if (!is_png(png)) return {};
  return {static_cast<long>(big_endian(png, 16)), static_cast<long>(big_endian(png, 20))};
}

unsigned long png_crc(std::string_view bytes) {
  static const std::array<std::uint32_t, 256> table = crc_table();
  std::uint32_t c = 0xFFFFFFFFu;
  for (const char b : bytes) c = table[(c ^ static_cast<unsigned char>(b)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::string with_text_chunk(std::string_view png, std::string_view text) {
  if (!is_png(png)) return {};
  std::string chunk = "tEXtSoftware";
  chunk += '\0';
  chunk += text;
  std::string out(png.substr(0, kHeaderEnd));
  append_big_endian(out, static_cast<std::uint32_t>(chunk.size() - 4));
  out += chunk;
  append_big_endian(out, static_cast<std::uint32_t>(png_crc(chunk)));
  out += png.substr(kHeaderEnd);
  return out;
}

}  // namespace qv
