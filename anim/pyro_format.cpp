// The reader of effect files: "[emitter id]" sections of "key = value" lines, every value checked
// against its range, every fault reported with its line. Curves are "t value" pairs split by commas.
#include "anim/pyro_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>

#include "base/float_text.h"
#include "files/text.h"

namespace Pyro {

// ---- Curves ---------------------------------------------------------------------------------

Curve Curve::Constant(float value) {
  Curve c;
  c.count = 1;
  c.v[0] = value;
  return c;
}

float Curve::At(float x) const {
  if (count <= 1) return count ? v[0] : 0.f;
  if (x <= t[0]) return v[0];
  for (int i = 1; i < count; ++i) {
    if (x < t[i]) {
      const float span = t[i] - t[i - 1];
      const float f = span > 0 ? (x - t[i - 1]) / span : 1.f;
      return v[i - 1] + (v[i] - v[i - 1]) * f;
    }
  }
  return v[count - 1];
}

ColorCurve ColorCurve::Constant(float r, float g, float b, float a) {
  ColorCurve c;
  c.count = 1;
  c.c[0][0] = r;
  c.c[0][1] = g;
  c.c[0][2] = b;
  c.c[0][3] = a;
  return c;
}

void ColorCurve::At(float x, float out[4]) const {
  int lo = 0, hi = 0;
  float f = 0;
  if (count <= 1 || x <= t[0]) {
    lo = hi = 0;
  } else {
    hi = count - 1;
    lo = hi;
    for (int i = 1; i < count; ++i) {
      if (x < t[i]) {
        lo = i - 1;
        hi = i;
        const float span = t[i] - t[i - 1];
        f = span > 0 ? (x - t[i - 1]) / span : 1.f;
        break;
      }
    }
  }
  for (int k = 0; k < 4; ++k) out[k] = c[lo][k] + (c[hi][k] - c[lo][k]) * f;
}

// ---- Reading --------------------------------------------------------------------------------

namespace {

constexpr float kDeg = 3.14159265f / 180.f;

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// Splits on spaces and tabs.
std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsSpace(s[i])) ++i;
    size_t j = i;
    while (j < s.size() && !IsSpace(s[j])) ++j;
    if (j > i) out.push_back(s.substr(i, j - i));
    i = j;
  }
  return out;
}

bool Number(std::string_view w, float& out) {
  if (!w.empty() && w.front() == '+') w.remove_prefix(1);
  float v = 0;
  auto [end, ec] = baseFloatFromChars(w.data(), w.data() + w.size(), v);
  if (ec != std::errc() || end != w.data() + w.size() || !std::isfinite(v)) return false;
  out = v;
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "#RRGGBB" or "#RRGGBBAA".
bool Colour(std::string_view w, float out[4]) {
  if (w.size() != 7 && w.size() != 9) return false;
  if (w[0] != '#') return false;
  out[3] = 1.f;
  for (size_t k = 0; k * 2 + 1 < w.size(); ++k) {
    const int hi = HexDigit(w[1 + 2 * k]), lo = HexDigit(w[2 + 2 * k]);
    if (hi < 0 || lo < 0) return false;
    out[k] = float(hi * 16 + lo) / 255.f;
  }
  return true;
}

class Reader {
 public:
  Reader(std::string_view name, std::string& error) : name_(name), error_(error) {}

  bool Parse(std::string_view text, EffectDef& out);

 private:
  bool Fail(const char* why, std::string_view what = {}) {
    char head[64];
    std::snprintf(head, sizeof head, "(%d): ", line_);
    error_.assign(name_);
    error_ += head;
    error_ += why;
    if (!what.empty()) {
      error_ += " \"";
      error_.append(what.substr(0, 64));
      error_ += '"';
    }
    return false;
  }

  bool Header(std::string_view inner, EffectDef& out);
  bool Key(std::string_view key, std::string_view value, EffectDef& out);
  bool EmitterKey(std::string_view key, std::string_view value, EmitterDef& e);

  // One number, or one or two ("min max"; one value gives both), each within lo..hi.
  bool One(std::string_view key, std::string_view value, float lo, float hi, float& v);
  bool Range(std::string_view key, std::string_view value, float lo, float hi, float& a, float& b);
  bool Pair(std::string_view key, std::string_view value, float lo, float hi, float& a, float& b);
  bool Flag(std::string_view key, std::string_view value, bool& v);
  bool Whole(std::string_view key, std::string_view value, int lo, int hi, int& v);
  bool CurveOf(std::string_view key, std::string_view value, float lo, float hi, Curve& c);
  bool ColoursOf(std::string_view key, std::string_view value, ColorCurve& c);
  // Splits "t v, t v, ..." into its keys and checks the times: 0..1, rising.
  bool Keys(std::string_view key, std::string_view value, const std::function<bool(float, std::string_view)>& add);

  std::string_view name_;
  std::string& error_;
  int line_ = 0;
  enum class Section { None, Effect, Emitter } section_ = Section::None;
};

bool Reader::Parse(std::string_view text, EffectDef& out) {
  line_ = 0;
  if (text.size() > kMaxFileBytes) return Fail("file too large");
  if (text.find('\0') != std::string_view::npos) return Fail("not a text file (zero byte)");
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  EffectDef def;
  size_t pos = 0;
  while (pos < text.size()) {
    ++line_;
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(pos, end - pos);
    pos = end + 1;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (raw.size() > kMaxLineBytes) return Fail("line too long");
    // A semicolon starts a comment anywhere; values never need one.
    if (size_t semi = raw.find(';'); semi != std::string_view::npos) raw = raw.substr(0, semi);
    std::string_view line = Trim(raw);
    if (line.empty()) continue;
    if (line.front() == '[') {
      if (line.back() != ']') return Fail("section header without \"]\"", line);
      if (!Header(Trim(line.substr(1, line.size() - 2)), def)) return false;
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return Fail("expected \"key = value\"", line);
    const std::string_view key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
    if (key.empty()) return Fail("missing key name", line);
    if (value.empty()) return Fail("missing value for key", key);
    if (!Key(key, value, def)) return false;
  }
  if (def.emitters.empty()) {
    line_ = 0;
    return Fail("no [emitter] section");
  }
  out = std::move(def);
  return true;
}

bool Reader::Header(std::string_view inner, EffectDef& out) {
  const auto words = Words(inner);
  if (words.size() == 1 && textEqualNoCase(words[0], "effect")) {
    section_ = Section::Effect;
    return true;
  }
  if (words.empty() || !textEqualNoCase(words[0], "emitter") || words.size() > 2) return Fail("unknown section", inner);
  if (out.emitters.size() >= size_t(kMaxEmitters)) return Fail("too many emitters");
  EmitterDef e;
  if (words.size() == 2) {
    const std::string_view id = words[1];
    if (id.size() > 31) return Fail("emitter id too long", id);
    for (char c : id)
      if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'))
        return Fail("emitter id may hold letters, digits, \"_\" and \"-\" only", id);
    e.id = std::string(id);
  } else {
    e.id = "emitter" + std::to_string(out.emitters.size() + 1);
  }
  for (const EmitterDef& other : out.emitters)
    if (textEqualNoCase(other.id, e.id)) return Fail("emitter id used twice", e.id);
  out.emitters.push_back(std::move(e));
  section_ = Section::Emitter;
  return true;
}

bool Reader::Key(std::string_view key, std::string_view value, EffectDef& out) {
  switch (section_) {
    case Section::None: return Fail("key before any section", key);
    case Section::Effect:
      if (textEqualNoCase(key, "title")) {
        out.title = std::string(value);
        return true;
      }
      if (textEqualNoCase(key, "version")) {
        float v = 0;
        if (!One(key, value, 1, 1, v)) return false;
        return true;
      }
      return Fail("unknown key in [effect]", key);
    case Section::Emitter: return EmitterKey(key, value, out.emitters.back());
  }
  return false;
}

bool Reader::EmitterKey(std::string_view key, std::string_view value, EmitterDef& e) {
  float a = 0, b = 0;
  if (textEqualNoCase(key, "sprite")) {
    if (value.size() > 200) return Fail("picture name too long");
    e.sprite = std::string(value);
    return true;
  }
  if (textEqualNoCase(key, "blend")) {
    if (textEqualNoCase(value, "alpha")) e.additive = false;
    else if (textEqualNoCase(value, "additive")) e.additive = true;
    else return Fail("blend is \"alpha\" or \"additive\", not", value);
    return true;
  }
  if (textEqualNoCase(key, "rate")) return One(key, value, 0, 10000, e.rate);
  if (textEqualNoCase(key, "burst")) return Whole(key, value, 0, kMaxParticlesPerEmitter, e.burst);
  if (textEqualNoCase(key, "maxParticles")) return Whole(key, value, 1, kMaxParticlesPerEmitter, e.maxParticles);
  if (textEqualNoCase(key, "delay")) return One(key, value, 0, 3600, e.delay);
  if (textEqualNoCase(key, "duration")) return One(key, value, 0, 3600, e.duration);
  if (textEqualNoCase(key, "life")) {
    if (!Range(key, value, 0.001f, 600, e.lifeMin, e.lifeMax)) return false;
    return true;
  }
  if (textEqualNoCase(key, "speed")) return Range(key, value, 0, 100000, e.speedMin, e.speedMax);
  if (textEqualNoCase(key, "direction")) {
    if (!One(key, value, -3600, 3600, a)) return false;
    e.direction = a * kDeg;
    return true;
  }
  if (textEqualNoCase(key, "spread")) {
    if (!One(key, value, 0, 360, a)) return false;
    e.spread = a * kDeg;
    return true;
  }
  if (textEqualNoCase(key, "gravity")) return Pair(key, value, -100000, 100000, e.gravityX, e.gravityY);
  if (textEqualNoCase(key, "drag")) return One(key, value, 0, 100, e.drag);
  if (textEqualNoCase(key, "area")) return Pair(key, value, 0, 100000, e.areaWidth, e.areaHeight);
  if (textEqualNoCase(key, "isRound")) return Flag(key, value, e.round);
  if (textEqualNoCase(key, "isAttached")) return Flag(key, value, e.attached);
  if (textEqualNoCase(key, "angle")) {
    if (!Range(key, value, -3600, 3600, a, b)) return false;
    e.angleMin = a * kDeg;
    e.angleMax = b * kDeg;
    return true;
  }
  if (textEqualNoCase(key, "spin")) {
    if (!Range(key, value, -100000, 100000, a, b)) return false;
    e.spinMin = a * kDeg;
    e.spinMax = b * kDeg;
    return true;
  }
  if (textEqualNoCase(key, "sizeVariation")) return One(key, value, 0, 1, e.sizeVariation);
  if (textEqualNoCase(key, "size")) return CurveOf(key, value, 0, 4096, e.size);
  if (textEqualNoCase(key, "alpha")) return CurveOf(key, value, 0, 1, e.alpha);
  if (textEqualNoCase(key, "color") || textEqualNoCase(key, "colour")) return ColoursOf(key, value, e.color);
  return Fail("unknown key", key);
}

bool Reader::One(std::string_view key, std::string_view value, float lo, float hi, float& v) {
  const auto w = Words(value);
  float x = 0;
  if (w.size() != 1 || !Number(w[0], x)) return Fail("expected one number for", key);
  if (x < lo || x > hi) return Fail("value out of range for", key);
  v = x;
  return true;
}

bool Reader::Range(std::string_view key, std::string_view value, float lo, float hi, float& a, float& b) {
  const auto w = Words(value);
  float x = 0, y = 0;
  if (w.empty() || w.size() > 2 || !Number(w[0], x) || (w.size() == 2 && !Number(w[1], y)))
    return Fail("expected \"min max\" or one number for", key);
  if (w.size() == 1) y = x;
  if (x < lo || x > hi || y < lo || y > hi) return Fail("value out of range for", key);
  if (y < x) return Fail("the maximum is below the minimum for", key);
  a = x;
  b = y;
  return true;
}

bool Reader::Pair(std::string_view key, std::string_view value, float lo, float hi, float& a, float& b) {
  const auto w = Words(value);
  float x = 0, y = 0;
  if (w.size() != 2 || !Number(w[0], x) || !Number(w[1], y)) return Fail("expected two numbers for", key);
  if (x < lo || x > hi || y < lo || y > hi) return Fail("value out of range for", key);
  a = x;
  b = y;
  return true;
}

bool Reader::Flag(std::string_view key, std::string_view value, bool& v) {
  if (value == "0") v = false;
  else if (value == "1") v = true;
  else return Fail("expected 0 or 1 for", key);
  return true;
}

bool Reader::Whole(std::string_view key, std::string_view value, int lo, int hi, int& v) {
  int x = 0;
  auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), x);
  if (ec != std::errc() || end != value.data() + value.size()) return Fail("expected a whole number for", key);
  if (x < lo || x > hi) return Fail("value out of range for", key);
  v = x;
  return true;
}

bool Reader::Keys(std::string_view key, std::string_view value,
                  const std::function<bool(float, std::string_view)>& add) {
  // A single value without a time is a constant.
  if (value.find(',') == std::string_view::npos && Words(value).size() == 1) return add(0.f, Trim(value));
  int n = 0;
  float last = -1;
  size_t pos = 0;
  while (pos <= value.size()) {
    size_t comma = value.find(',', pos);
    if (comma == std::string_view::npos) comma = value.size();
    const auto w = Words(value.substr(pos, comma - pos));
    pos = comma + 1;
    float t = 0;
    if (w.size() != 2 || !Number(w[0], t)) return Fail("expected \"time value\" pairs split by commas for", key);
    if (t < 0 || t > 1) return Fail("key times run from 0 to 1 in", key);
    if (t < last) return Fail("key times must not fall in", key);
    if (++n > kMaxCurveKeys) return Fail("too many keys (8 at most) in", key);
    last = t;
    if (!add(t, w[1])) return false;
  }
  return true;
}

bool Reader::CurveOf(std::string_view key, std::string_view value, float lo, float hi, Curve& c) {
  Curve out;
  const bool ok = Keys(key, value, [&](float t, std::string_view v) {
    float x = 0;
    if (!Number(v, x)) return Fail("expected a number in", key);
    if (x < lo || x > hi) return Fail("value out of range in", key);
    out.t[out.count] = t;
    out.v[out.count] = x;
    ++out.count;
    return true;
  });
  if (ok) c = out;
  return ok;
}

bool Reader::ColoursOf(std::string_view key, std::string_view value, ColorCurve& c) {
  ColorCurve out;
  const bool ok = Keys(key, value, [&](float t, std::string_view v) {
    if (!Colour(v, out.c[out.count])) return Fail("expected a colour #RRGGBB or #RRGGBBAA in", key);
    out.t[out.count] = t;
    ++out.count;
    return true;
  });
  if (ok) c = out;
  return ok;
}

}  // namespace

bool pyroParseEffect(std::string_view text, std::string_view name, EffectDef& out, std::string& error) {
  Reader r(name, error);
  return r.Parse(text, out);
}

}  // namespace Pyro
