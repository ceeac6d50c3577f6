#include "ui/DialogService.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace ra7::editor {

namespace {

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

std::optional<std::string> chosen(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

} // namespace

std::optional<std::string> QtDialogService::AskOpenFile(const std::string& title, const std::string& filter)
{
    return chosen(QFileDialog::getOpenFileName(parent_, q(title), QString(), q(filter)));
}

std::optional<std::string> QtDialogService::AskSaveFile(const std::string& title, const std::string& filter,
                                                        OverwriteQuestion overwrite)
{
    const QFileDialog::Options options =
        overwrite == OverwriteQuestion::ByCaller ? QFileDialog::DontConfirmOverwrite : QFileDialog::Options();
    return chosen(QFileDialog::getSaveFileName(parent_, q(title), QString(), q(filter), nullptr, options));
}

std::optional<std::string> QtDialogService::AskFolder(const std::string& title)
{
    return chosen(QFileDialog::getExistingDirectory(parent_, q(title), QDir::currentPath()));
}

std::optional<std::string> QtDialogService::AskText(const std::string& title, const std::string& label,
                                                    const std::string& initial)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, q(title), q(label), QLineEdit::Normal, q(initial), &ok);
    if (!ok)
        return std::nullopt;
    return text.toStdString();
}

bool QtDialogService::Confirm(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Editor for Ra7Davevi"), q(text),
                    QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() == yes;
}

SaveChoice QtDialogService::AskSaveChanges(const std::string& text)
{
    // The buttons speak the editor's language whatever translations Qt finds.
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Editor for Ra7Davevi"), q(text),
                    QMessageBox::NoButton, parent_);
    QPushButton* save = box.addButton(QStringLiteral("Сохранить"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Не сохранять"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveChoice::Save;
    return box.clickedButton() == discard ? SaveChoice::Discard : SaveChoice::Cancel;
}

std::size_t QtDialogService::AskChoice(const std::string& text, const std::vector<std::string>& answers)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Editor for Ra7Davevi"), q(text),
                    QMessageBox::NoButton, parent_);
    std::vector<QPushButton*> buttons;
    for (const std::string& answer : answers)
        buttons.push_back(box.addButton(q(answer), QMessageBox::ActionRole));
    if (buttons.empty())
        return 0;
    box.setDefaultButton(buttons.front());
    box.setEscapeButton(buttons.back());
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return i;
    return buttons.size() - 1;
}

void QtDialogService::ShowMessage(const std::string& text)
{
    QMessageBox::information(parent_, QStringLiteral("Editor for Ra7Davevi"), q(text));
}

void QtDialogService::ShowError(const std::string& text)
{
    QMessageBox::critical(parent_, QStringLiteral("Editor for Ra7Davevi"), q(text));
}

bool QtDialogService::RunModal(QDialog& dialog)
{
    return dialog.exec() == QDialog::Accepted;
}

void UnattendedDialogService::ShowMessage(const std::string& text)
{
    std::fprintf(stderr, "ra7editor: %s\n", text.c_str());
}

void UnattendedDialogService::ShowError(const std::string& text)
{
    std::fprintf(stderr, "ra7editor: %s\n", text.c_str());
}

} // namespace ra7::editor
