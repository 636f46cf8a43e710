// The verification image: digits of a 5x7 bitmap font, scaled, jittered and crossed by a few
// noise lines, written as an RGB PNG (zlib for the IDAT stream).
#include <zlib.h>

#include <cstdint>
#include <random>

#include "internal.h"

namespace tavlo::sandbox {
namespace {

// Rows of the digits 0-9, 5 bits wide, most significant bit on the left.
const uint8_t kFont[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

void put_u32(std::string& s, uint32_t v) {
  s += static_cast<char>(v >> 24);
  s += static_cast<char>(v >> 16);
  s += static_cast<char>(v >> 8);
  s += static_cast<char>(v);
}

void chunk(std::string& png, const char* type, const std::string& data) {
  put_u32(png, static_cast<uint32_t>(data.size()));
  std::string td = std::string(type, 4) + data;
  png += td;
  put_u32(png, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(td.data()),
                                           static_cast<uInt>(td.size()))));
}

}  // namespace

std::string code_png(const std::string& code) {
  const int W = 100, H = 32, scale = 3;
  std::vector<uint8_t> px(W * H * 3);
  std::mt19937 rng(static_cast<unsigned>(std::hash<std::string>{}(code) ^ 0x5eed));
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      uint8_t* p = &px[(y * W + x) * 3];
      p[0] = static_cast<uint8_t>(228 + rng() % 24);
      p[1] = static_cast<uint8_t>(232 + rng() % 20);
      p[2] = static_cast<uint8_t>(236 + rng() % 18);
    }
  auto dot = [&](int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    if (x < 0 || y < 0 || x >= W || y >= H) return;
    uint8_t* p = &px[(y * W + x) * 3];
    p[0] = r, p[1] = g, p[2] = b;
  };
  const int n = static_cast<int>(code.size());
  const int cell = n > 0 ? W / n : W;
  for (int i = 0; i < n; ++i) {
    int d = code[i] >= '0' && code[i] <= '9' ? code[i] - '0' : -1;
    if (d < 0) continue;
    int ox = i * cell + (cell - 5 * scale) / 2 + static_cast<int>(rng() % 5) - 2;
    int oy = (H - 7 * scale) / 2 + static_cast<int>(rng() % 5) - 2;
    uint8_t r = static_cast<uint8_t>(rng() % 90), g = static_cast<uint8_t>(rng() % 90),
            b = static_cast<uint8_t>(60 + rng() % 120);
    for (int row = 0; row < 7; ++row)
      for (int col = 0; col < 5; ++col)
        if (kFont[d][row] & (0x10 >> col))
          for (int sy = 0; sy < scale; ++sy)
            for (int sx = 0; sx < scale; ++sx) dot(ox + col * scale + sx, oy + row * scale + sy, r, g, b);
  }
  for (int l = 0; l < 3; ++l) {  // noise lines
    int y0 = static_cast<int>(rng() % H), y1 = static_cast<int>(rng() % H);
    for (int x = 0; x < W; ++x) dot(x, y0 + (y1 - y0) * x / W, 150, 150, 170);
  }

  std::string raw;
  raw.reserve(H * (W * 3 + 1));
  for (int y = 0; y < H; ++y) {
    raw += '\0';  // filter: none
    raw.append(reinterpret_cast<const char*>(&px[y * W * 3]), W * 3);
  }
  uLongf zlen = compressBound(static_cast<uLong>(raw.size()));
  std::string z(zlen, '\0');
  compress2(reinterpret_cast<Bytef*>(z.data()), &zlen, reinterpret_cast<const Bytef*>(raw.data()),
            static_cast<uLong>(raw.size()), 9);
  z.resize(zlen);

  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string ihdr;
  put_u32(ihdr, W);
  put_u32(ihdr, H);
  ihdr += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, deflate, no filter, no interlace
  chunk(png, "IHDR", ihdr);
  chunk(png, "IDAT", z);
  chunk(png, "IEND", "");
  return png;
}

}  // namespace tavlo::sandbox
