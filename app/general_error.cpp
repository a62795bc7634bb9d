#include "general_error.h"

#include "app/errors.h"
#include "app/prompter.h"

void ShowGeneralError(const std::exception &e)
{
    prompter().ShowMessage(ErrorText(e));
}
