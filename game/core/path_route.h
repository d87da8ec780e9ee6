// A route: the pixel points a person walks, kept in place up to 300 points (no allocation for the
// routes of a 1024 x 768 map) and on the heap beyond.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

struct PathPoint {
  int32_t x = 0, y = 0;
  bool operator==(const PathPoint&) const = default;
};

class PathRoute {
 public:
  static constexpr size_t kInline = 300;

  PathRoute() = default;
  PathRoute(std::initializer_list<PathPoint> points) {
    for (PathPoint p : points) push_back(p);
  }
  PathRoute(const PathRoute& o) { Assign(o.data(), o.size()); }
  PathRoute& operator=(const PathRoute& o) {
    if (this != &o) Assign(o.data(), o.size());
    return *this;
  }

  void clear() {
    m_size = 0;
    m_heap.clear();
  }
  bool empty() const { return m_size == 0; }
  size_t size() const { return m_size; }
  bool OnHeap() const { return m_size > kInline; }
  const PathPoint* data() const { return OnHeap() ? m_heap.data() : m_inline.data(); }
  PathPoint operator[](size_t i) const { return data()[i]; }
  PathPoint front() const { return data()[0]; }
  PathPoint back() const { return data()[m_size - 1]; }

  void push_back(PathPoint p) {
    if (m_size < kInline) {
      m_inline[m_size++] = p;
      return;
    }
    if (m_size == kInline) m_heap.assign(m_inline.begin(), m_inline.end());
    m_heap.push_back(p);
    ++m_size;
  }
  void Assign(const PathPoint* p, size_t n) {
    if (n <= kInline) {
      for (size_t i = 0; i < n; ++i) m_inline[i] = p[i];
      m_heap.clear();
    } else {
      m_heap.assign(p, p + n);
    }
    m_size = n;
  }
  // The points of `o` in reverse order.
  void AssignReversed(const PathRoute& o) {
    clear();
    for (size_t i = o.size(); i-- > 0;) push_back(o[i]);
  }
  bool operator==(const PathRoute& o) const {
    if (m_size != o.m_size) return false;
    for (size_t i = 0; i < m_size; ++i)
      if (!((*this)[i] == o[i])) return false;
    return true;
  }

 private:
  std::array<PathPoint, kInline> m_inline{};
  std::vector<PathPoint> m_heap;
  size_t m_size = 0;
};
