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
    // The status bar's panes of Caps Lock ("CAPS") and Num Lock ("NUM"), blank while off.
    QLabel *lockPane(int n) const { return m_lockPanes[n]; }

protected:
    bool event(QEvent *e) override;
    // An .isdoc or .isdocx file dropped on the window is read as "Načíst fakturu ISDOC…"
    // reads the file chosen.
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    bool keyDown(QKeyEvent *e);
    QPushButton *toolButton(const QString &caption, void (TDodavky::*command)(), Qt::FocusPolicy focus);
    void buildMenu();
    void buildStatusBar();
    void showStatus();

    TDodavky m_commands;
    TDBGrid *m_grid;
    TDBNavigator *m_navigator;
    QLabel *m_lockPanes[2];
    QLabel *m_clock;
};
