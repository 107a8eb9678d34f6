#include "update/DL_Properties.h"
#include "update/DownLoad.h"

#include "platform/cCommonDialog.h"
#include "runtime/Form.h"
#include "runtime/Label.h"
#include "runtime/MsgBox.h"
#include "runtime/TextBox.h"
#include "support/ModalDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using testsupport::accept;
using testsupport::closeIfOpen;
using testsupport::typeFileName;
using testsupport::whenModal;

// A form with download controls, as a designer holds them while the page edits them.
class PropertyPageTest : public ::testing::Test {
protected:
    PropertyPageTest()
    {
        first = new DownLoad(&form, QStringLiteral("DL1"));
        second = new DownLoad(&form, QStringLiteral("DL2"));
    }

    runtime::Form form{QStringLiteral("FrmTest")};
    DownLoad *first;
    DownLoad *second;
    DL_Properties page;
};

TEST_F(PropertyPageTest, FieldsCarryTheirTextsAndTheChunkSizes)
{
    EXPECT_EQ(page.Caption(), QStringLiteral("DownLoad_Properties"));
    EXPECT_EQ(page.lblUrl->Caption(), QStringLiteral("Url Of File:"));
    EXPECT_EQ(page.lblSaveLocation->Caption(), QStringLiteral("Save Location:"));
    EXPECT_EQ(page.lblCHUNK->Caption(), QStringLiteral("CHUNK SIZE:"));
    EXPECT_EQ(page.Label1->Caption(), QStringLiteral("* Note - The best chunk size to use on a 56K is 1024."));
    EXPECT_EQ(page.CSD->text(), QStringLiteral("..."));
    EXPECT_EQ(page.Chkpreserve->text(), QStringLiteral("Check to preserve file extension."));
    EXPECT_EQ(page.ChkOC->text(), QStringLiteral("Check to test Internet Connection before downloading."));
    EXPECT_EQ(page.ChkPC->text(), QStringLiteral("Check to prompt user if (s)he would like to overwrite file(s)."));
    QStringList items;
    for (int i = 0; i < page.ChunkCombo->count(); ++i)
        items << page.ChunkCombo->itemText(i);
    EXPECT_EQ(items, QStringList({QStringLiteral("256"), QStringLiteral("512"), QStringLiteral("1024"), QStringLiteral("2048")}));
    EXPECT_EQ(page.ChunkCombo->currentText(), QStringLiteral("Select Chunk Size*"));
    EXPECT_TRUE(page.txtUrl->Text().isEmpty());
    EXPECT_FALSE(page.Changed());
}

TEST_F(PropertyPageTest, AHostsLayoutLeavesRoomForEveryField)
{
    QWidget host;
    auto *layout = new QVBoxLayout(&host);
    auto *hosted = new DL_Properties;
    layout->addWidget(hosted);
    host.adjustSize();
    const QRect room(QPoint(0, 0), hosted->size());
    for (QWidget *field : hosted->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(room.contains(field->geometry())) << field->objectName().toStdString();
}

TEST_F(PropertyPageTest, OnlyTheFirstOfSeveralSelectedControlsIsLoadedAndWritten)
{
    first->setURL(QStringLiteral("http://127.0.0.1/first.7z"));
    first->setSaveLocation(QStringLiteral("C:\\first.7z"));
    first->setCHUNK(512);
    first->setOnlineCheck(true);
    second->setURL(QStringLiteral("http://127.0.0.1/second.7z"));
    page.setSelectedControls({first, second});
    EXPECT_EQ(page.txtUrl->Text(), QStringLiteral("http://127.0.0.1/first.7z"));
    EXPECT_EQ(page.txtSaveLocation->Text(), QStringLiteral("C:\\first.7z"));
    EXPECT_EQ(page.ChunkCombo->currentText(), QStringLiteral("512"));
    EXPECT_FALSE(page.Chkpreserve->isChecked());
    EXPECT_TRUE(page.ChkOC->isChecked());
    EXPECT_TRUE(page.Changed()) << "filling went through the change handlers";

    page.txtUrl->setText(QStringLiteral("http://127.0.0.1/new.7z"));
    page.Chkpreserve->click();
    page.Apply();
    EXPECT_FALSE(page.Changed());
    EXPECT_EQ(first->URL(), QStringLiteral("http://127.0.0.1/new.7z"));
    EXPECT_TRUE(first->KeepType());
    EXPECT_TRUE(first->OnlineCheck()) << "the Boolean followed the box filled from the control";
    EXPECT_EQ(second->URL(), QStringLiteral("http://127.0.0.1/second.7z"));
    EXPECT_FALSE(second->KeepType());
}

TEST_F(PropertyPageTest, ChunkOutsideTheListIsShownAndKept)
{
    first->setCHUNK(777);
    page.setSelectedControls({first});
    EXPECT_EQ(page.ChunkCombo->currentText(), QStringLiteral("777"));
    page.Apply();
    EXPECT_EQ(first->CHUNK(), 777);
    page.ChunkCombo->setCurrentIndex(3);
    EXPECT_TRUE(page.Changed());
    page.Apply();
    EXPECT_EQ(first->CHUNK(), 2048);
}

TEST_F(PropertyPageTest, ChunkThatIsNoNumberIsReportedAndThePageStaysChanged)
{
    page.setSelectedControls({first});
    page.ChunkCombo->setEditText(QStringLiteral("fast"));
    page.txtUrl->setText(QStringLiteral("http://127.0.0.1/x.7z"));
    runtime::MsgBoxRecorder messages;
    page.Apply();
    ASSERT_EQ(messages.calls.size(), 1);
    EXPECT_EQ(messages.calls.first().prompt, QStringLiteral("Invalid property value"));
    EXPECT_TRUE(page.Changed());
    EXPECT_EQ(first->URL(), QStringLiteral("http://127.0.0.1/x.7z")) << "the other fields are written";
}

TEST_F(PropertyPageTest, SaveDialogFillsTheSaveLocationAndACancelLeavesIt)
{
    QTemporaryDir folder;
    page.setSelectedControls({first});
    const QString before = page.txtSaveLocation->Text();
    whenModal<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
    page.CSD->click();
    EXPECT_EQ(page.txtSaveLocation->Text(), before);

    whenModal<QFileDialog>([&folder](QFileDialog *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Please choose a place to save."));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("(*.*) All Files (*.*)")});
        typeFileName(dialog, folder.filePath(QStringLiteral("hwids.7z")));
        accept(dialog);
        closeIfOpen(dialog);
    });
    page.CSD->click();
    EXPECT_EQ(page.txtSaveLocation->Text(), QDir::toNativeSeparators(folder.filePath(QStringLiteral("hwids.7z"))));
    page.Apply();
    EXPECT_EQ(first->SaveLocation(), QDir::toNativeSeparators(folder.filePath(QStringLiteral("hwids.7z"))));
}

TEST_F(PropertyPageTest, ApplyWritesAllSixPropertiesByName)
{
    page.setSelectedControls({first});
    page.txtUrl->setText(QStringLiteral("http://127.0.0.1/files/hwids.7z"));
    page.txtSaveLocation->setText(QStringLiteral("C:\\hwids.7z"));
    page.ChunkCombo->setCurrentIndex(0);
    page.Chkpreserve->click();
    page.ChkOC->click();
    page.ChkPC->click();
    page.Apply();
    EXPECT_EQ(first->URL(), QStringLiteral("http://127.0.0.1/files/hwids.7z"));
    EXPECT_EQ(first->SaveLocation(), QStringLiteral("C:\\hwids.7z"));
    EXPECT_EQ(first->CHUNK(), 256);
    EXPECT_TRUE(first->KeepType());
    EXPECT_TRUE(first->OnlineCheck());
    EXPECT_TRUE(first->PromptOverwrite());
    page.ChkPC->click();
    EXPECT_TRUE(page.Changed());
    page.Apply();
    EXPECT_FALSE(first->PromptOverwrite());
}

TEST(PropertyPageClosing, PageClosedWhileItsSaveDialogIsOpenIsNotTouchedAfterwards)
{
    auto *page = new DL_Properties;
    QPointer<DL_Properties> alive(page);
    whenModal<QFileDialog>([&alive](QFileDialog *dialog) {
        alive->deleteLater();
        EXPECT_TRUE(QTest::qWaitFor([&alive] { return alive.isNull(); }, 2000));
        dialog->reject();
    });
    page->CSD->click();
    EXPECT_TRUE(alive.isNull());
}

} // namespace
