#pragma once
// A scene fixture: the console open in a scratch directory, a fresh global
// object array, no active camera, a fixed random seed and a 10 ms frame.

#include "engine/TestSupport.h"
#include "scene/Ka7SceneUnit.h"
#include "scene/MaterialCatalog.h"

#include <string>
#include <vector>

namespace ra7::test {

class SceneTest : public ConsoleTest {
protected:
    void SetUp() override;
    void TearDown() override;

    KaObjArray& scene() { return *SceneObjects; }
    // Creates an object of type T, names it and appends it; returns it.
    template <class T, class... Args>
    T& add(const std::string& name, Args&&... args);
    // The names of the objects in slot order.
    std::vector<std::string> names() const;
};

template <class T, class... Args>
T& SceneTest::add(const std::string& name, Args&&... args)
{
    auto object = std::make_unique<T>(std::forward<Args>(args)...);
    object->SetName(name);
    T& raw = *object;
    SceneObjects->Add(std::move(object));
    return raw;
}

// A small material list: names with a Blend flag; saving writes one line per
// saved index ("index name") to the KMT file, so a test can read what was asked.
class TestMaterials : public MaterialCatalog {
public:
    struct Entry {
        std::string name;
        bool blend = false;
    };
    std::vector<Entry> entries;

    std::int32_t IndexOfMaterial(std::string_view name) const override;
    bool MaterialBlend(std::int32_t index) const override;
    void SaveMaterials(std::string_view kmtFileName, const std::vector<std::int32_t>& indexes) const override;
};

} // namespace ra7::test
