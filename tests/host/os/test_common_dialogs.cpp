#include "os/CommonDialogs.h"
#include "os/GlobalMemory.h"
#include "os/HelpViewer.h"
#include "support/ModalDialogs.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using testsupport::accept;
using testsupport::closeIfOpen;
using testsupport::typeFileName;
using testsupport::whenModal;

struct HookCall {
    QWidget *window;
    unsigned message;
    int code; // WM_NOTIFY's code, else 0
};

// What the hook procedure saw, and whether it refuses OK once.
std::vector<HookCall> hookCalls;
bool refuseNextOk = false;

qintptr recordingHook(QWidget *hDlg, unsigned message, quintptr, qintptr lParam)
{
    int code = 0;
    if (message == os::WM_NOTIFY)
        code = reinterpret_cast<const os::NMHDR *>(lParam)->code;
    hookCalls.push_back({hDlg, message, code});
    if (code == os::CDN_FILEOK && refuseNextOk) {
        refuseNextOk = false;
        os::SetWindowLong(hDlg, os::DWL_MSGRESULT, 1);
        return 1;
    }
    return 0;
}

bool sawNotification(int code)
{
    for (const HookCall &call : hookCalls) {
        if (call.message == os::WM_NOTIFY && call.code == code)
            return true;
    }
    return false;
}

bool sawMessage(unsigned message)
{
    for (const HookCall &call : hookCalls) {
        if (call.message == message)
            return true;
    }
    return false;
}

// Makes a file the current one in the dialog's list, as a click does, once the folder has loaded.
void selectInView(QFileDialog *dialog, const QString &name)
{
    auto *view = dialog->findChild<QListView *>(QStringLiteral("listView"));
    ASSERT_NE(view, nullptr);
    QModelIndex found;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const QModelIndex root = view->rootIndex();
        for (int row = 0; row < view->model()->rowCount(root); ++row) {
            const QModelIndex index = view->model()->index(row, 0, root);
            if (index.data().toString() == name)
                found = index;
        }
        return found.isValid();
    }, 5000));
    view->setCurrentIndex(found);
}

class FileDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        for (const char *name : {"a.txt", "b.txt", "c.txt", "d.log"}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        QDir(folder.path()).mkdir(QStringLiteral("sub"));
        hookCalls.clear();
        refuseNextOk = false;
        file.assign(260, u'\0');
        title.assign(260, u'\0');
        record.lStructSize = os::OPENFILENAME_SIZE;
        record.lpstrFilter = QStringList({QStringLiteral("Text"), QStringLiteral("*.txt"), QStringLiteral("All"),
                                           QStringLiteral("*.*"), QString(), QString()}).join(QChar(0));
        record.nFilterIndex = 1;
        record.lpstrFile = file.data();
        record.nMaxFile = quint32(file.size());
        record.lpstrFileTitle = title.data();
        record.nMaxFileTitle = quint32(title.size());
        record.lpstrInitialDir = folder.path();
    }

    QString text(const std::u16string &buffer) const
    {
        return QString::fromStdU16String(buffer.substr(0, buffer.find(u'\0')));
    }

    QTemporaryDir folder;
    std::u16string file;
    std::u16string title;
    os::OPENFILENAME record;
};

TEST_F(FileDialogs, OpenReturnsThePathTitleAndChosenFilter)
{
    record.nFilterIndex = 2;
    whenModal<QFileDialog>([this](QFileDialog *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Open"));
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(dialog->nameFilters(), QStringList({QStringLiteral("Text (*.txt)"), QStringLiteral("All (*.*)")}));
        EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("All (*.*)"));
        typeFileName(dialog, folder.filePath(QStringLiteral("d.log")));
        accept(dialog);
        closeIfOpen(dialog);
    });
    ASSERT_EQ(os::GetOpenFileName(&record), 1);
    EXPECT_EQ(os::CommDlgExtendedError(), 0u);
    EXPECT_EQ(text(file), QDir::toNativeSeparators(folder.filePath(QStringLiteral("d.log"))));
    EXPECT_EQ(text(title), QStringLiteral("d.log"));
    EXPECT_EQ(record.nFilterIndex, 2u);
}

TEST_F(FileDialogs, MultiSelectionOfThreeFilesIsTheFolderAndTheNamesEndedByNuls)
{
    record.Flags = os::OFN_ALLOWMULTISELECT | os::OFN_EXPLORER;
    file.assign(8192, u'\0');
    record.lpstrFile = file.data();
    record.nMaxFile = 8192;
    whenModal<QFileDialog>([](QFileDialog *dialog) {
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
        typeFileName(dialog, QStringLiteral("\"a.txt\" \"b.txt\" \"c.txt\""));
        accept(dialog);
        closeIfOpen(dialog);
    });
    ASSERT_EQ(os::GetOpenFileName(&record), 1);
    const QString expected = QDir::toNativeSeparators(folder.path()) + QChar(0) + QStringLiteral("a.txt") + QChar(0)
                             + QStringLiteral("b.txt") + QChar(0) + QStringLiteral("c.txt") + QChar(0) + QChar(0);
    EXPECT_EQ(QString::fromStdU16String(file.substr(0, size_t(expected.size()))), expected);
}

TEST_F(FileDialogs, PathLongerThanTheBufferFailsWithBufferTooSmall)
{
    record.nMaxFile = 4;
    whenModal<QFileDialog>([this](QFileDialog *dialog) {
        typeFileName(dialog, folder.filePath(QStringLiteral("a.txt")));
        accept(dialog);
        closeIfOpen(dialog);
    });
    EXPECT_EQ(os::GetOpenFileName(&record), 0);
    EXPECT_EQ(os::CommDlgExtendedError(), os::FNERR_BUFFERTOOSMALL);
    EXPECT_GT(int(file[0]), 4) << "the size needed";
}

TEST_F(FileDialogs, CancelIsZeroWithNoExtendedError)
{
    whenModal<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
    EXPECT_EQ(os::GetSaveFileName(&record), 0);
    EXPECT_EQ(os::CommDlgExtendedError(), 0u);
}

TEST_F(FileDialogs, BadRecordsFailBeforeAnyDialog)
{
    record.lStructSize = 88;
    EXPECT_EQ(os::GetOpenFileName(&record), 0);
    EXPECT_EQ(os::CommDlgExtendedError(), os::CDERR_STRUCTSIZE);
    record.lStructSize = os::OPENFILENAME_SIZE;
    record.Flags = os::OFN_ENABLETEMPLATE;
    EXPECT_EQ(os::GetOpenFileName(&record), 0);
    EXPECT_EQ(os::CommDlgExtendedError(), os::CDERR_FINDRESFAILURE);
}

TEST_F(FileDialogs, HookSeesEveryNotificationAndCanRefuseOk)
{
    record.Flags = os::OFN_ENABLEHOOK | os::OFN_EXPLORER;
    record.lpfnHook = &recordingHook;
    refuseNextOk = true;
    whenModal<QFileDialog>([this](QFileDialog *dialog) {
        ASSERT_FALSE(hookCalls.empty());
        EXPECT_EQ(hookCalls.front().message, os::WM_INITDIALOG);
        QWidget *hookWindow = hookCalls.front().window;
        EXPECT_EQ(hookWindow->parentWidget(), dialog) << "the Explorer-style hook window is a child";
        dialog->setDirectory(folder.filePath(QStringLiteral("sub")));
        dialog->setDirectory(folder.path());
        selectInView(dialog, QStringLiteral("b.txt"));
        QTest::keyClick(dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo")), Qt::Key_Down);
        typeFileName(dialog, folder.filePath(QStringLiteral("a.txt")));
        accept(dialog);
        EXPECT_TRUE(dialog->isVisible()) << "the hook refused OK";
        EXPECT_EQ(os::GetWindowLong(hookWindow, os::DWL_MSGRESULT), 1);
        accept(dialog);
        closeIfOpen(dialog);
    });
    ASSERT_EQ(os::GetOpenFileName(&record), 1);
    EXPECT_TRUE(sawNotification(os::CDN_SELCHANGE));
    EXPECT_TRUE(sawNotification(os::CDN_FOLDERCHANGE));
    EXPECT_TRUE(sawNotification(os::CDN_TYPECHANGE));
    EXPECT_TRUE(sawNotification(os::CDN_FILEOK));
    EXPECT_EQ(hookCalls.back().message, os::WM_DESTROY);
}

TEST(FileTitle, IsTheLastPartOfThePath)
{
    char16_t buffer[8] = {};
    EXPECT_EQ(os::GetFileTitle(QStringLiteral("C:\\dir\\ab.txt"), buffer, 8), 0);
    EXPECT_EQ(QString::fromUtf16(buffer), QStringLiteral("ab.txt"));
    EXPECT_EQ(os::GetFileTitle(QStringLiteral("/tmp/longer-name.txt"), buffer, 8), 16) << "size needed";
    EXPECT_EQ(os::GetFileTitle(QString(), buffer, 8), -1);
    EXPECT_EQ(os::GetFileTitle(QStringLiteral("C:\\dir\\"), buffer, 8), -1);
}

TEST(ColorDialog, StartsOnTheColourAndReturnsChoiceAndCustomColours)
{
    quint32 custom[16] = {};
    custom[3] = 0x00112233;
    os::CHOOSECOLOR record;
    record.lStructSize = os::CHOOSECOLOR_SIZE;
    record.rgbResult = 0x000000FF; // red
    record.Flags = os::CC_RGBINIT | os::CC_SOLIDCOLOR;
    record.lpCustColors = custom;
    whenModal<QColorDialog>([](QColorDialog *dialog) {
        EXPECT_EQ(dialog->currentColor(), QColor(255, 0, 0));
        EXPECT_EQ(QColorDialog::customColor(3), QColor(0x33, 0x22, 0x11));
        EXPECT_EQ(dialog->property(os::DialogFlagsProperty).toUInt(), os::CC_RGBINIT | os::CC_SOLIDCOLOR);
        QColorDialog::setCustomColor(5, QColor(1, 2, 3));
        dialog->setCurrentColor(QColor(0x10, 0x20, 0x30));
        accept(dialog);
        closeIfOpen(dialog);
    });
    ASSERT_EQ(os::ChooseColor(&record), 1);
    EXPECT_EQ(record.rgbResult, 0x00302010u);
    EXPECT_EQ(custom[5], 0x00030201u);
    EXPECT_EQ(custom[3], 0x00112233u);
}

class FontDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        record.lStructSize = os::CHOOSEFONT_SIZE;
        record.lpLogFont = &logFont;
        std::strcpy(logFont.lfFaceName, "DejaVu Sans");
        logFont.lfHeight = -16; // 12 points at 96 pixels per inch
        logFont.lfWeight = 400;
    }

    os::LOGFONT logFont;
    os::CHOOSEFONT record;
};

TEST_F(FontDialogs, ChosenFontComesBackInTheRecord)
{
    record.Flags = os::CF_SCREENFONTS | os::CF_INITTOLOGFONTSTRUCT | os::CF_EFFECTS;
    whenModal<QFontDialog>([](QFontDialog *dialog) {
        EXPECT_EQ(dialog->currentFont().family(), QStringLiteral("DejaVu Sans"));
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPointSize(14);
        font.setBold(true);
        font.setUnderline(true);
        dialog->setCurrentFont(font);
        accept(dialog);
        closeIfOpen(dialog);
    });
    ASSERT_EQ(os::ChooseFont(&record), 1);
    EXPECT_STREQ(logFont.lfFaceName, "DejaVu Serif");
    EXPECT_EQ(record.iPointSize, 140);
    EXPECT_EQ(logFont.lfWeight, 700);
    EXPECT_EQ(logFont.lfUnderline, 1);
    EXPECT_TRUE(record.nFontType & os::BOLD_FONTTYPE);
}

TEST_F(FontDialogs, WithoutEffectsThereIsNoUnderlineOrStrikeOut)
{
    logFont.lfUnderline = 1;
    record.Flags = os::CF_SCREENFONTS | os::CF_INITTOLOGFONTSTRUCT;
    whenModal<QFontDialog>([](QFontDialog *dialog) {
        for (QGroupBox *box : dialog->findChildren<QGroupBox *>()) {
            if (QString(box->title()).remove(u'&') == QFontDialog::tr("Effects")) {
                EXPECT_FALSE(box->isVisibleTo(dialog));
            }
        }
        accept(dialog);
        closeIfOpen(dialog);
    });
    ASSERT_EQ(os::ChooseFont(&record), 1);
    EXPECT_EQ(logFont.lfUnderline, 0);
}

TEST_F(FontDialogs, SizeOutsideTheLimitsKeepsTheDialogOpen)
{
    record.Flags = os::CF_SCREENFONTS | os::CF_INITTOLOGFONTSTRUCT | os::CF_LIMITSIZE;
    record.nSizeMin = 8;
    record.nSizeMax = 10;
    whenModal<QFontDialog>([](QFontDialog *dialog) {
        QFont font = dialog->currentFont();
        font.setPointSize(20);
        dialog->setCurrentFont(font);
        QPointer<QFontDialog> open = dialog;
        whenModal<QMessageBox>([open](QMessageBox *box) {
            EXPECT_EQ(box->text(), QStringLiteral("Size must be between 8 and 10 points."));
            box->accept();
            ASSERT_TRUE(open && open->isVisible());
            QFont allowed = open->currentFont();
            allowed.setPointSize(9);
            open->setCurrentFont(allowed);
            open->accept();
        });
        accept(dialog);
        closeIfOpen(dialog);
    });
    ASSERT_EQ(os::ChooseFont(&record), 1);
    EXPECT_EQ(record.iPointSize, 90);
    record.nSizeMax = 4;
    EXPECT_EQ(os::ChooseFont(&record), 0);
    EXPECT_EQ(os::CommDlgExtendedError(), os::CFERR_MAXLESSTHANMIN);
}

class PrintDialogs : public ::testing::Test {
protected:
    void TearDown() override
    {
        os::GlobalFree(record.hDevMode);
        os::GlobalFree(record.hDevNames);
    }

    os::PRINTDLG record;
};

TEST_F(PrintDialogs, ChoicesComeBackWithSettingsAndNamesBlocks)
{
    record.lStructSize = os::PRINTDLG_SIZE;
    record.Flags = os::PD_RETURNDC | os::PD_USEDEVMODECOPIESANDCOLLATE | os::PD_NOSELECTION;
    record.nMinPage = 1;
    record.nMaxPage = 0xFFFF;
    whenModal<QPrintDialog>([](QPrintDialog *dialog) {
        EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintSelection));
        dialog->printer()->setCopyCount(3);
        dialog->printer()->setPageOrientation(QPageLayout::Landscape);
        accept(dialog);
        closeIfOpen(dialog);
    });
    ASSERT_EQ(os::PrintDlg(&record), 1);
    ASSERT_TRUE(record.hDC);
    EXPECT_EQ(record.nCopies, 1) << "copies go to the settings block";
    const auto *mode = static_cast<const os::DEVMODE *>(os::GlobalLock(record.hDevMode));
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->dmOrientation, os::DMORIENT_LANDSCAPE);
    EXPECT_GT(mode->dmPaperSize, 0);
    os::GlobalUnlock(record.hDevMode);
    const auto *names = static_cast<const char *>(os::GlobalLock(record.hDevNames));
    ASSERT_NE(names, nullptr);
    os::DEVNAMES header;
    std::memcpy(&header, names, sizeof header);
    EXPECT_EQ(header.wDriverOffset, sizeof(os::DEVNAMES));
    EXPECT_GT(std::strlen(names + header.wDeviceOffset), 0u);
    os::GlobalUnlock(record.hDevNames);
}

TEST_F(PrintDialogs, PrintSetupShowsThePageSetupWithTheSetupHook)
{
    hookCalls.clear();
    record.lStructSize = os::PRINTDLG_SIZE;
    record.Flags = os::PD_PRINTSETUP | os::PD_ENABLESETUPHOOK;
    record.lpfnSetupHook = &recordingHook;
    whenModal<QPageSetupDialog>([](QPageSetupDialog *dialog) { dialog->reject(); });
    EXPECT_EQ(os::PrintDlg(&record), 0);
    EXPECT_EQ(os::CommDlgExtendedError(), 0u);
    EXPECT_TRUE(sawMessage(os::WM_INITDIALOG));
    EXPECT_TRUE(sawMessage(os::WM_DESTROY));
    EXPECT_EQ(record.hDevMode, nullptr);
}

TEST(PageSetupDialog, MarginsTravelInTheRecordsUnits)
{
    os::PAGESETUPDLG record;
    record.lStructSize = os::PAGESETUPDLG_SIZE;
    record.Flags = os::PSD_MARGINS | os::PSD_INHUNDREDTHSOFMILLIMETERS;
    record.rtMargin = {2000, 1500, 2500, 1000};
    whenModal<QPageSetupDialog>([](QPageSetupDialog *dialog) {
        const QMarginsF margins = dialog->printer()->pageLayout().margins(QPageLayout::Millimeter);
        EXPECT_NEAR(margins.left(), 20.0, 0.01);
        EXPECT_NEAR(margins.bottom(), 10.0, 0.01);
        accept(dialog);
        closeIfOpen(dialog);
    });
    ASSERT_EQ(os::PageSetupDlg(&record), 1);
    EXPECT_NEAR(record.rtMargin.left, 2000, 1);
    EXPECT_NEAR(record.rtMargin.right, 2500, 1);
    EXPECT_GT(record.ptPaperSize.x, 0);
    os::GlobalFree(record.hDevMode);
    os::GlobalFree(record.hDevNames);
}

TEST(HelpViewer, ShowsExistingFilesAndKeepsThePosition)
{
    QTemporaryDir folder;
    const QString help = folder.filePath(QStringLiteral("kestrova.chm"));
    QFile file(help);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QStringList opened;
    os::SetHelpOpener([&opened](const QString &path) {
        opened.append(path);
        return true;
    });
    EXPECT_TRUE(os::WinHelp(nullptr, help, os::HELP_CONTENTS, 0));
    EXPECT_EQ(opened, QStringList{help});
    EXPECT_FALSE(os::WinHelp(nullptr, folder.filePath(QStringLiteral("missing.hlp")), os::HELP_CONTENTS, 0));
    EXPECT_FALSE(os::WinHelp(nullptr, QString(), os::HELP_KEY, 0));
    EXPECT_FALSE(os::WinHelp(nullptr, help, 0x7777, 0));

    const os::HELPWININFO info{26, 10, 20, 300, 400, 1, {0, 0}};
    EXPECT_TRUE(os::WinHelp(nullptr, help, os::HELP_SETWINPOS, reinterpret_cast<quintptr>(&info)));
    EXPECT_EQ(os::HelpWindowPosition().dx, 300);
    EXPECT_EQ(os::HelpWindowPosition().wMax, 1);
    os::SetHelpOpener(nullptr);
}

} // namespace
