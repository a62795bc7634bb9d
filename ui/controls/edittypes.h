#pragma once
// The modes, settings and event types of the validated edit controls.

#include <QString>
#include <Qt>
#include <functional>

class QWidget;

// Edit mode of TEditTovel and TVEdit: what the text must be when the control is left.
enum TEditType { ttString, ttInteger, ttFloat, ttDate, ttTime };
// Alignment of the text of TEditTovel and TVEdit while they do not have the focus.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// Edit mode of TDBEditTovel.
enum TTvEditType { tetStandard, tetDate, tetTime, tetFloat };
// Reference moment of TDBEditTovel for completing dates and times.
enum TTvDateTimeType { tdtNow, tdtUser };
// When leaving a TDBEditTovel runs its validation.
enum TWhenValid { twvAlways, twvWhenEdit, twvWhenChange, twvNone };

// An event with its sender only (OnClickButton, OnClickSpace, OnExit).
using TNotifyEvent = std::function<void(QWidget *sender)>;
// Raised after a control was left by Tab, or by Enter taken as Tab; shift holds the
// Shift, Ctrl and Alt keys held at the last key press.
using TTabExitEvent = std::function<void(QWidget *sender, Qt::KeyboardModifiers shift)>;
// The window's validation hook of TDBEditTovel: it may change both the text and the validity.
using TTvValidEvent = std::function<void(QWidget *sender, QString &text, bool &valid)>;
// Raised instead of the error message when the validation of TDBEditTovel fails.
using TTvErrorEvent = std::function<void(QWidget *sender)>;

// The error text of TEditTovel and TVEdit for a text that does not fit the edit mode.
inline const QString kBadDataFormat = QStringLiteral(" Chybný formát dat ");
