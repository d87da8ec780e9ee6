// JPEG reader through libjpeg, decoding straight to blue-green-red rows; libjpeg's errors and a
// file that ends early come back through longjmp instead of ending the program.
#include <stdio.h>  // libjpeg's header needs FILE and size_t declared first

#include <jerror.h>
#include <jpeglib.h>
#include <stb_image.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <csetjmp>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "files/file.h"
#include "gfx/image.h"

namespace {
// Decoded bytes per file byte beyond which a picture's rows are not claimed up front.
constexpr size_t kPlausibleRatio = 256;  // smooth pictures pack 100:1 and more
// libjpeg's own working memory: a progressive picture keeps all its coefficients (two bytes a
// sample), which a header of a few bytes can make enormous; past this the decode fails.
constexpr long kDecoderMemory = 256L << 20;

struct JpegErrors {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  bool strictEnd;  // a file ending before the pixels are complete is damaged
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jpegErrorExit(j_common_ptr c) {
  auto* e = reinterpret_cast<JpegErrors*>(c->err);
  (*c->err->format_message)(c, e->message);
  std::longjmp(e->jump, 1);
}

// libjpeg only warns when the data runs out, or when a marker comes where scan data should be, and
// then makes up the rest of the picture; such a picture is cut short or lies about its size and
// must fail instead. Other warnings (stray bytes before a marker) are harmless.
void jpegEmitMessage(j_common_ptr c, int level) {
  auto* e = reinterpret_cast<JpegErrors*>(c->err);
  const int code = c->err->msg_code;
  if (level < 0 && e->strictEnd && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER))
    jpegErrorExit(c);
}
void jpegOutputMessage(j_common_ptr) {}

struct JpegState {
  jpeg_decompress_struct info;
  bool created = false;
  ~JpegState() {
    if (created) jpeg_destroy_decompress(&info);
  }
};

// Adobe writers store CMYK inverted (0 = full ink); others store it plain.
void cmykToBgr(const uint8_t* in, uint8_t* out, int width, bool inverted) {
  for (int x = 0; x < width; ++x, in += 4, out += 3) {
    int c = in[0], m = in[1], y = in[2], k = in[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    out[0] = uint8_t(y * k / 255);
    out[1] = uint8_t(m * k / 255);
    out[2] = uint8_t(c * k / 255);
  }
}
}  // namespace

bool cJPGImage::SizeOfMemory(const uint8_t* data, size_t length, int& width, int& height) {
  if (!data || length < 4 || length > size_t(INT_MAX) || data[0] != 0xFF || data[1] != 0xD8)
    return false;
  int w = 0, h = 0, comp = 0;
  if (!stbi_info_from_memory(data, int(length), &w, &h, &comp) || w <= 0 || h <= 0) return false;
  if (w > kMaxSide || h > kMaxSide) return false;  // the loader's limit
  width = w;
  height = h;
  return true;
}

bool cJPGImage::ReadSize(const char* file, int& width, int& height) {
  return SizeOfFile(file, width, height, &SizeOfMemory);
}

int cJPGImage::LoadMemory(void* buffer, size_t length, const char* name) {
  std::unique_ptr<void, void (*)(void*)> owned(buffer, memFree);
  FreePixels();
  if (!buffer || length < 4) return Fail(name, "not a JPEG file");
  if (length > ULONG_MAX) return Fail(name, "too large");

  JpegErrors errors;
  JpegState st;
  std::vector<uint8_t> cmykRow;
  char why[JMSG_LENGTH_MAX + 32];
  st.info.err = jpeg_std_error(&errors.mgr);
  errors.mgr.error_exit = jpegErrorExit;
  errors.mgr.emit_message = jpegEmitMessage;
  errors.mgr.output_message = jpegOutputMessage;
  errors.strictEnd = true;
  errors.message[0] = 0;
  // The libjpeg calls run in a frame of their own that libjpeg's errors jump back to; everything
  // that lives on after a jump belongs to this frame.
  auto decode = [&]() -> int {
    if (setjmp(errors.jump)) {
      std::snprintf(why, sizeof why, "JPEG error: %s", errors.message);
      return Fail(name, why);
    }
    jpeg_create_decompress(&st.info);
    st.created = true;
    st.info.mem->max_memory_to_use = kDecoderMemory;
    jpeg_mem_src(&st.info, static_cast<const unsigned char*>(buffer), static_cast<unsigned long>(length));
    jpeg_read_header(&st.info, TRUE);
    if (st.info.image_width > unsigned(kMaxSide) || st.info.image_height > unsigned(kMaxSide)) {
      std::snprintf(why, sizeof why, "size %u x %u is out of range", st.info.image_width,
                    st.info.image_height);
      return Fail(name, why);
    }
    const bool cmyk = st.info.jpeg_color_space == JCS_CMYK || st.info.jpeg_color_space == JCS_YCCK;
    st.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&st.info);
    const int w = int(st.info.output_width), h = int(st.info.output_height);
    if (w <= 0 || h <= 0 || st.info.output_components != (cmyk ? 4 : 3))
      return Fail(name, "JPEG colour layout is not supported");
    if (cmyk) cmykRow.resize(size_t(w) * 4);

    // A picture of plausible size for its file gets all its rows at once; one claiming far more
    // than a JPEG packs into this many bytes gets rows as they are decoded, so a lying header
    // over a few bytes of data fails at the end of the data without having claimed the memory.
    width_ = w;
    height_ = h;
    bpp_ = 24;
    rowLength_ = w * 3;
    const size_t rowBytes = size_t(rowLength_);
    const bool plausible = rowBytes * size_t(h) <= length * kPlausibleRatio;
    try {
      while (st.info.output_scanline < st.info.output_height) {
        const size_t y = st.info.output_scanline;
        if (pixels_.size() < (y + 1) * rowBytes)
          pixels_.resize(plausible ? size_t(h) * rowBytes
                                   : std::min(size_t(h) * rowBytes,
                                              std::max((y + 1) * rowBytes, pixels_.size() * 2)));
        uint8_t* row = pixels_.data() + y * rowBytes;
        JSAMPROW out = cmyk ? cmykRow.data() : row;
        if (jpeg_read_scanlines(&st.info, &out, 1) != 1) return Fail(name, "JPEG decoding stopped early");
        if (cmyk) cmykToBgr(cmykRow.data(), row, w, st.info.saw_Adobe_marker);
      }
    } catch (const std::bad_alloc&) {
      return Fail(name, "out of memory");
    }
    // The pixels are complete: what follows them cannot spoil the picture any more.
    errors.strictEnd = false;
    jpeg_finish_decompress(&st.info);
    return 0;
  };
  return decode();
}
