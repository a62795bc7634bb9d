#include "messagebox_prompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

const QString MessageBoxPrompter::kMessageTitle = QStringLiteral("Podklady");
const QString MessageBoxPrompter::kConfirmTitle = QStringLiteral("Potvrzení");
const QString MessageBoxPrompter::kOk = QStringLiteral("OK");
const QString MessageBoxPrompter::kCancel = QStringLiteral("Storno");
const QString MessageBoxPrompter::kYes = QStringLiteral("&Ano");
const QString MessageBoxPrompter::kNo = QStringLiteral("&Ne");

namespace {

// A question with two buttons of the given captions; the second one is the default and
// answers Escape and the close box. True when the first one was pressed.
bool ask(const QString &text, const QString &accept, const QString &reject)
{
    QMessageBox box(QMessageBox::Question, MessageBoxPrompter::kConfirmTitle, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton *yes = box.addButton(accept, QMessageBox::AcceptRole);
    QPushButton *no = box.addButton(reject, QMessageBox::RejectRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

} // namespace

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
    return ask(text, kOk, kCancel);
}

bool MessageBoxPrompter::AskYesNo(const QString &text)
{
    return ask(text, kYes, kNo);
}
