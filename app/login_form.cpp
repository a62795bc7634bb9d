#include "login_form.h"

#include "edittovel.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int kOk = 1;
constexpr int kStorno = 2;
} // namespace

TLoginForm::TLoginForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Přihlašovací dialog uživatele"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Přihlašovací jméno z Windows není v seznamu uživatelů systému"), this));
    layout->addWidget(new QLabel(QStringLiteral("Přístupové jméno uživatele "), this));
    EditTovel1 = new TEditTovel(this);
    layout->addWidget(EditTovel1);
    layout->addWidget(new QLabel(QStringLiteral("Přístupové heslo uživatele"), this));
    EditTovel2 = new TEditTovel(this);
    EditTovel2->SetPasswordChar(QLatin1Char('*'));
    layout->addWidget(EditTovel2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    OkButton = new QPushButton(QStringLiteral("OK"), this);
    StornoButton = new QPushButton(QStringLiteral("Storno"), this);
    for (QPushButton *b : {OkButton, StornoButton}) {
        // A button reacts to Enter only while it has the focus.
        b->setAutoDefault(true);
        b->setDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(OkButton, &QPushButton::clicked, this, [this] { done(kOk); });
    connect(StornoButton, &QPushButton::clicked, this, [this] { done(kStorno); });

    setTabOrder(EditTovel1, EditTovel2);
    setTabOrder(EditTovel2, StornoButton);
    setTabOrder(StornoButton, OkButton);
    EditTovel1->setFocus();

    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TLoginForm::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TLoginForm::closeEvent(QCloseEvent *e)
{
    e->ignore();
    done(kStorno);
}

int WidgetLoginDialog::Show(QString &name, QString &password)
{
    TLoginForm form;
    const int result = form.exec();
    name = form.EditTovel1->text();
    password = form.EditTovel2->text();
    return result == kOk ? kOk : kStorno;
}
