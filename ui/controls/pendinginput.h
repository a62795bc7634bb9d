#pragma once
// The input a command must take before it writes a record. A bound control writes its
// text to the field only when it is left; a command started by a key while the user is
// still typing (F2, F4, F9, Escape in the editor) takes the typed text first, through the
// same checks, so that it is neither lost nor shown over by the stored value.

// Takes what is typed in the focused bound input (TDBEditTovel, TZandorDBDateEdit) into
// its field. True when nothing was typed or it was written; false when the input refused
// it (reported as on leaving, the focus stays): the command must then stop.
bool CommitFocusedInput();
