#include "anim/Ka7AnimScriptList.h"

namespace ra7 {

std::unique_ptr<KaAnimList> AnimList;

void KaAnimList::Add(const KaAnimScript& script)
{
    if (IndexOf(script.Name) >= 0)
        return;
    scripts_.Add(std::make_unique<KaAnimScript>(script));
}

void KaAnimList::Update(float frameTimeMs)
{
    for (std::int32_t i = 0; i < Count(); ++i) {
        KaAnimScript& script = Get(i);
        if (script.Speed > 0)
            script.Advance(frameTimeMs);
    }
}

} // namespace ra7
