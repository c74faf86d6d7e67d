// Window translation and the language chooser on real widgets.
#include "dictionary/LanguageUnit.h"
#include "dictionary/SelectLanguageUnit.h"
#include "dictionary/TranslateWindowUnit.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QApplication &Application()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tests_dictionary";
    static char *argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

const char *const kWords =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<words>\n"
    "<_ListViewForm language0=\"Listanéző\" language1=\"List viewer\"/>\n"
    "<_FileMenu language0=\"Fájl\" language1=\"File\"/>\n"
    "<_Open language0=\"Megnyitás\" language1=\"Open\"/>\n"
    "<_WriteOut language0=\"Kiírás\" language1=\"Write out\"/>\n"
    "<_PDFFormat language0=\"PDF formátumban\" language1=\"In PDF format\"/>\n"
    "<_EmptyList language0=\"Üres lista\" language1=\"Empty list\"/>\n"
    "<_OK language0=\"OK\" language1=\"OK\"/>\n"
    "<_Cancel language0=\"Mégse\" language1=\"Cancel\"/>\n"
    "<_Controlbreaks language0=\"Csoportváltások\" language1=\"Control breaks\"/>\n"
    "<_Hungarian language0=\"Magyar\" language1=\"Hungarian\"/>\n"
    "<_English language0=\"Angol\" language1=\"English\"/>\n"
    "<_Total language0=\"Összesen\" language1=\"Total\"/>\n"
    "<_Cost language0=\"Költség\" language1=\"Cost\"/>\n"
    "<_Piece language0=\"Darabszám\" language1=\"Number of calls\"/>\n"
    "<_View language0=\"Nézet\" language1=\"View\"/>\n"
    "<_Duration language0=\"Időtartam\" language1=\"Duration\"/>\n"
    "<_Impulse language0=\"Impulzus\" language1=\"Impulses\"/>\n"
    "<_RingTime language0=\"Csengetési idő\" language1=\"Ring time\"/>\n"
    "<_SelectLanguageForm language0=\"Nyelv kiválasztása\" language1=\"Select language\"/>\n"
    "</words>\n";

class TranslateWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application();
        testsupport::WriteFile(Folder.File("Language.XML"), kWords);
        Module = std::make_unique<dictionary::TLanguageModule>(Folder.File("Language.XML"), "TESTPROGRAM");
        dictionary::SetLanguageIndex(1);
    }
    void TearDown() override
    {
        Module.reset();
        dictionary::SetLanguageIndex(0);
    }

    testsupport::TTempFolder Folder;
    std::unique_ptr<dictionary::TLanguageModule> Module;
};

TEST_F(TranslateWindowTest, EveryTextBearingPartIsTranslated)
{
    QMainWindow window;
    window.setWindowTitle("_ListViewForm");
    QMenu *fileMenu = window.menuBar()->addMenu("_FileMenu");
    QAction *open = fileMenu->addAction("_&Open");
    QMenu *writeOut = fileMenu->addMenu("_WriteOut");
    QAction *pdf = writeOut->addAction("_PDFFormat");
    pdf->setToolTip("_Cancel");

    auto *central = new QWidget(&window);
    auto *layout = new QVBoxLayout(central);
    auto *label = new QLabel("_EmptyList", central);
    auto *button = new QPushButton("_OK", central);
    button->setToolTip("_Cancel");
    auto *group = new QGroupBox("_Controlbreaks", central);
    auto *plain = new QCheckBox("Plain text & more", group);
    auto *combo = new QComboBox(central);
    combo->addItems({"_Hungarian", "_English", "fixed"});
    auto *edit = new QLineEdit("_Total:", central);
    auto *memo = new QPlainTextEdit("_Cost\nfree line\n_Piece!", central);
    auto *tabs = new QTabWidget(central);
    tabs->addTab(new QWidget, "_View");
    auto *tree = new QTreeWidget(central);
    tree->setHeaderLabels({"_Piece", "_Cost"});
    auto *parent = new QTreeWidgetItem(tree, QStringList{"_Duration"});
    new QTreeWidgetItem(parent, QStringList{"_Impulse"});
    auto *table = new QTableWidget(1, 1, central);
    table->setHorizontalHeaderItem(0, new QTableWidgetItem("_Duration"));
    table->setItem(0, 0, new QTableWidgetItem("_Impulse"));
    auto *list = new QListWidget(central);
    list->addItem("_RingTime");
    for (QWidget *w : std::initializer_list<QWidget *>{label, button, group, combo, edit, memo, tabs, tree, table, list})
        layout->addWidget(w);
    window.setCentralWidget(central);

    dictionary::TranslateWindow(&window);

    EXPECT_EQ(window.windowTitle(), "List viewer");
    EXPECT_EQ(fileMenu->title(), "File");
    EXPECT_EQ(open->text(), "Open");
    EXPECT_EQ(writeOut->title(), "Write out");
    EXPECT_EQ(pdf->text(), "In PDF format");
    EXPECT_EQ(pdf->toolTip(), "Cancel");
    EXPECT_EQ(label->text(), "Empty list");
    EXPECT_EQ(button->text(), "OK");
    EXPECT_EQ(button->toolTip(), "Cancel");
    EXPECT_EQ(group->title(), "Control breaks");
    EXPECT_EQ(plain->text(), "Plain text & more");
    EXPECT_EQ(combo->itemText(0), "Hungarian");
    EXPECT_EQ(combo->itemText(1), "English");
    EXPECT_EQ(combo->itemText(2), "fixed");
    EXPECT_EQ(edit->text(), "Total:");
    EXPECT_EQ(memo->toPlainText(), "Cost\nfree line\nNumber of calls!");
    EXPECT_EQ(tabs->tabText(0), "View");
    EXPECT_EQ(tree->headerItem()->text(0), "Number of calls");
    EXPECT_EQ(tree->headerItem()->text(1), "Cost");
    EXPECT_EQ(parent->text(0), "Duration");
    EXPECT_EQ(parent->child(0)->text(0), "Impulses");
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "Duration");
    EXPECT_EQ(table->item(0, 0)->text(), "Impulses");
    EXPECT_EQ(list->item(0)->text(), "Ring time");
    // Every key was known, so the dictionary did not grow.
    EXPECT_FALSE(Module->Modified());
}

TEST_F(TranslateWindowTest, AccentsSurviveTheTrip)
{
    dictionary::SetLanguageIndex(0);
    QLabel label("_RingTime");
    label.setWindowTitle("_ListViewForm");
    dictionary::TranslateWindow(&label);
    EXPECT_EQ(label.text(), QString::fromUtf8("Csengetési idő"));
    EXPECT_EQ(label.windowTitle(), QString::fromUtf8("Listanéző"));
}

TEST_F(TranslateWindowTest, TranslatingAgainFollowsTheLanguage)
{
    QMainWindow window;
    QMenu *view = window.menuBar()->addMenu("_View");
    auto *label = new QLabel("_EmptyList", &window);
    auto *status = new QLabel("_Piece", &window);
    dictionary::TranslateWindow(&window);
    EXPECT_EQ(view->title(), "View");
    status->setText("Number of item records: 4");   // set by the program since
    dictionary::SetLanguageIndex(0);
    dictionary::TranslateWindow(&window);
    EXPECT_EQ(view->title(), QString::fromUtf8("Nézet"));
    EXPECT_EQ(label->text(), QString::fromUtf8("Üres lista"));
    EXPECT_EQ(status->text(), "Number of item records: 4");
}

TEST_F(TranslateWindowTest, UnknownKeyIsShownAsItselfAndAdded)
{
    QPushButton button("_Brand new:");
    dictionary::TranslateWindow(&button);
    EXPECT_EQ(button.text(), "_Brand new:");   // not an element name: left alone
    QPushButton other("_BrandNew:");
    dictionary::TranslateWindow(&other);
    EXPECT_EQ(other.text(), "_BrandNew:");
    EXPECT_TRUE(Module->Modified());
    EXPECT_TRUE(Module->Words.Root().child("_BrandNew"));
}

TEST_F(TranslateWindowTest, LanguageChooserReturnsTheChosenIndex)
{
    dictionary::TSelectLanguageForm form;
    EXPECT_EQ(form.objectName(), "_SelectLanguageForm");
    EXPECT_EQ(form.windowTitle(), "Select language");
    ASSERT_EQ(form.ComboBox1->count(), 2);
    EXPECT_EQ(form.ComboBox1->itemText(0), "Hungarian");
    EXPECT_EQ(form.ComboBox1->itemText(1), "English");
    EXPECT_EQ(form.OKButton->text(), "OK");
    EXPECT_EQ(form.CancelButton->text(), "Cancel");
    EXPECT_EQ(form.LanguageIndex(), 0);

    QTimer::singleShot(0, &form, [&form] {
        form.ComboBox1->setCurrentIndex(1);
        form.OKButton->click();
    });
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    EXPECT_EQ(form.LanguageIndex(), 1);

    dictionary::TSelectLanguageForm cancelled;
    QTimer::singleShot(0, &cancelled, [&cancelled] { cancelled.CancelButton->click(); });
    EXPECT_EQ(cancelled.exec(), QDialog::Rejected);
}

}  // namespace
