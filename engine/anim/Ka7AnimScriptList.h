#pragma once
// The scripts of the run, in the order they were added, looked up by name.

#include "anim/Ka7AnimScript.h"
#include "resources/ResourceList.h"

#include <memory>

namespace ra7 {

class KaAnimList {
public:
    std::int32_t Count() const { return scripts_.Count(); }

    // Adds a copy of `script` unless a script of that name is listed; the
    // caller keeps the original.
    void Add(const KaAnimScript& script);
    std::int32_t IndexOf(std::string_view name) const { return scripts_.IndexOf(name); }
    KaAnimScript* Find(std::string_view name) { return scripts_.Find(name); }
    // "Array index out of bounds." past the end.
    KaAnimScript& Get(std::int32_t i) { return scripts_.Get(i); }
    void Clear() { scripts_.Clear(); }
    // Takes the i-th script out (the last one moves into its place) and hands
    // it over; InsertAt(i, script) is its exact inverse. For the editor's undo.
    std::unique_ptr<KaAnimScript> Take(std::int32_t i) { return scripts_.Take(i); }
    void InsertAt(std::int32_t i, std::unique_ptr<KaAnimScript> script)
    {
        scripts_.InsertAt(i, std::move(script));
    }

    // Advances every playing script by one frame of `frameTimeMs` milliseconds.
    void Update(float frameTimeMs);

    bool TakeChanged() { return scripts_.TakeChanged(); }

private:
    struct ScriptName {
        const std::string& operator()(const KaAnimScript& script) const { return script.Name; }
    };
    KaResourceList<KaAnimScript, ScriptName> scripts_;
};

// The engine-wide script list, from EngineInit to EngineDone.
extern std::unique_ptr<KaAnimList> AnimList;

} // namespace ra7
