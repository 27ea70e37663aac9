// The mark put into our PNG pictures: CRC of the chunks, size from the header, and a picture
// that still decodes, with the mark within its first bytes.
#include <gtest/gtest.h>

#include <string>

#include "support/png_pixels.hpp"
#include "support/png_writer.hpp"
#include "view/png_mark.hpp"

namespace qv {
namespace {

TEST(PngMark, CrcOfKnownBytes) {
  EXPECT_EQ(png_crc("123456789"), 0xCBF43926ul);  // the check value of CRC-32
  EXPECT_EQ(png_crc(""), 0ul);
  EXPECT_EQ(png_crc("IEND"), 0xAE426082ul);  // as every PNG file ends
}

TEST(PngMark, MarkedPictureDecodesToTheSamePixels) {
  const std::string png = testing::solid_png(7, 5, 10, 200, 30);
  EXPECT_EQ(png_size(png).width, 7);
  EXPECT_EQ(png_size(png).height, 5);
  const std::string marked = with_text_chunk(png, kPngMark);
  ASSERT_EQ(marked.size(), png.size() + 12 + 9 + kPngMark.size());
  EXPECT_NE(marked.substr(0, 512).find(kPngMark), std::string::npos);
  // The chunk's CRC covers its type and data.
  const std::size_t at = marked.find("tEXt");
  const std::string body = marked.substr(at, 4 + 9 + kPngMark.size());
  const unsigned long stored =
      (static_cast<unsigned long>(static_cast<unsigned char>(marked[at + body.size()])) << 24) |
      (static_cast<unsigned long>(static_cast<unsigned char>(marked[at + body.size() + 1])) << 16) |
      (static_cast<unsigned long>(static_cast<unsigned char>(marked[at + body.size() + 2])) << 8) |
      static_cast<unsigned long>(static_cast<unsigned char>(marked[at + body.size() + 3]));
  EXPECT_EQ(stored, png_crc(body));
  testing::Picture before, after;
  ASSERT_TRUE(testing::decode_png(png, before));
  ASSERT_TRUE(testing::decode_png(marked, after));
  EXPECT_EQ(after.rgba, before.rgba);
  EXPECT_EQ(after.at(6, 4), (std::array<std::uint8_t, 4>{10, 200, 30, 255}));
}

TEST(PngMark, NotAPicture) {
  for (const std::string& bad : {std::string(), std::string("GIF89a........................"),
                                testing::solid_png(3, 3, 0, 0, 0).substr(0, 20)}) {
    EXPECT_EQ(png_size(bad).width, 0);
    EXPECT_EQ(with_text_chunk(bad, kPngMark), "");
  }
}

}  // namespace
}  // namespace qv
