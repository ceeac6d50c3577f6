#include "math/Ka7Transform.h"

#include <epoxy/gl.h>

namespace ra7 {

void KaTransformation::Assign(const KaTransformation& source)
{
    Rotation = source.Rotation;
    Position = source.Position;
}

Matrix4 KaTransformation::ModelMatrix() const
{
    Matrix4 m = Matrix3To4(Rotation);
    SetTranslation(m, Position);
    return m;
}

Matrix4 KaTransformation::ViewRotationMatrix() const
{
    return Matrix3To4(Rotation);
}

Matrix4 KaTransformation::ViewMatrix() const
{
    // glTranslatef(-p) multiplies a translation on the right of the loaded
    // rotation; MatrixMultiply4(T, R) is R·T for column-major storage.
    Matrix4 translation = Matrix3To4(kIdentityMatrix3);
    SetTranslation(translation, VectorScale(Position, -1));
    return MatrixMultiply4(translation, ViewRotationMatrix());
}

void KaTransformation::ApplyMatrix() const
{
    const Matrix4 m = ModelMatrix();
    glMultMatrixf(m.data());
}

void KaTransformation::ApplyView() const
{
    const Matrix4 m = ViewRotationMatrix();
    glLoadMatrixf(m.data());
    glTranslatef(-Position.x, -Position.y, -Position.z);
}

} // namespace ra7
