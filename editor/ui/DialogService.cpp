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

std::optional<int> QtDialogService::AskChoice(const std::string& text,
                                              const std::vector<std::string>& buttons)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Editor for Ra7Davevi"), q(text),
                    QMessageBox::NoButton, parent_);
    std::vector<QPushButton*> pressed;
    for (const std::string& caption : buttons)
        pressed.push_back(box.addButton(q(caption), QMessageBox::ActionRole));
    box.exec();
    for (std::size_t i = 0; i < pressed.size(); ++i)
        if (box.clickedButton() == pressed[i])
            return static_cast<int>(i);
    return std::nullopt;
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
