#pragma once
// The "Secondaries" page: the lens-flare list (several can be selected), the
// lenses of the first selected flare, its name, lens count and distance,
// and the selected lens's colour, position and size bars. Every change is a
// step of the document; the page fills itself again from the engine's list
// whenever the document says the flares changed.

#include "ui/EditorPage.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;

namespace ra7::editor {

class TSecondariesPage : public QWidget, public EditorPage {
    Q_OBJECT
public:
    explicit TSecondariesPage(EditorServices& services, QWidget* parent = nullptr);
    ~TSecondariesPage() override;

    void Attach(EditorDocument& document) override;
    void Refresh() override;

    // The first selected flare's name, "" when none.
    std::string SelectedFlare() const;
    std::int32_t SelectedLens() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    QScrollBar* addBar(const char* objectName, int min, int max);
    void documentChanged(std::uint32_t changes);
    void fillFlareList(const std::vector<std::string>& select);
    void fillLensList(std::int32_t select);
    void fillPage();
    void flareClicked();
    void flareDoubleClicked();
    void addFlare();
    void renameFlare();
    void deleteFlares();
    void addLens();
    void chooseLensTexture();
    void deleteLens();
    void barMoved(int bar);
    void askDistance();
    void saveFlares();
    void loadFlares();
    std::vector<std::string> selectedFlares() const;
    std::optional<std::string> chooseTexture();
    void refuse(const std::optional<std::string>& reason);

    EditorServices& services_;
    EditorDocument* document_ = nullptr;
    std::int32_t listener_ = 0;
    bool lensFilling_ = false;
    QListWidget* flares_ = nullptr;
    QListWidget* lenses_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLabel* count_ = nullptr;
    QLineEdit* distance_ = nullptr;
    QLabel* preview_ = nullptr;
    std::array<QScrollBar*, 4> colour_{};
    QScrollBar* position_ = nullptr;
    QScrollBar* size_ = nullptr;
};

} // namespace ra7::editor
