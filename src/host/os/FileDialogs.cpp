#include "os/CommonDialogRun.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>

#include <memory>

namespace os {

namespace {

using namespace dialogs;

struct FilterPair {
    QString description;
    QString patterns; // joined by ";"
};

// The record's filter: parts ended by NULs up to an empty part. A description left without a
// pattern offers nothing and is dropped.
QList<FilterPair> filterPairs(const QString &filter)
{
    QList<FilterPair> pairs;
    const QStringList parts = filter.split(QChar(0));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() || parts[i + 1].isEmpty())
            break;
        pairs.append({parts[i], parts[i + 1]});
    }
    return pairs;
}

// Qt reads a filter's patterns from the parentheses at its end, so they are added after the
// description unless it ends in them already.
QString qtNameFilter(const FilterPair &pair)
{
    const QString patterns = pair.patterns.split(u';', Qt::SkipEmptyParts).join(u' ');
    const QString suffix = QStringLiteral("(%1)").arg(patterns);
    if (pair.description.endsWith(suffix))
        return pair.description;
    return pair.description + u' ' + suffix;
}

QFileDialog::FileMode fileMode(quint32 flags, bool save)
{
    if (save)
        return QFileDialog::AnyFile;
    if (flags & OFN_ALLOWMULTISELECT)
        return QFileDialog::ExistingFiles;
    if (flags & OFN_FILEMUSTEXIST)
        return QFileDialog::ExistingFile;
    return QFileDialog::AnyFile;
}

// The chosen files as the record returns them: one path, or, for several files of an
// Explorer-style multi-selection, the folder and the names each ended by a NUL.
QString chosenFiles(const QStringList &files, quint32 flags)
{
    if (files.size() > 1 && (flags & OFN_ALLOWMULTISELECT) && (flags & OFN_EXPLORER)) {
        QString text = QDir::toNativeSeparators(QFileInfo(files.first()).absolutePath());
        for (const QString &file : files)
            text += QChar(0) + QFileInfo(file).fileName();
        return text + QChar(0);
    }
    return QDir::toNativeSeparators(files.value(0));
}

int showFileDialog(OPENFILENAME *record, bool save)
{
    setExtendedError(0);
    if (!record || !checkRecord(record->lStructSize, OPENFILENAME_SIZE, record->Flags & OFN_ENABLETEMPLATE))
        return 0;
    if (!record->lpstrFile || record->nMaxFile == 0) {
        setExtendedError(CDERR_INITIALIZATION);
        return 0;
    }

    const quint32 flags = record->Flags;
    QPointer<QDialog> guard;
    auto *dialog = new VetoableDialog<QFileDialog>(record->hwndOwner);
    guard = dialog;
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(fileMode(flags, save));
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !(flags & OFN_OVERWRITEPROMPT));
    dialog->setWindowTitle(record->lpstrTitle.isEmpty()
                               ? (save ? QStringLiteral("Save As") : QStringLiteral("Open"))
                               : record->lpstrTitle);
    if (!record->lpstrDefExt.isEmpty())
        dialog->setDefaultSuffix(record->lpstrDefExt);
    if (!record->lpstrInitialDir.isEmpty())
        dialog->setDirectory(QDir::fromNativeSeparators(record->lpstrInitialDir));

    const QList<FilterPair> pairs = filterPairs(record->lpstrFilter);
    QStringList nameFilters;
    for (const FilterPair &pair : pairs)
        nameFilters.append(qtNameFilter(pair));
    if (!nameFilters.isEmpty()) {
        dialog->setNameFilters(nameFilters);
        const quint32 index = record->nFilterIndex;
        dialog->selectNameFilter(nameFilters.value(index >= 1 && index <= quint32(nameFilters.size())
                                                       ? qsizetype(index - 1) : 0));
    }
    const QString initialName = bufferText(record->lpstrFile, record->nMaxFile);
    if (!initialName.isEmpty())
        dialog->selectFile(QDir::fromNativeSeparators(initialName));
    showFlags(dialog, flags);

    std::unique_ptr<HookBridge> bridge;
    if ((flags & OFN_ENABLEHOOK) && record->lpfnHook) {
        QWidget *hookWindow = dialog;
        if (flags & OFN_EXPLORER) {
            // The platform hooks a child dialog inside the Explorer-style one.
            hookWindow = new QWidget(dialog);
            hookWindow->setObjectName(QStringLiteral("hookWindow"));
            hookWindow->hide();
        }
        bridge = std::make_unique<HookBridge>(dialog, hookWindow, record->lpfnHook,
                                              reinterpret_cast<qintptr>(record));
        HookBridge *hook = bridge.get();
        QObject::connect(dialog, &QFileDialog::currentChanged, hook, [hook] { hook->notify(CDN_SELCHANGE); });
        // The folder shown is the model's root, whoever changed it (the user, or a hook handler).
        if (auto *model = dialog->findChild<QFileSystemModel *>())
            QObject::connect(model, &QFileSystemModel::rootPathChanged, hook, [hook] { hook->notify(CDN_FOLDERCHANGE); });
        QObject::connect(dialog, &QFileDialog::filterSelected, hook, [hook] { hook->notify(CDN_TYPECHANGE); });
        dialog->confirm = [hook] { return hook->confirmOk(); };
    }

    const int result = run(guard, bridge.get());
    if (!guard)
        return 0;
    const QStringList files = dialog->selectedFiles();
    const int filterIndex = nameFilters.indexOf(dialog->selectedNameFilter());
    bridge.reset();
    delete dialog;
    if (result != 1 || files.isEmpty())
        return 0;

    const QString file = chosenFiles(files, flags);
    const QString title = QFileInfo(files.first()).fileName();
    if (quint32(file.size()) + 1 > record->nMaxFile) {
        // The platform puts the size needed into the buffer's first unit.
        if (record->nMaxFile >= 1)
            record->lpstrFile[0] = char16_t(qMin(file.size() + 1, qsizetype(0xFFFF)));
        setExtendedError(FNERR_BUFFERTOOSMALL);
        return 0;
    }
    writeBuffer(record->lpstrFile, record->nMaxFile, file);
    if (record->lpstrFileTitle && record->nMaxFileTitle > 0 && files.size() == 1)
        writeBuffer(record->lpstrFileTitle, record->nMaxFileTitle, title.left(record->nMaxFileTitle - 1));
    record->nFilterIndex = filterIndex < 0 ? 0 : quint32(filterIndex + 1);
    return 1;
}

} // namespace

int GetOpenFileName(OPENFILENAME *record)
{
    return showFileDialog(record, false);
}

int GetSaveFileName(OPENFILENAME *record)
{
    return showFileDialog(record, true);
}

short GetFileTitle(const QString &path, char16_t *buffer, quint16 size)
{
    if (path.isEmpty() || path.endsWith(u'/') || path.endsWith(u'\\'))
        return -1;
    // Either separator: the path may come in the platform's form.
    const QString title = path.mid(qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1);
    if (quint32(title.size()) + 1 > size)
        return short(title.size() + 1);
    return dialogs::writeBuffer(buffer, size, title) ? 0 : -1;
}

} // namespace os
