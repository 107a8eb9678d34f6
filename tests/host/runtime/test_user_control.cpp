#include "runtime/Form.h"
#include "runtime/Forms.h"
#include "runtime/Screen.h"
#include "runtime/UserControl.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace runtime;

namespace {

// A control in the shape of the skinned controls: a property with a "new" value that differs
// from its stored default, a setter that marks and repaints, and a paint over the surface.
class SampleControl : public UserControl {
    Q_OBJECT
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
public:
    using UserControl::UserControl;

    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 color)
    {
        m_backColor = color;
        paintFace();
        PropertyChanged(QStringLiteral("BackColor"));
    }
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption)
    {
        m_caption = caption;
        PropertyChanged(QStringLiteral("Caption"));
    }
    int paints = 0;
    int resizes = 0;

protected:
    void UserControl_InitProperties() override
    {
        m_backColor = 0x808080;
        m_caption = Ambient().DisplayName;
    }
    void UserControl_ReadProperties(const PropertyBag &bag) override
    {
        bag.ReadInto("BackColor", m_backColor, quint32(0x404040));
        bag.ReadInto("Caption", m_caption, QStringLiteral("Button"));
    }
    void UserControl_WriteProperties(PropertyBag &bag) override
    {
        bag.WriteProperty("BackColor", m_backColor, quint32(0x404040));
        bag.WriteProperty("Caption", m_caption, QStringLiteral("Button"));
    }
    void UserControl_Resize() override { ++resizes; }
    void UserControl_Paint() override { ++paints; }

private:
    void paintFace()
    {
        hdc()->fillRect(gdi::Rect{0, 0, int(ScaleWidth()), int(ScaleHeight())}, gdi::Brush::solid(m_backColor));
        Refresh();
    }

    quint32 m_backColor = 0;
    QString m_caption;
};

class UserControlTest : public ::testing::Test {
protected:
    void SetUp() override { Screen::setLogicalDpi(96); }
    void TearDown() override
    {
        delete form;
        Screen::setLogicalDpi(std::nullopt);
    }
    Form *form = new Form(QStringLiteral("FrmHost"));
};

TEST_F(UserControlTest, FreshlyPlacedControlTakesNewValues)
{
    auto *control = new SampleControl(form, QStringLiteral("CommandScan"));
    control->InitNew();
    EXPECT_EQ(control->BackColor(), 0x808080u);
    EXPECT_EQ(control->Caption(), QStringLiteral("CommandScan"));
    EXPECT_TRUE(control->ChangedProperties().isEmpty());
}

TEST_F(UserControlTest, LoadingStoredDataTakesStoredDefaultsWithoutMarking)
{
    auto *control = new SampleControl(form, QStringLiteral("CommandScan"));
    control->ReadProperties(PropertyBag{{"Caption", QStringLiteral("&Scan")}});
    EXPECT_EQ(control->BackColor(), 0x404040u);
    EXPECT_EQ(control->Caption(), QStringLiteral("&Scan"));
    EXPECT_TRUE(control->ChangedProperties().isEmpty());
    EXPECT_EQ(control->WriteProperties().Keys(), QStringList{"Caption"});
}

TEST_F(UserControlTest, SettersMarkTheirKeys)
{
    auto *control = new SampleControl(form, QStringLiteral("CommandScan"));
    control->InitNew();
    control->setCaption(QStringLiteral("Scan"));
    control->setBackColor(0x00FF00);
    EXPECT_EQ(control->ChangedProperties(), (QStringList{"Caption", "BackColor"}));
}

TEST_F(UserControlTest, ShownWithoutStoredDataCountsAsFreshlyPlaced)
{
    auto *control = new SampleControl(form, QStringLiteral("CommandScan"));
    form->Show();
    EXPECT_TRUE(control->IsSited());
    EXPECT_EQ(control->BackColor(), 0x808080u);
    Unload(form);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    form = nullptr;
}

TEST_F(UserControlTest, AmbientPropertiesComeFromTheContainer)
{
    form->setBackColor(0x00112233);
    form->setForeColor(0x00445566);
    form->setFont(StdFont(QStringLiteral("Verdana"), 9.75));
    auto *control = new SampleControl(form, QStringLiteral("TitelBar1"));
    const AmbientProperties ambient = control->Ambient();
    EXPECT_EQ(ambient.BackColor, 0x00112233u);
    EXPECT_EQ(ambient.ForeColor, 0x00445566u);
    EXPECT_EQ(ambient.Font, StdFont(QStringLiteral("Verdana"), 9.75));
    EXPECT_TRUE(ambient.UserMode);
    EXPECT_EQ(ambient.DisplayName, QStringLiteral("TitelBar1"));
    form->setUserMode(false);
    EXPECT_FALSE(control->Ambient().UserMode);
}

TEST_F(UserControlTest, PropertiesByNameReachOnlyWhatTheControlDeclares)
{
    auto *control = new SampleControl(form, QStringLiteral("CommandScan"));
    control->InitNew();
    EXPECT_TRUE(setPropertyByName(control, "BackColor", 0x0000FFu));
    EXPECT_EQ(control->BackColor(), 0x0000FFu);
    EXPECT_TRUE(setPropertyByName(control, "Tag", QStringLiteral("FFTT*/")));
    EXPECT_EQ(control->Tag(), QStringLiteral("FFTT*/"));
    // The surface's own colours are private to the control.
    EXPECT_FALSE(setPropertyByName(control, "ForeColor", 0u));
    EXPECT_FALSE(setPropertyByName(control, "PanelBackColor", 0u));
    EXPECT_FALSE(control->property("PanelBackColor").isValid());
}

TEST_F(UserControlTest, SurfaceIsInPixelsFollowsTheSizeAndIsShown)
{
    auto *control = new SampleControl(form, QStringLiteral("CommandScan"));
    control->InitNew();
    control->Move(150, 300, 1500, 450); // twips on the form
    EXPECT_DOUBLE_EQ(control->ScaleWidth(), 100);
    EXPECT_DOUBLE_EQ(control->ScaleHeight(), 30);
    EXPECT_EQ(control->resizes, 1);
    EXPECT_EQ(control->image().size(), QSize(100, 30));
    control->setBackColor(0x0000FF); // red, drawn through hdc
    EXPECT_EQ(control->image().pixel(99, 29), qRgb(255, 0, 0));
    const QImage shown = control->grab().toImage();
    EXPECT_EQ(shown.pixel(50, 15), qRgb(255, 0, 0));
    EXPECT_GE(control->paints, 1); // AutoRedraw off: the Paint handler ran before the image was shown
}

}

#include "test_user_control.moc"
