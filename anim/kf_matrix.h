// Matrix3f: the 3 x 3 affine matrices of keyframe objects, row-vector convention (a point (x, y)
// maps to (x, y, 1) x M), with the rotations, scales and translations the object tree composes.
#pragma once

struct Matrix3f {
  float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

  static Matrix3f Identity() { return {}; }
  // (x, y) -> (x cos r - y sin r, x sin r + y cos r)
  static Matrix3f Rotation(float r);
  static Matrix3f Scale(float s);
  static Matrix3f Translation(float x, float y);

  Matrix3f operator*(const Matrix3f& o) const;
  void Apply(float x, float y, float& ox, float& oy) const;
  // Third column (0, 0, 1) within 0.001.
  bool IsAffine() const;
  // False, leaving `out` untouched, when the matrix is not affine or has no inverse (a scale of
  // 0 flattens everything to a point).
  bool Inverse(Matrix3f& out) const;
};
