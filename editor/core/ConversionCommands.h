#pragma once
// The converter's edits of the document as undoable steps: what a
// conversion (or a GMS file) added, and a tangent-space run. Files the work
// wrote stay written when a step is undone; only the document goes back.

#include "core/CommandStack.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ra7 {
class KaMaterial;
class KaMesh;
class KaSceneObj;
class KaTexture;
struct ConversionResult;
struct TangentSpaceJob;
} // namespace ra7

namespace ra7::editor {

// The objects, meshes, materials and textures a conversion adds, as one
// step. The first Do runs `add` (AddConvertedModel, AddGmsObjects), which
// appends to the lists (a converted mesh may take the place of a mesh of
// its name); Undo takes everything out again in reverse order and puts
// replaced meshes back in their slots; Redo puts the same items back.
class AddConvertedCommand : public EditorCommand {
public:
    AddConvertedCommand(std::string label, std::function<ConversionResult()> add);
    ~AddConvertedCommand() override;
    std::string Label() const override { return label_; }
    void Do() override;
    void Undo() override;

    // The names the conversion used (objects, meshes, materials), for the
    // page's messages; filled by the first Do.
    const std::vector<std::string>& ObjectNames() const { return objectNames_; }
    const std::vector<std::string>& MeshNames() const { return meshNames_; }
    const std::vector<std::string>& MaterialNames() const { return materialNames_; }

private:
    void redo();

    std::string label_;
    std::function<ConversionResult()> add_;
    bool added_ = false;
    std::vector<std::string> objectNames_;
    std::vector<std::string> meshNames_;
    std::vector<std::string> materialNames_;
    std::vector<std::string> textureNames_;
    // Held while undone, in the order they were added.
    std::vector<std::unique_ptr<KaSceneObj>> objects_;
    std::vector<std::unique_ptr<KaMesh>> meshes_;
    std::vector<std::unique_ptr<KaMaterial>> materials_;
    std::vector<std::unique_ptr<KaTexture>> textures_;
    // The meshes a converted mesh replaced, by name: held while done.
    std::map<std::string, std::unique_ptr<KaMesh>> replaced_;
};

// A tangent-space run whose vectors were computed (and whose files were
// written): Do and Undo exchange the arrays of the job with those of the
// meshes (SwapTangentArrays), so the job always holds the other state.
class TangentSpaceCommand : public EditorCommand {
public:
    TangentSpaceCommand(std::string label, std::unique_ptr<TangentSpaceJob> job);
    ~TangentSpaceCommand() override;
    std::string Label() const override { return label_; }
    void Do() override;
    void Undo() override;

private:
    std::string label_;
    std::unique_ptr<TangentSpaceJob> job_;
};

} // namespace ra7::editor
