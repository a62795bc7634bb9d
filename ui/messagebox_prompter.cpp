#include "messagebox_prompter.h"

#include <QApplication>
#include <QMessageBox>

MessageBoxPrompter::MessageBoxPrompter()
{
    setPrompter(this);
}

MessageBoxPrompter::~MessageBoxPrompter()
{
    setPrompter(nullptr);
}

void MessageBoxPrompter::ShowMessage(const QString &text)
{
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationDisplayName(), text);
}

bool MessageBoxPrompter::Confirm(const QString &text)
{
    return QMessageBox::question(QApplication::activeWindow(), QApplication::applicationDisplayName(), text,
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
        == QMessageBox::Ok;
}

bool MessageBoxPrompter::AskYesNo(const QString &text)
{
    return QMessageBox::question(QApplication::activeWindow(), QApplication::applicationDisplayName(), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}
