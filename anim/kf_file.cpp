// Bounded reading and writing of binary keyframe files.
#include "anim/kf_file.h"

#include <cmath>
#include <cstring>

namespace {

// Smallest number of bytes each record can take, to refuse counts the data cannot hold before
// anything is allocated for them.
constexpr size_t kFilterBytes = 20;
constexpr size_t kFloatKeyBytes = 4 + 4 + 4 + kFilterBytes + 4;
constexpr size_t kVectorKeyBytes = 4 + 4 + 8 + 2 * kFilterBytes + 4;
constexpr size_t kColourKeyBytes = 4 + 4 + 4 + 3 * kFilterBytes + 4;
constexpr size_t kObjectBytes = 4 * 3 + 4 + 4 + 4 + 4 + 4 + 4 + 8 + 4 + 8 + 4 + 7 * 4;

class Reader {
 public:
  Reader(const uint8_t* d, size_t n, KfReadError& e) : data_(d), size_(n), error_(e) {}

  bool Fail(const char* reason, size_t at) {
    if (!failed_) {
      failed_ = true;
      error_.offset = at;
      error_.reason = reason;
    }
    return false;
  }
  bool Failed() const { return failed_; }
  size_t Left() const { return size_ - pos_; }
  size_t Pos() const { return pos_; }

  bool I32(int32_t& v) {
    if (failed_) return false;
    if (Left() < 4) return Fail("the file ends inside a number", pos_);
    uint32_t u = uint32_t(data_[pos_]) | uint32_t(data_[pos_ + 1]) << 8 | uint32_t(data_[pos_ + 2]) << 16 |
                 uint32_t(data_[pos_ + 3]) << 24;
    std::memcpy(&v, &u, 4);
    pos_ += 4;
    return true;
  }
  bool F32(float& v) {
    int32_t i = 0;
    if (!I32(i)) return false;
    std::memcpy(&v, &i, 4);
    return true;
  }
  bool Text(std::string& s) {
    const size_t at = pos_;
    int32_t n = 0;
    if (!I32(n)) return false;
    if (n <= 0) {
      s.clear();
      return true;
    }
    if (size_t(n) > kKfMaxText) return Fail("a text is longer than 4096 bytes", at);
    if (size_t(n) > Left()) return Fail("a text is longer than the bytes left", at);
    s.assign(reinterpret_cast<const char*>(data_ + pos_), size_t(n));
    pos_ += size_t(n);
    return true;
  }
  // A count of records of at least `each` bytes that must fit in what is left.
  bool Count(size_t& n, size_t each) {
    const size_t at = pos_;
    int32_t c = 0;
    if (!I32(c)) return false;
    if (c < 0) return Fail("a count is negative", at);
    if (size_t(c) > Left() / each) return Fail("a count is larger than the bytes left can hold", at);
    n = size_t(c);
    return true;
  }
  bool Time(float& t) {
    const size_t at = pos_;
    if (!F32(t)) return false;
    if (!std::isfinite(t)) return Fail("a key time is not a finite number", at);
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool failed_ = false;
  KfReadError& error_;
};

bool ReadFilter(Reader& r, C_FilterDesc& f) {
  return r.I32(f.type) && r.F32(f.a) && r.F32(f.m1) && r.F32(f.b) && r.F32(f.m0);
}

bool ReadKey(Reader& r, C_FloatKey& k) {
  return r.I32(k.markerType) && r.Time(k.time) && r.F32(k.value) && ReadFilter(r, k.filter) && r.Text(k.soundName);
}
bool ReadKey(Reader& r, C_VectorKey& k) {
  return r.I32(k.markerType) && r.Time(k.time) && r.F32(k.x) && r.F32(k.y) && ReadFilter(r, k.filterX) &&
         ReadFilter(r, k.filterY) && r.Text(k.soundName);
}
bool ReadKey(Reader& r, C_ColorKey& k) {
  int32_t rgba = 0;
  if (!r.I32(k.markerType) || !r.Time(k.time) || !r.I32(rgba)) return false;
  const uint32_t u = uint32_t(rgba);
  k.red = uint8_t(u);
  k.green = uint8_t(u >> 8);
  k.blue = uint8_t(u >> 16);
  k.unused = uint8_t(u >> 24);
  return ReadFilter(r, k.filterRed) && ReadFilter(r, k.filterGreen) && ReadFilter(r, k.filterBlue) &&
         r.Text(k.soundName);
}

template <class Key>
bool ReadTrack(Reader& r, std::vector<Key>& keys, size_t each) {
  size_t n = 0;
  if (!r.Count(n, each)) return false;
  keys.resize(n);
  for (Key& k : keys)
    if (!ReadKey(r, k)) return false;
  return true;
}

bool ReadObjects(Reader& r, KfObjects& out, C_AnimationObject* parent, int depth);

bool ReadObject(Reader& r, C_AnimationObject& o, int depth) {
  if (!(r.I32(o.normalBlend) && r.I32(o.valueA) && r.I32(o.valueB) && r.Text(o.name) && r.Text(o.pictureName) &&
        r.I32(o.frameCount) && r.Text(o.maskName) && r.Text(o.textKey) && r.I32(o.textNormalBlend) &&
        r.F32(o.textBoxWidth) && r.F32(o.textBoxHeight) && r.Text(o.fontName) && r.I32(o.textHAlign) &&
        r.I32(o.textVAlign)))
    return false;
  if (!ReadObjects(r, o.children, &o, depth + 1)) return false;
  return ReadTrack(r, o.position, kVectorKeyBytes) && ReadTrack(r, o.size, kVectorKeyBytes) &&
         ReadTrack(r, o.scale, kFloatKeyBytes) && ReadTrack(r, o.alpha, kFloatKeyBytes) &&
         ReadTrack(r, o.rotation, kFloatKeyBytes) && ReadTrack(r, o.phase, kFloatKeyBytes) &&
         ReadTrack(r, o.colour, kColourKeyBytes);
}

bool ReadObjects(Reader& r, KfObjects& out, C_AnimationObject* parent, int depth) {
  const size_t at = r.Pos();
  size_t n = 0;
  if (!r.Count(n, kObjectBytes)) return false;
  if (n > 0 && depth >= kKfMaxDepth) return r.Fail("objects are nested more than 48 deep", at);
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    auto o = std::make_unique<C_AnimationObject>();
    o->parent = parent;
    C_AnimationObject& ref = *o;
    out.push_back(std::move(o));
    if (!ReadObject(r, ref, depth)) return false;
  }
  return true;
}

class Writer {
 public:
  void I32(int32_t v) {
    uint32_t u = 0;
    std::memcpy(&u, &v, 4);
    for (int i = 0; i < 4; ++i) out.push_back(char(uint8_t(u >> (8 * i))));
  }
  void F32(float v) {
    int32_t i = 0;
    std::memcpy(&i, &v, 4);
    I32(i);
  }
  void Text(const std::string& s) {
    I32(int32_t(s.size()));
    out += s;
  }
  void Filter(const C_FilterDesc& f) {
    I32(f.type);
    F32(f.a);
    F32(f.m1);
    F32(f.b);
    F32(f.m0);
  }
  void Key(const C_FloatKey& k) {
    I32(k.markerType);
    F32(k.time);
    F32(k.value);
    Filter(k.filter);
    Text(k.soundName);
  }
  void Key(const C_VectorKey& k) {
    I32(k.markerType);
    F32(k.time);
    F32(k.x);
    F32(k.y);
    Filter(k.filterX);
    Filter(k.filterY);
    Text(k.soundName);
  }
  void Key(const C_ColorKey& k) {
    I32(k.markerType);
    F32(k.time);
    I32(int32_t(uint32_t(k.red) | uint32_t(k.green) << 8 | uint32_t(k.blue) << 16 | uint32_t(k.unused) << 24));
    Filter(k.filterRed);
    Filter(k.filterGreen);
    Filter(k.filterBlue);
    Text(k.soundName);
  }
  template <class K>
  void Track(const std::vector<K>& keys) {
    I32(int32_t(keys.size()));
    for (const K& k : keys) Key(k);
  }
  void Objects(const KfObjects& list) {
    I32(int32_t(list.size()));
    for (const auto& o : list) Object(*o);
  }
  void Object(const C_AnimationObject& o) {
    I32(o.normalBlend);
    I32(o.valueA);
    I32(o.valueB);
    Text(o.name);
    Text(o.pictureName);
    I32(o.frameCount);
    Text(o.maskName);
    Text(o.textKey);
    I32(o.textNormalBlend);
    F32(o.textBoxWidth);
    F32(o.textBoxHeight);
    Text(o.fontName);
    I32(o.textHAlign);
    I32(o.textVAlign);
    Objects(o.children);
    Track(o.position);
    Track(o.size);
    Track(o.scale);
    Track(o.alpha);
    Track(o.rotation);
    Track(o.phase);
    Track(o.colour);
  }
  std::string out;
};

}  // namespace

bool kfParse(const uint8_t* data, size_t size, KfObjects& out, KfReadError& error) {
  out.clear();
  Reader r(data, size, error);
  if (!ReadObjects(r, out, nullptr, 0) || r.Failed()) {
    out.clear();
    return false;
  }
  // Bytes after the last object were never read by anyone; they are reported, not refused.
  error.trailing = r.Left();
  return true;
}

std::string kfSerialize(const KfObjects& objects) {
  Writer w;
  w.Objects(objects);
  return std::move(w.out);
}
