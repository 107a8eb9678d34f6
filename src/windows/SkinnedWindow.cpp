#include "windows/SkinnedWindow.h"

#include "chrome/TitelBar.h"
#include "gdi/Dc.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Label.h"
#include "runtime/PropertyBag.h"
#include "runtime/Screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWindow>

#include <cmath>

namespace SkinnedWindow {

namespace {

// Follows the mouse with the window's bottom-right corner until the left button is let go, for
// window systems that offer no sizing of their own (offscreen, some X11 managers).
class GripSizeLoop : public QObject {
public:
    explicit GripSizeLoop(runtime::Form *form)
        : QObject(form), m_form(form), m_start(QCursor::pos()), m_startSize(form->size())
    {
        setObjectName(QStringLiteral("GripSizeLoop"));
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (!(mouse->buttons() & Qt::LeftButton)) {
                finish();
                return false;
            }
            const QPoint delta = mouse->globalPosition().toPoint() - m_start;
            if (m_form)
                m_form->resize(m_startSize + QSize(delta.x(), delta.y()));
        } else if (event->type() == QEvent::MouseButtonRelease) {
            finish();
        }
        return false;
    }

private:
    void finish()
    {
        qApp->removeEventFilter(this);
        deleteLater();
    }

    QPointer<runtime::Form> m_form;
    QPoint m_start;
    QSize m_startSize;
};

} // namespace

TitelBar *CreateTitleBar(runtime::Form *form)
{
    auto *bar = new TitelBar(form, QStringLiteral("TitelBar1"));
    bar->ReadProperties(runtime::PropertyBag{{"Caption", form->Caption()},
                                             {"BackColor", 0xF7B8F8u},
                                             {"BackColorCover", 1750},
                                             {"BackColorV1Begin", 0xFF9933u},
                                             {"BackColorV1End", 0u},
                                             {"BackColorV2Begin", 0xC0C0C0u},
                                             {"BackColorV2End", 0xC0C0C0u},
                                             {"ForeColor", 0xFFFFFFu},
                                             {"CaptionColorBack", 0u},
                                             {"ShowMaximized", true},
                                             {"ShowMaximizedEnabled", true},
                                             {"PicturePosMode", 2},
                                             {"PicturePosY", 8},
                                             {"Font", QVariant::fromValue(runtime::StdFont(QStringLiteral("Verdana"), 9.75))}});
    bar->Move(0, 0, form->Width(), 480);
    return bar;
}

runtime::Label *CreateGrip(runtime::Form *form)
{
    auto *grip = new runtime::Label(form, QStringLiteral("LabelResize"));
    grip->setFont(runtime::StdFont(QStringLiteral("Marlett"), 9.75));
    grip->setCaption(QStringLiteral("o"));
    grip->setBackStyle(runtime::vbTransparent);
    grip->setTag(QStringLiteral("FFTT*/"));
    grip->setMousePointer(runtime::vbSizeNWSE);
    grip->Move(0, 0, 210, 210);
    return grip;
}

void PlaceGrip(runtime::Form *form, runtime::Label *grip)
{
    grip->setLeft(form->Width() - grip->Width());
    grip->setTop(form->Height() - grip->Height());
}

bool CentreOnScreen(runtime::Form *form, bool yield)
{
    form->setLeft(runtime::Screen::Width() / 2 - form->Width() / 2);
    if (yield && !runtime::DoEventsStillLoaded(form))
        return false;
    form->setTop(runtime::Screen::Height() / 2 - form->Height() / 2);
    return !yield || runtime::DoEventsStillLoaded(form);
}

void DrawFrame(runtime::Form *form)
{
    form->Cls();
    const long right = std::lround(form->Width()) / std::lround(runtime::Screen::TwipsPerPixelX());
    const long bottom = std::lround(form->Height()) / std::lround(runtime::Screen::TwipsPerPixelY());
    form->hdc()->rectangle(0, -50, int(right), int(bottom));
    form->Refresh();
}

void FollowResize(runtime::Form *form, TitelBar *bar, runtime::Label *grip)
{
    if (bar)
        bar->setWidth(form->Width());
    if (grip)
        grip->setVisible(!(bar && bar->bDidMaximize));
}

void StartGripSizing(runtime::Form *form, int button)
{
    if (button != 1 || !form)
        return;
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    QWindow *handle = form->windowHandle();
    if (handle && handle->startSystemResize(Qt::BottomEdge | Qt::RightEdge))
        return;
    if (!form->findChild<QObject *>(QStringLiteral("GripSizeLoop"), Qt::FindDirectChildrenOnly))
        new GripSizeLoop(form);
}

} // namespace SkinnedWindow
