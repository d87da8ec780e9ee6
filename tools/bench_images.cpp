// Measures the picture readers: every .png/.jpg/.tga under a folder (default demo/data) is loaded
// through the engine's reader and written into A8R8G8B8 texels, and decoded by plain libpng or
// libjpeg, and the medians of the CPU times of both are compared. "--make-samples DIR" first writes a set of
// generated pictures into DIR to measure when the content has few.
#include <stdio.h>

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/image.h"
#include "gfx/pixel_format.h"

namespace fs = std::filesystem;

namespace {
// CPU time of this thread (user and system, page faults included): other programs on the machine
// make wall-clock times swing by several times, CPU time much less.
double cpuMs() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

std::vector<uint8_t> readAll(const std::string& path) {
  std::vector<uint8_t> data;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    std::fseek(f, 0, SEEK_END);
    long n = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    if (n > 0) {
      data.resize(size_t(n));
      if (std::fread(data.data(), 1, data.size(), f) != data.size()) data.clear();
    }
    std::fclose(f);
  }
  return data;
}

// Plain libpng: the usual expansion to 8-bit RGB(A) rows, nothing more.
struct MemReader {
  const uint8_t* p;
  size_t n, at;
};
void memRead(png_structp png, png_bytep out, png_size_t n) {
  auto* m = static_cast<MemReader*>(png_get_io_ptr(png));
  if (n > m->n - m->at) png_error(png, "short");
  std::memcpy(out, m->p + m->at, n);
  m->at += n;
}
bool rawPngRows(png_structp png, png_infop info, MemReader& src, std::vector<uint8_t>& out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, &src, memRead);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const size_t row = png_get_rowbytes(png, info);
  const png_uint_32 h = png_get_image_height(png, info);
  out.resize(row * h);
  for (int pass = 0; pass < passes; ++pass)
    for (png_uint_32 y = 0; y < h; ++y) png_read_row(png, out.data() + row * y, nullptr);
  return true;
}
bool rawPng(const std::string& path) {
  std::vector<uint8_t> file = readAll(path);
  MemReader src{file.data(), file.size(), 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<uint8_t> pixels;
  bool ok = rawPngRows(png, info, src, pixels);
  png_destroy_read_struct(&png, &info, nullptr);
  return ok;
}

struct JpegJump {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};
void jpegJump(j_common_ptr c) { std::longjmp(reinterpret_cast<JpegJump*>(c->err)->jump, 1); }
bool rawJpegRows(jpeg_decompress_struct& c, JpegJump& err, const std::vector<uint8_t>& file,
                 std::vector<uint8_t>& out) {
  if (setjmp(err.jump)) return false;
  jpeg_mem_src(&c, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&c, TRUE);
  c.out_color_space = JCS_RGB;
  jpeg_start_decompress(&c);
  const size_t row = size_t(c.output_width) * size_t(c.output_components);
  out.resize(row * c.output_height);
  while (c.output_scanline < c.output_height) {
    JSAMPROW r = out.data() + row * c.output_scanline;
    jpeg_read_scanlines(&c, &r, 1);
  }
  jpeg_finish_decompress(&c);
  return true;
}
bool rawJpeg(const std::string& path) {
  std::vector<uint8_t> file = readAll(path);
  jpeg_decompress_struct c;
  JpegJump err;
  c.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = jpegJump;
  jpeg_create_decompress(&c);
  std::vector<uint8_t> pixels;
  bool ok = rawJpegRows(c, err, file, pixels);
  jpeg_destroy_decompress(&c);
  return ok;
}

bool engineLoad(const std::string& path, std::vector<uint8_t>& texels) {
  auto reader = imgReaderFor(path);
  if (!reader || reader->Load(path.c_str()) != 0) return false;
  const TexturePixelFormat* f = grPixelFormatByCode(21);
  const size_t need = size_t(reader->Width()) * size_t(reader->Height()) * 4;
  if (texels.size() < need) texels.resize(need);
  reader->WriteColor(0, 0, reader->Width(), reader->Height(),
                     TexelTarget{texels.data(), reader->Width() * 4, f});
  return true;
}

// Runs the two loads in turn, so that whatever else the machine does weighs on both alike, and
// answers the median and the fastest time of each.
struct Timing {
  double medianA, minA, medianB, minB;
};
template <typename A, typename B>
Timing timeBoth(int runs, A a, B b) {
  std::vector<double> ta, tb;
  for (int i = 0; i < runs; ++i) {
    double t0 = cpuMs();
    a();
    ta.push_back(cpuMs() - t0);
    t0 = cpuMs();
    b();
    tb.push_back(cpuMs() - t0);
  }
  std::sort(ta.begin(), ta.end());
  std::sort(tb.begin(), tb.end());
  return {ta[ta.size() / 2], ta.front(), tb[tb.size() / 2], tb.front()};
}

// Smooth shapes with some grain, so the compressors see something like painted art.
std::vector<uint8_t> sampleRgba(int w, int h, int seed) {
  std::vector<uint8_t> px(size_t(w) * h * 4);
  uint32_t r = 12345u + uint32_t(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      r = r * 1664525u + 1013904223u;
      const int grain = int(r >> 28) - 8;
      uint8_t* p = px.data() + (size_t(y) * w + x) * 4;
      const double d = std::sin(x * 0.013 + seed) * std::cos(y * 0.017) * 0.5 + 0.5;
      p[0] = uint8_t(std::clamp(int(255 * d) + grain, 0, 255));
      p[1] = uint8_t(std::clamp(x * 255 / w + grain, 0, 255));
      p[2] = uint8_t(std::clamp(y * 255 / h + grain, 0, 255));
      const int cx = x - w / 2, cy = y - h / 2;
      p[3] = uint8_t(cx * cx + cy * cy < (w * w) / 5 ? 255 : 0);
    }
  return px;
}

bool writeJpeg(const std::string& path, const std::vector<uint8_t>& rgba, int w, int h) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  jpeg_stdio_dest(&c, f);
  c.image_width = unsigned(w);
  c.image_height = unsigned(h);
  c.input_components = 4;
  c.in_color_space = JCS_EXT_RGBX;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 90, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgba.data() + size_t(c.next_scanline) * w * 4);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  return std::fclose(f) == 0;
}

bool makeSamples(const std::string& dir) {
  fs::create_directories(dir);
  bool ok = true;
  const struct {
    int w, h;
  } sizes[] = {{1024, 768}, {512, 512}, {256, 256}};
  int seed = 0;
  for (auto s : sizes) {
    std::vector<uint8_t> rgba = sampleRgba(s.w, s.h, seed++);
    const std::string base = dir + "/sample_" + std::to_string(s.w) + "x" + std::to_string(s.h);
    ok &= imgSavePNG((base + ".png").c_str(), rgba.data(), s.w, s.h);
    ok &= writeJpeg(base + ".jpg", rgba, s.w, s.h);
    std::vector<uint8_t> bgra(rgba);
    for (size_t i = 0; i < bgra.size(); i += 4) std::swap(bgra[i], bgra[i + 2]);
    ok &= cFileImage::SaveTGA((base + ".tga").c_str(), bgra.data(), 32, s.w, -s.h);
  }
  return ok;
}
}  // namespace

int main(int argc, char** argv) {
  std::string folder = "demo/data";
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--make-samples" && i + 1 < argc) {
      folder = argv[++i];
      if (!makeSamples(folder)) {
        std::fprintf(stderr, "could not write the samples into %s\n", folder.c_str());
        return 1;
      }
    } else {
      folder = a;
    }
  }
  std::vector<std::string> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::end(it); it.increment(ec)) {
    if (!it->is_regular_file()) continue;
    std::string ext = it->path().extension().string();
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".png" || ext == ".jpg" || ext == ".jpeg" || ext == ".tga") files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    std::printf("no pictures under %s (try --make-samples DIR)\n", folder.c_str());
    return 1;
  }

  constexpr int kRuns = 15;
  std::vector<uint8_t> texels;
  double engineSum = 0, rawSum = 0, engineMin = 0, rawMin = 0, tgaSum = 0;
  std::printf("%-44s %-15s %-15s %s\n", "picture", "engine ms", "raw ms", "ratio of");
  std::printf("%-44s %-15s %-15s %s\n", "", "median fastest", "median fastest", "medians");
  for (const std::string& path : files) {
    std::string ext = fs::path(path).extension().string();
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (!engineLoad(path, texels)) {  // also warms the file cache
      std::printf("%-44s does not load\n", path.c_str());
      continue;
    }
    const bool tga = ext == ".tga", png = ext == ".png";
    Timing t = timeBoth(kRuns, [&] { engineLoad(path, texels); },
                        [&] { tga ? false : png ? rawPng(path) : rawJpeg(path); });
    if (tga) {
      tgaSum += t.medianA;
      std::printf("%-44s %7.3f %7.3f\n", path.c_str(), t.medianA, t.minA);
      continue;
    }
    engineSum += t.medianA;
    rawSum += t.medianB;
    engineMin += t.minA;
    rawMin += t.minB;
    std::printf("%-44s %7.3f %7.3f %7.3f %7.3f %6.2f\n", path.c_str(), t.medianA, t.minA,
                t.medianB, t.minB, t.medianA / t.medianB);
  }
  if (rawSum > 0) {
    std::printf("\nPNG + JPEG medians: engine %.3f ms, raw libpng/libjpeg %.3f ms, ratio %.2f\n",
                engineSum, rawSum, engineSum / rawSum);
    std::printf("PNG + JPEG fastest: engine %.3f ms, raw libpng/libjpeg %.3f ms, ratio %.2f\n",
                engineMin, rawMin, engineMin / rawMin);
    std::printf("target: engine <= 1.30 x raw\n");
  }
  if (tgaSum > 0) std::printf("TGA (no library to compare with): %.3f ms\n", tgaSum);
  std::printf("%d runs per picture, engine and raw in turn, after one warm-up load; CPU time\n",
              kRuns);
  return 0;
}
