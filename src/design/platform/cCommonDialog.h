#pragma once

#include "os/SharedLibrary.h"
#include "platform/GCommonDialog.h"
#include "runtime/StdFont.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <optional>

// The common dialogs (open, save, colour, font, print) and the help viewer behind settings held
// in properties and one Show operation per dialog. With HookDialog set, the dialog's
// notifications are raised as the signals below while the Show operation runs.
//
// GCommonDialog calls the hook's entry points by name while a hooked dialog is open.
class cCommonDialog : public QObject {
    Q_OBJECT

public:
    explicit cCommonDialog(QObject *parent = nullptr);
    ~cCommonDialog() override;

    // The hook's entry points, in the design's order. Those that only raise their event are the
    // event's signal; DialogOK, an event without an entry point, is declared with them.
signals:
    void WMCommand(QWidget *hDlg, quintptr &wParam, qintptr &lParam);

public:
    // Splits FileName after a multi-selection into the folder and the names. Files holds index 1
    // of the design at position 0; Count is raised from its value on entry.
    void ParseMultiFileName(QString &Dir, QStringList &Files, qint32 &Count) const;

signals:
    void DialogClose();
    void TypeChange(QWidget *hDlg);
    void InitDialog(QWidget *hDlg);
    void FileChange(QWidget *hDlg);
    void FolderChange(QWidget *hDlg);
    void DialogOK(bool &Cancel);

public:
    // Raises DialogOK with Cancel false; OK proceeds unless a handler set Cancel.
    Q_INVOKABLE bool ConfirmOK();
    // Centres the dialog of the hook window hDlg over Owner's window (its "hwnd" property, or
    // Owner itself when it is a window), else over the work area, else the screen.
    void CentreDialog(QWidget *hDlg, QObject *Owner) const;
    void GetDialogSize(QWidget *hDlg, qint32 &Left, qint32 &Top, qint32 &Width, qint32 &Height) const;
    void SetHelpPosition(qint32 Left, qint32 Top, qint32 Width, qint32 Height, qint32 Maximised);

    bool CancelError() const { return m_cancelError; }
    void setCancelError(bool value) { m_cancelError = value; }
    QString FileName() const { return m_fileName; }
    void setFileName(const QString &value) { m_fileName = value; }
    QString Filter() const { return m_filter; }
    void setFilter(const QString &value) { m_filter = value; }
    qint32 FilterIndex() const { return m_filterIndex; }
    void setFilterIndex(qint32 value) { m_filterIndex = value; }
    qint32 Color() const { return m_color; }
    void setColor(qint32 value) { m_color = value; }
    qint32 Copies() const { return m_copies; }
    void setCopies(qint32 value) { m_copies = value; }
    QString DefaultExt() const { return m_defaultExt; }
    void setDefaultExt(const QString &value) { m_defaultExt = value; }
    QString DialogTitle() const { return m_dialogTitle; }
    void setDialogTitle(const QString &value) { m_dialogTitle = value; }
    quint32 Flags() const { return m_flags; }
    void setFlags(quint32 value) { m_flags = value; }
    bool FontBold();
    void setFontBold(bool value);
    bool FontItalic();
    void setFontItalic(bool value);
    QString FontName();
    void setFontName(const QString &value);
    qint32 FontSize();
    void setFontSize(qint32 value);
    bool FontStrikethru();
    void setFontStrikethru(bool value);
    bool FontUnderline();
    void setFontUnderline(bool value);
    runtime::StdFont Font();
    void setFont(const runtime::StdFont &value) { m_font = value; }
    qint32 FontColor() const { return m_fontColor; }
    void setFontColor(qint32 value) { m_fontColor = value; }
    qint32 FromPage() const { return m_fromPage; }
    void setFromPage(qint32 value) { m_fromPage = value; }
    QWidget *hwnd() const { return m_hwnd; }
    void sethwnd(QWidget *value) { m_hwnd = value; }
    qint32 HelpCommand() const { return m_helpCommand; }
    void setHelpCommand(qint32 value) { m_helpCommand = value; }
    QString HelpContext() const { return m_helpContext; }
    void setHelpContext(const QString &value) { m_helpContext = value; }
    QString HelpFile() const { return m_helpFile; }
    void setHelpFile(const QString &value) { m_helpFile = value; }
    QString HelpKey() const { return m_helpKey; }
    void setHelpKey(const QString &value) { m_helpKey = value; }
    QString InitDir() const { return m_initDir; }
    void setInitDir(const QString &value) { m_initDir = value; }
    qint32 Max() const { return m_max; }
    void setMax(qint32 value) { m_max = value; }
    qint32 MaxFileSize() const { return m_maxFileSize; }
    void setMaxFileSize(qint32 value) { m_maxFileSize = value; }
    qint32 Min() const { return m_min; }
    void setMin(qint32 value) { m_min = value; }
    QObject *Object() const { return m_object; }
    void setObject(QObject *value) { m_object = value; }
    bool PrinterDefault() const { return m_printerDefault; }
    void setPrinterDefault(bool value) { m_printerDefault = value; }
    QString PrinterName() const;
    QString PrinterDriver() const;
    QString PrinterOutputPort() const;
    qint32 ToPage() const { return m_toPage; }
    void setToPage(qint32 value) { m_toPage = value; }
    QString FileTitle() const { return m_fileTitle; }
    void setFileTitle(const QString &value) { m_fileTitle = value; }
    // Index 0 to 15; -1 outside, where a write is ignored.
    qint32 CustomColor(int index);
    void setCustomColor(int index, qint32 value);

    void ShowOpen();
    void ShowSave();
    void ShowColor();
    void ShowFont();
    void ShowPrinter();
    void ShowHelp();

    bool HookDialog() const { return m_hookDialog; }
    void setHookDialog(bool value) { m_hookDialog = value; }
    os::HMODULE hInstance() const { return m_hInstance; }
    void sethInstance(os::HMODULE value) { m_hInstance = value; }
    void cdLoadLibrary(const QString &path);
    void cdFreeLibrary();
    quintptr TemplateName() const { return m_templateName; }
    void setTemplateName(quintptr value) { m_templateName = value; }

    // The dialog calls behind the wrapper (APIReturn and ExtendedError tell a cancel from a
    // failure); created on first use.
    GCommonDialog &dialogs();

private:
    QWidget *dialogWindow(QWidget *hDlg) const;
    runtime::StdFont &font();
    void clearTemplateWithoutModule();

    std::unique_ptr<GCommonDialog> m_dialogs;
    std::optional<runtime::StdFont> m_font;
    bool m_fileDialogShown = false;
    os::PrinterDC m_printerDC;

    bool m_cancelError = false;
    QString m_fileName;
    QString m_filter;
    qint32 m_filterIndex = 1;
    qint32 m_color = 0;
    qint32 m_copies = 0;
    QString m_defaultExt;
    QString m_dialogTitle;
    quint32 m_flags = 0;
    qint32 m_fontColor = 0;
    qint32 m_fromPage = 0;
    QPointer<QWidget> m_hwnd;
    qint32 m_helpCommand = 0;
    QString m_helpContext;
    QString m_helpFile;
    QString m_helpKey;
    QString m_initDir;
    qint32 m_max = 0;
    qint32 m_maxFileSize = 0;
    qint32 m_min = 0;
    QPointer<QObject> m_object;
    bool m_printerDefault = false;
    qint32 m_toPage = 0;
    QString m_fileTitle;
    bool m_hookDialog = false;
    os::HMODULE m_hInstance = nullptr;
    quintptr m_templateName = 0;
};
