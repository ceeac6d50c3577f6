#pragma once
// The undoable edits of scene objects: adding, deleting, duplicating,
// renaming, attaching and detaching, and setting one value. Each undo puts
// back the exact state: the slots of the array (deletion moves the last
// object into the gap), the order of every child list and every link.

#include "core/CommandStack.h"
#include "math/Ka7Transform.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ra7 {
class KaObjArray;
class KaSceneObj;
} // namespace ra7

namespace ra7::editor {

class EditorDocument;

// The links of some objects, to be put back exactly.
class LinkSnapshot {
public:
    // Remembers the links of the named objects that exist (each once).
    void Take(const KaObjArray& scene, const std::vector<std::string>& names);
    void Restore(KaObjArray& scene) const;

private:
    struct Links {
        std::string name;
        std::string parentName;
        std::vector<std::string> children;
        std::optional<KaTransformation> local;
    };
    std::vector<Links> links_;
};

// Adds an object made by the page (its name already unique); undo takes it
// out again. A camera added while no camera is active becomes the active one.
class AddObjectCommand : public EditorCommand {
public:
    AddObjectCommand(EditorDocument& document, std::unique_ptr<KaSceneObj> object);
    std::string Label() const override;
    void Do() override;
    void Undo() override;

private:
    EditorDocument& document_;
    std::unique_ptr<KaSceneObj> held_;
    std::string name_;
    bool madeActiveCamera_ = false;
};

// Deletes objects in the given order. Their children stay in the scene as
// roots where they stand; undo puts every object back in its slot with all
// its links.
class DeleteObjectsCommand : public EditorCommand {
public:
    DeleteObjectsCommand(EditorDocument& document, std::vector<std::string> names);
    std::string Label() const override;
    void Do() override;
    void Undo() override;

private:
    struct Removed {
        std::int32_t slot = 0;
        LinkSnapshot links;
        std::unique_ptr<KaSceneObj> object;
    };
    EditorDocument& document_;
    std::vector<std::string> names_;
    std::vector<Removed> removed_;
};

// Copies each object with its children (one level) as a new top-level
// object under a unique name; undo removes the copies.
class DuplicateObjectsCommand : public EditorCommand {
public:
    DuplicateObjectsCommand(EditorDocument& document, std::vector<std::string> names);
    std::string Label() const override;
    void Do() override;
    void Undo() override;
    // The names of the top-level copies, in the order of the sources.
    const std::vector<std::string>& Copies() const { return copies_; }

private:
    void duplicate(const std::string& name);

    EditorDocument& document_;
    std::vector<std::string> names_;
    std::vector<std::string> created_; // every new object, in the order made
    std::vector<std::string> copies_;
    std::vector<std::unique_ptr<KaSceneObj>> held_;
    LinkSnapshot links_;
    bool done_ = false;
};

// Renames an object and every link to it; the selection follows.
class RenameObjectCommand : public EditorCommand {
public:
    RenameObjectCommand(EditorDocument& document, std::string oldName, std::string newName);
    std::string Label() const override;
    void Do() override;
    void Undo() override;

private:
    void rename(const std::string& from, const std::string& to);

    EditorDocument& document_;
    std::string oldName_;
    std::string newName_;
};

// Attaches the children to the parent in order, each keeping its place.
class AttachCommand : public EditorCommand {
public:
    AttachCommand(EditorDocument& document, std::string parent, std::vector<std::string> children);
    std::string Label() const override;
    void Do() override;
    void Undo() override;

private:
    EditorDocument& document_;
    std::string parent_;
    std::vector<std::string> children_;
    LinkSnapshot before_;
};

// Makes the objects top-level where they stand.
class DetachCommand : public EditorCommand {
public:
    DetachCommand(EditorDocument& document, std::vector<std::string> names);
    std::string Label() const override;
    void Do() override;
    void Undo() override;

private:
    EditorDocument& document_;
    std::vector<std::string> names_;
    LinkSnapshot before_;
};

// One value of one thing (a field of an object, of a material, of a flare):
// `apply` finds the thing by name and writes the value, and throws when the
// thing is gone. Successive edits with the same key merge into one step.
template <class T>
class SetValueCommand : public EditorCommand {
public:
    using Apply = std::function<void(const T&)>;
    SetValueCommand(std::string label, std::string key, T before, T after, Apply apply)
        : label_(std::move(label)), key_(std::move(key)), before_(std::move(before)),
          after_(std::move(after)), apply_(std::move(apply))
    {
    }
    std::string Label() const override { return label_; }
    void Do() override { apply_(after_); }
    void Undo() override { apply_(before_); }
    std::string MergeKey() const override { return key_; }
    void MergeWith(EditorCommand& later) override
    {
        if (auto* same = dynamic_cast<SetValueCommand*>(&later))
            after_ = same->after_;
    }

private:
    std::string label_;
    std::string key_;
    T before_;
    T after_;
    Apply apply_;
};

// An edit given as two functions, for changes that fit no command above.
class FunctionCommand : public EditorCommand {
public:
    FunctionCommand(std::string label, std::function<void()> doIt, std::function<void()> undoIt)
        : label_(std::move(label)), do_(std::move(doIt)), undo_(std::move(undoIt))
    {
    }
    std::string Label() const override { return label_; }
    void Do() override { do_(); }
    void Undo() override { undo_(); }

private:
    std::string label_;
    std::function<void()> do_;
    std::function<void()> undo_;
};

// The object named `name`, or the error "Объект <name> не найден" (an edit
// whose object a script has deleted meanwhile).
KaSceneObj& ObjectNamed(const KaObjArray& scene, const std::string& name);

} // namespace ra7::editor
