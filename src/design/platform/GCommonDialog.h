#pragma once

#include "os/CommonDialogs.h"
#include "runtime/StdFont.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <optional>

class QWidget;

// Calls the platform's common dialogs: each operation fills the dialog's record from its
// arguments, shows the dialog and hands the results back through its by-reference arguments,
// answering true for OK. With a hook, the dialog's notifications reach DialogHook, which calls the
// event target's members by name (InitDialog, FileChange, FolderChange, TypeChange, ConfirmOK,
// DialogClose, WMCommand): any QObject with those signals, slots or invokables can be the target.
//
// The file dialogs' fixed buffers: a FileName or FileTitle longer than 260 characters (8192 with
// multi-selection) throws std::invalid_argument before anything is shown.
class GCommonDialog {
public:
    static constexpr int FileBufferSize = 260;
    static constexpr int MultiFileBufferSize = 8192;
    static constexpr int DevModeCopySize = 122;

    GCommonDialog() = default;
    ~GCommonDialog();
    GCommonDialog(const GCommonDialog &) = delete;
    GCommonDialog &operator=(const GCommonDialog &) = delete;

    qintptr DialogHook(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam);
    qint32 APIReturn() const { return m_apiReturn; }
    qint32 ExtendedError() const { return m_extendedError; }

    bool VBGetOpenFileName2(QString &FileName, QString &FileTitle, bool FileMustExist, bool MultiSelect,
                            bool &ReadOnly, bool HideReadOnly, QString &Filter, qint32 &FilterIndex,
                            const QString &InitDir, const QString &Title, const QString &DefaultExt,
                            QWidget *Owner, quint32 &Flags, bool Hook, os::HMODULE hInstance,
                            quintptr TemplateName, QObject *EventTarget);
    bool VBGetOpenFileName(QString &FileName, QString &FileTitle, bool FileMustExist, bool MultiSelect,
                           bool &ReadOnly, bool HideReadOnly, QString &Filter, qint32 &FilterIndex,
                           const QString &InitDir, const QString &Title, const QString &DefaultExt,
                           QWidget *Owner, quint32 &Flags, bool Hook, QObject *EventTarget);
    bool VBGetSaveFileName2(QString &FileName, QString &FileTitle, bool OverwritePrompt, QString &Filter,
                            qint32 &FilterIndex, const QString &InitDir, const QString &Title,
                            const QString &DefaultExt, QWidget *Owner, quint32 &Flags, bool Hook,
                            os::HMODULE hInstance, quintptr TemplateName, QObject *EventTarget);
    bool VBGetSaveFileName(QString &FileName, QString &FileTitle, bool OverwritePrompt, QString &Filter,
                           qint32 &FilterIndex, const QString &InitDir, const QString &Title,
                           const QString &DefaultExt, QWidget *Owner, quint32 &Flags, bool Hook,
                           QObject *EventTarget);
    QString VBGetFileTitle(const QString &path) const;
    // Flags is not read: the colour dialog's flag word comes from the three switches.
    bool VBChooseColor(qint32 &Color, bool AnyColor, bool FullOpen, bool PreventFullOpen, QWidget *Owner,
                       quint32 Flags, bool Hook, QObject *EventTarget);
    // One of the 16 custom colours; -1 outside 0 to 15, where a write is ignored.
    qint32 CustomColor(int index);
    void setCustomColor(int index, qint32 color);
    // PrinterDC: no value means none given (the design's -1).
    bool VBChooseFont(runtime::StdFont &Font, std::optional<os::PrinterDC> &PrinterDC, QWidget *Owner,
                      qint32 &Color, qint32 MinSize, qint32 MaxSize, quint32 &Flags, bool Hook,
                      QObject *EventTarget);
    // PrintRange: 0 all pages, 1 page numbers, 2 selection. Printer, when given, receives
    // Copies, Orientation, PaperSize and PrintQuality where it has such properties.
    bool VBPrintDlg(os::PrinterDC &hDC, qint32 &PrintRange, bool DisablePageNumbers, qint32 &FromPage,
                    qint32 &ToPage, bool DisableSelection, qint16 &Copies, bool ShowPrintToFile,
                    bool DisablePrintToFile, bool &PrintToFile, bool &Collate, bool PreventWarning,
                    QWidget *Owner, QObject *Printer, quint32 Flags, bool Hook, QObject *EventTarget);
    // Units 0: thousandths of inches; any other: hundredths of millimetres.
    bool VBPageSetupDlg2(QWidget *Owner, bool DisableMargins, bool DisableOrientation, bool DisablePaper,
                         bool DisablePrinter, double &LeftMargin, double &MinLeftMargin, double &RightMargin,
                         double &MinRightMargin, double &TopMargin, double &MinTopMargin, double &BottomMargin,
                         double &MinBottomMargin, qint16 &PaperSize, qint16 &Orientation, qint16 &PrintQuality,
                         qint32 Units, QObject *Printer, qint32 Unused, bool Hook, QObject *EventTarget);
    bool VBPageSetupDlg(QWidget *Owner, bool DisableMargins, bool DisableOrientation, bool DisablePaper,
                        bool DisablePrinter, qint32 &LeftMargin, qint32 &MinLeftMargin, qint32 &RightMargin,
                        qint32 &MinRightMargin, qint32 &TopMargin, qint32 &MinTopMargin, qint32 &BottomMargin,
                        qint32 &MinBottomMargin, qint16 &PaperSize, qint16 &Orientation, qint16 &PrintQuality,
                        qint32 Units, QObject *Printer, qint32 Unused, bool Hook, QObject *EventTarget);

    void InitCustomColors();
    QString DriverName() const { return m_driverName; }
    QString DeviceName() const { return m_deviceName; }
    QString OutputPort() const { return m_outputPort; }
    // LastDevMode: the first 122 bytes of the last successful print dialog's settings, the rest 0.
    os::DEVMODE CopyPrintData() const { return m_lastDevMode; }

    // The font dialog's record of a font: height from its size and the screen's twips per pixel,
    // the face name as 8-bit bytes padded with NULs to 32 (a longer name is cut).
    static os::LOGFONT FontRecord(const runtime::StdFont &font);
    // "|" and ":" become NUL, and two NULs end the list.
    static QString ConvertFilter(const QString &filter);
    // The index'th pair (from 1) of a converted filter: description, one NUL, pattern.
    static QString ChosenPair(const QString &converted, qint32 index);

private:
    // What the open and save calls have in common, by reference as the calls take it.
    struct FileRequest {
        QString &FileName;
        QString &FileTitle;
        QString &Filter;
        qint32 &FilterIndex;
        const QString &InitDir;
        const QString &Title;
        const QString &DefaultExt;
        QWidget *Owner;
        quint32 &Flags;
        bool Hook;
        os::HMODULE hInstance;
        quintptr TemplateName;
        QObject *EventTarget;
    };
    // Fills the record, shows the dialog with `show` and takes the results back; after Cancel the
    // names, Filter and Flags are empty and the caller sets its own FilterIndex.
    bool showFileDialog(FileRequest &request, quint32 flags, int bufferSize, bool multiSelect,
                        int (*show)(os::OPENFILENAME *));
    void beginHook(QObject *target);
    void endHook();
    // LastDevMode, copies and collate, and the names of a successful print dialog; frees the
    // dialog's settings and names blocks.
    void readPrintSettings(const os::PRINTDLG &record, qint16 &Copies, bool &Collate);

    qint32 m_apiReturn = 0;
    qint32 m_extendedError = 0;
    std::array<quint32, 16> m_customColors{};
    bool m_customColorsInitialised = false;
    os::DEVMODE m_lastDevMode{};
    QString m_driverName;
    QString m_deviceName;
    QString m_outputPort;
    QPointer<QObject> m_eventTarget;
};
