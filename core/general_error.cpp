#include "general_error.h"

#include "core/errors.h"
#include "core/prompter.h"

QString ErrorText(const std::exception &e)
{
    if (const auto *app = dynamic_cast<const AppError *>(&e))
        return app->text();
    return QString::fromLocal8Bit(e.what());
}

void ShowGeneralError(const std::exception &e)
{
    prompter().ShowMessage(ErrorText(e));
}
