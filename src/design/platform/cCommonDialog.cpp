#include "platform/cCommonDialog.h"

#include "os/HelpViewer.h"
#include "os/SystemParameters.h"
#include "platform/cMemory.h"
#include "runtime/OleColor.h"
#include "runtime/Screen.h"

#include <QWidget>

#include <cmath>
#include <cstring>

namespace {

bool isSet(quint32 word, quint32 flag)
{
    return (word & flag) == flag;
}

// A window's rectangle on the screen, for a top-level window and a child alike.
QRect screenRect(const QWidget *widget)
{
    if (widget->isWindow())
        return widget->frameGeometry();
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

// The owner's window: its "hwnd" property, or the owner itself when it is a window (as a form
// answers its own handle); null when it has neither.
QWidget *ownerWindow(QObject *owner)
{
    if (!owner)
        return nullptr;
    const QVariant hwnd = owner->property("hwnd");
    if (hwnd.isValid())
        return hwnd.value<QWidget *>();
    auto *widget = qobject_cast<QWidget *>(owner);
    return widget && widget->isWindow() ? widget : nullptr;
}

} // namespace

cCommonDialog::cCommonDialog(QObject *parent)
    : QObject(parent)
{
}

cCommonDialog::~cCommonDialog() = default;

GCommonDialog &cCommonDialog::dialogs()
{
    if (!m_dialogs)
        m_dialogs = std::make_unique<GCommonDialog>();
    return *m_dialogs;
}

runtime::StdFont &cCommonDialog::font()
{
    if (!m_font)
        m_font = runtime::StdFont();
    return *m_font;
}

bool cCommonDialog::ConfirmOK()
{
    bool cancel = false;
    emit DialogOK(cancel);
    return !cancel;
}

void cCommonDialog::ParseMultiFileName(QString &Dir, QStringList &Files, qint32 &Count) const
{
    const QString pair(2, QChar(0));
    const qsizetype end = m_fileName.indexOf(pair);
    const auto append = [&Files, &Count](const QString &part) {
        ++Count;
        Files.resize(qMax<qsizetype>(Count, 0));
        if (Count >= 1)
            Files[Count - 1] = part;
    };
    if (end >= 0) {
        QString rest = m_fileName.left(end);
        const bool dirWasEmpty = Dir.isEmpty();
        bool first = true;
        for (qsizetype nul = rest.indexOf(QChar(0)); nul >= 0; nul = rest.indexOf(QChar(0))) {
            const QString part = rest.left(nul);
            if (first && dirWasEmpty)
                Dir = part;
            else
                append(part);
            first = false;
            rest = rest.mid(nul + 1);
        }
        append(rest);
        return;
    }
    Count = 1;
    Files = QStringList(QString());
    const qsizetype slash = m_fileName.lastIndexOf(u'\\');
    if (slash >= 1) { // at the design's position 2 or later
        Dir = m_fileName.left(slash);
        Files[0] = m_fileName.mid(slash + 1);
    } else {
        Dir.clear();
        Files[0] = m_fileName;
    }
}

QWidget *cCommonDialog::dialogWindow(QWidget *hDlg) const
{
    if (!hDlg)
        return nullptr;
    // In an Explorer-style file dialog the hook window is a child of the dialog.
    return m_fileDialogShown && hDlg->parentWidget() ? hDlg->parentWidget() : hDlg;
}

void cCommonDialog::CentreDialog(QWidget *hDlg, QObject *Owner) const
{
    QWidget *dialog = dialogWindow(hDlg);
    if (!dialog)
        return;
    const QRect d = screenRect(dialog);
    QRect t;
    if (QWidget *owner = ownerWindow(Owner)) {
        t = screenRect(owner);
    } else {
        t = os::GetWorkArea();
        if (t.isEmpty()) {
            using runtime::Rounding;
            const int twipsX = runtime::Round(runtime::TwipsPerPixel(runtime::Axis::Horizontal), Rounding::Nearest);
            const int twipsY = runtime::Round(runtime::TwipsPerPixel(runtime::Axis::Vertical), Rounding::Nearest);
            t = QRect(0, 0, twipsX ? runtime::Round(runtime::Screen::Width(), Rounding::Nearest) / twipsX : 0,
                      twipsY ? runtime::Round(runtime::Screen::Height(), Rounding::Nearest) / twipsY : 0);
        }
    }
    const int right = t.left() + t.width();
    const int bottom = t.top() + t.height();
    if (right < 1 || bottom < 1)
        return;
    dialog->move(t.left() + (t.width() - d.width()) / 2, t.top() + (t.height() - d.height()) / 2);
    dialog->update();
}

void cCommonDialog::GetDialogSize(QWidget *hDlg, qint32 &Left, qint32 &Top, qint32 &Width, qint32 &Height) const
{
    QWidget *dialog = dialogWindow(hDlg);
    if (!dialog)
        return;
    const QRect r = screenRect(dialog);
    Left = r.left();
    Top = r.top();
    Width = r.width();
    Height = r.height();
}

void cCommonDialog::SetHelpPosition(qint32 Left, qint32 Top, qint32 Width, qint32 Height, qint32 Maximised)
{
    const os::HELPWININFO info{qint32(sizeof(os::HELPWININFO)), Left, Top, Width, Height, Maximised, {0, 0}};
    cMemory block;
    if (!block.AllocateMemory(sizeof info, os::GMEM_ZEROINIT))
        return;
    void *address = block.Pointer();
    if (!address)
        return;
    std::memcpy(address, &info, sizeof info);
    os::WinHelp(m_hwnd, m_helpFile, os::HELP_SETWINPOS, reinterpret_cast<quintptr>(address));
    block.FreeMemory();
}

bool cCommonDialog::FontBold()
{
    return font().Bold();
}

void cCommonDialog::setFontBold(bool value)
{
    font().setBold(value);
}

bool cCommonDialog::FontItalic()
{
    return font().Italic();
}

void cCommonDialog::setFontItalic(bool value)
{
    font().setItalic(value);
}

QString cCommonDialog::FontName()
{
    return font().Name();
}

void cCommonDialog::setFontName(const QString &value)
{
    font().setName(value);
}

qint32 cCommonDialog::FontSize()
{
    return qint32(std::lround(font().Size()));
}

void cCommonDialog::setFontSize(qint32 value)
{
    font().setSize(value);
}

bool cCommonDialog::FontStrikethru()
{
    return font().Strikethrough();
}

void cCommonDialog::setFontStrikethru(bool value)
{
    font().setStrikethrough(value);
}

bool cCommonDialog::FontUnderline()
{
    return font().Underline();
}

void cCommonDialog::setFontUnderline(bool value)
{
    font().setUnderline(value);
}

runtime::StdFont cCommonDialog::Font()
{
    return font();
}

QString cCommonDialog::PrinterName() const
{
    return m_dialogs ? m_dialogs->DeviceName() : QString();
}

QString cCommonDialog::PrinterDriver() const
{
    return m_dialogs ? m_dialogs->DriverName() : QString();
}

QString cCommonDialog::PrinterOutputPort() const
{
    return m_dialogs ? m_dialogs->OutputPort() : QString();
}

qint32 cCommonDialog::CustomColor(int index)
{
    return dialogs().CustomColor(index);
}

void cCommonDialog::setCustomColor(int index, qint32 value)
{
    dialogs().setCustomColor(index, value);
}

void cCommonDialog::clearTemplateWithoutModule()
{
    if (isSet(m_flags, os::OFN_ENABLETEMPLATE) && !m_hInstance)
        m_flags &= ~os::OFN_ENABLETEMPLATE;
}

void cCommonDialog::ShowOpen()
{
    m_fileDialogShown = true;
    const bool mustExist = isSet(m_flags, os::OFN_FILEMUSTEXIST);
    const bool multiSelect = isSet(m_flags, os::OFN_ALLOWMULTISELECT);
    bool readOnly = isSet(m_flags, os::OFN_READONLY);
    const bool hideReadOnly = isSet(m_flags, os::OFN_HIDEREADONLY);
    clearTemplateWithoutModule();
    if (m_filterIndex == 0)
        m_filterIndex = 1;
    dialogs().VBGetOpenFileName2(m_fileName, m_fileTitle, mustExist, multiSelect, readOnly, hideReadOnly,
                                 m_filter, m_filterIndex, m_initDir, m_dialogTitle, m_defaultExt, m_hwnd,
                                 m_flags, m_hookDialog, m_hInstance, m_templateName, this);
}

void cCommonDialog::ShowSave()
{
    m_fileDialogShown = true;
    const bool overwritePrompt = isSet(m_flags, os::OFN_OVERWRITEPROMPT);
    clearTemplateWithoutModule();
    dialogs().VBGetSaveFileName2(m_fileName, m_fileTitle, overwritePrompt, m_filter, m_filterIndex, m_initDir,
                                 m_dialogTitle, m_defaultExt, m_hwnd, m_flags, m_hookDialog, m_hInstance,
                                 m_templateName, this);
}

void cCommonDialog::ShowColor()
{
    m_fileDialogShown = false;
    gdi::ColorRef rgb = 0;
    qint32 start = runtime::OleTranslateColor(runtime::OleColor(m_color), 0, &rgb) == runtime::S_OK
                       ? qint32(rgb) : -1;
    if (dialogs().VBChooseColor(start, isSet(m_flags, os::CC_ANYCOLOR), isSet(m_flags, os::CC_FULLOPEN),
                                isSet(m_flags, os::CC_PREVENTFULLOPEN), m_hwnd, m_flags, m_hookDialog, this))
        m_color = start;
}

void cCommonDialog::ShowFont()
{
    m_fileDialogShown = false;
    std::optional<os::PrinterDC> noPrinter;
    dialogs().VBChooseFont(font(), noPrinter, m_hwnd, m_fontColor, m_min, m_max, m_flags, m_hookDialog, this);
}

void cCommonDialog::ShowPrinter()
{
    m_fileDialogShown = false;
    qint16 copies = qint16(m_copies);
    qint32 range = 0;
    bool printToFile = isSet(m_flags, os::PD_PRINTTOFILE);
    bool collate = isSet(m_flags, os::PD_COLLATE);
    os::PrinterDC dc = m_printerDC;
    if (dialogs().VBPrintDlg(dc, range, !isSet(m_flags, os::PD_PAGENUMS), m_fromPage, m_toPage,
                             isSet(m_flags, os::PD_NOSELECTION), copies, !isSet(m_flags, os::PD_HIDEPRINTTOFILE),
                             isSet(m_flags, os::PD_DISABLEPRINTTOFILE), printToFile, collate,
                             isSet(m_flags, os::PD_NOWARNING), m_hwnd, m_object, m_flags, m_hookDialog, this)) {
        m_copies = copies;
        m_printerDC = dc;
    }
}

void cCommonDialog::ShowHelp()
{
    m_fileDialogShown = false;
    // Help is a courtesy: whether the viewer opened or not, the caller goes on.
    os::WinHelp(m_hwnd, m_helpFile, quint32(m_helpCommand), 0);
}

void cCommonDialog::cdLoadLibrary(const QString &path)
{
    m_hInstance = os::LoadLibrary(path);
}

void cCommonDialog::cdFreeLibrary()
{
    if (m_hInstance)
        os::FreeLibrary(m_hInstance);
}
