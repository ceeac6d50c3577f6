#pragma once
// The engine-wide list of meshes, looked up by name. A mesh loaded from a
// `.mes` file by the converter carries the file's path as its name, so a file
// is loaded once.

#include "resources/Ka7Mesh.h"
#include "resources/ResourceList.h"

#include <memory>
#include <string>
#include <string_view>

namespace ra7 {

struct MeshName {
    const std::string& operator()(const KaMesh& mesh) const { return mesh.Name; }
};

class KaMeshList : public KaResourceList<KaMesh, MeshName> {
public:
    // Loads the file unless the name is empty or a mesh of that name is
    // loaded; returns the new mesh or nothing. A missing, unreadable or
    // damaged file throws a FileError naming it and leaves the list as it was.
    KaMesh* LoadMesh(std::string_view fileName);
    // Appends a copy (sharing the GPU objects) unless the name is taken.
    KaMesh* AddCopy(const KaMesh& mesh);
    KaMesh& Last() { return Get(Count() - 1); }
    // The deleted mesh lets go of its buffers and display list; the last mesh
    // moves into the gap with its own, which stay alive.
    void Delete(std::int32_t index);
    // Writes every mesh to the file its name gives, in list order.
    void SaveAll();
};

extern std::unique_ptr<KaMeshList> Meshes;

} // namespace ra7
