#include "ui/TPageHost.h"

#include "ui/EditorPage.h"

#include <QSignalBlocker>

namespace ra7::editor {

TPageHost::TPageHost(QWidget* parent) : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, &TPageHost::pageChanged);
}

void TPageHost::AddPage(const QString& id, const QString& title, QWidget* widget, EditorPage* page)
{
    widget->setObjectName(widget->objectName().isEmpty() ? QStringLiteral("Page_") + id
                                                         : widget->objectName());
    entries_.push_back({id, page});
    const QSignalBlocker quiet(this);
    addTab(widget, title);
    shown_ = currentIndex();
}

void TPageHost::AttachAll(EditorDocument& document)
{
    for (const Entry& entry : entries_)
        if (entry.page)
            entry.page->Attach(document);
    RefreshCurrent();
}

bool TPageHost::ShowPage(const QString& id)
{
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].id == id) {
            setCurrentIndex(static_cast<int>(i));
            return currentIndex() == static_cast<int>(i);
        }
    return false;
}

QString TPageHost::CurrentId() const
{
    const int index = currentIndex();
    return index >= 0 && index < static_cast<int>(entries_.size())
               ? entries_[static_cast<std::size_t>(index)].id
               : QString();
}

EditorPage* TPageHost::Page(const QString& id) const
{
    for (const Entry& entry : entries_)
        if (entry.id == id)
            return entry.page;
    return nullptr;
}

QStringList TPageHost::Ids() const
{
    QStringList ids;
    for (const Entry& entry : entries_)
        ids << entry.id;
    return ids;
}

void TPageHost::RefreshCurrent()
{
    const int index = currentIndex();
    if (index >= 0 && index < static_cast<int>(entries_.size()))
        if (EditorPage* page = entries_[static_cast<std::size_t>(index)].page)
            page->Refresh();
}

void TPageHost::pageChanged(int index)
{
    if (reverting_)
        return;
    // The page being left may refuse; the tab goes back before the new page
    // is filled, so the refusing page never sees a refresh of another.
    if (shown_ >= 0 && shown_ < static_cast<int>(entries_.size()) && shown_ != index) {
        if (EditorPage* leaving = entries_[static_cast<std::size_t>(shown_)].page)
            if (const auto refusal = leaving->LeaveRefusal()) {
                reverting_ = true;
                setCurrentIndex(shown_);
                reverting_ = false;
                if (onRefused)
                    onRefused(*refusal);
                return;
            }
    }
    shown_ = index;
    RefreshCurrent();
}

} // namespace ra7::editor
