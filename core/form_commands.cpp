#include "core/form_commands.h"

void FormCommands::CloseWith(int result)
{
    ModalResult = result;
    emit closeRequested(result);
}

void FormCommands::FocusControl(int control)
{
    emit focusRequested(control);
}
