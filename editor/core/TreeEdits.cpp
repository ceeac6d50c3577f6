#include "core/TreeEdits.h"

#include "core/EditorDocument.h"
#include "core/ObjectCommands.h"
#include "scene/Ka7SceneUnit.h"
#include "scene/SceneHierarchy.h"

namespace ra7::editor {

TreeEdit PlanDelete(const EditorDocument& document)
{
    TreeEdit plan;
    for (const std::string& name : document.Selection().Names()) {
        if (!document.Scene().FindByName(name))
            continue;
        if (name == ActiveCameraName)
            plan.refusals.push_back("Активная камера <" + name + "> не удаляется: через неё смотрит вид");
        else
            plan.names.push_back(name);
    }
    return plan;
}

TreeEdit PlanAttach(const EditorDocument& document)
{
    TreeEdit plan;
    const std::vector<std::string>& names = document.Selection().Names();
    const KaObjArray& scene = document.Scene();
    const KaSceneObj* parent = names.empty() ? nullptr : scene.FindByName(names.front());
    if (!parent)
        return plan;
    for (std::size_t i = 1; i < names.size(); ++i) {
        const KaSceneObj* child = scene.FindByName(names[i]);
        if (!child || parent->IndexOfChild(names[i]) >= 0)
            continue; // gone, or already a child of this parent: nothing to do
        if (IsDescendant(scene, *parent, names[i]))
            plan.refusals.push_back("<" + names[i] + "> не прикрепляется к <" + parent->Name() +
                                    ">: это его предок, иерархия замкнулась бы в кольцо");
        else
            plan.names.push_back(names[i]);
    }
    return plan;
}

TreeEdit PlanDetach(const EditorDocument& document)
{
    TreeEdit plan;
    for (const std::string& name : document.Selection().Names())
        if (const KaSceneObj* object = document.Scene().FindByName(name);
            object && !object->ParentName.empty())
            plan.names.push_back(name);
    return plan;
}

TreeEdit PlanDuplicate(const EditorDocument& document)
{
    TreeEdit plan;
    for (const std::string& name : document.Selection().Names())
        if (document.Scene().FindByName(name))
            plan.names.push_back(name);
    return plan;
}

bool CanDelete(const EditorDocument& document)
{
    return !PlanDelete(document).names.empty();
}

bool CanAttach(const EditorDocument& document)
{
    return document.Selection().Names().size() >= 2;
}

bool CanDetach(const EditorDocument& document)
{
    return !PlanDetach(document).names.empty();
}

bool CanDuplicate(const EditorDocument& document)
{
    return !PlanDuplicate(document).names.empty();
}

std::vector<std::string> DeleteSelected(EditorDocument& document)
{
    const TreeEdit plan = PlanDelete(document);
    if (!plan.names.empty())
        document.Execute(std::make_unique<DeleteObjectsCommand>(document, plan.names), 0);
    return plan.refusals;
}

std::vector<std::string> AttachSelected(EditorDocument& document)
{
    const TreeEdit plan = PlanAttach(document);
    if (!plan.names.empty())
        document.Execute(
            std::make_unique<AttachCommand>(document, document.Selection().SelectedName(), plan.names), 0);
    return plan.refusals;
}

std::vector<std::string> DetachSelected(EditorDocument& document)
{
    const TreeEdit plan = PlanDetach(document);
    if (!plan.names.empty())
        document.Execute(std::make_unique<DetachCommand>(document, plan.names), 0);
    return plan.refusals;
}

std::vector<std::string> DuplicateSelected(EditorDocument& document)
{
    const TreeEdit plan = PlanDuplicate(document);
    if (plan.names.empty())
        return plan.refusals;
    auto command = std::make_unique<DuplicateObjectsCommand>(document, plan.names);
    DuplicateObjectsCommand& duplicate = *command;
    document.Execute(std::move(command), 0);
    // The copies become the selection, as users of other editors expect.
    document.Select(duplicate.Copies());
    return plan.refusals;
}

} // namespace ra7::editor
