#pragma once
// The twenty script commands, in their fixed table order.

#include "anim/Ka7AnimScript.h"

#include <array>
#include <string_view>

namespace ra7 {

struct AnimCommandEntry {
    std::string_view Command;
    AnimCommandProc Proc;
};

inline constexpr std::size_t kAnimCommandCount = 20;

const std::array<AnimCommandEntry, kAnimCommandCount>& AnimCommands();

// The handler of the first command named exactly `name` (case matters), or null.
AnimCommandProc FindAnimCommand(std::string_view name);

// RotationZ(c) × RotationY(b) × RotationX(a), row-vector convention: the
// step rotation of "rotate", turning about the world axes.
Matrix3 RotationFromAngles(const Vector3& angles);

} // namespace ra7
