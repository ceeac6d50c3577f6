#pragma once
// The converter page's one state: the model held for conversion
// (`ModelLoaded`), from "Загрузить OBJ" to "Отменить конвертацию", with its
// preview in the viewport; and the rules the page checks around it.

#include "OBJLoader.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ra7::editor {

class ConverterState {
public:
    ConverterState() = default;
    ~ConverterState() = default;
    ConverterState(const ConverterState&) = delete;
    ConverterState& operator=(const ConverterState&) = delete;

    bool ModelLoaded() const { return loaded_; }
    const TModel& Model() const { return model_; }

    // The console lines that refuse a model just read, or none when it can
    // be held: a model without faces (a missing or empty file) and one with
    // a face of more than three corners are dropped.
    static std::vector<std::string> Refusal(const TModel& model);

    // Holds the model (ModelLoaded) and loads the textures its materials
    // found, for the preview. Needs the context current.
    void Hold(TModel model);
    // Multiplies every position; the preview follows at its next draw.
    void Scale(float factor);
    // "Отменить конвертацию", and shut-down: the model and its preview go,
    // and so do the textures the preview brought, unless a material now
    // names them. Needs the context current. Nothing when no model is held.
    void Release();

    // The frame's preview step: lighting on with the scene's first light,
    // the model drawn with its own colours and textures (a display list
    // compiled on the first draw). Needs the context current.
    void DrawPreview();

private:
    void dropPreviewList();

    TModel model_;
    bool loaded_ = false;
    std::uint32_t previewList_ = 0;
    std::vector<std::string> previewTextures_;
};

// The factor typed into "Scale": a number ("." or "," as the separator)
// above 0 and finite; nothing for anything else.
std::optional<float> ParseScaleAnswer(std::string_view text);

// Remembers the working directory when made. A model's reading must not
// move it (every later relative name and the log itself would go to the
// wrong folder); if something did, RestoreIfMoved puts it back.
class WorkingDirectoryGuard {
public:
    WorkingDirectoryGuard();
    // True when the working directory had moved; it is the remembered one again.
    bool RestoreIfMoved() const;
    const std::filesystem::path& Remembered() const { return remembered_; }

private:
    std::filesystem::path remembered_;
};

} // namespace ra7::editor
