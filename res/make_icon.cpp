// Draws Vantrel's icon (a blue tile with a white "V" and an orange launch dot)
// and writes it as a .ico with the sizes Windows asks for from 100 % to 200 %
// scaling: 16, 20, 24, 32, 48 and 256 pixels, each a PNG image (Windows reads
// PNG images in icons at any size; as 32-bit bitmaps the four small ones were
// 6.5 KB more).
// Built and run natively (zlib for the PNG images; the program itself has none):
//   g++ -std=c++17 -O2 -o make_icon make_icon.cpp -lz && ./make_icon vantrel.ico
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <vector>

#include <zlib.h>

namespace {

struct Rgba {
  double r = 0, g = 0, b = 0, a = 0;
};

// Paints `top` over `under` (straight alpha).
Rgba Over(const Rgba& top, const Rgba& under) {
  double a = top.a + under.a * (1 - top.a);
  if (a <= 0) return {};
  auto mix = [&](double t, double u) { return (t * top.a + u * under.a * (1 - top.a)) / a; };
  return {mix(top.r, under.r), mix(top.g, under.g), mix(top.b, under.b), a};
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay;
  double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

bool InRoundedSquare(double x, double y, double inset, double radius) {
  double lo = inset + radius, hi = 1 - inset - radius;
  double cx = std::clamp(x, lo, hi), cy = std::clamp(y, lo, hi);
  return std::hypot(x - cx, y - cy) <= radius;
}

// The colour of one point of the design, in unit coordinates (y down).
Rgba Sample(double x, double y) {
  Rgba c;
  if (InRoundedSquare(x, y, 0.03, 0.2)) {
    Rgba edge{18, 50, 120, 1};
    Rgba fill{44 - 22 * y, 118 - 55 * y, 215 - 60 * y, 1};
    c = InRoundedSquare(x, y, 0.075, 0.16) ? fill : edge;
  }
  double v = std::min(SegmentDistance(x, y, 0.22, 0.22, 0.47, 0.76),
                      SegmentDistance(x, y, 0.72, 0.22, 0.47, 0.76));
  if (v <= 0.075) c = Over({255, 255, 255, 1}, c);
  double dot = std::hypot(x - 0.76, y - 0.74);
  if (dot <= 0.17) c = Over({255, 255, 255, 1}, c);
  if (dot <= 0.125) c = Over({250, 150, 25, 1}, c);
  return c;
}

// One image, 4x4 samples per pixel; rows top-down, BGRA.
std::vector<std::uint8_t> Render(int size) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size) * size * 4);
  const int n = 4;
  for (int py = 0; py < size; ++py)
    for (int px = 0; px < size; ++px) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < n; ++sy)
        for (int sx = 0; sx < n; ++sx) {
          Rgba s = Sample((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size);
          r += s.r * s.a, g += s.g * s.a, b += s.b * s.a, a += s.a;
        }
      std::uint8_t* out = &pixels[(static_cast<std::size_t>(py) * size + px) * 4];
      if (a > 0) {
        out[0] = static_cast<std::uint8_t>(std::lround(b / a));
        out[1] = static_cast<std::uint8_t>(std::lround(g / a));
        out[2] = static_cast<std::uint8_t>(std::lround(r / a));
      }
      out[3] = static_cast<std::uint8_t>(std::lround(255 * a / (n * n)));
    }
  return pixels;
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, unsigned v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutBe32(std::vector<std::uint8_t>& out, unsigned v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back((v >> shift) & 0xFF);
}

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
  PutBe32(out, static_cast<unsigned>(data.size()));
  std::vector<std::uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  PutBe32(out, static_cast<unsigned>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// The image as a PNG: RGBA rows, unfiltered (for this flat design every PNG
// filter packs worse than none, by a fifth).
std::vector<std::uint8_t> Png(int size) {
  const std::vector<std::uint8_t> bgra = Render(size);
  std::vector<std::uint8_t> raw;
  const std::size_t row = static_cast<std::size_t>(size) * 4;
  for (int y = 0; y < size; ++y) {
    raw.push_back(0);  // no filter
    for (std::size_t i = 0; i < row; i += 4) {
      const std::uint8_t* p = &bgra[y * row + i];
      raw.insert(raw.end(), {p[2], p[1], p[0], p[3]});
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9);
  packed.resize(packedSize);

  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  PutBe32(header, static_cast<unsigned>(size));
  PutBe32(header, static_cast<unsigned>(size));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA
  Chunk(out, "IHDR", header);
  Chunk(out, "IDAT", packed);
  Chunk(out, "IEND", {});
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon out.ico\n");
    return 2;
  }
  const int sizes[] = {32, 16, 20, 24, 48, 256};
  const int count = static_cast<int>(std::size(sizes));
  std::vector<std::vector<std::uint8_t>> images;
  for (int size : sizes) images.push_back(Png(size));
  std::vector<std::uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);  // icon
  Put16(file, static_cast<unsigned>(count));
  unsigned offset = 6 + 16 * static_cast<unsigned>(count);
  for (int i = 0; i < count; ++i) {
    // 256 is written as 0 in the one byte the directory has for it.
    file.push_back(static_cast<std::uint8_t>(sizes[i] & 0xFF));
    file.push_back(static_cast<std::uint8_t>(sizes[i] & 0xFF));
    file.push_back(0);  // no palette
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, static_cast<unsigned>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<unsigned>(images[i].size());
  }
  for (auto& image : images) file.insert(file.end(), image.begin(), image.end());
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr || std::fwrite(file.data(), 1, file.size(), out) != file.size()) {
    std::perror(argv[1]);
    return 1;
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
