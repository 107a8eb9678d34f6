#include "platform/GCommonDialog.h"

#include "platform/cMemory.h"
#include "platform/mDialogHook.h"

#include <QVariant>

#include <cstring>

namespace {

// The printer object's settings by name; a property it lacks is skipped, so it still gets the
// others (and no dynamic property is made up on it).
void setIfPresent(QObject *object, const char *name, int value)
{
    if (object->metaObject()->indexOfProperty(name) >= 0)
        object->setProperty(name, QVariant(value));
}

void fillPrinter(QObject *printer, int copies, const os::DEVMODE &mode)
{
    if (!printer)
        return;
    setIfPresent(printer, "Copies", copies);
    setIfPresent(printer, "Orientation", mode.dmOrientation);
    setIfPresent(printer, "PaperSize", mode.dmPaperSize);
    setIfPresent(printer, "PrintQuality", mode.dmPrintQuality);
}

// The first bytes of a DEVMODE block, the rest left 0; the block is freed, as nobody else holds it.
os::DEVMODE takeDevMode(os::HGLOBAL handle)
{
    os::DEVMODE mode{};
    cMemory block;
    block.setHandle(handle);
    if (const void *bytes = block.Pointer()) {
        const size_t size = std::min<size_t>(block.Size(), GCommonDialog::DevModeCopySize);
        std::memcpy(&mode, bytes, size);
    }
    return mode;
}

QString nameAt(const char *block, size_t size, quint16 offset)
{
    if (offset >= size)
        return {};
    return QString::fromLocal8Bit(block + offset, qsizetype(qstrnlen(block + offset, size - offset)));
}

void drop(os::HGLOBAL &handle)
{
    cMemory block;
    block.setHandle(handle);
    handle = nullptr;
}

} // namespace

void GCommonDialog::readPrintSettings(const os::PRINTDLG &record, qint16 &Copies, bool &Collate)
{
    m_lastDevMode = takeDevMode(record.hDevMode);
    if (record.Flags & os::PD_COLLATE) {
        Collate = true;
        Copies = qint16(record.nCopies);
    } else {
        Collate = m_lastDevMode.dmCollate == 1;
        Copies = m_lastDevMode.dmCopies;
    }
    cMemory names; // frees the block: nobody else holds it
    names.setHandle(record.hDevNames);
    const auto *bytes = static_cast<const char *>(names.Pointer());
    if (!bytes || names.Size() < sizeof(os::DEVNAMES))
        return;
    os::DEVNAMES header;
    std::memcpy(&header, bytes, sizeof header);
    m_driverName = nameAt(bytes, names.Size(), header.wDriverOffset);
    m_deviceName = nameAt(bytes, names.Size(), header.wDeviceOffset);
    m_outputPort = nameAt(bytes, names.Size(), header.wOutputOffset);
}

bool GCommonDialog::VBPrintDlg(os::PrinterDC &hDC, qint32 &PrintRange, bool DisablePageNumbers, qint32 &FromPage,
                               qint32 &ToPage, bool DisableSelection, qint16 &Copies, bool ShowPrintToFile,
                               bool DisablePrintToFile, bool &PrintToFile, bool &Collate, bool PreventWarning,
                               QWidget *Owner, QObject *Printer, quint32 Flags, bool Hook, QObject *EventTarget)
{
    m_apiReturn = 0;
    m_extendedError = 0;
    quint32 flags = Flags | (DisablePageNumbers ? os::PD_NOPAGENUMS : 0)
                    | (DisablePrintToFile ? os::PD_DISABLEPRINTTOFILE : 0) | (DisableSelection ? os::PD_NOSELECTION : 0)
                    | (PrintToFile ? os::PD_PRINTTOFILE : 0) | (!ShowPrintToFile ? os::PD_HIDEPRINTTOFILE : 0)
                    | (PreventWarning ? os::PD_NOWARNING : 0) | (Collate ? os::PD_COLLATE : 0)
                    | os::PD_USEDEVMODECOPIESANDCOLLATE | os::PD_RETURNDC;
    if (PrintRange == 1)
        flags |= os::PD_PAGENUMS;
    else if (PrintRange == 2)
        flags |= os::PD_SELECTION;
    flags &= ~os::PD_ENABLEPRINTHOOK;
    flags &= ~os::PD_ENABLEPRINTTEMPLATE;
    flags &= ~os::PD_ENABLESETUPHOOK;
    flags &= ~os::PD_ENABLESETUPTEMPLATE;

    os::PRINTDLG record;
    record.lStructSize = os::PRINTDLG_SIZE;
    record.hwndOwner = Owner;
    record.nFromPage = quint16(FromPage);
    record.nToPage = quint16(ToPage);
    record.nMinPage = 1;
    record.nMaxPage = 0xFFFF;
    if (Hook) {
        beginHook(EventTarget);
        if (flags & os::PD_PRINTSETUP) {
            record.lpfnSetupHook = &mDialogHook::PrintSetupHook;
            flags |= os::PD_ENABLESETUPHOOK;
        } else {
            record.lpfnPrintHook = &mDialogHook::PrintHook;
            flags |= os::PD_ENABLEPRINTHOOK;
        }
    }
    record.Flags = flags;

    m_apiReturn = qint16(os::PrintDlg(&record));
    endHook();
    if (m_apiReturn != 1) {
        m_extendedError = qint32(os::CommDlgExtendedError());
        return false;
    }
    hDC = record.hDC;
    PrintRange = (record.Flags & os::PD_PAGENUMS) ? 1 : (record.Flags & os::PD_SELECTION) ? 2 : 0;
    FromPage = record.nFromPage;
    ToPage = record.nToPage;
    PrintToFile = record.Flags & os::PD_PRINTTOFILE;
    readPrintSettings(record, Copies, Collate);
    fillPrinter(Printer, Copies, m_lastDevMode);
    return true;
}

bool GCommonDialog::VBPageSetupDlg2(QWidget *Owner, bool DisableMargins, bool DisableOrientation, bool DisablePaper,
                                    bool DisablePrinter, double &LeftMargin, double &MinLeftMargin,
                                    double &RightMargin, double &MinRightMargin, double &TopMargin,
                                    double &MinTopMargin, double &BottomMargin, double &MinBottomMargin,
                                    qint16 &PaperSize, qint16 &Orientation, qint16 &PrintQuality, qint32 Units,
                                    QObject *Printer, qint32 Unused, bool Hook, QObject *EventTarget)
{
    Q_UNUSED(Unused)
    m_apiReturn = 0;
    m_extendedError = 0;
    quint32 flags = (DisableMargins ? os::PSD_DISABLEMARGINS : 0) | (DisableOrientation ? os::PSD_DISABLEORIENTATION : 0)
                    | (DisablePaper ? os::PSD_DISABLEPAPER : 0) | (DisablePrinter ? os::PSD_DISABLEPRINTER : 0)
                    | os::PSD_MARGINS;
    const double factor = Units == 0 ? 1000.0 : 100.0;
    flags |= Units == 0 ? os::PSD_INTHOUSANDTHSOFINCHES : os::PSD_INHUNDREDTHSOFMILLIMETERS;

    os::PAGESETUPDLG record;
    record.lStructSize = os::PAGESETUPDLG_SIZE;
    record.hwndOwner = Owner;
    const auto scaled = [factor](double value) { return qint32(qRound(value * factor)); };
    record.rtMargin = {scaled(LeftMargin), scaled(TopMargin), scaled(RightMargin), scaled(BottomMargin)};
    record.rtMinMargin = {scaled(MinLeftMargin), scaled(MinTopMargin), scaled(MinRightMargin), scaled(MinBottomMargin)};
    if (Hook) {
        beginHook(EventTarget);
        record.lpfnPageSetupHook = &mDialogHook::PageSetupHook;
        flags |= os::PSD_ENABLEPAGESETUPHOOK;
    }
    record.Flags = flags;

    // Recorded as the other dialogs record them, so a caller can tell a failure from a cancel.
    m_apiReturn = os::PageSetupDlg(&record);
    endHook();
    if (m_apiReturn == 0) {
        m_extendedError = qint32(os::CommDlgExtendedError());
        return false;
    }
    LeftMargin = record.rtMargin.left / factor;
    TopMargin = record.rtMargin.top / factor;
    RightMargin = record.rtMargin.right / factor;
    BottomMargin = record.rtMargin.bottom / factor;
    MinLeftMargin = record.rtMinMargin.left / factor;
    MinTopMargin = record.rtMinMargin.top / factor;
    MinRightMargin = record.rtMinMargin.right / factor;
    MinBottomMargin = record.rtMinMargin.bottom / factor;
    const os::DEVMODE mode = takeDevMode(record.hDevMode);
    drop(record.hDevNames);
    PaperSize = mode.dmPaperSize;
    Orientation = mode.dmOrientation;
    PrintQuality = mode.dmPrintQuality;
    fillPrinter(Printer, mode.dmCopies, mode);
    return true;
}

bool GCommonDialog::VBPageSetupDlg(QWidget *Owner, bool DisableMargins, bool DisableOrientation, bool DisablePaper,
                                   bool DisablePrinter, qint32 &LeftMargin, qint32 &MinLeftMargin,
                                   qint32 &RightMargin, qint32 &MinRightMargin, qint32 &TopMargin,
                                   qint32 &MinTopMargin, qint32 &BottomMargin, qint32 &MinBottomMargin,
                                   qint16 &PaperSize, qint16 &Orientation, qint16 &PrintQuality, qint32 Units,
                                   QObject *Printer, qint32 Unused, bool Hook, QObject *EventTarget)
{
    double margins[8] = {};
    const bool ok = VBPageSetupDlg2(Owner, DisableMargins, DisableOrientation, DisablePaper, DisablePrinter,
                                    margins[0], margins[1], margins[2], margins[3], margins[4], margins[5],
                                    margins[6], margins[7], PaperSize, Orientation, PrintQuality, Units, Printer,
                                    Unused, Hook, EventTarget);
    qint32 *out[8] = {&LeftMargin, &MinLeftMargin, &RightMargin, &MinRightMargin,
                      &TopMargin, &MinTopMargin, &BottomMargin, &MinBottomMargin};
    for (int i = 0; i < 8; ++i)
        *out[i] = qRound(margins[i]);
    return ok;
}
