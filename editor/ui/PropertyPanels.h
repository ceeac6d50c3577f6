#pragma once
// The six kind panels of the Properties page. The bars, colour groups and
// check boxes of the field tables (core/PropertyFields.h) are filled and
// edited by TKindPanel; each panel adds what is its own kind's.

#include "ui/TKindPanel.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QCheckBox;
class QMenu;

namespace ra7::editor {

class TNameRow;
class UnendingLifeMemory;

// Glow, star and streak layers; "Z test", "Always Rendered", "Secondary:"
// and "Расстояние:".
class TSpritePanel : public TKindPanel {
    Q_OBJECT
public:
    TSpritePanel(EditorServices& services, QWidget* parent);

private:
    void fillOwn(const KaSceneObj& object) override;
    void askSecondary();
    void askViewRange();

    std::array<TNameRow*, 3> textures_{};
    TNameRow* secondary_ = nullptr;
    TNameRow* viewRange_ = nullptr;
};

// Ambient, diffuse and specular colours and the range ("Радиус:").
class TLightPanel : public TKindPanel {
    Q_OBJECT
public:
    TLightPanel(EditorServices& services, QWidget* parent);
};

// "Угол обзора:". The view itself is drawn with the engine's fixed field
// of view; a camera keeps its own angle for the games that read it.
class TCameraPanel : public TKindPanel {
    Q_OBJECT
public:
    TCameraPanel(EditorServices& services, QWidget* parent);
};

// The three levels of detail and the material.
class TGeometryPanel : public TKindPanel {
    Q_OBJECT
public:
    TGeometryPanel(EditorServices& services, QWidget* parent);
    // The "..." menu of the material box: the material list's names.
    QMenu& MaterialMenu() const { return *materialMenu_; }

private:
    void fillOwn(const KaSceneObj& object) override;
    void askMaterial();
    void showMaterialMenu();
    void setMaterial(const std::string& name);

    std::array<TNameRow*, 3> meshes_{};
    TNameRow* material_ = nullptr;
    QMenu* materialMenu_ = nullptr;
};

// Lifetimes, speeds, sizes, spread, size change, colour, direction,
// texture, "Безсмертны", "Космическая пыль" and the particle count.
class TParticlePanel : public TKindPanel {
    Q_OBJECT
public:
    TParticlePanel(EditorServices& services, UnendingLifeMemory& lifetimes, QWidget* parent);

private:
    void fillOwn(const KaSceneObj& object) override;
    void directionTyped(std::size_t axis);
    void askCount();

    UnendingLifeMemory& lifetimes_;
    std::array<TBarRow*, 2> lifeBars_{};
    std::array<QLineEdit*, 3> direction_{};
    TNameRow* texture_ = nullptr;
    QCheckBox* unending_ = nullptr;
    QLabel* count_ = nullptr;
};

// "Looping", the sound file, Play, Pause, Stop and the playing position.
class TSoundPanel : public TKindPanel {
    Q_OBJECT
public:
    TSoundPanel(EditorServices& services, QWidget* parent);
    void Tick(KaSceneObj& object) override;

private:
    void fillOwn(const KaSceneObj& object) override;
    void chooseSound();
    void control(void (*operation)(KaSceneObj&));

    TNameRow* file_ = nullptr;
    QLabel* offsets_ = nullptr;
    QSlider* position_ = nullptr;
};

} // namespace ra7::editor
