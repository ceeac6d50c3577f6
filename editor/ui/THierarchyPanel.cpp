#include "ui/THierarchyPanel.h"

#include "core/EditorDocument.h"
#include "core/SceneTree.h"
#include "core/TreeEdits.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/DialogService.h"
#include "ui/EditorPage.h"
#include "ui/NodeIcons.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <exception>

namespace ra7::editor {

namespace {

// Up to this many parents a new parent shows its children at once; in a
// larger scene parents start closed (opening tens of thousands of nodes
// would make every rebuild slow) and open on a click, or when one of their
// children is selected.
constexpr qsizetype kOpenParentsUpTo = 1000;

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

THierarchyPanel::THierarchyPanel(EditorServices& services, QWidget* parent)
    : QWidget(parent), services_(services)
{
    setObjectName(QStringLiteral("TreePanel"));
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("TreeFilter"));
    filter_->setPlaceholderText(QStringLiteral("Фильтр по имени"));
    filter_->setClearButtonEnabled(true);
    connect(filter_, &QLineEdit::textChanged, this, &THierarchyPanel::RebuildTree);
    layout->addWidget(filter_);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("MODtree"));
    tree_->setHeaderHidden(true);
    tree_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    tree_->setUniformRowHeights(true);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &THierarchyPanel::treeSelectionChanged);
    connect(tree_, &QTreeWidget::customContextMenuRequested, this, &THierarchyPanel::showPopup);
    connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (!syncing_) {
            opened_.insert(item->text(0));
            closed_.remove(item->text(0));
        }
    });
    connect(tree_, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (!syncing_) {
            closed_.insert(item->text(0));
            opened_.remove(item->text(0));
        }
    });
    layout->addWidget(tree_, 1);

    selectionPanel_ = new QWidget(this);
    selectionPanel_->setObjectName(QStringLiteral("SelectionPanel"));
    auto* selectionLayout = new QVBoxLayout(selectionPanel_);
    selectionLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(selectionPanel_);

    auto* buttons = new QHBoxLayout();
    parentButton_ = new QPushButton(QStringLiteral("Parent"), this);
    parentButton_->setObjectName(QStringLiteral("MODParent"));
    parentButton_->setToolTip(QStringLiteral("Прикрепить выделенные объекты к выделенному первым"));
    connect(parentButton_, &QPushButton::clicked, this, &THierarchyPanel::AttachSelection);
    unparentButton_ = new QPushButton(QStringLiteral("UnParent"), this);
    unparentButton_->setObjectName(QStringLiteral("MODUnParent"));
    unparentButton_->setToolTip(QStringLiteral("Открепить выделенные объекты от родителей"));
    connect(unparentButton_, &QPushButton::clicked, this, &THierarchyPanel::DetachSelection);
    buttons->addWidget(parentButton_);
    buttons->addWidget(unparentButton_);
    layout->addLayout(buttons);

    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("TreePopup"));
    deleteAction_ = popup_->addAction(QStringLiteral("Удалить"), this, &THierarchyPanel::DeleteSelection);
    deleteAction_->setObjectName(QStringLiteral("ActionDeleteObjects"));
    deleteAction_->setShortcut(QKeySequence::Delete);
    duplicateAction_ =
        popup_->addAction(QStringLiteral("Дублировать"), this, &THierarchyPanel::DuplicateSelection);
    duplicateAction_->setObjectName(QStringLiteral("ActionDuplicateObjects"));
    duplicateAction_->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    materialAction_ = popup_->addAction(QStringLiteral("Перейти к материалу"), this, [this] {
        if (document_ && onGoToMaterial)
            onGoToMaterial(document_->Selection().SelectedName());
    });
    materialAction_->setObjectName(QStringLiteral("ActionGoToMaterial"));
    // The keys work wherever the focus is inside the panel, not only over the popup.
    auto* clear = new QAction(this);
    clear->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(clear, &QAction::triggered, this, [this] {
        if (document_)
            document_->ClearSelection();
    });
    for (QAction* action : {deleteAction_, duplicateAction_, clear}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        tree_->addAction(action);
    }
    updateCommands();
}

THierarchyPanel::~THierarchyPanel()
{
    if (document_)
        document_->Unlisten(listener_);
}

void THierarchyPanel::Attach(EditorDocument& document)
{
    document_ = &document;
    listener_ = document.Listen([this](ChangeSet changes) { documentChanged(changes); });
    RebuildTree();
}

void THierarchyPanel::documentChanged(std::uint32_t changes)
{
    if (Has(changes, DocChange::Objects))
        RebuildTree();
    else if (Has(changes, DocChange::Selection))
        selectFromDocument();
    updateCommands();
}

void THierarchyPanel::addItems(QTreeWidgetItem* parent, const std::vector<TreeNode>& nodes)
{
    QList<QTreeWidgetItem*> made;
    made.reserve(static_cast<qsizetype>(nodes.size()));
    for (const TreeNode& node : nodes) {
        auto* item = new QTreeWidgetItem();
        const QString name = q(node.name);
        item->setText(0, name);
        item->setIcon(0, NodeIcon(node.image));
        items_.insert(name, item);
        made.push_back(item);
        if (!node.children.empty())
            parents_.push_back(item);
        addItems(item, node.children);
    }
    if (parent)
        parent->addChildren(made);
    else
        tree_->addTopLevelItems(made);
}

void THierarchyPanel::RebuildTree()
{
    if (!document_)
        return;
    syncing_ = true;
    tree_->setUpdatesEnabled(false);
    {
        const QSignalBlocker quiet(tree_);
        tree_->clear();
        items_.clear();
        parents_.clear();
        addItems(nullptr, FilterTree(BuildTree(document_->Scene()), filter_->text().toStdString()));
        expandAsBefore();
    }
    syncing_ = false;
    selectFromDocument();
    tree_->setUpdatesEnabled(true);
}

void THierarchyPanel::expandAsBefore()
{
    // A filtered tree shows every match where it hangs.
    if (!filter_->text().isEmpty() || (parents_.size() <= kOpenParentsUpTo && closed_.isEmpty())) {
        tree_->expandAll();
        return;
    }
    const bool openByDefault = parents_.size() <= kOpenParentsUpTo;
    for (QTreeWidgetItem* item : parents_) {
        const QString& name = item->text(0);
        if (openByDefault ? !closed_.contains(name) : opened_.contains(name))
            item->setExpanded(true);
    }
}

void THierarchyPanel::selectFromDocument()
{
    if (!document_)
        return;
    syncing_ = true;
    {
        const QSignalBlocker quiet(tree_);
        tree_->clearSelection();
        QTreeWidgetItem* current = nullptr;
        for (const std::string& name : document_->Selection().Names())
            if (QTreeWidgetItem* item = items_.value(q(name))) {
                item->setSelected(true);
                if (!current)
                    current = item;
            }
        if (current) {
            tree_->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
            tree_->scrollToItem(current);
        }
    }
    tree_->viewport()->update();
    syncing_ = false;
}

void THierarchyPanel::treeSelectionChanged()
{
    if (syncing_ || !document_)
        return;
    std::vector<std::string> selected;
    // Top to bottom: the document keeps click order for names it already has.
    for (QTreeWidgetItemIterator it(tree_, QTreeWidgetItemIterator::Selected); *it; ++it)
        selected.push_back((*it)->text(0).toStdString());
    // Names hidden by the filter stay selected: the filter only narrows the view.
    if (!filter_->text().isEmpty())
        for (const std::string& name : document_->Selection().Names())
            if (!items_.contains(q(name)))
                selected.push_back(name);
    document_->FollowSelection(selected);
}

void THierarchyPanel::updateCommands()
{
    const bool ready = document_ != nullptr;
    deleteAction_->setEnabled(ready && CanDelete(*document_));
    duplicateAction_->setEnabled(ready && CanDuplicate(*document_));
    parentButton_->setEnabled(ready && CanAttach(*document_));
    unparentButton_->setEnabled(ready && CanDetach(*document_));
    bool geometry = false;
    if (ready)
        if (const KaSceneObj* object = document_->Scene().FindByName(document_->Selection().SelectedName()))
            geometry = object->Kind() == KaObjKind::Geometry;
    materialAction_->setEnabled(geometry && static_cast<bool>(onGoToMaterial));
}

void THierarchyPanel::showPopup(const QPoint& at)
{
    updateCommands();
    popup_->popup(tree_->viewport()->mapToGlobal(at));
}

void THierarchyPanel::reportAll(const std::vector<std::string>& refusals)
{
    for (const std::string& refusal : refusals)
        if (services_.report)
            services_.report(refusal);
}

namespace {

// A tree command that fails shows its error; the document has already
// logged it and recorded nothing.
template <class Run>
void guarded(EditorServices& services, Run run)
{
    try {
        run();
    } catch (const std::exception& e) {
        services.dialogs.ShowError(e.what());
    }
}

} // namespace

void THierarchyPanel::DeleteSelection()
{
    if (document_)
        guarded(services_, [&] { reportAll(DeleteSelected(*document_)); });
}

void THierarchyPanel::DuplicateSelection()
{
    if (document_)
        guarded(services_, [&] { reportAll(DuplicateSelected(*document_)); });
}

void THierarchyPanel::AttachSelection()
{
    if (document_)
        guarded(services_, [&] { reportAll(AttachSelected(*document_)); });
}

void THierarchyPanel::DetachSelection()
{
    if (document_)
        guarded(services_, [&] { reportAll(DetachSelected(*document_)); });
}

} // namespace ra7::editor
