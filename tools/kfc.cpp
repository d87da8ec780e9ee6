// kfc: the keyframe animation compiler. Turns the readable text form (docs/keyframe.md) into the
// binary file the game plays, and a binary file back into that text.
//   kfc build <in.txt> <out.bin>   text to binary
//   kfc dump <in.bin> [out.txt]    binary to text (standard output without a second name)
//   kfc check <in.bin>             reads a binary file and says what it holds
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "anim/kf_file.h"
#include "anim/kf_text.h"

namespace {

bool ReadAll(const char* path, std::string& out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  out.assign(std::istreambuf_iterator<char>(f), {});
  return !f.bad();
}

bool WriteAll(const char* path, const std::string& data) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(data.data(), std::streamsize(data.size()));
  return bool(f.flush());
}

int Usage() {
  std::fprintf(stderr,
               "usage: kfc build <in.txt> <out.bin>\n"
               "       kfc dump <in.bin> [out.txt]\n"
               "       kfc check <in.bin>\n");
  return 2;
}

bool ParseBinary(const char* path, KfObjects& objects) {
  std::string bytes;
  if (!ReadAll(path, bytes)) {
    std::fprintf(stderr, "kfc: cannot read %s\n", path);
    return false;
  }
  KfReadError err;
  if (!kfParse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), objects, err)) {
    std::fprintf(stderr, "kfc: %s: %s at offset %zu\n", path, err.reason.c_str(), err.offset);
    return false;
  }
  if (err.trailing)
    std::fprintf(stderr, "kfc: %s: %zu bytes after the last object are not part of the animation\n", path,
                 err.trailing);
  return true;
}

size_t CountObjects(const KfObjects& list, size_t& keys) {
  size_t n = 0;
  for (const auto& o : list) {
    ++n;
    keys += o->position.size() + o->size.size() + o->scale.size() + o->alpha.size() + o->rotation.size() +
            o->phase.size() + o->colour.size();
    n += CountObjects(o->children, keys);
  }
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string cmd = argv[1];
  if (cmd == "build" && argc == 4) {
    std::string text;
    if (!ReadAll(argv[2], text)) {
      std::fprintf(stderr, "kfc: cannot read %s\n", argv[2]);
      return 1;
    }
    KfObjects objects;
    std::string error;
    if (!kfFromText(text, objects, error)) {
      std::fprintf(stderr, "kfc: %s: %s\n", argv[2], error.c_str());
      return 1;
    }
    if (!WriteAll(argv[3], kfSerialize(objects))) {
      std::fprintf(stderr, "kfc: cannot write %s\n", argv[3]);
      return 1;
    }
    return 0;
  }
  if (cmd == "dump" && (argc == 3 || argc == 4)) {
    KfObjects objects;
    if (!ParseBinary(argv[2], objects)) return 1;
    const std::string text = kfToText(objects);
    if (argc == 3) {
      std::fwrite(text.data(), 1, text.size(), stdout);
      return 0;
    }
    if (!WriteAll(argv[3], text)) {
      std::fprintf(stderr, "kfc: cannot write %s\n", argv[3]);
      return 1;
    }
    return 0;
  }
  if (cmd == "check" && argc == 3) {
    KfObjects objects;
    if (!ParseBinary(argv[2], objects)) return 1;
    size_t keys = 0;
    const size_t n = CountObjects(objects, keys);
    std::printf("%s: %zu objects, %zu keys\n", argv[2], n, keys);
    return 0;
  }
  return Usage();
}
