#pragma once
// The JSON form of the engine's files that `ra7 info --json` prints.

#include <nlohmann/json.hpp>

#include <string>

namespace ra7 {

class KaBoundingObj;
class KaMaterial;
class KaMesh;
class KaBoundingVolume;
class KaLensFlare;
class KaSceneObj;
struct SceneFileContents;

nlohmann::ordered_json ShapeJson(const KaBoundingObj& shape);
nlohmann::ordered_json BoundingVolumeJson(const KaBoundingVolume& volume);
nlohmann::ordered_json SceneObjectJson(const KaSceneObj& object);
// A flare as stored: a flare without lenses stores no distance scale (null).
nlohmann::ordered_json LensFlareJson(const KaLensFlare& flare);
nlohmann::ordered_json SceneFileJson(const std::string& fileName, const SceneFileContents& contents);
nlohmann::ordered_json MeshFileJson(const std::string& fileName, const KaMesh& mesh);
nlohmann::ordered_json MaterialJson(const KaMaterial& material);

} // namespace ra7
