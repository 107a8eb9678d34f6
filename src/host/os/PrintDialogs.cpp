#include "os/CommonDialogRun.h"
#include "os/Folders.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cstring>
#include <memory>

namespace os {

namespace {

using namespace dialogs;

const QString PdfDevice = QStringLiteral("Print to File (PDF)");
const QString PdfDriver = QStringLiteral("PDF");
const QString PrinterDriver = QStringLiteral("CUPS");
constexpr qsizetype MaxNameBytes = 4096;

// Where a machine without printers prints to: a PDF file in the documents folder (the home
// folder when there is none), under a name that no file has yet, so nobody is asked to overwrite.
QString pdfOutputName()
{
    QString folder = SpecialFolderLocation(CSIDL_PERSONAL);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QDir dir(folder);
    QString name = dir.filePath(QStringLiteral("print.pdf"));
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = dir.filePath(QStringLiteral("print (%1).pdf").arg(n));
    return name;
}

std::unique_ptr<QPrinter> newPrinter()
{
    auto printer = std::make_unique<QPrinter>();
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfOutputName());
    }
    return printer;
}

bool printsToFile(const QPrinter &printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty();
}

void copyName(char (&field)[32], const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit().left(31);
    std::memset(field, 0, sizeof field);
    std::memcpy(field, bytes.constData(), size_t(bytes.size()));
}

QString deviceName(const QPrinter &printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat ? PdfDevice : printer.printerName();
}

// The printer's settings as a new global DEVMODE block; copies and collate as given.
HGLOBAL devModeBlock(const QPrinter &printer, int copies, bool collate)
{
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DEVMODE));
    auto *mode = static_cast<DEVMODE *>(GlobalLock(block));
    if (!mode)
        return block;
    copyName(mode->dmDeviceName, deviceName(printer));
    mode->dmSpecVersion = 0x0401;
    mode->dmSize = sizeof(DEVMODE);
    mode->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_COLLATE;
    const QPageLayout layout = printer.pageLayout();
    mode->dmOrientation = layout.orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    mode->dmPaperSize = qint16(layout.pageSize().windowsId());
    mode->dmCopies = qint16(std::clamp(copies, 1, 0x7FFF));
    mode->dmPrintQuality = qint16(printer.resolution());
    mode->dmColor = printer.colorMode() == QPrinter::Color ? 2 : 1;
    mode->dmDuplex = 1;
    mode->dmCollate = collate ? 1 : 0;
    copyName(mode->dmFormName, layout.pageSize().name());
    GlobalUnlock(block);
    return block;
}

// The driver, device and port names as a new global DEVNAMES block.
HGLOBAL devNamesBlock(const QPrinter &printer)
{
    const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
    // Each name is cut so that every offset fits the block's 16-bit fields.
    const QByteArray names[] = {
        (pdf ? PdfDriver : PrinterDriver).toLocal8Bit().left(MaxNameBytes),
        deviceName(printer).toLocal8Bit().left(MaxNameBytes),
        (pdf ? QDir::toNativeSeparators(printer.outputFileName()) : printer.printerName()).toLocal8Bit().left(MaxNameBytes),
    };
    size_t size = sizeof(DEVNAMES);
    for (const QByteArray &name : names)
        size += size_t(name.size()) + 1;
    HGLOBAL block = GlobalAlloc(GHND, size);
    auto *bytes = static_cast<char *>(GlobalLock(block));
    if (!bytes)
        return block;
    quint16 offsets[3];
    size_t at = sizeof(DEVNAMES);
    for (int i = 0; i < 3; ++i) {
        offsets[i] = quint16(at);
        std::memcpy(bytes + at, names[i].constData(), size_t(names[i].size()));
        at += size_t(names[i].size()) + 1;
    }
    const DEVNAMES header{offsets[0], offsets[1], offsets[2], 1};
    std::memcpy(bytes, &header, sizeof header);
    GlobalUnlock(block);
    return block;
}

void replaceBlock(HGLOBAL &slot, HGLOBAL block)
{
    if (slot)
        GlobalFree(slot);
    slot = block;
}

// Shows the dialog, then lets go of its hook and itself; true when it closed with OK.
bool runAndDispose(QPointer<QDialog> &dialog, std::unique_ptr<HookBridge> &bridge)
{
    const int result = run(dialog, bridge.get());
    bridge.reset();
    if (!dialog)
        return false;
    delete dialog.data();
    return result == 1;
}

QDialog *printDialog(QPrinter *printer, const PRINTDLG &record)
{
    const quint32 flags = record.Flags;
    if (flags & PD_PRINTSETUP) {
        auto *dialog = new VetoableDialog<QPageSetupDialog>(printer, record.hwndOwner);
        dialog->setWindowTitle(QStringLiteral("Print Setup"));
        return dialog;
    }
    auto *dialog = new VetoableDialog<QPrintDialog>(printer, record.hwndOwner);
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintShowPageSize
                                                       | QAbstractPrintDialog::PrintCollateCopies;
    if (!(flags & PD_NOSELECTION))
        options |= QAbstractPrintDialog::PrintSelection;
    if (!(flags & PD_NOPAGENUMS))
        options |= QAbstractPrintDialog::PrintPageRange;
    if (!(flags & (PD_DISABLEPRINTTOFILE | PD_HIDEPRINTTOFILE)))
        options |= QAbstractPrintDialog::PrintToFile;
    dialog->setOptions(options);
    if (record.nMinPage <= record.nMaxPage)
        dialog->setMinMax(record.nMinPage, record.nMaxPage);
    dialog->setWindowTitle(QStringLiteral("Print"));
    return dialog;
}

} // namespace

PrinterDC CurrentPrinterDC()
{
    return PrinterDC(newPrinter().release());
}

int PrintDlg(PRINTDLG *record)
{
    setExtendedError(0);
    if (!record || !checkRecord(record->lStructSize, PRINTDLG_SIZE,
                                record->Flags & (PD_ENABLEPRINTTEMPLATE | PD_ENABLESETUPTEMPLATE)))
        return 0;
    const quint32 flags = record->Flags;
    std::unique_ptr<QPrinter> printer = newPrinter();
    if (record->nCopies > 0)
        printer->setCopyCount(record->nCopies);
    printer->setCollateCopies(flags & PD_COLLATE);
    if (flags & PD_PAGENUMS) {
        printer->setPrintRange(QPrinter::PageRange);
        if (record->nFromPage > 0 && record->nFromPage <= record->nToPage)
            printer->setFromTo(record->nFromPage, record->nToPage);
    } else if (flags & PD_SELECTION) {
        printer->setPrintRange(QPrinter::Selection);
    }

    QPointer<QDialog> dialog = printDialog(printer.get(), *record);
    showFlags(dialog, flags);
    const bool setup = flags & PD_PRINTSETUP;
    const HookProc hook = setup ? ((flags & PD_ENABLESETUPHOOK) ? record->lpfnSetupHook : nullptr)
                                : ((flags & PD_ENABLEPRINTHOOK) ? record->lpfnPrintHook : nullptr);
    std::unique_ptr<HookBridge> bridge;
    if (hook)
        bridge = std::make_unique<HookBridge>(dialog, dialog, hook, reinterpret_cast<qintptr>(record));

    if (!runAndDispose(dialog, bridge))
        return 0;

    quint32 out = flags & ~(PD_PAGENUMS | PD_SELECTION | PD_PRINTTOFILE | PD_COLLATE);
    if (printer->printRange() == QPrinter::PageRange) {
        out |= PD_PAGENUMS;
        record->nFromPage = quint16(printer->fromPage());
        record->nToPage = quint16(printer->toPage());
    } else if (printer->printRange() == QPrinter::Selection) {
        out |= PD_SELECTION;
    }
    if (printsToFile(*printer))
        out |= PD_PRINTTOFILE;
    const int copies = printer->copyCount();
    const bool collate = printer->collateCopies();
    if (flags & PD_USEDEVMODECOPIESANDCOLLATE) {
        record->nCopies = 1;
    } else {
        record->nCopies = quint16(std::clamp(copies, 1, 0xFFFF));
        if (collate)
            out |= PD_COLLATE;
    }
    record->Flags = out;
    replaceBlock(record->hDevMode, devModeBlock(*printer, copies, collate));
    replaceBlock(record->hDevNames, devNamesBlock(*printer));
    if (flags & PD_RETURNDC)
        record->hDC = PrinterDC(printer.release());
    return 1;
}

int PageSetupDlg(PAGESETUPDLG *record)
{
    setExtendedError(0);
    if (!record || !checkRecord(record->lStructSize, PAGESETUPDLG_SIZE, false))
        return 0;
    const quint32 flags = record->Flags;
    const bool millimetres = flags & PSD_INHUNDREDTHSOFMILLIMETERS;
    const QPageLayout::Unit unit = millimetres ? QPageLayout::Millimeter : QPageLayout::Inch;
    const double factor = millimetres ? 100.0 : 1000.0;
    const auto margins = [factor](const RECT &r) {
        return QMarginsF(r.left / factor, r.top / factor, r.right / factor, r.bottom / factor);
    };

    std::unique_ptr<QPrinter> printer = newPrinter();
    QPageLayout layout = printer->pageLayout();
    layout.setUnits(unit);
    if (flags & PSD_MINMARGINS)
        layout.setMinimumMargins(margins(record->rtMinMargin));
    if (flags & PSD_MARGINS)
        layout.setMargins(margins(record->rtMargin));
    printer->setPageLayout(layout);

    QPointer<QDialog> dialog = new VetoableDialog<QPageSetupDialog>(printer.get(), record->hwndOwner);
    dialog->setWindowTitle(QStringLiteral("Page Setup"));
    showFlags(dialog, flags);
    std::unique_ptr<HookBridge> bridge;
    if ((flags & PSD_ENABLEPAGESETUPHOOK) && record->lpfnPageSetupHook)
        bridge = std::make_unique<HookBridge>(dialog, dialog, record->lpfnPageSetupHook,
                                              reinterpret_cast<qintptr>(record));

    if (!runAndDispose(dialog, bridge))
        return 0;

    const QPageLayout chosen = printer->pageLayout();
    const QMarginsF m = chosen.margins(unit);
    record->rtMargin = {qRound(m.left() * factor), qRound(m.top() * factor), qRound(m.right() * factor),
                        qRound(m.bottom() * factor)};
    const QSizeF paper = chosen.pageSize().size(millimetres ? QPageSize::Millimeter : QPageSize::Inch);
    record->ptPaperSize = {qRound(paper.width() * factor), qRound(paper.height() * factor)};
    replaceBlock(record->hDevMode, devModeBlock(*printer, printer->copyCount(), printer->collateCopies()));
    replaceBlock(record->hDevNames, devNamesBlock(*printer));
    return 1;
}

} // namespace os
