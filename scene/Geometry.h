// Small value types for block geometry: a point or offset in world units and an axis-aligned box.
#pragma once

#include <algorithm>

// The largest finite float: the start value of every running minimum, negated for running maxima.
constexpr float kFloatMax = 3.4028235e38f;

struct Vec3 {
  float x = 0, y = 0, z = 0;
  bool operator==(const Vec3&) const = default;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

struct Box {
  Vec3 min, max;
  bool operator==(const Box&) const = default;
};

// The box that widening starts from: inverted, so that the first widening makes it that box.
inline Box invertedBox() { return {{kFloatMax, kFloatMax, kFloatMax}, {-kFloatMax, -kFloatMax, -kFloatMax}}; }

inline void widenBox(Box& box, const Box& by) {
  box.min = {std::min(box.min.x, by.min.x), std::min(box.min.y, by.min.y), std::min(box.min.z, by.min.z)};
  box.max = {std::max(box.max.x, by.max.x), std::max(box.max.y, by.max.y), std::max(box.max.z, by.max.z)};
}

inline Box shiftedBox(const Box& box, Vec3 offset) { return {box.min + offset, box.max + offset}; }
