#pragma once

#include "controls/QuordanePBPaint.h"
#include "controls/pcMemDC.h"
#include "platform/clsGradient.h"
#include "runtime/UserControl.h"

#include <optional>


// The skinned progress bar: Value between Min and Max as a filled bar, left to right when the
// control is wider than tall and bottom-up otherwise, optionally in segments, over a solid colour,
// a picture, the visual style's progress frame or the control's colour blended into the host
// window's. Every property set repaints at once (while its window holds paints, once at the last
// release); the colour sets also rebuild the blend pictures once the stored properties have been
// read. A Value set that would leave the drawn bar where it is skips the repaint: a download sets
// Value for every few kilobytes.
class QuordanePB : public runtime::UserControl {
    Q_OBJECT
    Q_PROPERTY(int Appearance READ Appearance WRITE setAppearance)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(int BackPictureMode READ BackPictureMode WRITE setBackPictureMode)
    Q_PROPERTY(quint32 BarColor READ BarColor WRITE setBarColor)
    Q_PROPERTY(quint32 BarForeColor READ BarForeColor WRITE setBarForeColor)
    Q_PROPERTY(runtime::StdPicture BarPicture READ BarPicture WRITE setBarPicture)
    Q_PROPERTY(int BarPictureMode READ BarPictureMode WRITE setBarPictureMode)
    Q_PROPERTY(bool BlendToParent READ BlendToParent WRITE setBlendToParent)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(runtime::StdFont Font READ Font WRITE setFont)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(double Percent READ Percent)
    Q_PROPERTY(runtime::StdPicture Picture READ Picture WRITE setPicture)
    Q_PROPERTY(bool Segments READ Segments WRITE setSegments)
    Q_PROPERTY(bool ShowText READ ShowText WRITE setShowText)
    Q_PROPERTY(int TextAlignX READ TextAlignX WRITE setTextAlignX)
    Q_PROPERTY(int TextAlignY READ TextAlignY WRITE setTextAlignY)
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(int Value READ Value WRITE setValue)
    Q_PROPERTY(bool XpStyle READ XpStyle WRITE setXpStyle)

public:
    QuordanePB(QWidget *container, const QString &name, int index = -1);
    ~QuordanePB() override;

    int Appearance() const { return m_look.appearance; }
    void setAppearance(int value);
    quint32 BackColor() const { return Surface::BackColor(); }
    void setBackColor(quint32 value);
    int BackPictureMode() const { return m_look.backPictureMode; }
    void setBackPictureMode(int value);
    quint32 BarColor() const { return m_look.barColor; }
    void setBarColor(quint32 value);
    quint32 BarForeColor() const { return m_look.barForeColor; }
    void setBarForeColor(quint32 value);
    runtime::StdPicture BarPicture() const { return m_barPicture; }
    void setBarPicture(const runtime::StdPicture &picture);
    int BarPictureMode() const { return m_look.barPictureMode; }
    void setBarPictureMode(int value);
    bool BlendToParent() const { return m_look.blendToParent; }
    void setBlendToParent(bool value);
    int BorderStyle() const { return m_look.borderStyle; }
    void setBorderStyle(int value);
    runtime::StdFont Font() const { return Surface::Font(); }
    void setFont(const runtime::StdFont &font);
    quint32 ForeColor() const { return m_look.foreColor; }
    void setForeColor(quint32 value);
    int Max() const { return m_look.max; }
    void setMax(int value);
    int Min() const { return m_look.min; }
    void setMin(int value);
    // 100 times the filled fraction; with Max equal to Min, 100 when Value is above Min, else 0.
    double Percent() const;
    runtime::StdPicture Picture() const { return m_picture; }
    void setPicture(const runtime::StdPicture &picture);
    bool Segments() const { return m_look.segments; }
    void setSegments(bool value);
    bool ShowText() const { return m_look.showText; }
    void setShowText(bool value);
    int TextAlignX() const { return m_look.textAlignX; }
    void setTextAlignX(int value);
    int TextAlignY() const { return m_look.textAlignY; }
    void setTextAlignY(int value);
    QString Text() const { return m_look.text; }
    void setText(const QString &value);
    int Value() const { return m_look.value; }
    void setValue(int value);
    bool XpStyle() const { return m_look.xpStyle; }
    void setXpStyle(bool value);

    // Recolour the bar or back picture as shown (not the assigned picture) by lightness and
    // saturation factors; nothing without a picture.
    Q_INVOKABLE void ModifyBarPicture(double fLuminance, double fSaturation);
    Q_INVOKABLE void ModifyPicture(double fLuminance, double fSaturation);
    // A paint request: DrawBar.
    Q_INVOKABLE void Refresh();

    // Composes the whole bar off-screen and copies it onto the control's surface.
    void DrawBar();
    // The look painted at the control's size onto any device context: what DrawBar composes.
    QuordanePBPaint::Drawn draw(gdi::Dc &dc);

    const QuordanePBPaint::Look &look() const { return m_look; }
    const QuordanePBPaint::Holders &holders() const { return m_holders; }
    bool isLoaded() const { return m_loaded; }

signals:
    void PrePaint(gdi::Dc *hdc, int lLeft, int lTop, int lWidth, int lHeight, bool bDoDefault);

protected:
    void UserControl_ReadProperties(const runtime::PropertyBag &PropBag) override;
    void UserControl_WriteProperties(runtime::PropertyBag &PropBag) override;
    void UserControl_Resize() override;
    void UserControl_Show() override;

private:
    // The stored keys in their order with their missing-key defaults, run by a
    // StoredProperties::SetterReader or GetterWriter.
    template <class Io>
    void storedKeys(const Io &io);
    template <class T>
    void setAndRepaint(T &field, const T &value, const char *key);
    void rebuildIfBlending();
    void BuildBlendPictures();
    void setControlPicture(runtime::StdPicture &field, gdi::Bitmap &holder, bool &hasPicture,
                           const runtime::StdPicture &picture);
    static void modifyHolder(const runtime::StdPicture &picture, gdi::Bitmap &holder, bool hasPicture,
                             double luminance, double saturation);
    runtime::OleColor hostBackColor() const;

    // Everything a paint reads apart from Value; equal inputs and an equal bar draw equal pixels.
    struct PaintInputs {
        QuordanePBPaint::Look look;   // with Value left out
        quint64 holdersGeneration = 0;
        runtime::OleColor hostBackColor = 0;
        int width = 0;
        int height = 0;
        bool operator==(const PaintInputs &) const = default;
    };
    PaintInputs paintInputs() const;
    // True when the surface already shows what DrawBar would draw for the current Value.
    bool surfaceShowsCurrentValue() const;

    struct LastPaint {
        PaintInputs inputs;
        QuordanePBPaint::Drawn drawn;
    };

    QuordanePBPaint::Look m_look;
    QuordanePBPaint::Holders m_holders;
    runtime::StdPicture m_picture;
    runtime::StdPicture m_barPicture;
    float m_dpiFactor = 1.0f;
    pcMemDC m_buffer;
    // What the surface shows, when a complete paint made every pixel of it from these inputs alone.
    // The generation counts changes of the holders' pictures; a recolouring makes one without a paint.
    std::optional<LastPaint> m_lastPaint;
    quint64 m_holdersGeneration = 0;
    bool m_loaded = false;
    clsGradient m_gradient;
};
