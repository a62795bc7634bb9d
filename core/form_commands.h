#pragma once
// The commands half of a window, without the toolkit.
//
// A window's commands live in a QtCore-only class (TDodavky, TDokladPodklady,
// TPodkladyPolEdit) derived from FormCommands: what they ask of their own window
// (close with a result, move the focus) goes out as signals that the window obeys;
// every other window they open is opened through the interface of its family
// (core/window_family.h), which the program installs with the real windows and a test
// with windows that play the user with a script.

#include <QObject>

// Results of a modal window.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

// The commands half of a window.
class FormCommands : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The result the window closed with; mrNone while it is open.
    int ModalResult = mrNone;
    // The control that takes the focus when the window is shown (an id of the window's
    // own Control enumeration).
    int ActiveControl = 0;

    // ModalResult := result, then closeRequested: the window closes, its modal run
    // returns result.
    void CloseWith(int result);
    // focusRequested: the window puts the focus into that control.
    void FocusControl(int control);

signals:
    void closeRequested(int result);
    void focusRequested(int control);
};
