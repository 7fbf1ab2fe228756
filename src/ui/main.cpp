// The desktop program's entry point; everything else lives in the ui library.
#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel placeholder(QStringLiteral("Pigmora"));
    placeholder.show();
    return app.exec();
}
