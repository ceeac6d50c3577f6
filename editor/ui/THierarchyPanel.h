#pragma once
// The hierarchy panel left of the 3-D view: a filter box, the scene's tree
// (`MODtree`) with its popup menu and keys, the selection panel, and the
// "Parent" and "UnParent" buttons. The tree follows the document: it is
// rebuilt when objects change and selects what the document selects; the
// user's clicks select in the document, in click order.

#include <QHash>
#include <QList>
#include <QSet>
#include <QWidget>

#include <functional>
#include <string>

class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QAction;

namespace ra7::editor {

class EditorDocument;
struct EditorServices;
struct TreeNode;

class THierarchyPanel : public QWidget {
    Q_OBJECT
public:
    THierarchyPanel(EditorServices& services, QWidget* parent = nullptr);
    ~THierarchyPanel() override;

    void Attach(EditorDocument& document);
    // RebuildTree: every node again from the scene, the document's
    // selection selected again, the filter applied.
    void RebuildTree();

    QTreeWidget& Tree() const { return *tree_; }
    QLineEdit& Filter() const { return *filter_; }
    // Where the selected object's name and position boxes go.
    QWidget& SelectionPanel() const { return *selectionPanel_; }

    // "Перейти к материалу": set by the Materials page; the item is enabled
    // for a selected geometry while it is set.
    std::function<void(const std::string& geometryName)> onGoToMaterial;

    // The tree's commands, as the popup, the buttons and the keys run them.
    void DeleteSelection();
    void DuplicateSelection();
    void AttachSelection();
    void DetachSelection();

private:
    void documentChanged(std::uint32_t changes);
    void selectFromDocument();
    void treeSelectionChanged();
    void showPopup(const QPoint& at);
    void addItems(QTreeWidgetItem* parent, const std::vector<TreeNode>& nodes);
    void reportAll(const std::vector<std::string>& refusals);
    void updateCommands();

    EditorServices& services_;
    EditorDocument* document_ = nullptr;
    std::int32_t listener_ = 0;
    QLineEdit* filter_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QWidget* selectionPanel_ = nullptr;
    QPushButton* parentButton_ = nullptr;
    QPushButton* unparentButton_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* deleteAction_ = nullptr;
    QAction* duplicateAction_ = nullptr;
    QAction* materialAction_ = nullptr;
    void expandAsBefore();

    QHash<QString, QTreeWidgetItem*> items_;
    QList<QTreeWidgetItem*> parents_;
    // What the user opened and closed, kept by name across rebuilds.
    QSet<QString> opened_;
    QSet<QString> closed_;
    bool syncing_ = false;
};

} // namespace ra7::editor
