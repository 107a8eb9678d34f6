// The floor of the start-up benchmark: a bare Qt Widgets window of the main window's size, from
// process start to its first paint, then the finish line (app/FinishLine.h).

#include "app/FinishLine.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace {

class BareWindow : public QWidget {
public:
    explicit BareWindow(QString finish) : m_finish(std::move(finish)) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (std::exchange(m_painted, true))
            return;
        QTimer::singleShot(0, this, [this] {
            CrossFinishLine(m_finish);
            QApplication::quit();
        });
    }

private:
    QString m_finish;
    bool m_painted = false;
};

}

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    BareWindow window(qEnvironmentVariable("KESTROVA_FINISH_FILE"));
    window.resize(750, 550); // the main window's 11250 x 8250 twips
    window.show();
    return QApplication::exec();
}
