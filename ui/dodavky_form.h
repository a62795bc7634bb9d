#pragma once
// The main window, "Přehled podkladů příjmů od dodavatelů 1.30": the tool bar with the
// record navigator and the command buttons, the list of all source documents, the
// status bar with the clock, and the menu. Keys, clicks and menu items go to its
// TDodavky; closing the window ends the program.

#include "dodavky.h"

#include <QMainWindow>

class QLabel;
class QPushButton;
class TDBGrid;
class TDBNavigator;

class DodavkyWindow : public QMainWindow {
    Q_OBJECT
public:
    // The list's columns, in order.
    static QStringList GridColumns();

    // Requires: Data, connected. Runs the window's creation (an error of it is shown by
    // the general error display and the list may stay empty) and centres the window.
    explicit DodavkyWindow(QWidget *parent = nullptr);

    TDodavky &commands() { return m_commands; }
    TDBGrid *grid() const { return m_grid; }

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    bool keyDown(QKeyEvent *e);
    QPushButton *toolButton(const QString &caption, void (TDodavky::*command)(), Qt::FocusPolicy focus);
    void buildMenu();
    void buildStatusBar();

    TDodavky m_commands;
    TDBGrid *m_grid;
    TDBNavigator *m_navigator;
    QLabel *m_clock;
};
