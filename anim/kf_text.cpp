// Keyframe text form: a small tokenizer, the parser and the printer.
#include "anim/kf_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/float_text.h"

namespace {

// ---- printing ----------------------------------------------------------------------------------

std::string Num(float v) {
  if (std::isnan(v)) {
    // Not-a-number keeps its exact bits so the bytes come back unchanged.
    uint32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    char b[24];
    std::snprintf(b, sizeof b, "bits:%08x", bits);
    return b;
  }
  char b[32];
  auto r = baseFloatToChars(b, b + sizeof b, v);
  return std::string(b, r.ptr);
}

std::string Quote(const std::string& s) {
  std::string o = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      o += '\\';
      o += char(c);
    } else if (c == '\n') {
      o += "\\n";
    } else if (c < 0x20 || c == 0x7f) {
      char b[8];
      std::snprintf(b, sizeof b, "\\x%02x", c);
      o += b;
    } else {
      o += char(c);
    }
  }
  return o + "\"";
}

bool DefaultParams(const C_FilterDesc& f) { return f == C_FilterDesc{f.type, 1.0f, 0.0f, 1.0f, 0.0f} && !std::signbit(f.m1) && !std::signbit(f.m0); }

std::string Filter(const C_FilterDesc& f) {
  if (DefaultParams(f)) {
    if (f.type == 0) return "linear";
    if (f.type == 1) return "hold";
    if (f.type == 2) return "smooth";
  }
  return "(" + std::to_string(f.type) + " " + Num(f.a) + " " + Num(f.m1) + " " + Num(f.b) + " " + Num(f.m0) + ")";
}

bool IsPlainLinear(const C_FilterDesc& f) { return f.type == 0 && DefaultParams(f); }

void Tail(std::string& o, const C_KeyBase& k) {
  if (k.markerType != 0) o += " marker " + std::to_string(k.markerType);
  if (!k.soundName.empty()) o += " sound " + Quote(k.soundName);
}

void Print(std::string& o, const C_FloatKey& k) {
  o += "key " + Num(k.time) + " " + Num(k.value);
  if (!IsPlainLinear(k.filter)) o += " ease " + Filter(k.filter);
  Tail(o, k);
}
void Print(std::string& o, const C_VectorKey& k) {
  o += "key " + Num(k.time) + " " + Num(k.x) + " " + Num(k.y);
  const std::string x = Filter(k.filterX), y = Filter(k.filterY);
  if (x == y) {
    if (!IsPlainLinear(k.filterX)) o += " ease " + x;
  } else {
    o += " easeX " + x + " easeY " + y;
  }
  Tail(o, k);
}
void Print(std::string& o, const C_ColorKey& k) {
  o += "key " + Num(k.time) + " " + std::to_string(k.red) + " " + std::to_string(k.green) + " " +
       std::to_string(k.blue);
  if (k.unused) o += " pad " + std::to_string(k.unused);
  const std::string r = Filter(k.filterRed), g = Filter(k.filterGreen), b = Filter(k.filterBlue);
  if (r == g && g == b) {
    if (!IsPlainLinear(k.filterRed)) o += " ease " + r;
  } else {
    o += " easeR " + r + " easeG " + g + " easeB " + b;
  }
  Tail(o, k);
}

template <class K>
void PrintTrack(std::string& o, const std::string& pad, const char* name, const std::vector<K>& keys) {
  if (keys.empty()) return;
  o += pad + name + " {\n";
  for (const K& k : keys) {
    o += pad + "  ";
    Print(o, k);
    o += "\n";
  }
  o += pad + "}\n";
}

void PrintObject(std::string& o, const C_AnimationObject& ob, int depth) {
  const std::string pad(size_t(depth) * 2, ' '), in = pad + "  ";
  o += pad + "object " + Quote(ob.name) + " {\n";
  o += in + "blend " + std::to_string(ob.normalBlend) + "\n";
  o += in + "values " + std::to_string(ob.valueA) + " " + std::to_string(ob.valueB) + "\n";
  o += in + "picture " + Quote(ob.pictureName) + "\n";
  o += in + "frames " + std::to_string(ob.frameCount) + "\n";
  o += in + "mask " + Quote(ob.maskName) + "\n";
  o += in + "text " + Quote(ob.textKey) + "\n";
  o += in + "textBlend " + std::to_string(ob.textNormalBlend) + "\n";
  o += in + "box " + Num(ob.textBoxWidth) + " " + Num(ob.textBoxHeight) + "\n";
  o += in + "font " + Quote(ob.fontName) + "\n";
  o += in + "align " + std::to_string(ob.textHAlign) + " " + std::to_string(ob.textVAlign) + "\n";
  for (const auto& c : ob.children) PrintObject(o, *c, depth + 1);
  PrintTrack(o, in, "position", ob.position);
  PrintTrack(o, in, "size", ob.size);
  PrintTrack(o, in, "scale", ob.scale);
  PrintTrack(o, in, "alpha", ob.alpha);
  PrintTrack(o, in, "rotation", ob.rotation);
  PrintTrack(o, in, "phase", ob.phase);
  PrintTrack(o, in, "colour", ob.colour);
  o += pad + "}\n";
}

// ---- parsing -----------------------------------------------------------------------------------

struct Token {
  enum Kind { End, Word, String, Open, Close, LParen, RParen } kind = End;
  std::string text;
  int line = 1;
};

class Lexer {
 public:
  explicit Lexer(std::string_view s) : s_(s) {}
  bool Next(Token& t, std::string& error) {
    for (;;) {
      while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n')) {
        if (s_[i_] == '\n') ++line_;
        ++i_;
      }
      if (i_ < s_.size() && s_[i_] == '#') {
        while (i_ < s_.size() && s_[i_] != '\n') ++i_;
        continue;
      }
      break;
    }
    t = Token();
    t.line = line_;
    if (i_ >= s_.size()) return true;
    const char c = s_[i_];
    if (c == '{' || c == '}' || c == '(' || c == ')') {
      t.kind = c == '{' ? Token::Open : c == '}' ? Token::Close : c == '(' ? Token::LParen : Token::RParen;
      ++i_;
      return true;
    }
    if (c == '"') return String(t, error);
    const size_t start = i_;
    while (i_ < s_.size() && !Delimiter(s_[i_])) ++i_;
    t.kind = Token::Word;
    t.text = std::string(s_.substr(start, i_ - start));
    return true;
  }

 private:
  static bool Delimiter(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '{' || c == '}' || c == '(' || c == ')' ||
           c == '"' || c == '#';
  }
  bool String(Token& t, std::string& error) {
    ++i_;
    t.kind = Token::String;
    while (i_ < s_.size() && s_[i_] != '"') {
      char c = s_[i_++];
      if (c == '\n') ++line_;
      if (c == '\\') {
        if (i_ >= s_.size()) break;
        const char e = s_[i_++];
        if (e == 'n') c = '\n';
        else if (e == 't') c = '\t';
        else if (e == 'x' && i_ + 2 <= s_.size()) {
          unsigned v = 0;
          auto r = std::from_chars(s_.data() + i_, s_.data() + i_ + 2, v, 16);
          if (r.ptr != s_.data() + i_ + 2) {
            error = "line " + std::to_string(line_) + ": \\x needs two hex digits";
            return false;
          }
          i_ += 2;
          c = char(v);
        } else c = e;
      }
      t.text += c;
      if (t.text.size() > kKfMaxText) {
        error = "line " + std::to_string(t.line) + ": a text is longer than 4096 bytes";
        return false;
      }
    }
    if (i_ >= s_.size()) {
      error = "line " + std::to_string(t.line) + ": a text has no closing quote";
      return false;
    }
    ++i_;
    return true;
  }

  std::string_view s_;
  size_t i_ = 0;
  int line_ = 1;
};

class Parser {
 public:
  Parser(std::string_view s, std::string& error) : lex_(s), error_(error) { Advance(); }

  bool File(KfObjects& out) {
    while (ok_ && tok_.kind != Token::End) {
      if (!IsWord("object")) return Fail("expected \"object\"");
      if (!Object(out, nullptr, 0)) return false;
    }
    return ok_;
  }

 private:
  bool Fail(const std::string& why) {
    if (ok_) error_ = "line " + std::to_string(tok_.line) + ": " + why;
    ok_ = false;
    return false;
  }
  void Advance() {
    if (ok_ && !lex_.Next(tok_, error_)) ok_ = false;
  }
  bool IsWord(const char* w) const { return tok_.kind == Token::Word && tok_.text == w; }

  bool Expect(Token::Kind k, const char* what) {
    if (!ok_) return false;
    if (tok_.kind != k) return Fail(std::string("expected ") + what);
    Advance();
    return ok_;
  }
  bool Str(std::string& s) {
    if (!ok_) return false;
    if (tok_.kind != Token::String) return Fail("expected a quoted text");
    s = tok_.text;
    Advance();
    return ok_;
  }
  bool Int(int32_t& v) {
    if (!ok_) return false;
    if (tok_.kind != Token::Word) return Fail("expected a whole number");
    const std::string& w = tok_.text;
    auto r = std::from_chars(w.data(), w.data() + w.size(), v);
    if (r.ec != std::errc() || r.ptr != w.data() + w.size()) return Fail("\"" + w + "\" is not a whole number");
    Advance();
    return ok_;
  }
  bool Byte(uint8_t& v) {
    int32_t i = 0;
    if (!Int(i)) return false;
    if (i < 0 || i > 255) return Fail("a colour channel lies outside 0 .. 255");
    v = uint8_t(i);
    return true;
  }
  bool Float(float& v) {
    if (!ok_) return false;
    if (tok_.kind != Token::Word) return Fail("expected a number");
    const std::string& w = tok_.text;
    if (w.rfind("bits:", 0) == 0) {
      uint32_t bits = 0;
      auto r = std::from_chars(w.data() + 5, w.data() + w.size(), bits, 16);
      if (r.ec != std::errc() || r.ptr != w.data() + w.size()) return Fail("\"" + w + "\" is not a bit pattern");
      std::memcpy(&v, &bits, 4);
    } else {
      auto r = baseFloatFromChars(w.data(), w.data() + w.size(), v);
      if (r.ec != std::errc() || r.ptr != w.data() + w.size()) return Fail("\"" + w + "\" is not a number");
    }
    Advance();
    return ok_;
  }
  bool Time(float& t) {
    if (!Float(t)) return false;
    if (!std::isfinite(t)) return Fail("a key time must be a finite number");
    return true;
  }
  bool Filter(C_FilterDesc& f) {
    if (!ok_) return false;
    f = C_FilterDesc();
    if (tok_.kind == Token::LParen) {
      Advance();
      return Int(f.type) && Float(f.a) && Float(f.m1) && Float(f.b) && Float(f.m0) && Expect(Token::RParen, "\")\"");
    }
    if (IsWord("linear")) f.type = 0;
    else if (IsWord("hold")) f.type = 1;
    else if (IsWord("smooth")) f.type = 2;
    else return Fail("expected linear, hold, smooth or (type a m1 b m0)");
    Advance();
    return ok_;
  }
  // Options after a key's values; `ease` is called for the easing words the key type knows.
  template <class Ease>
  bool KeyTail(C_KeyBase& k, Ease ease) {
    while (ok_ && tok_.kind == Token::Word && tok_.text != "key") {
      const std::string w = tok_.text;
      Advance();
      if (w == "marker") {
        if (!Int(k.markerType)) return false;
      } else if (w == "sound") {
        if (!Str(k.soundName)) return false;
      } else if (!ease(w)) {
        return ok_ ? Fail("unknown key option \"" + w + "\"") : false;
      }
    }
    return ok_;
  }
  bool Key(C_FloatKey& k) {
    return Time(k.time) && Float(k.value) && KeyTail(k, [&](const std::string& w) {
             return w == "ease" && Filter(k.filter);
           });
  }
  bool Key(C_VectorKey& k) {
    return Time(k.time) && Float(k.x) && Float(k.y) && KeyTail(k, [&](const std::string& w) {
             if (w == "ease") return Filter(k.filterX) && ((k.filterY = k.filterX), true);
             if (w == "easeX") return Filter(k.filterX);
             if (w == "easeY") return Filter(k.filterY);
             return false;
           });
  }
  bool Key(C_ColorKey& k) {
    return Time(k.time) && Byte(k.red) && Byte(k.green) && Byte(k.blue) && KeyTail(k, [&](const std::string& w) {
             if (w == "pad") return Byte(k.unused);
             if (w == "ease") return Filter(k.filterRed) && ((k.filterGreen = k.filterBlue = k.filterRed), true);
             if (w == "easeR") return Filter(k.filterRed);
             if (w == "easeG") return Filter(k.filterGreen);
             if (w == "easeB") return Filter(k.filterBlue);
             return false;
           });
  }
  template <class K>
  bool Track(std::vector<K>& keys) {
    if (!Expect(Token::Open, "\"{\"")) return false;
    keys.clear();
    while (ok_ && tok_.kind != Token::Close) {
      if (!IsWord("key")) return Fail("expected \"key\" or \"}\"");
      Advance();
      keys.emplace_back();
      if (!Key(keys.back())) return false;
    }
    return Expect(Token::Close, "\"}\"");
  }

  bool Object(KfObjects& out, C_AnimationObject* parent, int depth) {
    const int line = tok_.line;
    Advance();  // "object"
    if (depth >= kKfMaxDepth) return Fail("objects are nested more than 48 deep");
    auto o = std::make_unique<C_AnimationObject>();
    o->parent = parent;
    if (!Str(o->name) || !Expect(Token::Open, "\"{\"")) return false;
    while (ok_ && tok_.kind != Token::Close) {
      if (tok_.kind == Token::End) {
        error_ = "line " + std::to_string(line) + ": the object has no closing \"}\"";
        return ok_ = false;
      }
      if (tok_.kind != Token::Word) return Fail("expected a field name");
      const std::string w = tok_.text;
      if (w == "object") {
        if (!Object(o->children, o.get(), depth + 1)) return false;
        continue;
      }
      Advance();
      bool good;
      if (w == "blend") good = Int(o->normalBlend);
      else if (w == "values") good = Int(o->valueA) && Int(o->valueB);
      else if (w == "picture") good = Str(o->pictureName);
      else if (w == "frames") good = Int(o->frameCount);
      else if (w == "mask") good = Str(o->maskName);
      else if (w == "text") good = Str(o->textKey);
      else if (w == "textBlend") good = Int(o->textNormalBlend);
      else if (w == "box") good = Float(o->textBoxWidth) && Float(o->textBoxHeight);
      else if (w == "font") good = Str(o->fontName);
      else if (w == "align") good = Int(o->textHAlign) && Int(o->textVAlign);
      else if (w == "position") good = Track(o->position);
      else if (w == "size") good = Track(o->size);
      else if (w == "scale") good = Track(o->scale);
      else if (w == "alpha") good = Track(o->alpha);
      else if (w == "rotation") good = Track(o->rotation);
      else if (w == "phase") good = Track(o->phase);
      else if (w == "colour" || w == "color") good = Track(o->colour);
      else return Fail("unknown field \"" + w + "\"");
      if (!good) return false;
    }
    if (!Expect(Token::Close, "\"}\"")) return false;
    out.push_back(std::move(o));
    return true;
  }

  Lexer lex_;
  Token tok_;
  std::string& error_;
  bool ok_ = true;
};

}  // namespace

std::string kfToText(const KfObjects& objects) {
  std::string o = "# Keyframe animation in the text form of kfc (docs/keyframe.md)\n";
  for (const auto& ob : objects) PrintObject(o, *ob, 0);
  return o;
}

bool kfFromText(std::string_view text, KfObjects& out, std::string& error) {
  out.clear();
  error.clear();
  Parser p(text, error);
  if (!p.File(out)) {
    out.clear();
    if (error.empty()) error = "the text could not be read";
    return false;
  }
  return true;
}
