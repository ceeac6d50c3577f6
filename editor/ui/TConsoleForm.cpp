#include "ui/TConsoleForm.h"

#include "core/ConsoleLineStyle.h"
#include "runtime/Ka7Console.h"
#include "runtime/Ka7Log.h"
#include "ui/DialogService.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

namespace ra7::editor {

namespace {

QColor colourOf(ConsoleColour colour, const QPalette& palette)
{
    switch (colour) {
    case ConsoleColour::Error:
        return Qt::red;
    case ConsoleColour::Step:
        return palette.color(QPalette::Highlight);
    case ConsoleColour::Command:
        return QColor(0, 255, 0);
    case ConsoleColour::Normal:
        break;
    }
    return palette.color(QPalette::Text);
}

} // namespace

TConsoleForm::TConsoleForm(DialogService& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), dialogs_(dialogs), lines_(new QListWidget(this)),
      command_(new QLineEdit(this)), timer_(new QTimer(this))
{
    setWindowTitle(QStringLiteral("Консоль"));
    setObjectName(QStringLiteral("ConsoleForm"));
    lines_->setObjectName(QStringLiteral("ConsoleLines"));
    command_->setObjectName(QStringLiteral("ConsoleCommand"));
    lines_->setUniformItemSizes(true);
    lines_->setFont(QFont(QStringLiteral("Monospace")));

    // The list fills the window; the command box stays along the bottom edge.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(lines_, 1);
    layout->addWidget(command_);
    resize(600, 400);

    connect(command_, &QLineEdit::returnPressed, this, &TConsoleForm::runCommand);
    connect(command_, &QLineEdit::textEdited, this, &TConsoleForm::Refresh);
    connect(lines_, &QListWidget::itemClicked, lines_, &QListWidget::clearSelection);
    connect(timer_, &QTimer::timeout, this, &TConsoleForm::Refresh);
    timer_->start(500);
}

void TConsoleForm::ShowConsole()
{
    Refresh();
    show();
    raise();
    activateWindow();
}

void TConsoleForm::Refresh()
{
    if (LogChanged()) {
        lines_->clear();
        for (const std::string& line : LogLines()) {
            const ConsoleLineStyle style = StyleConsoleLine(line);
            auto* item = new QListWidgetItem(QString::fromStdString(style.text), lines_);
            item->setForeground(colourOf(style.colour, palette()));
        }
        lines_->scrollToBottom();
    }
    lines_->clearSelection();
}

void TConsoleForm::runCommand()
{
    const std::string line = command_->text().toStdString();
    command_->clear();
    try {
        ExecuteCommand(line);
    } catch (const std::exception& error) {
        dialogs_.ShowError(error.what());
    }
    Refresh();
}

} // namespace ra7::editor
