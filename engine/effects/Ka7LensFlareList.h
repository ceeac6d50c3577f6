#pragma once
// The engine-wide list of lens flares, looked up by name, and the KLS file
// that stores a set of them.

#include "effects/Ka7LensFlare.h"
#include "resources/ResourceList.h"

#include <memory>
#include <string_view>
#include <vector>

namespace ra7 {

class KaLensFlareList {
public:
    std::int32_t Count() const { return flares_.Count(); }
    KaLensFlare& Get(std::int32_t index) { return flares_.Get(index); }
    std::int32_t IndexOf(std::string_view name) const { return flares_.IndexOf(name); }
    KaLensFlare* Find(std::string_view name) { return flares_.Find(name); }

    // Appends a copy unless a flare of that name is listed.
    void AddCopy(const KaLensFlare& flare);
    void Delete(std::int32_t index);
    void Clear() { flares_.Clear(); }

    // A name no flare has (KaResourceList::MakeUniqueName).
    std::string MakeUniqueName(std::string_view name) const { return flares_.MakeUniqueName(name); }

    // Appends every flare of a KLS file under a unique name and returns the
    // last one added (nullptr for a file without flares). A damaged file
    // stops the load with an error; the flares read before stay.
    KaLensFlare* LoadFromFile(std::string_view fileName);
    // Writes the flares at `indexes`, in that order; an index outside the
    // list is refused before anything is written.
    void SaveToFile(std::string_view fileName, const std::vector<std::int32_t>& indexes);

    bool Changed() const { return flares_.Changed; }
    bool TakeChanged() { return flares_.TakeChanged(); }

    // Draws the flare of every non-static sprite that names one.
    void Render();

private:
    struct FlareName {
        const std::string& operator()(const KaLensFlare& flare) const { return flare.Name; }
    };
    KaResourceList<KaLensFlare, FlareName> flares_;
};

extern std::unique_ptr<KaLensFlareList> LensFlares;

} // namespace ra7
