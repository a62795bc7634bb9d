#pragma once
// TLoginForm: asks for the login name and the password when the log-on name is not
// known or the configuration always wants the dialog.

#include "app/login.h"

#include <QDialog>

class TEditTovel;
class QPushButton;

class TLoginForm : public QDialog {
    Q_OBJECT
public:
    explicit TLoginForm(QWidget *parent = nullptr);

    TEditTovel *EditTovel1;   // login name; focused when the dialog opens
    TEditTovel *EditTovel2;   // password, shown as "*"
    QPushButton *OkButton;    // result 1
    QPushButton *StornoButton;  // result 2

protected:
    // Escape closes nothing: only the buttons end the dialog.
    void keyPressEvent(QKeyEvent *e) override;
    // Any other way of closing counts as "Storno".
    void closeEvent(QCloseEvent *e) override;
};

// The login dialog of the running program: TLoginForm shown modally.
class WidgetLoginDialog final : public LoginDialog {
public:
    int Show(QString &name, QString &password) override;
};
