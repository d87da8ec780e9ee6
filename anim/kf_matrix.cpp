// Matrix3f arithmetic.
#include "anim/kf_matrix.h"

#include <cmath>

Matrix3f Matrix3f::Rotation(float r) {
  const float c = std::cos(r), s = std::sin(r);
  Matrix3f o;
  o.m[0][0] = c;
  o.m[0][1] = s;
  o.m[1][0] = -s;
  o.m[1][1] = c;
  return o;
}

Matrix3f Matrix3f::Scale(float s) {
  Matrix3f o;
  o.m[0][0] = s;
  o.m[1][1] = s;
  return o;
}

Matrix3f Matrix3f::Translation(float x, float y) {
  Matrix3f o;
  o.m[2][0] = x;
  o.m[2][1] = y;
  return o;
}

Matrix3f Matrix3f::operator*(const Matrix3f& o) const {
  Matrix3f r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = m[i][0] * o.m[0][j] + m[i][1] * o.m[1][j] + m[i][2] * o.m[2][j];
  return r;
}

void Matrix3f::Apply(float x, float y, float& ox, float& oy) const {
  ox = x * m[0][0] + y * m[1][0] + m[2][0];
  oy = x * m[0][1] + y * m[1][1] + m[2][1];
}

bool Matrix3f::IsAffine() const {
  return std::fabs(m[0][2]) <= 0.001f && std::fabs(m[1][2]) <= 0.001f && std::fabs(m[2][2] - 1.0f) <= 0.001f;
}

bool Matrix3f::Inverse(Matrix3f& out) const {
  if (!IsAffine()) return false;
  const double det = double(m[0][0]) * m[1][1] - double(m[0][1]) * m[1][0];
  // A determinant this small comes from a scale of (nearly) 0: dividing would give infinities.
  if (!std::isfinite(det) || std::fabs(det) < 1e-12) return false;
  const double inv = 1.0 / det;
  Matrix3f r;
  r.m[0][0] = float(m[1][1] * inv);
  r.m[0][1] = float(-m[0][1] * inv);
  r.m[1][0] = float(-m[1][0] * inv);
  r.m[1][1] = float(m[0][0] * inv);
  r.m[2][0] = float(-(m[2][0] * double(r.m[0][0]) + m[2][1] * double(r.m[1][0])));
  r.m[2][1] = float(-(m[2][0] * double(r.m[0][1]) + m[2][1] * double(r.m[1][1])));
  if (!std::isfinite(r.m[0][0]) || !std::isfinite(r.m[2][0]) || !std::isfinite(r.m[2][1])) return false;
  out = r;
  return true;
}
