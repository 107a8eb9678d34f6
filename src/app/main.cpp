#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.resize(750, 550);
    window.show();
    return app.exec();
}
