#include "platform/GCommonDialog.h"

#include "platform/mDialogHook.h"
#include "runtime/OleColor.h"
#include "runtime/Screen.h"

#include <QMetaMethod>

#include <cstring>
#include <stdexcept>

namespace {

constexpr quint32 OFN_CLEAR_HOOK = ~os::OFN_ENABLEHOOK;
constexpr quint32 FONT_CLEARED_BITS = 0xFFFFFDE7u; // hook, template and apply

// Calls the target's member of that name taking the hook window; its int result, else 0. A
// target that lacks the member answers 0, as an unhandled message.
qintptr callWithWindow(QObject *target, const char *name, QWidget *hDlg)
{
    const QMetaObject *meta = target->metaObject();
    const int index = meta->indexOfMethod(QMetaObject::normalizedSignature(
        (QByteArray(name) + "(QWidget*)").constData()));
    if (index < 0)
        return 0;
    const QMetaMethod method = meta->method(index);
    if (method.returnType() == QMetaType::Int) {
        int result = 0;
        method.invoke(target, Qt::DirectConnection, Q_RETURN_ARG(int, result), Q_ARG(QWidget *, hDlg));
        return result;
    }
    method.invoke(target, Qt::DirectConnection, Q_ARG(QWidget *, hDlg));
    return 0;
}

// ConfirmOK of the target; a target without it lets OK proceed.
bool confirmOk(QObject *target)
{
    const int index = target->metaObject()->indexOfMethod("ConfirmOK()");
    if (index < 0)
        return true;
    bool proceed = true;
    target->metaObject()->method(index).invoke(target, Qt::DirectConnection, Q_RETURN_ARG(bool, proceed));
    return proceed;
}

void callWMCommand(QObject *target, QWidget *hDlg, quintptr &wParam, qintptr &lParam)
{
    const int index = target->metaObject()->indexOfMethod(
        QMetaObject::normalizedSignature("WMCommand(QWidget*,quintptr&,qintptr&)").constData());
    if (index < 0)
        return;
    // By reference, as the handler may change them.
    void *args[] = {nullptr, &hDlg, &wParam, &lParam};
    QMetaObject::metacall(target, QMetaObject::InvokeMetaMethod, index, args);
}

void callDialogClose(QObject *target)
{
    const int index = target->metaObject()->indexOfMethod("DialogClose()");
    if (index >= 0)
        target->metaObject()->method(index).invoke(target, Qt::DirectConnection);
}

std::u16string fixedBuffer(const QString &text, int size)
{
    std::u16string buffer(size_t(size), u'\0');
    std::copy_n(reinterpret_cast<const char16_t *>(text.utf16()), text.size(), buffer.begin());
    return buffer;
}

QString cutAtNul(const std::u16string &buffer)
{
    const size_t end = buffer.find(u'\0');
    return QString::fromStdU16String(buffer.substr(0, end));
}

void checkFits(const QString &FileName, const QString &FileTitle, int size)
{
    if (FileName.size() > size || FileTitle.size() > size)
        throw std::invalid_argument("file name longer than the dialog's buffer");
}

} // namespace

GCommonDialog::~GCommonDialog()
{
    // The hook must not reach an owner that is gone.
    if (mDialogHook::HookOwner() == this)
        mDialogHook::ClearHookOwner();
}

qintptr GCommonDialog::DialogHook(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam)
{
    QObject *target = m_eventTarget;
    if (!target)
        return 0;
    switch (message) {
    case os::WM_INITDIALOG:
        return callWithWindow(target, "InitDialog", hDlg);
    case os::WM_DESTROY:
        callDialogClose(target);
        return 0;
    case os::WM_NOTIFY: {
        const auto *header = reinterpret_cast<const os::NMHDR *>(lParam);
        if (!header)
            return 0;
        switch (header->code) {
        case os::CDN_TYPECHANGE:
            return callWithWindow(target, "TypeChange", hDlg);
        case os::CDN_FILEOK:
            if (!confirmOk(target)) {
                os::SetWindowLong(hDlg, os::DWL_MSGRESULT, 1);
                return 1;
            }
            os::SetWindowLong(hDlg, os::DWL_MSGRESULT, 0);
            return 0;
        case os::CDN_FOLDERCHANGE:
            callWithWindow(target, "FolderChange", hDlg);
            return 0;
        case os::CDN_SELCHANGE:
            callWithWindow(target, "FileChange", hDlg);
            return 0;
        default:
            return 0;
        }
    }
    case os::WM_COMMAND:
        callWMCommand(target, hDlg, wParam, lParam);
        return 0;
    default:
        return 0;
    }
}

void GCommonDialog::beginHook(QObject *target)
{
    mDialogHook::SetHookOwner(this);
    m_eventTarget = target;
}

void GCommonDialog::endHook()
{
    m_eventTarget = nullptr;
    mDialogHook::ClearHookOwner();
}

QString GCommonDialog::ConvertFilter(const QString &filter)
{
    QString converted = filter;
    for (QChar &c : converted) {
        if (c == u'|' || c == u':')
            c = QChar(0);
    }
    return converted + QChar(0) + QChar(0);
}

QString GCommonDialog::ChosenPair(const QString &converted, qint32 index)
{
    if (converted.isEmpty() || index < 1)
        return {};
    const QStringList parts = converted.split(QChar(0));
    const qsizetype first = qsizetype(index - 1) * 2;
    if (first + 1 >= parts.size())
        return {};
    return parts[first] + QChar(0) + parts[first + 1];
}

bool GCommonDialog::showFileDialog(FileRequest &request, quint32 flags, int bufferSize, bool multiSelect,
                                   int (*show)(os::OPENFILENAME *))
{
    // Before anything is set up, so a refused name leaves no hook owner behind.
    checkFits(request.FileName, request.FileTitle, bufferSize);
    m_apiReturn = 0;
    m_extendedError = 0;

    flags &= OFN_CLEAR_HOOK;
    os::OPENFILENAME record;
    record.lStructSize = os::OPENFILENAME_SIZE;
    record.hwndOwner = request.Owner;
    record.lpstrInitialDir = request.InitDir;
    record.lpstrTitle = request.Title;
    record.lpstrDefExt = request.DefaultExt;
    const QString converted = ConvertFilter(request.Filter);
    record.lpstrFilter = converted;
    record.nFilterIndex = quint32(request.FilterIndex);
    if (multiSelect)
        flags |= os::OFN_EXPLORER;
    if (request.Hook) {
        beginHook(request.EventTarget);
        record.lpfnHook = &mDialogHook::FileDialogHook;
        flags |= os::OFN_EXPLORER | os::OFN_ENABLEHOOK;
    }
    if ((request.Flags & os::OFN_ENABLETEMPLATE) && request.hInstance) {
        record.hInstance = request.hInstance;
        flags |= os::OFN_ENABLETEMPLATE;
        record.lpTemplateName = request.TemplateName;
    }
    std::u16string file = fixedBuffer(request.FileName, bufferSize);
    std::u16string title = fixedBuffer(request.FileTitle, bufferSize);
    record.lpstrFile = file.data();
    record.nMaxFile = quint32(bufferSize);
    record.lpstrFileTitle = title.data();
    record.nMaxFileTitle = quint32(bufferSize);
    record.Flags = flags;

    m_apiReturn = show(&record);
    endHook();
    if (m_apiReturn == 1) {
        // A multi-selection hands back the whole buffer, its names separated by NULs.
        request.FileName = multiSelect ? QString::fromStdU16String(file) : cutAtNul(file);
        if (!multiSelect)
            request.FileTitle = cutAtNul(title);
        request.Flags = record.Flags;
        request.FilterIndex = qint32(record.nFilterIndex);
        request.Filter = ChosenPair(converted, request.FilterIndex);
        return true;
    }
    m_extendedError = qint32(os::CommDlgExtendedError());
    request.FileName.clear();
    request.FileTitle.clear();
    request.Flags = 0;
    request.Filter.clear();
    return false;
}

bool GCommonDialog::VBGetOpenFileName2(QString &FileName, QString &FileTitle, bool FileMustExist,
                                       bool MultiSelect, bool &ReadOnly, bool HideReadOnly, QString &Filter,
                                       qint32 &FilterIndex, const QString &InitDir, const QString &Title,
                                       const QString &DefaultExt, QWidget *Owner, quint32 &Flags, bool Hook,
                                       os::HMODULE hInstance, quintptr TemplateName, QObject *EventTarget)
{
    FileRequest request{FileName, FileTitle, Filter, FilterIndex, InitDir, Title, DefaultExt, Owner, Flags, Hook,
                        hInstance, TemplateName, EventTarget};
    const quint32 flags = (ReadOnly ? os::OFN_READONLY : 0) | (HideReadOnly ? os::OFN_HIDEREADONLY : 0)
                          | (FileMustExist ? os::OFN_FILEMUSTEXIST : 0)
                          | (MultiSelect ? os::OFN_ALLOWMULTISELECT : 0);
    if (showFileDialog(request, flags, MultiSelect ? MultiFileBufferSize : FileBufferSize, MultiSelect,
                       &os::GetOpenFileName)) {
        ReadOnly = Flags & os::OFN_READONLY;
        return true;
    }
    FilterIndex = -1;
    return false;
}

bool GCommonDialog::VBGetOpenFileName(QString &FileName, QString &FileTitle, bool FileMustExist,
                                      bool MultiSelect, bool &ReadOnly, bool HideReadOnly, QString &Filter,
                                      qint32 &FilterIndex, const QString &InitDir, const QString &Title,
                                      const QString &DefaultExt, QWidget *Owner, quint32 &Flags, bool Hook,
                                      QObject *EventTarget)
{
    Flags &= ~os::OFN_ENABLETEMPLATE;
    return VBGetOpenFileName2(FileName, FileTitle, FileMustExist, MultiSelect, ReadOnly, HideReadOnly, Filter,
                              FilterIndex, InitDir, Title, DefaultExt, Owner, Flags, Hook, nullptr, 0,
                              EventTarget);
}

bool GCommonDialog::VBGetSaveFileName2(QString &FileName, QString &FileTitle, bool OverwritePrompt,
                                       QString &Filter, qint32 &FilterIndex, const QString &InitDir,
                                       const QString &Title, const QString &DefaultExt, QWidget *Owner,
                                       quint32 &Flags, bool Hook, os::HMODULE hInstance, quintptr TemplateName,
                                       QObject *EventTarget)
{
    FileRequest request{FileName, FileTitle, Filter, FilterIndex, InitDir, Title, DefaultExt, Owner, Flags, Hook,
                        hInstance, TemplateName, EventTarget};
    const quint32 flags = (OverwritePrompt ? os::OFN_OVERWRITEPROMPT : 0) | os::OFN_HIDEREADONLY;
    if (showFileDialog(request, flags, FileBufferSize, false, &os::GetSaveFileName))
        return true;
    FilterIndex = 0;
    return false;
}

bool GCommonDialog::VBGetSaveFileName(QString &FileName, QString &FileTitle, bool OverwritePrompt,
                                      QString &Filter, qint32 &FilterIndex, const QString &InitDir,
                                      const QString &Title, const QString &DefaultExt, QWidget *Owner,
                                      quint32 &Flags, bool Hook, QObject *EventTarget)
{
    Flags &= ~os::OFN_ENABLETEMPLATE;
    return VBGetSaveFileName2(FileName, FileTitle, OverwritePrompt, Filter, FilterIndex, InitDir, Title,
                              DefaultExt, Owner, Flags, Hook, nullptr, 0, EventTarget);
}

QString GCommonDialog::VBGetFileTitle(const QString &path) const
{
    std::u16string buffer(size_t(FileBufferSize), u'\0');
    if (os::GetFileTitle(path, buffer.data(), FileBufferSize) == 0)
        return cutAtNul(buffer);
    return {};
}

bool GCommonDialog::VBChooseColor(qint32 &Color, bool AnyColor, bool FullOpen, bool PreventFullOpen,
                                  QWidget *Owner, quint32 Flags, bool Hook, QObject *EventTarget)
{
    Q_UNUSED(Flags)
    m_apiReturn = 0;
    m_extendedError = 0;
    os::CHOOSECOLOR record;
    record.lStructSize = os::CHOOSECOLOR_SIZE;
    record.hwndOwner = Owner;
    record.rgbResult = quint32(Color);
    record.Flags = ((AnyColor ? os::CC_ANYCOLOR : os::CC_SOLIDCOLOR) | os::CC_RGBINIT
                    | (FullOpen ? os::CC_FULLOPEN : 0) | (PreventFullOpen ? os::CC_PREVENTFULLOPEN : 0))
                   & 0xFFFFFFCFu;
    if (Hook) {
        beginHook(EventTarget);
        record.lpfnHook = &mDialogHook::ColorHook;
        record.Flags |= os::CC_ENABLEHOOK;
    }
    if (!m_customColorsInitialised)
        InitCustomColors();
    record.lpCustColors = m_customColors.data();

    m_apiReturn = os::ChooseColor(&record);
    endHook();
    if (m_apiReturn == 1) {
        Color = qint32(record.rgbResult);
        return true;
    }
    m_extendedError = qint32(os::CommDlgExtendedError());
    Color = -1;
    return false;
}

void GCommonDialog::InitCustomColors()
{
    for (int i = 0; i < int(m_customColors.size()); ++i)
        m_customColors[size_t(i)] = runtime::GetSysColor(i);
    m_customColorsInitialised = true;
}

qint32 GCommonDialog::CustomColor(int index)
{
    if (!m_customColorsInitialised)
        InitCustomColors();
    if (index < 0 || index >= int(m_customColors.size()))
        return -1;
    return qint32(m_customColors[size_t(index)]);
}

void GCommonDialog::setCustomColor(int index, qint32 color)
{
    if (!m_customColorsInitialised)
        InitCustomColors();
    if (index < 0 || index >= int(m_customColors.size()))
        return;
    m_customColors[size_t(index)] = quint32(color);
}

os::LOGFONT GCommonDialog::FontRecord(const runtime::StdFont &font)
{
    os::LOGFONT record;
    // The size times pixels per point (20 twips a point): which way a half goes depends on that
    // product, not on the quotient of the size in twips.
    const double pixelsPerPoint = 20.0 / runtime::TwipsPerPixel(runtime::Axis::Vertical);
    record.lfHeight = -qint32(runtime::Round(font.Size() * pixelsPerPoint, runtime::Rounding::HalfEven));
    record.lfWeight = font.Weight();
    record.lfItalic = font.Italic() ? 1 : 0;
    record.lfUnderline = font.Underline() ? 1 : 0;
    record.lfStrikeOut = font.Strikethrough() ? 1 : 0;
    const QByteArray face = font.Name().toLocal8Bit().left(os::LF_FACESIZE);
    std::memcpy(record.lfFaceName, face.constData(), size_t(face.size()));
    return record;
}

bool GCommonDialog::VBChooseFont(runtime::StdFont &Font, std::optional<os::PrinterDC> &PrinterDC, QWidget *Owner,
                                 qint32 &Color, qint32 MinSize, qint32 MaxSize, quint32 &Flags, bool Hook,
                                 QObject *EventTarget)
{
    m_apiReturn = 0;
    m_extendedError = 0;
    if (!PrinterDC) {
        PrinterDC = os::PrinterDC();
        if (Flags & os::CF_PRINTERFONTS)
            PrinterDC = os::CurrentPrinterDC();
    } else {
        Flags |= os::CF_PRINTERFONTS;
    }
    if (!(Flags & os::CF_PRINTERFONTS))
        Flags |= os::CF_SCREENFONTS;
    if (Color != 0)
        Flags |= os::CF_EFFECTS;
    if (MinSize != 0 || MaxSize != 0)
        Flags |= os::CF_LIMITSIZE;
    Flags = (Flags & FONT_CLEARED_BITS) | os::CF_INITTOLOGFONTSTRUCT;

    os::LOGFONT logFont = FontRecord(Font);
    os::CHOOSEFONT record;
    record.lStructSize = os::CHOOSEFONT_SIZE;
    record.hwndOwner = Owner;
    record.hDC = *PrinterDC;
    record.lpLogFont = &logFont;
    record.iPointSize = qRound(Font.Size() * 10);
    record.Flags = Flags;
    record.rgbColors = quint32(Color);
    record.nSizeMin = MinSize;
    record.nSizeMax = MaxSize;
    if (Hook) {
        beginHook(EventTarget);
        record.lpfnHook = &mDialogHook::FontHook;
        record.Flags |= os::CF_ENABLEHOOK;
    }

    m_apiReturn = os::ChooseFont(&record);
    endHook();
    if (m_apiReturn != 1) {
        m_extendedError = qint32(os::CommDlgExtendedError());
        return false;
    }
    Flags = record.Flags;
    Color = qint32(record.rgbColors);
    Font.setBold(record.nFontType & os::BOLD_FONTTYPE);
    Font.setItalic(logFont.lfItalic != 0);
    Font.setStrikethrough(logFont.lfStrikeOut != 0);
    Font.setUnderline(logFont.lfUnderline != 0);
    Font.setWeight(logFont.lfWeight);
    Font.setSize(record.iPointSize / 10.0);
    // The face name ends at its first NUL: the padding is no part of the name.
    Font.setName(QString::fromLocal8Bit(logFont.lfFaceName, qsizetype(qstrnlen(logFont.lfFaceName, os::LF_FACESIZE))));
    return true;
}
