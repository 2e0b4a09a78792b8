// Build-host tool: turns the text art in resources/art into the 16-colour BMP and ICO files that the
// resource script embeds, so that every picture of the program stays reviewable as text.
//
//   artconv bmp <art.txt> <out.bmp>
//   artconv ico <art.txt> <out.ico> [<art drawn at another size>...]
//
// An icon holds the art as drawn, in 16 colours, and the same art in 32-bit colour at each size that
// Windows shows (16 to 256 pixels) as PNG images: at each size the largest drawing that fits it a whole
// number of times, each of its pixels repeated that often, so that every line stays as even as drawn;
// a size that no drawing fits so takes the area-weighted mean of the main art's pixels.
//
// Art files: lines starting with '#' are comments; every other non-empty line is one pixel row, all of
// equal length. One character per pixel, from the standard 16-colour palette:
//   K black   r maroon  g green   y olive   b navy    p purple  t teal    s silver
//   d grey    R red     G lime    Y yellow  B blue    M magenta C cyan    W white
// '.' is the transparent colour: magenta in a bitmap (the key colour the program masks out), and a set
// bit of the AND mask in an icon.
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct Rgb {
  std::uint8_t r, g, b;
};

const char kPaletteChars[] = "KrgybptsdRGYBMCW";
const Rgb kPalette[16] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                          {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                          {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                          {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
const int kTransparentIndex = 13;  // magenta

struct Art {
  int width = 0;
  std::vector<std::vector<int>> rows;  // palette indexes, -1 = transparent
};

bool ReadArt(const char* path, Art& art) {
  std::ifstream in(path);
  if (!in) {
    std::cerr << path << ": cannot open\n";
    return false;
  }
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::vector<int> row;
    for (char c : line) {
      if (c == '.') {
        row.push_back(-1);
        continue;
      }
      const char* p = std::char_traits<char>::find(kPaletteChars, 16, c);
      if (!p) {
        std::cerr << path << ":" << lineNo << ": unknown colour '" << c << "'\n";
        return false;
      }
      row.push_back(static_cast<int>(p - kPaletteChars));
    }
    if (art.width == 0) art.width = static_cast<int>(row.size());
    if (static_cast<int>(row.size()) != art.width) {
      std::cerr << path << ":" << lineNo << ": row has " << row.size() << " pixels, expected " << art.width
                << "\n";
      return false;
    }
    art.rows.push_back(row);
  }
  if (art.rows.empty()) {
    std::cerr << path << ": no pixel rows\n";
    return false;
  }
  return true;
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

int Stride(int bitsPerPixel, int width) {
  return ((width * bitsPerPixel + 31) / 32) * 4;
}

// BITMAPINFOHEADER + palette + 4-bit pixels, bottom-up. heightFactor 2 is the icon form (XOR + AND).
std::vector<std::uint8_t> Dib(const Art& art, int heightFactor, bool withMask) {
  const int w = art.width, h = static_cast<int>(art.rows.size());
  std::vector<std::uint8_t> out;
  Put32(out, 40);
  Put32(out, w);
  Put32(out, h * heightFactor);
  Put16(out, 1);
  Put16(out, 4);
  Put32(out, 0);
  Put32(out, (Stride(4, w) + (withMask ? Stride(1, w) : 0)) * h);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 16);
  Put32(out, 0);
  for (const Rgb& c : kPalette) {
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
  for (int y = h - 1; y >= 0; --y) {
    std::vector<std::uint8_t> line(Stride(4, w), 0);
    for (int x = 0; x < w; ++x) {
      int idx = art.rows[y][x];
      if (idx < 0) idx = withMask ? 0 : kTransparentIndex;
      line[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? idx << 4 : idx);
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  if (withMask) {
    for (int y = h - 1; y >= 0; --y) {
      std::vector<std::uint8_t> line(Stride(1, w), 0);
      for (int x = 0; x < w; ++x)
        if (art.rows[y][x] < 0) line[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      out.insert(out.end(), line.begin(), line.end());
    }
  }
  return out;
}

std::vector<std::uint8_t> Bmp(const Art& art) {
  std::vector<std::uint8_t> dib = Dib(art, 1, false);
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<std::uint32_t>(14 + dib.size()));
  Put32(out, 0);
  Put32(out, 14 + 40 + 16 * 4);
  out.insert(out.end(), dib.begin(), dib.end());
  return out;
}

// The sizes of the 32-bit images: the shell's, the taskbar's and the title bar's at 100 to 200 %.
const int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

// A square drawing, each pixel repeated factor times across and down, RGBA with straight alpha, rows
// top-down.
std::vector<std::uint8_t> Repeated(const Art& art, int factor) {
  std::vector<std::uint8_t> out;
  for (const std::vector<int>& row : art.rows)
    for (int copy = 0; copy < factor; ++copy)
      for (int idx : row)
        for (int repeat = 0; repeat < factor; ++repeat) {
          const Rgb c = idx < 0 ? Rgb{0, 0, 0} : kPalette[idx];
          for (std::uint8_t v : {c.r, c.g, c.b, static_cast<std::uint8_t>(idx < 0 ? 0 : 255)})
            out.push_back(v);
        }
  return out;
}

// The art drawn at size x size, RGBA with straight alpha, rows top-down.
std::vector<std::uint8_t> Scaled(const Art& art, int size) {
  const int w = art.width, h = static_cast<int>(art.rows.size());
  std::vector<std::uint8_t> out;
  for (int ty = 0; ty < size; ++ty) {
    const double y0 = ty * h / static_cast<double>(size), y1 = (ty + 1) * h / static_cast<double>(size);
    for (int tx = 0; tx < size; ++tx) {
      const double x0 = tx * w / static_cast<double>(size), x1 = (tx + 1) * w / static_cast<double>(size);
      double a = 0, r = 0, g = 0, b = 0;
      for (int sy = static_cast<int>(y0); sy < std::min(h, static_cast<int>(std::ceil(y1))); ++sy) {
        const double cy = std::min(y1, sy + 1.0) - std::max(y0, static_cast<double>(sy));
        for (int sx = static_cast<int>(x0); sx < std::min(w, static_cast<int>(std::ceil(x1))); ++sx) {
          const int idx = art.rows[sy][sx];
          if (idx < 0) continue;
          const double weight = cy * (std::min(x1, sx + 1.0) - std::max(x0, static_cast<double>(sx)));
          a += weight;
          r += weight * kPalette[idx].r;
          g += weight * kPalette[idx].g;
          b += weight * kPalette[idx].b;
        }
      }
      const double area = (x1 - x0) * (y1 - y0);
      for (double v : {a > 0 ? r / a : 0, a > 0 ? g / a : 0, a > 0 ? b / a : 0, 255 * a / area})
        out.push_back(static_cast<std::uint8_t>(std::lround(std::min(255.0, v))));
    }
  }
  return out;
}

void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PngChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
  PutBig32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBig32(out,
           static_cast<std::uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// An 8-bit RGBA PNG of a square image; each row unfiltered. Empty if compressing fails.
std::vector<std::uint8_t> Png(const std::vector<std::uint8_t>& rgba, int size) {
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < size; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), rgba.begin() + y * size * 4, rgba.begin() + (y + 1) * size * 4);
  }
  uLongf length = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(length);
  if (compress2(packed.data(), &length, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) return {};
  packed.resize(length);
  std::vector<std::uint8_t> header;
  PutBig32(header, static_cast<std::uint32_t>(size));
  PutBig32(header, static_cast<std::uint32_t>(size));
  for (std::uint8_t v : {8, 6, 0, 0, 0})
    header.push_back(v);  // 8 bits, RGBA, deflate, no filter, no interlace
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PngChunk(out, "IHDR", header);
  PngChunk(out, "IDAT", packed);
  PngChunk(out, "IEND", {});
  return out;
}

// The image of a size: the largest square drawing that fits it a whole number of times, repeated.
std::vector<std::uint8_t> IconImage(const Art& art, const std::vector<Art>& drawn, int size) {
  const Art* best = nullptr;
  for (const Art& d : drawn)
    if (d.width == static_cast<int>(d.rows.size()) && size % d.width == 0 && (!best || d.width > best->width))
      best = &d;
  return best ? Repeated(*best, size / best->width) : Scaled(art, size);
}

// The 16-colour image as drawn, first, then the 32-bit images.
std::vector<std::uint8_t> Ico(const Art& art, const std::vector<Art>& drawn) {
  std::vector<std::vector<std::uint8_t>> images = {Dib(art, 2, true)};
  for (int size : kIconSizes) {
    images.push_back(Png(IconImage(art, drawn, size), size));
    if (images.back().empty()) return {};
  }
  std::vector<std::uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, static_cast<unsigned>(images.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int size = i == 0 ? art.width : kIconSizes[i - 1];
    out.push_back(static_cast<std::uint8_t>(size & 0xFF));  // 256 is written as 0
    out.push_back(static_cast<std::uint8_t>((i == 0 ? static_cast<int>(art.rows.size()) : size) & 0xFF));
    out.push_back(i == 0 ? 16 : 0);  // colours
    out.push_back(0);
    Put16(out, 1);                // planes
    Put16(out, i == 0 ? 4 : 32);  // bits per pixel
    Put32(out, static_cast<std::uint32_t>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string kind = argc > 1 ? argv[1] : "";
  if (argc < 4 || (kind != "ico" && argc != 4)) {
    std::cerr << "usage: artconv bmp <art.txt> <output> | artconv ico <art.txt> <output> [<art.txt>...]\n";
    return 2;
  }
  Art art;
  if (!ReadArt(argv[2], art)) return 1;
  // The main art and every other drawing, for the icon's sizes.
  std::vector<Art> drawn = {art};
  for (int i = 4; i < argc; ++i) {
    drawn.emplace_back();
    if (!ReadArt(argv[i], drawn.back())) return 1;
  }
  std::vector<std::uint8_t> bytes;
  if (kind == "bmp") {
    bytes = Bmp(art);
  } else if (kind == "ico") {
    if (art.width > 255 || art.rows.size() > 255) {
      std::cerr << argv[2] << ": too large for an icon\n";
      return 1;
    }
    bytes = Ico(art, drawn);
    if (bytes.empty()) {
      std::cerr << argv[2] << ": cannot compress the icon's images\n";
      return 1;
    }
  } else {
    std::cerr << "artconv: unknown kind '" << kind << "'\n";
    return 2;
  }
  std::ofstream out(argv[3], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::cerr << argv[3] << ": cannot write\n";
    return 1;
  }
  return 0;
}
