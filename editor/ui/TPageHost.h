#pragma once
// The tool panel's pages: a tab widget that refreshes a page when it is
// shown, lets a page refuse to be left (the tab then stays where it was and
// the reason is reported), and finds pages by id for the menus and the
// command line.

#include <QString>
#include <QTabWidget>

#include <functional>
#include <string>
#include <vector>

namespace ra7::editor {

class EditorDocument;
class EditorPage;

class TPageHost : public QTabWidget {
    Q_OBJECT
public:
    explicit TPageHost(QWidget* parent = nullptr);

    // Adds `widget` as the page `id` titled `title`; `page` (often the
    // widget itself) is refreshed when shown and asked before it is left.
    void AddPage(const QString& id, const QString& title, QWidget* widget, EditorPage* page);
    // The engine has started: every page gets the document.
    void AttachAll(EditorDocument& document);

    // Shows the page `id`; false when there is none or the current page
    // refuses to be left.
    bool ShowPage(const QString& id);
    QString CurrentId() const;
    EditorPage* Page(const QString& id) const;
    QStringList Ids() const;
    // Refreshes the page that is showing (after a selection change).
    void RefreshCurrent();

    // Told the reason when a page refuses to be left.
    std::function<void(const std::string&)> onRefused;

private:
    void pageChanged(int index);

    struct Entry {
        QString id;
        EditorPage* page = nullptr;
    };
    std::vector<Entry> entries_;
    int shown_ = -1;
    bool reverting_ = false;
};

} // namespace ra7::editor
