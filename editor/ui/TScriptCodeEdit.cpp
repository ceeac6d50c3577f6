#include "ui/TScriptCodeEdit.h"

#include "anim/AnimLineCheck.h"
#include "core/ScriptTemplates.h"

#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <QToolTip>
#include <QWidgetAction>

#include <memory>

namespace ra7::editor {

namespace {

class MarksData : public QTextBlockUserData {
public:
    explicit MarksData(LineMarks found) : marks(std::move(found)) {}
    LineMarks marks;
};

QTextCharFormat coloured(const QColor& colour, bool bold = false, bool italic = false)
{
    QTextCharFormat format;
    format.setForeground(colour);
    if (bold)
        format.setFontWeight(QFont::Bold);
    format.setFontItalic(italic);
    return format;
}

QTextCharFormat formatOf(AnimLinePart part)
{
    switch (part) {
    case AnimLinePart::Name:
        return coloured(QColor(0x8b, 0x1a, 0x1a), true);
    case AnimLinePart::Time:
        return coloured(QColor(0x1f, 0x4f, 0xa0));
    case AnimLinePart::Command:
        return coloured(QColor(0x7b, 0x1f, 0xa2), true);
    case AnimLinePart::Object:
        return coloured(QColor(0x1b, 0x6e, 0x20));
    case AnimLinePart::SecondName:
        return coloured(QColor(0x1b, 0x6e, 0x20), false, true);
    case AnimLinePart::Vector:
        return coloured(QColor(0xb3, 0x59, 0x00));
    case AnimLinePart::Duration:
        return coloured(QColor(0x00, 0x79, 0x6b));
    }
    return {};
}

const QColor kDroppedColour(0xc0, 0x00, 0x00);
const QColor kWarningColour(0xd0, 0x70, 0x00);
const QColor kDroppedGround(0xff, 0xe0, 0xe0);

} // namespace

// --- ScriptHighlighter ---------------------------------------------------------------

ScriptHighlighter::ScriptHighlighter(QTextDocument* document) : QSyntaxHighlighter(document)
{
}

LineMarks ScriptHighlighter::MarksOf(const QTextBlock& block)
{
    const auto* data = dynamic_cast<const MarksData*>(block.userData());
    return data ? data->marks : LineMarks{};
}

void ScriptHighlighter::highlightBlock(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const AnimLineCheck check =
        CheckAnimLine(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    // The checker counts bytes of UTF-8; the text counts UTF-16 units.
    auto at = [&utf8](std::size_t byte) {
        return static_cast<int>(QString::fromUtf8(utf8.constData(), static_cast<qsizetype>(byte)).size());
    };
    auto apply = [&](std::size_t begin, std::size_t end, const QTextCharFormat& format) {
        const int from = at(begin);
        setFormat(from, at(end) - from, format);
    };

    LineMarks marks;
    marks.dropped = check.dropped;
    if (check.dropped) {
        QTextCharFormat ground;
        ground.setBackground(kDroppedGround);
        ground.setForeground(kDroppedColour);
        setFormat(0, static_cast<int>(text.size()), ground);
    }
    for (const AnimLineSpan& span : check.spans) {
        QTextCharFormat format = formatOf(span.part);
        if (check.dropped)
            format.setBackground(kDroppedGround);
        apply(span.begin, span.end, format);
    }
    for (const AnimLineIssue& issue : check.issues) {
        const int from = at(issue.begin);
        const int length = std::max(1, at(issue.end) - from);
        for (int i = from; i < from + length && i < text.size(); ++i) {
            QTextCharFormat merged = format(i);
            merged.setUnderlineStyle(QTextCharFormat::WaveUnderline);
            merged.setUnderlineColor(check.dropped ? kDroppedColour : kWarningColour);
            setFormat(i, 1, merged);
        }
        marks.reasons.push_back((check.dropped ? QStringLiteral("строка пропущена: ") : QString()) +
                                QString::fromStdString(issue.text));
    }
    setCurrentBlockUserData(new MarksData(std::move(marks)));
}

// --- TScriptCodeEdit -------------------------------------------------------------------

TScriptCodeEdit::TScriptCodeEdit(QWidget* parent)
    : QPlainTextEdit(parent), highlighter_(new ScriptHighlighter(document())), templates_(buildTemplateMenu())
{
    setObjectName(QStringLiteral("CodeEdit"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    setToolTip(QStringLiteral("Текст скрипта; правая кнопка — шаблоны команд"));
}

QMenu* TScriptCodeEdit::buildTemplateMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("TemplateMenu"));
    menu->setToolTipsVisible(true);
    auto* columns = new QWidget(menu);
    auto* grid = new QGridLayout(columns);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setVerticalSpacing(0);
    int column = 0;
    for (const ScriptTemplateGroup& group : ScriptTemplates()) {
        auto* header = new QLabel(
            QString::fromUtf8(group.header.data(), static_cast<qsizetype>(group.header.size())), columns);
        header->setToolTip(QString::fromUtf8(group.hint.data(), static_cast<qsizetype>(group.hint.size())));
        header->setEnabled(false);
        grid->addWidget(header, 0, column);
        int row = 1;
        for (const ScriptTemplate& item : group.items) {
            const QString caption =
                QString::fromUtf8(item.caption.data(), static_cast<qsizetype>(item.caption.size()));
            auto* entry = new QToolButton(columns);
            entry->setObjectName(QStringLiteral("Template"));
            entry->setText(caption);
            entry->setToolTip(QString::fromUtf8(item.hint.data(), static_cast<qsizetype>(item.hint.size())));
            entry->setAutoRaise(true);
            entry->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            connect(entry, &QToolButton::clicked, this, [this, menu, caption] {
                menu->close();
                AppendLine(caption);
            });
            grid->addWidget(entry, row++, column);
        }
        grid->setRowStretch(row, 1);
        ++column;
    }
    auto* action = new QWidgetAction(menu);
    action->setDefaultWidget(columns);
    menu->addAction(action);
    return menu;
}

void TScriptCodeEdit::AppendLine(const QString& line)
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    const bool emptyLast = document()->lastBlock().text().isEmpty();
    cursor.insertText(emptyLast ? line : QStringLiteral("\n") + line);
}

LineMarks TScriptCodeEdit::MarksOfLine(int line) const
{
    return ScriptHighlighter::MarksOf(document()->findBlockByNumber(line));
}

void TScriptCodeEdit::contextMenuEvent(QContextMenuEvent* event)
{
    // The templates, with the usual editing commands below them.
    std::unique_ptr<QMenu> editing(createStandardContextMenu());
    editing->setTitle(QStringLiteral("Правка"));
    QAction* separator = templates_->addSeparator();
    QAction* submenu = templates_->addMenu(editing.get());
    templates_->exec(event->globalPos());
    templates_->removeAction(submenu);
    templates_->removeAction(separator);
    delete separator;
}

void TScriptCodeEdit::paintEvent(QPaintEvent* event)
{
    QPlainTextEdit::paintEvent(event);
    QPainter painter(viewport());
    QFont small = font();
    small.setItalic(true);
    painter.setFont(small);
    const QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(offset);
        if (box.top() > viewport()->height())
            break;
        const LineMarks marks = ScriptHighlighter::MarksOf(block);
        if (marks.reasons.isEmpty() || !block.layout() || block.layout()->lineCount() == 0)
            continue;
        const QTextLine last = block.layout()->lineAt(block.layout()->lineCount() - 1);
        const qreal x = box.left() + last.naturalTextWidth() + document()->documentMargin() + 16;
        const qreal y = box.top() + last.y() + last.ascent();
        painter.setPen(marks.dropped ? kDroppedColour : kWarningColour);
        painter.drawText(QPointF(x, y), QStringLiteral("← ") + marks.reasons.join(QStringLiteral("; ")));
    }
}

bool TScriptCodeEdit::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const LineMarks marks = ScriptHighlighter::MarksOf(cursorForPosition(help->pos()).block());
        if (!marks.reasons.isEmpty()) {
            QToolTip::showText(help->globalPos(), marks.reasons.join(QStringLiteral("\n")), viewport());
            return true;
        }
    }
    return QPlainTextEdit::viewportEvent(event);
}

} // namespace ra7::editor
