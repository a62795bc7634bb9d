// The desktop program. It reads no command line and no environment.

#include <QApplication>
#include <QMessageBox>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The table store is not wired in yet: say so rather than show an empty program.
    QMessageBox::information(nullptr, QStringLiteral("Podklady"),
                             QStringLiteral("Program zatím nemá databázi."));
    return 1;
}
