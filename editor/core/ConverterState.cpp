#include "core/ConverterState.h"

#include "ConverterLines.h"
#include "EditConvert.h"
#include "ModelPreview.h"
#include "core/PageRules.h"
#include "effects/Ka7Light.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7TextureList.h"
#include "scene/Ka7SceneUnit.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <system_error>

namespace ra7::editor {

std::vector<std::string> ConverterState::Refusal(const TModel& model)
{
    if (ModelFaceCount(model) == 0)
        return {kConverterNoFacesLine, kConverterCancelledLine};
    if (!IsTriangulated(model))
        return {kConverterNotTriangulatedLine, kConverterCancelledLine};
    return {};
}

void ConverterState::Hold(TModel model)
{
    Release();
    model_ = std::move(model);
    loaded_ = true;
    const std::int32_t before = Textures ? Textures->Count() : 0;
    LoadModelTextures(model_);
    for (std::int32_t i = before; Textures && i < Textures->Count(); ++i)
        previewTextures_.push_back(Textures->Get(i).FileName);
}

void ConverterState::Scale(float factor)
{
    ScaleModel(model_, factor);
    dropPreviewList();
}

namespace {

bool namedByAMaterial(const std::string& texture)
{
    if (!Materials)
        return false;
    for (std::int32_t i = 0; i < Materials->Count(); ++i) {
        const auto& slots = Materials->Get(i).Textures;
        if (std::find(slots.begin(), slots.end(), texture) != slots.end())
            return true;
    }
    return false;
}

} // namespace

void ConverterState::Release()
{
    if (!loaded_)
        return;
    dropPreviewList();
    for (const std::string& name : previewTextures_)
        if (Textures && !namedByAMaterial(name))
            if (const std::int32_t index = Textures->IndexOf(name); index >= 0)
                Textures->Take(index);
    previewTextures_.clear();
    ClearModel(model_);
    loaded_ = false;
}

void ConverterState::dropPreviewList()
{
    if (previewList_ != 0)
        glDeleteLists(previewList_, 1);
    previewList_ = 0;
}

void ConverterState::DrawPreview()
{
    if (!loaded_)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    // The model's own colours, not the current colour, light it.
    glDisable(GL_COLOR_MATERIAL);
    glColor4f(1, 1, 1, 1);
    if (!SceneObjects->LightList.empty())
        if (const auto* light =
                dynamic_cast<const KaLight*>(SceneObjects->GetItem(SceneObjects->LightList.front())))
            light->ApplyLight();
    if (previewList_ == 0) {
        previewList_ = glGenLists(1);
        glNewList(previewList_, GL_COMPILE);
        DrawModel(model_);
        glEndList();
    }
    glCallList(previewList_);
    glPopAttrib();
}

std::optional<float> ParseScaleAnswer(std::string_view text)
{
    const std::optional<float> factor = ParseTypedNumber(text);
    if (!factor || !IsUsableScale(*factor))
        return std::nullopt;
    return factor;
}

WorkingDirectoryGuard::WorkingDirectoryGuard()
{
    std::error_code error;
    remembered_ = std::filesystem::current_path(error);
}

bool WorkingDirectoryGuard::RestoreIfMoved() const
{
    std::error_code error;
    const std::filesystem::path now = std::filesystem::current_path(error);
    if (remembered_.empty() || now == remembered_)
        return false;
    std::filesystem::current_path(remembered_, error);
    return true;
}

} // namespace ra7::editor
