// A bounded recursive-descent XML reader for picture-description files. It accepts the subset such
// files use: nested elements, quoted attributes, comments and declarations; entities are kept as
// written except the five predefined ones.
#include "gfx/sprite_xml.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

constexpr int kMaxDepth = 32;
constexpr size_t kMaxNodes = 100000;
constexpr size_t kMaxAttributes = 64;

class Reader {
 public:
  Reader(const char* d, size_t n) : d_(d), n_(n) {}

  bool Document(gXmlNode& root) {
    if (!SkipMisc()) return false;
    if (!At('<')) return Fail("no root element");
    if (!Element(root, 0)) return false;
    if (!SkipMisc()) return false;
    if (p_ < n_) return Fail("text after the root element");
    return true;
  }
  size_t offset() const { return p_; }
  const char* why() const { return why_; }

 private:
  bool Fail(const char* w) {
    if (!why_) why_ = w;
    return false;
  }
  bool At(char c) const { return p_ < n_ && d_[p_] == c; }
  bool StartsWith(const char* s) const {
    size_t i = 0;
    for (; s[i]; ++i)
      if (p_ + i >= n_ || d_[p_ + i] != s[i]) return false;
    return true;
  }
  static bool Space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
  static bool NameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == ':' || c == '.' || (unsigned char)c >= 0x80;
  }
  void SkipSpace() {
    while (p_ < n_ && Space(d_[p_])) ++p_;
  }
  // Moves past the next `end`; false when the data ends first.
  bool SkipPast(const char* end) {
    while (p_ < n_) {
      if (StartsWith(end)) {
        for (const char* e = end; *e; ++e) ++p_;
        return true;
      }
      ++p_;
    }
    return Fail("unterminated markup");
  }
  // Comments, declarations, processing instructions and character data.
  bool SkipMisc() {
    for (;;) {
      while (p_ < n_ && d_[p_] != '<') ++p_;
      if (p_ >= n_) return true;
      if (StartsWith("<!--")) {
        if (!SkipPast("-->")) return false;
      } else if (StartsWith("<?")) {
        if (!SkipPast("?>")) return false;
      } else if (StartsWith("<![CDATA[")) {
        if (!SkipPast("]]>")) return false;
      } else if (StartsWith("<!")) {
        if (!SkipPast(">")) return false;
      } else {
        return true;
      }
    }
  }
  bool Name(std::string& out) {
    size_t s = p_;
    while (p_ < n_ && NameChar(d_[p_])) ++p_;
    if (p_ == s) return Fail("name expected");
    out.assign(d_ + s, p_ - s);
    return true;
  }
  bool Value(std::string& out) {
    if (p_ >= n_ || (d_[p_] != '"' && d_[p_] != '\'')) return Fail("quoted value expected");
    const char q = d_[p_++];
    out.clear();
    while (p_ < n_ && d_[p_] != q) {
      if (d_[p_] == '<') return Fail("'<' inside a value");
      if (d_[p_] == '&') {
        static const struct {
          const char* e;
          char c;
        } ents[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
        bool done = false;
        for (const auto& e : ents) {
          if (StartsWith(e.e)) {
            out.push_back(e.c);
            for (const char* c = e.e; *c; ++c) ++p_;
            done = true;
            break;
          }
        }
        if (done) continue;
      }
      out.push_back(d_[p_++]);
    }
    if (p_ >= n_) return Fail("unterminated value");
    ++p_;
    return true;
  }
  bool Element(gXmlNode& node, int depth) {
    if (depth > kMaxDepth) return Fail("elements nested too deeply");
    if (++nodes_ > kMaxNodes) return Fail("too many elements");
    ++p_;  // '<'
    if (!Name(node.name)) return false;
    for (;;) {
      const size_t before = p_;
      SkipSpace();
      if (p_ >= n_) return Fail("unterminated start tag");
      if (StartsWith("/>")) {
        p_ += 2;
        return true;
      }
      if (At('>')) {
        ++p_;
        break;
      }
      if (p_ == before) return Fail("space expected between attributes");
      std::string attrName;
      if (!Name(attrName)) return false;
      SkipSpace();
      if (!At('=')) return Fail("'=' expected");
      ++p_;
      SkipSpace();
      std::string v;
      if (!Value(v)) return false;
      if (node.attributes.size() >= kMaxAttributes) return Fail("too many attributes");
      node.attributes.push_back(std::move(v));
    }
    for (;;) {
      if (!SkipMisc()) return false;
      if (p_ >= n_) return Fail("element not closed");
      if (StartsWith("</")) {
        p_ += 2;
        std::string end;
        if (!Name(end)) return false;
        if (end != node.name) return Fail("end tag does not match");
        SkipSpace();
        if (!At('>')) return Fail("'>' expected");
        ++p_;
        return true;
      }
      node.children.emplace_back();
      if (!Element(node.children.back(), depth + 1)) return false;
    }
  }

  const char* d_;
  size_t n_;
  size_t p_ = 0;
  size_t nodes_ = 0;
  const char* why_ = nullptr;
};

}  // namespace

const std::string* gXmlNode::Attr(size_t pos) const {
  return pos >= 1 && pos <= attributes.size() ? &attributes[pos - 1] : nullptr;
}

int gXmlNode::Int(size_t pos, int def) const {
  const std::string* a = Attr(pos);
  if (!a || a->empty()) return def;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(a->c_str(), &end, 10);
  if (end == a->c_str()) return def;
  if (errno == ERANGE || v > INT_MAX || v < INT_MIN) return v < 0 ? INT_MIN : INT_MAX;
  return int(v);
}

bool xmlParse(const char* data, size_t length, gXmlNode& root, size_t& errorOffset, const char*& why) {
  root = gXmlNode{};
  errorOffset = 0;
  why = nullptr;
  if (!data) {
    why = "no data";
    return false;
  }
  Reader r(data, length);
  if (r.Document(root)) return true;
  errorOffset = r.offset();
  why = r.why() ? r.why() : "cannot be read";
  root = gXmlNode{};
  return false;
}
