#include "general_error.h"

#include "app/core/errors.h"
#include "app/core/prompter.h"

void ShowGeneralError(const std::exception &e)
{
    if (const auto *app = dynamic_cast<const AppError *>(&e))
        prompter().ShowMessage(app->text());
    else
        prompter().ShowMessage(QString::fromLocal8Bit(e.what()));
}
