#pragma once
// A placement: a 3×3 rotation and a position. A local point p lands at
// p·Rotation + Position.

#include "math/DotMath.h"

namespace ra7 {

class KaTransformation {
public:
    Matrix3 Rotation = kIdentityMatrix3;
    Vector3 Position = kZeroVector;

    void Assign(const KaTransformation& source);

    // The model matrix: the rotation's rows as columns, the position as
    // the translation.
    Matrix4 ModelMatrix() const;
    // The rotation alone, as ApplyView loads it before translating by the
    // negated position.
    Matrix4 ViewRotationMatrix() const;
    // The whole view matrix ApplyView leaves current.
    Matrix4 ViewMatrix() const;

    // Multiplies the model matrix onto the current OpenGL matrix.
    void ApplyMatrix() const;
    // Replaces the current OpenGL matrix by the view matrix.
    void ApplyView() const;
};

} // namespace ra7
