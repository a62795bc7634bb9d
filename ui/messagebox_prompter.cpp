#include "messagebox_prompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

const QString MessageBoxPrompter::kMessageTitle = QStringLiteral("Podklady");
const QString MessageBoxPrompter::kConfirmTitle = QStringLiteral("Potvrzení");

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
    QMessageBox::information(QApplication::activeWindow(), kMessageTitle, text);
}

bool MessageBoxPrompter::Confirm(const QString &text)
{
    QMessageBox box(QMessageBox::Question, kConfirmTitle, text, QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Zrušit"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

bool MessageBoxPrompter::AskYesNo(const QString &text)
{
    return QMessageBox::question(QApplication::activeWindow(), QApplication::applicationDisplayName(), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}
