#pragma once
// Decodes an 8-bit RGB or RGBA PNG (the kind an SVG renderer writes) into RGBA pixels, so that
// tests can look at a rendered picture. Holds a small inflate (stored, fixed and dynamic
// Huffman blocks). Returns false on anything it does not understand.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv::testing {

struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgba;  // width * height * 4
  std::array<std::uint8_t, 4> at(int x, int y) const {
    const std::size_t k = (static_cast<std::size_t>(y) * width + x) * 4;
    return {rgba[k], rgba[k + 1], rgba[k + 2], rgba[k + 3]};
  }
};

namespace png_detail {

struct Bits {
  const std::vector<std::uint8_t>& in;
  std::size_t pos = 0;
  unsigned buf = 0;
  int count = 0;
  bool bad = false;
  unsigned get(int n) {
    unsigned v = buf;
    while (count < n) {
      if (pos >= in.size()) {
        bad = true;
        return 0;
      }
      v |= static_cast<unsigned>(in[pos++]) << count;
      count += 8;
    }
    buf = v >> n;
    count -= n;
    return v & ((1u << n) - 1);
  }
};

struct Huffman {
  std::array<short, 16> count{};
  std::array<short, 288> symbol{};
};

inline bool build(Huffman& h, const short* lengths, int n) {
  h.count.fill(0);
  for (int s = 0; s < n; ++s) ++h.count[lengths[s]];
  std::array<short, 16> offs{};
  for (int len = 1; len < 15; ++len) offs[len + 1] = offs[len] + h.count[len];
  for (int s = 0; s < n; ++s)
    if (lengths[s]) h.symbol[offs[lengths[s]]++] = static_cast<short>(s);
  return true;
}

inline int decode(Bits& b, const Huffman& h) {
  int code = 0, first = 0, index = 0;
  for (int len = 1; len < 16; ++len) {
    code |= static_cast<int>(b.get(1));
    const int count = h.count[len];
    if (code - count < first) return h.symbol[index + (code - first)];
    index += count;
    first = (first + count) << 1;
    code <<= 1;
    if (b.bad) return -1;
  }
  return -1;
}

inline bool codes(Bits& b, std::vector<std::uint8_t>& out, const Huffman& lit, const Huffman& dist) {
  static const short lbase[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31,
                                35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static const short lext[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
                               3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  static const short dbase[] = {1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129,
                                193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097,
                                6145, 8193, 12289, 16385, 24577};
  static const short dext[] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                               6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
  for (;;) {
    int sym = decode(b, lit);
    if (sym < 0 || b.bad) return false;
    if (sym < 256) {
      out.push_back(static_cast<std::uint8_t>(sym));
      continue;
    }
    if (sym == 256) return true;
    sym -= 257;
    if (sym >= 29) return false;
    const int len = lbase[sym] + static_cast<int>(b.get(lext[sym]));
    const int ds = decode(b, dist);
    if (ds < 0 || ds >= 30) return false;
    const std::size_t d = dbase[ds] + b.get(dext[ds]);
    if (d > out.size()) return false;
    for (int k = 0; k < len; ++k) out.push_back(out[out.size() - d]);
  }
}

inline bool inflate(const std::vector<std::uint8_t>& in, std::size_t start,
                    std::vector<std::uint8_t>& out) {
  Bits b{in, start};
  for (;;) {
    const unsigned last = b.get(1);
    const unsigned type = b.get(2);
    if (b.bad) return false;
    if (type == 0) {
      b.buf = 0;
      b.count = 0;
      if (b.pos + 4 > in.size()) return false;
      const unsigned len = in[b.pos] | (in[b.pos + 1] << 8);
      b.pos += 4;
      if (b.pos + len > in.size()) return false;
      out.insert(out.end(), in.begin() + b.pos, in.begin() + b.pos + len);
      b.pos += len;
    } else if (type == 1) {
      short l[288];
      int s = 0;
      for (; s < 144; ++s) l[s] = 8;
      for (; s < 256; ++s) l[s] = 9;
      for (; s < 280; ++s) l[s] = 7;
      for (; s < 288; ++s) l[s] = 8;
      Huffman lit, dist;
      build(lit, l, 288);
      short d[30];
      for (short& x : d) x = 5;
      build(dist, d, 30);
      if (!codes(b, out, lit, dist)) return false;
    } else if (type == 2) {
      const int nlen = static_cast<int>(b.get(5)) + 257;
      const int ndist = static_cast<int>(b.get(5)) + 1;
      const int ncode = static_cast<int>(b.get(4)) + 4;
      static const short order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
      short lengths[320] = {};
      for (int k = 0; k < ncode; ++k) lengths[order[k]] = static_cast<short>(b.get(3));
      Huffman lencode;
      build(lencode, lengths, 19);
      int index = 0;
      while (index < nlen + ndist) {
        int sym = decode(b, lencode);
        if (sym < 0) return false;
        if (sym < 16) {
          lengths[index++] = static_cast<short>(sym);
          continue;
        }
        short len = 0;
        int rep;
        if (sym == 16) {
          if (index == 0) return false;
          len = lengths[index - 1];
          rep = 3 + static_cast<int>(b.get(2));
        } else if (sym == 17) {
          rep = 3 + static_cast<int>(b.get(3));
        } else {
          rep = 11 + static_cast<int>(b.get(7));
        }
        if (index + rep > nlen + ndist) return false;
        while (rep--) lengths[index++] = len;
      }
      Huffman lit, dist;
      build(lit, lengths, nlen);
      build(dist, lengths + nlen, ndist);
      if (!codes(b, out, lit, dist)) return false;
    } else {
      return false;
    }
    if (last) return true;
  }
}

inline std::uint32_t be32(const std::string& s, std::size_t k) {
  return (static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[k])) << 24) |
         (static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[k + 1])) << 16) |
         (static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[k + 2])) << 8) |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[k + 3]));
}

inline int paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = p > a ? p - a : a - p, pb = p > b ? p - b : b - p, pc = p > c ? p - c : c - p;
  return (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
}

}  // namespace png_detail

inline bool decode_png(const std::string& file, Picture& pic) {
  using namespace png_detail;
  if (file.size() < 8 || file.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return false;
  std::vector<std::uint8_t> idat;
  int depth = 0, type = -1, interlace = 0;
  for (std::size_t k = 8; k + 8 <= file.size();) {
    const std::uint32_t len = be32(file, k);
    const std::string kind = file.substr(k + 4, 4);
    if (k + 12 + len > file.size()) return false;
    if (kind == "IHDR") {
      pic.width = static_cast<int>(be32(file, k + 8));
      pic.height = static_cast<int>(be32(file, k + 12));
      depth = static_cast<std::uint8_t>(file[k + 16]);
      type = static_cast<std::uint8_t>(file[k + 17]);
      interlace = static_cast<std::uint8_t>(file[k + 20]);
    } else if (kind == "IDAT") {
      idat.insert(idat.end(), file.begin() + k + 8, file.begin() + k + 8 + len);
    }
    k += 12 + len;
  }
  if (depth != 8 || (type != 2 && type != 6) || interlace != 0 || idat.size() < 2) return false;
  std::vector<std::uint8_t> raw;
  if (!inflate(idat, 2, raw)) return false;  // past the zlib header
  const int channels = type == 6 ? 4 : 3;
  const std::size_t stride = static_cast<std::size_t>(pic.width) * channels;
  if (raw.size() < (stride + 1) * pic.height) return false;
  std::vector<std::uint8_t> prev(stride, 0), cur(stride);
  pic.rgba.assign(static_cast<std::size_t>(pic.width) * pic.height * 4, 255);
  for (int y = 0; y < pic.height; ++y) {
    const std::uint8_t* row = raw.data() + y * (stride + 1);
    const int filter = row[0];
    for (std::size_t x = 0; x < stride; ++x) {
      const int a = x >= static_cast<std::size_t>(channels) ? cur[x - channels] : 0;
      const int b = prev[x];
      const int c = x >= static_cast<std::size_t>(channels) ? prev[x - channels] : 0;
      int v = row[1 + x];
      switch (filter) {
        case 0: break;
        case 1: v += a; break;
        case 2: v += b; break;
        case 3: v += (a + b) / 2; break;
        case 4: v += paeth(a, b, c); break;
        default: return false;
      }
      cur[x] = static_cast<std::uint8_t>(v);
    }
    for (int x = 0; x < pic.width; ++x)
      for (int ch = 0; ch < channels; ++ch)
        pic.rgba[(static_cast<std::size_t>(y) * pic.width + x) * 4 + ch] = cur[x * channels + ch];
    prev.swap(cur);
  }
  return true;
}

}  // namespace qv::testing
