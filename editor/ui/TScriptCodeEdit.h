#pragma once
// The text of the script editor window: script lines coloured by what the
// parser reads in them (times, commands, object names, vectors, durations,
// the name line), the lines the parser drops struck through on a red ground
// and the parts it reads as zero underlined, each with the reason written
// after the line and in its tool tip. The popup is the template menu.

#include <QPlainTextEdit>
#include <QStringList>
#include <QSyntaxHighlighter>

class QMenu;

namespace ra7::editor {

// What the highlighter found in one line.
struct LineMarks {
    bool dropped = false;
    QStringList reasons;
};

class ScriptHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit ScriptHighlighter(QTextDocument* document);

    // The marks of a line (0-based), as last coloured.
    static LineMarks MarksOf(const QTextBlock& block);

protected:
    void highlightBlock(const QString& text) override;
};

class TScriptCodeEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TScriptCodeEdit(QWidget* parent = nullptr);

    // Appends a line after the last one, wherever the caret is.
    void AppendLine(const QString& line);
    LineMarks MarksOfLine(int line) const;
    QMenu& TemplateMenu() const { return *templates_; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    QMenu* buildTemplateMenu();

    ScriptHighlighter* highlighter_;
    QMenu* templates_;
};

} // namespace ra7::editor
