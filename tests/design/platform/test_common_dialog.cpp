#include "os/HelpViewer.h"
#include "os/SystemParameters.h"
#include "platform/GCommonDialog.h"
#include "platform/cCommonDialog.h"
#include "platform/mDialogHook.h"
#include "runtime/OleColor.h"
#include "runtime/Screen.h"
#include "support/ModalDialogs.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace {

using testsupport::accept;
using testsupport::closeIfOpen;
using testsupport::typeFileName;
using testsupport::whenModal;

const QChar Nul(0);

// A printer object with only some of the settings the print dialog hands out.
class PartialPrinter : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Copies MEMBER copies)
    Q_PROPERTY(int Orientation MEMBER orientation)

public:
    int copies = 0;
    int orientation = 0;
};

class CommonDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        for (const char *name : {"a.txt", "b.txt", "c.txt"}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        cd.setInitDir(folder.path());
    }

    QString inFolder(const QString &name) const { return QDir::toNativeSeparators(folder.filePath(name)); }

    QTemporaryDir folder;
    cCommonDialog cd;
};

TEST_F(CommonDialog, SaveWithTheAllFilesFilterGivesThePairAndThePath)
{
    EXPECT_EQ(cd.FilterIndex(), 1);
    cd.setDialogTitle(QStringLiteral("Please choose a place to save."));
    cd.setFilter(QStringLiteral("(*.*) All Files|*.*"));
    whenModal<QFileDialog>([this](QFileDialog *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Please choose a place to save."));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("(*.*) All Files (*.*)")});
        typeFileName(dialog, folder.filePath(QStringLiteral("new.bin")));
        accept(dialog);
        closeIfOpen(dialog);
    });
    cd.ShowSave();
    EXPECT_EQ(cd.FileName(), inFolder(QStringLiteral("new.bin")));
    EXPECT_EQ(cd.FileTitle(), QStringLiteral("new.bin"));
    EXPECT_EQ(cd.Filter(), QStringLiteral("(*.*) All Files") + Nul + QStringLiteral("*.*"));
    EXPECT_EQ(cd.FilterIndex(), 1);
    EXPECT_TRUE(cd.Flags() & os::OFN_HIDEREADONLY) << "the returned flags are written back";
}

TEST_F(CommonDialog, CancelledSaveAndOpenLeaveTheirCancelResults)
{
    cd.setFileName(QStringLiteral("old.txt"));
    cd.setFilter(QStringLiteral("(*.*) All Files|*.*"));
    cd.setFlags(os::OFN_OVERWRITEPROMPT);
    whenModal<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
    cd.ShowSave();
    EXPECT_TRUE(cd.FileName().isEmpty());
    EXPECT_TRUE(cd.Filter().isEmpty());
    EXPECT_EQ(cd.FilterIndex(), 0);
    EXPECT_EQ(cd.Flags(), 0u);
    EXPECT_EQ(cd.dialogs().APIReturn(), 0);
    EXPECT_EQ(cd.dialogs().ExtendedError(), 0) << "a plain cancel";

    cd.setFilter(QStringLiteral("Text|*.txt"));
    whenModal<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
    cd.ShowOpen();
    EXPECT_EQ(cd.FilterIndex(), -1);
    EXPECT_TRUE(cd.FileTitle().isEmpty());
}

TEST_F(CommonDialog, ColonInADescriptionSplitsItAndShiftsThePairs)
{
    cd.setFilter(QStringLiteral("Text: plain|*.txt|All|*.*"));
    cd.setFilterIndex(0);
    whenModal<QFileDialog>([this](QFileDialog *dialog) {
        EXPECT_EQ(dialog->nameFilters().size(), 2) << "(Text, plain), (*.txt, All); *.* is left alone";
        EXPECT_EQ(dialog->selectedNameFilter(), dialog->nameFilters().value(0)) << "index 0 shows the first pair";
        typeFileName(dialog, folder.filePath(QStringLiteral("a.txt")));
        accept(dialog);
        closeIfOpen(dialog);
    });
    cd.ShowOpen();
    EXPECT_EQ(cd.FilterIndex(), 1);
    EXPECT_EQ(cd.Filter(), QStringLiteral("Text") + Nul + QStringLiteral(" plain"));
    EXPECT_EQ(GCommonDialog::ConvertFilter(QStringLiteral("a:b|c")),
              QStringLiteral("a") + Nul + QStringLiteral("b") + Nul + QStringLiteral("c") + Nul + Nul);
}

TEST_F(CommonDialog, MultiSelectionOfThreeFilesFillsTheWholeBuffer)
{
    cd.setFlags(os::OFN_ALLOWMULTISELECT | os::OFN_FILEMUSTEXIST);
    cd.setFileTitle(QStringLiteral("kept"));
    whenModal<QFileDialog>([](QFileDialog *dialog) {
        typeFileName(dialog, QStringLiteral("\"a.txt\" \"b.txt\" \"c.txt\""));
        accept(dialog);
        closeIfOpen(dialog);
    });
    cd.ShowOpen();
    const QString head = QDir::toNativeSeparators(folder.path()) + Nul + QStringLiteral("a.txt") + Nul
                         + QStringLiteral("b.txt") + Nul + QStringLiteral("c.txt") + Nul + Nul;
    EXPECT_EQ(cd.FileName().size(), GCommonDialog::MultiFileBufferSize);
    EXPECT_TRUE(cd.FileName().startsWith(head));
    EXPECT_EQ(cd.FileName().mid(head.size()), QString(GCommonDialog::MultiFileBufferSize - head.size(), Nul));
    EXPECT_EQ(cd.FileTitle(), QStringLiteral("kept"));

    QString dir;
    QStringList files;
    qint32 count = 0;
    cd.ParseMultiFileName(dir, files, count);
    EXPECT_EQ(dir, QDir::toNativeSeparators(folder.path()));
    EXPECT_EQ(files, QStringList({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")}));
    EXPECT_EQ(count, 3);
}

TEST_F(CommonDialog, NameLongerThanItsBufferIsRefusedBeforeAnyDialog)
{
    cd.setFileName(QString(261, u'x'));
    EXPECT_THROW(cd.ShowSave(), std::invalid_argument);
    cd.setHookDialog(true);
    EXPECT_THROW(cd.ShowOpen(), std::invalid_argument);
    EXPECT_EQ(mDialogHook::HookOwner(), nullptr) << "no hook owner is left behind";
    cd.setFlags(os::OFN_ALLOWMULTISELECT);
    cd.setFileTitle(QString(8193, u'x'));
    cd.setFileName(QString());
    EXPECT_THROW(cd.ShowOpen(), std::invalid_argument);
}

TEST_F(CommonDialog, DialogOKHandlerThatCancelsKeepsTheDialogOpen)
{
    cd.setHookDialog(true);
    int refusals = 1;
    QStringList events;
    QWidget *initWindow = nullptr;
    QObject::connect(&cd, &cCommonDialog::InitDialog, [&](QWidget *hDlg) {
        events << QStringLiteral("InitDialog");
        initWindow = hDlg;
    });
    QObject::connect(&cd, &cCommonDialog::FolderChange, [&](QWidget *) { events << QStringLiteral("FolderChange"); });
    QObject::connect(&cd, &cCommonDialog::DialogOK, [&](bool &cancel) {
        events << QStringLiteral("DialogOK");
        cancel = refusals-- > 0;
    });
    QObject::connect(&cd, &cCommonDialog::DialogClose, [&] { events << QStringLiteral("DialogClose"); });
    whenModal<QFileDialog>([&](QFileDialog *dialog) {
        dialog->setDirectory(QDir::tempPath());
        dialog->setDirectory(folder.path());
        typeFileName(dialog, folder.filePath(QStringLiteral("a.txt")));
        accept(dialog);
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_NE(initWindow, nullptr);
        EXPECT_EQ(os::GetWindowLong(initWindow, os::DWL_MSGRESULT), 1);
        accept(dialog);
        closeIfOpen(dialog);
    });
    cd.ShowOpen();
    EXPECT_EQ(cd.FileName(), inFolder(QStringLiteral("a.txt")));
    EXPECT_EQ(events.first(), QStringLiteral("InitDialog"));
    EXPECT_TRUE(events.contains(QStringLiteral("FolderChange")));
    EXPECT_EQ(events.count(QStringLiteral("DialogOK")), 2);
    EXPECT_EQ(events.last(), QStringLiteral("DialogClose"));
    EXPECT_EQ(mDialogHook::HookOwner(), nullptr);
}

TEST_F(CommonDialog, CommandMessagesReachWMCommandByReference)
{
    cd.setHookDialog(true);
    quintptr command = 0;
    QObject::connect(&cd, &cCommonDialog::WMCommand, [&](QWidget *, quintptr &wParam, qintptr &lParam) {
        command = wParam;
        EXPECT_NE(lParam, 0) << "the button";
        wParam = 0; // a handler may change them
    });
    whenModal<QColorDialog>([](QColorDialog *dialog) {
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
    });
    cd.ShowColor();
    EXPECT_EQ(command & 0xFFFF, quintptr(os::IDCANCEL));
}

TEST_F(CommonDialog, InitDialogCanCentreTheDialogOnTheWorkAreaWhenTheOwnerHasNoWindow)
{
    cd.setHookDialog(true);
    QObject ownerWithoutWindow;
    QRect placed;
    QObject::connect(&cd, &cCommonDialog::InitDialog, [&](QWidget *hDlg) {
        cd.CentreDialog(hDlg, &ownerWithoutWindow);
        qint32 left = 0, top = 0, width = 0, height = 0;
        cd.GetDialogSize(hDlg, left, top, width, height);
        placed = QRect(left, top, width, height);
    });
    whenModal<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
    cd.ShowOpen();
    const QRect area = os::GetWorkArea();
    ASSERT_FALSE(placed.isEmpty());
    EXPECT_EQ(placed.left(), area.left() + (area.width() - placed.width()) / 2);
    EXPECT_EQ(placed.top(), area.top() + (area.height() - placed.height()) / 2);
}

TEST(CentreDialog, CentresOverTheOwnersWindowWhenItHasOne)
{
    cCommonDialog cd;
    QWidget owner;
    owner.setGeometry(100, 50, 600, 400);
    owner.show();
    QWidget dialog;
    dialog.setGeometry(0, 0, 200, 100);
    dialog.show();
    cd.CentreDialog(&dialog, &owner);
    const QRect ownerRect = owner.frameGeometry();
    EXPECT_EQ(dialog.frameGeometry().left(), ownerRect.left() + (ownerRect.width() - dialog.frameGeometry().width()) / 2);
    EXPECT_EQ(dialog.frameGeometry().top(), ownerRect.top() + (ownerRect.height() - dialog.frameGeometry().height()) / 2);
}

struct ParseCase {
    const char *name;
    QString fileName;
    QString dir;
    QStringList files;
    qint32 count;
};

TEST(ParseMultiFileName, SplitsEachFormOfFileName)
{
    const ParseCase cases[] = {
        {"TwoFilesOfAMultiSelection",
         QStringLiteral("C:\\dir") + Nul + QStringLiteral("one.txt") + Nul + QStringLiteral("two.txt") + Nul + Nul,
         QStringLiteral("C:\\dir"), {QStringLiteral("one.txt"), QStringLiteral("two.txt")}, 2},
        {"LastBackslashThirdCharacter", QStringLiteral("C:\\file.txt"), QStringLiteral("C:"), {QStringLiteral("file.txt")}, 1},
        {"OnlyBackslashFirstCharacter", QStringLiteral("\\file.txt"), QString(), {QStringLiteral("\\file.txt")}, 1},
    };
    for (const ParseCase &c : cases) {
        SCOPED_TRACE(c.name);
        cCommonDialog cd;
        cd.setFileName(c.fileName);
        QString dir;
        QStringList files;
        qint32 count = 0;
        cd.ParseMultiFileName(dir, files, count);
        EXPECT_EQ(dir, c.dir);
        EXPECT_EQ(files, c.files);
        EXPECT_EQ(count, c.count);
    }
}

TEST(CustomColor, StartsAsTheSystemColoursWithTheRangeRule)
{
    cCommonDialog cd;
    EXPECT_EQ(cd.CustomColor(3), qint32(runtime::GetSysColor(3)));
    EXPECT_EQ(cd.CustomColor(0), qint32(runtime::GetSysColor(0)));
    EXPECT_EQ(cd.CustomColor(16), -1);
    EXPECT_EQ(cd.CustomColor(-1), -1);
    cd.setCustomColor(-1, 0x123456);
    cd.setCustomColor(16, 0x123456);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(cd.CustomColor(i), qint32(runtime::GetSysColor(i)));
    cd.setCustomColor(5, 0x00010203);
    whenModal<QColorDialog>([](QColorDialog *dialog) {
        EXPECT_EQ(QColorDialog::customColor(5), QColor(3, 2, 1));
        dialog->reject();
    });
    cd.ShowColor();
}

TEST(ShowColor, FlagsFollowAnyColorAndTheStartIsTheSystemColoursValue)
{
    struct Row {
        const char *name;
        quint32 flags;
        quint32 shown;
    };
    const Row rows[] = {
        {"AnyColorFalse", 0, os::CC_SOLIDCOLOR | os::CC_RGBINIT},
        {"AnyColorTrue", os::CC_ANYCOLOR, os::CC_ANYCOLOR | os::CC_RGBINIT},
        {"FullOpen", os::CC_FULLOPEN, os::CC_SOLIDCOLOR | os::CC_RGBINIT | os::CC_FULLOPEN},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        cCommonDialog cd;
        cd.setFlags(row.flags);
        cd.setColor(qint32(runtime::vbButtonFace));
        whenModal<QColorDialog>([&row](QColorDialog *dialog) {
            EXPECT_EQ(dialog->property(os::DialogFlagsProperty).toUInt(), row.shown);
            EXPECT_EQ(runtime::fromQColor(dialog->currentColor()), runtime::GetSysColor(runtime::COLOR_BTNFACE));
            dialog->reject();
        });
        cd.ShowColor();
        EXPECT_EQ(cd.Color(), qint32(runtime::vbButtonFace)) << "Cancel leaves Color";
        EXPECT_EQ(cd.Flags(), row.flags) << "the colour dialog leaves Flags";
    }
    cCommonDialog cd;
    whenModal<QColorDialog>([](QColorDialog *dialog) {
        dialog->setCurrentColor(QColor(10, 20, 30));
        accept(dialog);
        closeIfOpen(dialog);
    });
    cd.ShowColor();
    EXPECT_EQ(cd.Color(), qint32(gdi::rgb(10, 20, 30)));
}

TEST(ShowFont, FlagsFollowColourAndSizeLimits)
{
    struct Row {
        const char *name;
        qint32 color;
        qint32 min;
        qint32 max;
        quint32 expected;
        quint32 absent;
    };
    const Row rows[] = {
        {"ColourZeroNoLimits", 0, 0, 0, os::CF_SCREENFONTS | os::CF_INITTOLOGFONTSTRUCT, os::CF_EFFECTS | os::CF_LIMITSIZE},
        {"ColourAndLimits", 0xFF, 6, 30,
         os::CF_SCREENFONTS | os::CF_INITTOLOGFONTSTRUCT | os::CF_EFFECTS | os::CF_LIMITSIZE, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        cCommonDialog cd;
        cd.setFontName(QStringLiteral("DejaVu Sans"));
        cd.setFontSize(12);
        cd.setFontColor(row.color);
        cd.setMin(row.min);
        cd.setMax(row.max);
        cd.setFlags(os::CF_ENABLEHOOK | os::CF_APPLY); // cleared before the dialog
        whenModal<QFontDialog>([&row](QFontDialog *dialog) {
            const quint32 shown = dialog->property(os::DialogFlagsProperty).toUInt();
            EXPECT_EQ(shown & row.expected, row.expected);
            EXPECT_EQ(shown & row.absent, 0u);
            EXPECT_EQ(shown & os::CF_APPLY, 0u);
            EXPECT_NEAR(dialog->currentFont().pointSizeF(), 12.0, 0.5);
            QFont font(QStringLiteral("DejaVu Serif"));
            font.setPointSize(14);
            font.setItalic(true);
            dialog->setCurrentFont(font);
            accept(dialog);
            closeIfOpen(dialog);
        });
        cd.ShowFont();
        EXPECT_EQ(cd.Flags() & row.expected, row.expected);
        EXPECT_EQ(cd.FontName(), QStringLiteral("DejaVu Serif")) << "no NUL padding in the name";
        EXPECT_EQ(cd.FontSize(), 14);
        EXPECT_TRUE(cd.FontItalic());
        EXPECT_EQ(cd.FontColor(), row.color);
    }
}

TEST(FontRecord, HeightFromTheScreensTwipsAndAThirtyTwoByteFaceName)
{
    runtime::Screen::setLogicalDpi(120); // 12 twips per pixel
    runtime::StdFont font(QStringLiteral("A face name that is longer than thirty-two bytes"), 9);
    font.setUnderline(true);
    const os::LOGFONT record = GCommonDialog::FontRecord(font);
    EXPECT_EQ(record.lfHeight, -15);
    EXPECT_EQ(record.lfUnderline, 1);
    EXPECT_EQ(QByteArray(record.lfFaceName, 32), QByteArray("A face name that is longer than "));
    font.setName(QStringLiteral("Abc"));
    font.setSize(8.25); // 8.25 x 20 / 12 = 13.75
    const os::LOGFONT shortName = GCommonDialog::FontRecord(font);
    EXPECT_EQ(shortName.lfHeight, -14);
    EXPECT_EQ(QByteArray(shortName.lfFaceName, 32), QByteArray("Abc") + QByteArray(29, '\0'));
    runtime::Screen::setLogicalDpi(96); // 15 twips per pixel
    font.setSize(1.875);                // 2.5 pixels: the half goes to the even 2
    EXPECT_EQ(GCommonDialog::FontRecord(font).lfHeight, -2);
    runtime::Screen::setLogicalDpi(std::nullopt);
}

TEST(PrintDialog, PrintSetupWithAHookInstallsTheSetupHook)
{
    GCommonDialog dialogs;
    cCommonDialog target;
    bool initialised = false;
    QObject::connect(&target, &cCommonDialog::InitDialog, [&](QWidget *) { initialised = true; });
    os::PrinterDC dc;
    qint32 range = 2;
    qint32 from = 0;
    qint32 to = 0;
    qint16 copies = 1;
    bool toFile = false;
    bool collate = false;
    whenModal<QPageSetupDialog>([](QPageSetupDialog *dialog) {
        const quint32 flags = dialog->property(os::DialogFlagsProperty).toUInt();
        EXPECT_TRUE(flags & os::PD_ENABLESETUPHOOK);
        EXPECT_FALSE(flags & os::PD_ENABLEPRINTHOOK);
        EXPECT_TRUE(flags & os::PD_SELECTION);
        dialog->reject();
    });
    EXPECT_FALSE(dialogs.VBPrintDlg(dc, range, false, from, to, false, copies, true, false, toFile, collate, false,
                                    nullptr, nullptr, os::PD_PRINTSETUP, true, &target));
    EXPECT_TRUE(initialised);
    EXPECT_EQ(dialogs.APIReturn(), 0);
    EXPECT_EQ(dialogs.ExtendedError(), 0);
    EXPECT_EQ(mDialogHook::HookOwner(), nullptr);
}

TEST(PrintDialog, ShowPrinterReturnsTheNamesCopiesAndFillsThePrinterObject)
{
    cCommonDialog cd;
    PartialPrinter printer;
    cd.setObject(&printer);
    cd.setCopies(1);
    whenModal<QPrintDialog>([](QPrintDialog *dialog) {
        auto *copies = dialog->findChild<QSpinBox *>(QStringLiteral("copies"));
        ASSERT_NE(copies, nullptr);
        copies->setValue(2);
        accept(dialog);
        closeIfOpen(dialog);
    });
    cd.ShowPrinter();
    EXPECT_EQ(cd.Copies(), 2);
    EXPECT_FALSE(cd.PrinterName().isEmpty());
    EXPECT_FALSE(cd.PrinterDriver().isEmpty());
    EXPECT_EQ(printer.copies, 2);
    EXPECT_EQ(printer.orientation, os::DMORIENT_PORTRAIT);
    EXPECT_EQ(cd.dialogs().CopyPrintData().dmOrientation, os::DMORIENT_PORTRAIT);
    EXPECT_FALSE(printer.property("PaperSize").isValid()) << "no property is made up on the object";
}

TEST(PageSetup, MarginsComeBackInTheCallersUnits)
{
    GCommonDialog dialogs;
    double margins[8] = {0.5, 0, 0.75, 0, 1.0, 0, 1.25, 0};
    qint16 paper = 0, orientation = 0, quality = 0;
    whenModal<QPageSetupDialog>([](QPageSetupDialog *dialog) { accept(dialog); });
    ASSERT_TRUE(dialogs.VBPageSetupDlg2(nullptr, false, false, false, false, margins[0], margins[1], margins[2],
                                        margins[3], margins[4], margins[5], margins[6], margins[7], paper,
                                        orientation, quality, 0, nullptr, 0, false, nullptr));
    EXPECT_NEAR(margins[0], 0.5, 0.002);
    EXPECT_NEAR(margins[6], 1.25, 0.002);
    EXPECT_GT(paper, 0);
    EXPECT_EQ(orientation, os::DMORIENT_PORTRAIT);
}

TEST(Help, ShowHelpSwallowsFailuresAndSetHelpPositionSendsTheRecord)
{
    QStringList opened;
    os::SetHelpOpener([&opened](const QString &path) {
        opened << path;
        return false; // no viewer on this machine
    });
    cCommonDialog cd;
    cd.setHelpFile(QStringLiteral("/no/such/help.chm"));
    cd.setHelpCommand(os::HELP_CONTENTS);
    cd.ShowHelp();
    EXPECT_TRUE(opened.isEmpty());
    QTemporaryDir folder;
    const QString help = folder.filePath(QStringLiteral("help.chm"));
    QFile file(help);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    cd.setHelpFile(help);
    cd.ShowHelp();
    EXPECT_EQ(opened, QStringList{help});

    cd.SetHelpPosition(11, 22, 333, 444, 1);
    const os::HELPWININFO position = os::HelpWindowPosition();
    EXPECT_EQ(position.wStructSize, 26);
    EXPECT_EQ(position.x, 11);
    EXPECT_EQ(position.y, 22);
    EXPECT_EQ(position.dx, 333);
    EXPECT_EQ(position.dy, 444);
    EXPECT_EQ(position.wMax, 1);
    os::SetHelpOpener(nullptr);
}

TEST(DialogHook, WithoutATargetEveryMessageIsAnsweredZero)
{
    GCommonDialog dialogs;
    os::NMHDR header{nullptr, 0, os::CDN_FILEOK};
    EXPECT_EQ(dialogs.DialogHook(nullptr, os::WM_NOTIFY, 0, reinterpret_cast<qintptr>(&header)), 0);
    EXPECT_EQ(dialogs.DialogHook(nullptr, os::WM_INITDIALOG, 0, 0), 0);
    mDialogHook::SetHookOwner(&dialogs);
    EXPECT_EQ(mDialogHook::FileDialogHook(nullptr, os::WM_INITDIALOG, 0, 0), 0);
    {
        GCommonDialog ending;
        mDialogHook::SetHookOwner(&ending);
    }
    EXPECT_EQ(mDialogHook::HookOwner(), nullptr) << "an owner that ends is not reached again";
}

TEST(Library, TemplateFlagIsDroppedWithoutAModule)
{
    cCommonDialog cd;
    cd.cdLoadLibrary(QStringLiteral("/no/such/library.so"));
    EXPECT_EQ(cd.hInstance(), nullptr);
    cd.setFlags(os::OFN_ENABLETEMPLATE);
    whenModal<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
    cd.ShowOpen();
    EXPECT_EQ(cd.dialogs().ExtendedError(), 0) << "shown, then cancelled";
    cd.cdLoadLibrary(QStringLiteral("shell32"));
    EXPECT_NE(cd.hInstance(), nullptr);
    cd.cdFreeLibrary();
    EXPECT_NE(cd.hInstance(), nullptr) << "hInstance keeps its value";
}

} // namespace

#include "test_common_dialog.moc"
