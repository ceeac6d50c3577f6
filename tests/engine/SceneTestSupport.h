#pragma once
// A scene fixture: the console open in a scratch directory, a fresh global
// object array, no active camera, a fixed random seed and a 10 ms frame.

#include "engine/TestSupport.h"
#include "resources/Ka7Material.h"
#include "scene/Ka7SceneUnit.h"

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

// A material without textures, transparent or not.
KaMaterial material(const std::string& name, bool blend);

} // namespace ra7::test
