#pragma once
// The undoable edits of the material list: adding, deleting, renaming and
// loading materials, assigning one to geometry, and setting one field of a
// material. Each undo puts back the exact state: the slots of the list
// (deletion moves the last material into the gap) and the material name of
// every geometry the edit touched.

#include "core/CommandStack.h"
#include "core/ObjectCommands.h"
#include "resources/Ka7Material.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ra7 {
class KaObjArray;
}

namespace ra7::editor {

class EditorDocument;

// The material of that name in the engine's list, or the error
// "Материал <name> не найден" (a script or an undo removed it meanwhile).
KaMaterial& MaterialNamed(const std::string& name);

// The names of the geometry objects whose material is `materialName`, in
// slot order: opaque, transparent and static alike.
std::vector<std::string> GeometryUsing(const KaObjArray& scene, const std::string& materialName);

// Appends a new material (its name checked by the caller); undo takes it out.
class AddMaterialCommand : public EditorCommand {
public:
    AddMaterialCommand(EditorDocument& document, KaMaterial material);
    std::string Label() const override;
    void Do() override;
    void Undo() override;

private:
    EditorDocument& document_;
    KaMaterial material_;
};

// Removes a material; the geometry that named it falls back to no material
// when the render lists are rebuilt. Undo puts the material back in its slot
// and gives every such geometry its material name again.
class DeleteMaterialCommand : public EditorCommand {
public:
    DeleteMaterialCommand(EditorDocument& document, std::string name);
    std::string Label() const override;
    void Do() override;
    void Undo() override;

private:
    EditorDocument& document_;
    std::string name_;
    std::int32_t slot_ = -1;
    std::unique_ptr<KaMaterial> held_;
    std::vector<std::string> users_;
};

// Renames a material, and every geometry that named it follows.
class RenameMaterialCommand : public EditorCommand {
public:
    RenameMaterialCommand(EditorDocument& document, std::string oldName, std::string newName);
    std::string Label() const override;
    void Do() override;
    void Undo() override;

private:
    void rename(const std::string& from, const std::string& to, const std::vector<std::string>& users);

    EditorDocument& document_;
    std::string oldName_;
    std::string newName_;
    std::vector<std::string> users_;
};

// Appends the materials of a library whose names are new; undo removes them.
class LoadMaterialsCommand : public EditorCommand {
public:
    LoadMaterialsCommand(EditorDocument& document, std::string fileName, std::vector<KaMaterial> materials);
    std::string Label() const override;
    void Do() override;
    void Undo() override;
    // The names appended by the last Do, in list order.
    const std::vector<std::string>& Added() const { return added_; }

private:
    EditorDocument& document_;
    std::string fileName_;
    std::vector<KaMaterial> materials_;
    std::vector<std::string> added_;
};

// Gives the geometry objects the material name; other kinds are left alone.
class AssignMaterialCommand : public EditorCommand {
public:
    AssignMaterialCommand(EditorDocument& document, std::vector<std::string> geometry, std::string material);
    std::string Label() const override;
    void Do() override;
    void Undo() override;

private:
    EditorDocument& document_;
    std::vector<std::string> geometry_;
    std::string material_;
    std::vector<std::pair<std::string, std::string>> before_; // geometry, its material name
};

// One field of one material: `write` stores the value into the material
// found by name. Successive edits with the same key merge into one step
// (a dragged bar); `rebuildLists` for fields that decide a geometry's
// render list (transparency).
template <class T>
std::unique_ptr<EditorCommand> SetMaterialField(EditorDocument& document, std::string label, std::string key,
                                                const std::string& material, T before, T after,
                                                std::function<void(KaMaterial&, const T&)> write,
                                                bool rebuildLists = false);

// Rebuilds the scene's render lists (after a change of transparency or of
// the material list) without marking the objects changed.
void RebuildRenderLists(EditorDocument& document);

template <class T>
std::unique_ptr<EditorCommand>
SetMaterialField(EditorDocument& document, std::string label, std::string key, const std::string& material,
                 T before, T after, std::function<void(KaMaterial&, const T&)> write, bool rebuildLists)
{
    auto apply = [&document, material, write = std::move(write), rebuildLists](const T& value) {
        write(MaterialNamed(material), value);
        if (rebuildLists)
            RebuildRenderLists(document);
    };
    return std::make_unique<SetValueCommand<T>>(std::move(label), std::move(key), std::move(before),
                                                std::move(after), std::move(apply));
}

} // namespace ra7::editor
