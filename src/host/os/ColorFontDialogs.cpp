#include "os/CommonDialogRun.h"
#include "os/SystemParameters.h"
#include "runtime/OleColor.h"
#include "runtime/StdFont.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QMessageBox>

#include <algorithm>
#include <cstring>
#include <memory>

namespace os {

namespace {

using namespace dialogs;

constexpr int CustomColorCount = 16;

double pointsFromHeight(qint32 height)
{
    return std::abs(height) * 72.0 / GetScreenLogPixelsY();
}

QFont fontFromRecord(const CHOOSEFONT &record)
{
    QFont font;
    if (!(record.Flags & CF_INITTOLOGFONTSTRUCT) || !record.lpLogFont)
        return font;
    const LOGFONT &log = *record.lpLogFont;
    const QByteArray face(log.lfFaceName, qsizetype(qstrnlen(log.lfFaceName, LF_FACESIZE)));
    if (!face.isEmpty())
        font.setFamily(runtime::StdFont::substituteFace(QString::fromLocal8Bit(face)));
    const double points = log.lfHeight != 0 ? pointsFromHeight(log.lfHeight) : record.iPointSize / 10.0;
    if (points > 0)
        font.setPointSizeF(points);
    if (log.lfWeight > 0)
        font.setWeight(QFont::Weight(std::clamp(int(log.lfWeight), 1, 1000)));
    font.setItalic(log.lfItalic != 0);
    font.setUnderline(log.lfUnderline != 0);
    font.setStrikeOut(log.lfStrikeOut != 0);
    return font;
}

void writeFontToRecord(const QFont &font, CHOOSEFONT &record)
{
    const double points = font.pointSizeF();
    if (LOGFONT *log = record.lpLogFont) {
        *log = LOGFONT{};
        log->lfHeight = -qRound(points * GetScreenLogPixelsY() / 72.0);
        log->lfWeight = font.weight();
        log->lfItalic = font.italic() ? 1 : 0;
        log->lfUnderline = font.underline() ? 1 : 0;
        log->lfStrikeOut = font.strikeOut() ? 1 : 0;
        const QByteArray face = font.family().toLocal8Bit().left(LF_FACESIZE);
        std::memcpy(log->lfFaceName, face.constData(), size_t(face.size()));
    }
    record.iPointSize = qRound(points * 10);
    record.nFontType = quint16((font.bold() ? BOLD_FONTTYPE : REGULAR_FONTTYPE)
                               | (font.italic() ? ITALIC_FONTTYPE : 0) | SCREEN_FONTTYPE);
}

// Without CF_EFFECTS the platform offers no underline or strike-out: Qt's effects box goes.
void hideEffects(QFontDialog *dialog)
{
    const auto boxes = dialog->findChildren<QGroupBox *>();
    for (QGroupBox *box : boxes) {
        if (QString(box->title()).remove(u'&') == QFontDialog::tr("Effects"))
            box->hide();
    }
}

} // namespace

int ChooseColor(CHOOSECOLOR *record)
{
    setExtendedError(0);
    if (!record || !checkRecord(record->lStructSize, CHOOSECOLOR_SIZE, record->Flags & CC_ENABLETEMPLATE))
        return 0;
    if (!record->lpCustColors) {
        setExtendedError(CDERR_INITIALIZATION);
        return 0;
    }

    QPointer<QDialog> guard;
    auto *dialog = new VetoableDialog<QColorDialog>(record->hwndOwner);
    guard = dialog;
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    dialog->setWindowTitle(QStringLiteral("Color"));
    for (int i = 0; i < CustomColorCount; ++i)
        QColorDialog::setCustomColor(i, runtime::toQColor(record->lpCustColors[i]));
    dialog->setCurrentColor(runtime::toQColor((record->Flags & CC_RGBINIT) ? record->rgbResult : 0));
    showFlags(dialog, record->Flags);

    std::unique_ptr<HookBridge> bridge;
    if ((record->Flags & CC_ENABLEHOOK) && record->lpfnHook)
        bridge = std::make_unique<HookBridge>(dialog, dialog, record->lpfnHook, reinterpret_cast<qintptr>(record));

    const int result = run(guard, bridge.get());
    if (!guard)
        return 0;
    const QColor chosen = dialog->currentColor();
    bridge.reset();
    delete dialog;
    if (result != 1)
        return 0;
    for (int i = 0; i < CustomColorCount; ++i)
        record->lpCustColors[i] = runtime::fromQColor(QColorDialog::customColor(i));
    record->rgbResult = runtime::fromQColor(chosen);
    return 1;
}

int ChooseFont(CHOOSEFONT *record)
{
    setExtendedError(0);
    if (!record || !checkRecord(record->lStructSize, CHOOSEFONT_SIZE, record->Flags & CF_ENABLETEMPLATE))
        return 0;
    const quint32 flags = record->Flags;
    if ((flags & CF_INITTOLOGFONTSTRUCT) && !record->lpLogFont) {
        setExtendedError(CDERR_INITIALIZATION);
        return 0;
    }
    const bool limited = flags & CF_LIMITSIZE;
    if (limited && record->nSizeMax < record->nSizeMin) {
        setExtendedError(CFERR_MAXLESSTHANMIN);
        return 0;
    }

    QFont initial = fontFromRecord(*record);
    if (!(flags & CF_EFFECTS)) {
        initial.setUnderline(false);
        initial.setStrikeOut(false);
    }
    QPointer<QDialog> guard;
    auto *dialog = new VetoableDialog<QFontDialog>(record->hwndOwner);
    guard = dialog;
    dialog->setOption(QFontDialog::DontUseNativeDialog);
    dialog->setWindowTitle(QStringLiteral("Font"));
    dialog->setCurrentFont(initial);
    if (!(flags & CF_EFFECTS))
        hideEffects(dialog);
    showFlags(dialog, flags);

    std::unique_ptr<HookBridge> bridge;
    if ((flags & CF_ENABLEHOOK) && record->lpfnHook)
        bridge = std::make_unique<HookBridge>(dialog, dialog, record->lpfnHook, reinterpret_cast<qintptr>(record));
    if (limited) {
        const int smallest = record->nSizeMin;
        const int largest = record->nSizeMax;
        auto *fontDialog = dialog;
        dialog->confirm = [fontDialog, smallest, largest] {
            const double size = fontDialog->currentFont().pointSizeF();
            if (size >= smallest && size <= largest)
                return true;
            QMessageBox::warning(fontDialog, fontDialog->windowTitle(),
                                 QStringLiteral("Size must be between %1 and %2 points.").arg(smallest).arg(largest));
            return false;
        };
    }

    const int result = run(guard, bridge.get());
    if (!guard)
        return 0;
    const QFont chosen = dialog->currentFont();
    bridge.reset();
    delete dialog;
    if (result != 1)
        return 0;
    writeFontToRecord(chosen, *record);
    return 1;
}

} // namespace os
