#pragma once
// Simple solids as engine meshes: one vertex per triangle corner, flat
// normals, texture coordinates, and tangent space computed per triangle.

#include "resources/Ka7Mesh.h"

#include <memory>
#include <string>

namespace ra7::datagen {

// A box of half extents (hx, hy, hz) around `centre`; every face maps the whole texture.
void AppendBox(KaMesh& mesh, const Vector3& centre, const Vector3& half);
// A cylinder along +x from x0 to x1 of the given radius, with its caps.
void AppendCylinderX(KaMesh& mesh, float x0, float x1, float radius, int sides);
// A cone along +x: base disc of `radius` at x0, apex at x1.
void AppendConeX(KaMesh& mesh, float x0, float x1, float radius, int sides);
// A flat square in the plane y = `height`, facing up, texture repeated `repeat` times.
void AppendFloor(KaMesh& mesh, float half, float height, float repeat);

// Sets the counts and indices 0, 1, 2, … and computes tangents and binormals
// from the texture coordinates (zero where a triangle has no texture area).
std::unique_ptr<KaMesh> FinishMesh(std::unique_ptr<KaMesh> mesh, const std::string& name);

// Writes the mesh to the file its name gives.
void SaveMesh(const KaMesh& mesh);

} // namespace ra7::datagen
