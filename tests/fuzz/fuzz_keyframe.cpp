// Fuzz target of the keyframe reader: any bytes must be read or refused without reading outside
// them; what is read must write back to the same bytes, survive the text form unchanged, and
// evaluate at any time (eased curves, clamps, matrices, loops) without faults.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "anim/kf_file.h"
#include "anim/kf_library.h"
#include "anim/kf_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  KfObjects objects;
  KfReadError err;
  if (!kfParse(data, size, objects, err)) {
    if (err.offset > size) std::abort();  // a fault is never placed outside the bytes
    return 0;
  }
  // Writing gives back the bytes read (empty texts read from negative lengths are written as 0).
  const std::string bytes = kfSerialize(objects);
  KfObjects again;
  KfReadError err2;
  if (!kfParse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), again, err2)) std::abort();
  if (kfSerialize(again) != bytes) std::abort();
  // The text form keeps every byte.
  const std::string text = kfToText(objects);
  KfObjects fromText;
  std::string error;
  if (!kfFromText(text, fromText, error) || kfSerialize(fromText) != bytes) std::abort();

  C_Animation a;
  a.name = "fuzz.kf";
  if (!kfLoadBytes(a, data, size, "fuzz.kf")) std::abort();
  C_AnimationPlayback p;
  const float length = a.Length();
  const float times[] = {-1.0f, 0.0f, 0.013f, length * 0.5f, length, length + 1.0f, 0.5f};
  for (float t : times) kfDraw(a, p, t, 1.0f, 1.0f, 0.0f, 512.0f, 384.0f);
  kfDraw(a, p, 0.25f, 0.5f, 2.0f, 1.0f, -40.0f, 900.0f);
  return 0;
}
