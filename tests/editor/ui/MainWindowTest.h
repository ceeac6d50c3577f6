#pragma once
// The main window under a real display with a real Mesa context, started in
// a scratch project: the fixture of the widget tests.

#include "editor/ui/EditorProject.h"
#include "editor/ui/ScriptedDialogs.h"
#include "engine/TestSupport.h"
#include "runtime/FileIO.h"
#include "runtime/Ka7GlobalEngine.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ra7::editor {

class MainWindow : public ra7::test::ScratchDirectoryTest {
protected:
    void SetUp() override
    {
        ScratchDirectoryTest::SetUp();
        ResetSettings();
        test::installShaders(dir());
    }
    void TearDown() override
    {
        form.reset();
        ScratchDirectoryTest::TearDown();
    }

    // Starts the editor in the scratch project; the start-up error, if any.
    std::string start()
    {
        form = std::make_unique<TMainForm>(dialogs);
        std::string error = form->ShowAndStart();
        return error;
    }
    void startWithEditorData()
    {
        test::writeEditorData(dir());
        ASSERT_EQ(start(), "");
    }
    void waitFrames(long count)
    {
        const long target = form->FramesDrawn() + count;
        QElapsedTimer waited;
        waited.start();
        while (form->FramesDrawn() < target && waited.elapsed() < 30000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        ASSERT_GE(form->FramesDrawn(), target);
    }
    template <class T>
    T* find(QObject& parent, const char* name)
    {
        T* found = parent.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction* action(const char* name) { return find<QAction>(*form, name); }
    std::vector<std::string> treeNames()
    {
        std::vector<std::string> names;
        auto* tree = find<QTreeWidget>(*form, "MODtree");
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            names.push_back((*it)->text(0).toStdString());
        return names;
    }
    // A scene file with the given geometry objects, written apart from the editor's scene.
    static void writeScene(const std::filesystem::path& path,
                           const std::vector<std::pair<std::string, std::string>>& objects)
    {
        KaObjArray scene;
        std::vector<std::int32_t> indexes;
        for (const auto& [name, mesh] : objects) {
            auto geometry = std::make_unique<KaGeometry>();
            geometry->SetName(name);
            geometry->MeshName = mesh;
            indexes.push_back(scene.Count());
            scene.Add(std::move(geometry));
        }
        scene.SaveObjects(path.string(), indexes, {});
    }
    static bool hasLine(const std::string& prefix)
    {
        const auto lines = readTextLines("log.txt");
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    }

    test::ScriptedDialogs dialogs;
    std::unique_ptr<TMainForm> form;
};

} // namespace ra7::editor
