// Evaluation of keyframe tracks: the eased curve between two keys (a time warp with given end
// slopes, then a cubic Hermite in value) and the value of a whole track at a time.
#pragma once
#include <vector>

#include "anim/kf_types.h"

// The warped time s for the linear time u of a segment: the root in 0 .. 1 nearest u of the time
// curve with slope b at its start and a at its end (u itself when no root lies there).
float kfWarpTime(float u, float a, float b);
// The eased value from `from` to `to` at u (clamped: u <= 0 gives `from`, u >= 1 gives `to`).
float kfEase(float from, float to, float u, const C_FilterDesc& f);
// One channel of the segment ending at a key whose filter is `f`.
float kfSegment(float from, float to, float u, const C_FilterDesc& f);

// Track values at time t (seconds). Keys must be sorted by time (the library sorts them at load).
// A track without keys gives `neutral`.
float kfEvalFloat(const std::vector<C_FloatKey>& keys, float t, float neutral);
void kfEvalVector(const std::vector<C_VectorKey>& keys, float t, float& x, float& y);
// Channels clamped to 0 .. 255 and truncated; white without keys.
void kfEvalColour(const std::vector<C_ColorKey>& keys, float t, int& r, int& g, int& b);

// Sorts every track of the object (not its children) by key time, keeping equal times in file order.
void kfSortKeys(C_AnimationObject& o);
