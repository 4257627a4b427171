// The print menu as a user sees it: its lists, closing with no destination, the PDF
// button, printing raw and into a PDF file, the archive copy, the spreadsheet and the
// preview, with the desktop's programs and message boxes replaced by recorders.
#include "report/qt/menu_stampa.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QImage>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <set>
#include <span>
#include <tuple>

#include "print/qt_app.h"
#include "report/print_fixture.h"
#include "support/testdir.h"

namespace zt::report {
namespace {

using namespace expect;

// Code 6 = 1: through an installed printer, 8 points compressed, 10 normal.
constexpr std::array<int, 12> kLaser = {8, 0, 0, 0, 0, 1, 10, 0, 0, 0, 0, 0};
constexpr std::array<int, 12> kNoMargin = {0, 0, 0, 0, 0, 0, 66, 66, 0, 0, 0, 0};
// Raw: set-up bytes 27 15 0 0 0 compressed, 27 18 0 0 0 normal; top margin 1.
constexpr std::array<int, 12> kRaw = {27, 15, 0, 0, 0, 0, 27, 18, 0, 0, 0, 0};
constexpr std::array<int, 12> kMargin1 = {0, 0, 0, 0, 0, 1, 66, 66, 0, 0, 0, 0};

QStringList itemsOf(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

class PrintMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::printApp();
        state.workDir = dir.path();
        state.hotelNumber = 1;
        folder.counters(1, 12, 10);
        folder.setStampa(5, kLaser, kNoMargin);
        folder.setStampa(2, kRaw, kMargin1);
        folder.report(numberedLines(25));
        hooks.message = [this](const QString& title, const QString& text, QMessageBox::Icon) {
            messages << title + ": " + text;
        };
        hooks.open = [this](const std::filesystem::path& f) {
            opened.push_back(f);
            return openSucceeds;
        };
        hooks.printers = [this] { return printers; };
        hooks.clock = [] { return Stamp{2024, 3, 5, 9, 7}; };
    }
    void TearDown() override { clearWorkstation(); }

    void click(MenuStampa& menu, int index) { QTest::mouseClick(menu.tst(index), Qt::LeftButton); }

    test::TestDir dir;
    PrintFolder folder{dir};
    ProgramState state;
    MenuStampa::Hooks hooks;
    QStringList messages;
    std::vector<std::filesystem::path> opened;
    bool openSucceeds = true;
    std::vector<std::string> printers;
};

TEST_F(PrintMenuTest, WithNoDestinationTheMenuClosesAsSoonAsItIsShown) {
    folder.destination("Altro albergo", 2, "x.prn", 2);
    MenuStampa menu(state, nullptr, hooks);
    menu.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(menu.result(), QDialog::Rejected);
    EXPECT_EQ(menu.combo1()->count(), 0);
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
}

TEST_F(PrintMenuTest, ControlsListsAndInstalledPrinters) {
    folder.destination("Matrice", 2, "out.prn");
    folder.destination("PDF Uno", 5, "Stampante PDF");
    {
        MenuStampa menu(state, nullptr, hooks);
        menu.show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(menu.isVisible());
        EXPECT_EQ(menu.windowTitle(), "Stampe non modificabili");
        EXPECT_EQ(itemsOf(menu.combo1()), QStringList({"Matrice", "PDF Uno"}));
        EXPECT_EQ(menu.combo1()->currentText(), "Matrice");
        EXPECT_EQ(itemsOf(menu.combo2()), QStringList({"<nessuna stampante>"}));
        EXPECT_EQ(menu.findChild<QPushButton*>("Tst_5"), menu.tst(5));
        click(menu, 5);
        EXPECT_FALSE(menu.isVisible());
    }
    printers = {"HP_Ufficio", "Canon"};
    MenuStampa menu(state, nullptr, hooks);
    EXPECT_EQ(itemsOf(menu.combo2()), QStringList({"HP_Ufficio", "Canon"}));
    EXPECT_EQ(menu.combo2()->currentIndex(), -1);  // no printer replaces the destination's device
}

TEST_F(PrintMenuTest, PdfButtonWithoutAPdfDestinationOnlyWarns) {
    folder.destination("Matrice", 2, "out.prn");
    folder.destination("pdf minuscolo", 5, "x");
    MenuStampa menu(state, nullptr, hooks);
    menu.show();
    QCoreApplication::processEvents();
    click(menu, 2);
    EXPECT_EQ(messages, QStringList({"Stampa: Nessuna stampante PDF impostata!"}));
    EXPECT_FALSE(menu.lastPrint());
    EXPECT_FALSE(std::filesystem::exists(dir / "out.prn"));
    EXPECT_TRUE(menu.isVisible());
}

TEST_F(PrintMenuTest, PdfButtonPrintsTheLastPdfDestinationIntoAFileBesideTheArchive) {
    folder.destination("PDF Uno", 5, "Stampante PDF");
    folder.destination("Matrice", 2, "out.prn");
    folder.destination("Stampa PDF", 5, "Stampante PDF");
    folder.destination("pdf minuscolo", 5, "x");
    // Pages: 5 lines up to the form feed, then 10, 10 and 5.
    std::vector<std::string> lines = numberedLines(5);
    lines.push_back("\f");
    for (int i = 6; i <= 30; ++i) lines.push_back("riga " + std::to_string(i));
    folder.report(lines);
    printers = {"HP_Ufficio"};

    MenuStampa menu(state, nullptr, hooks);
    menu.show();
    QCoreApplication::processEvents();
    click(menu, 2);
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
    EXPECT_EQ(menu.combo1()->currentText(), "Stampa PDF");
    const auto pdf = dir / "doc" / "fd202403050907.pdf";
    ASSERT_TRUE(menu.lastPrint());
    EXPECT_EQ(menu.lastPrint()->route, PrintRoute::PdfFile);
    EXPECT_EQ(menu.lastPrint()->target, pdf.string());
    EXPECT_EQ(test::pdfPageCount(pdf.string()), 4);
    EXPECT_EQ(opened, std::vector<std::filesystem::path>{pdf});
    EXPECT_TRUE(std::filesystem::exists(dir / "doc" / "fd202403050907.doc"));

    // Compressed: 12 lines a page, the form feed still ends the first: 5, 12, 12, 1.
    menu.chk()->setChecked(true);
    click(menu, 3);
    EXPECT_EQ(test::pdfPageCount(pdf.string()), 4);
    folder.report(numberedLines(25));
    click(menu, 3);
    EXPECT_EQ(test::pdfPageCount(pdf.string()), 3);

    // Landscape: the page is wider than high.
    const auto mediaBox = [&] {
        const std::string bytes = dir.read("doc/fd202403050907.pdf");
        const auto at = bytes.find("/MediaBox");
        return at == std::string::npos ? std::string() : bytes.substr(at, bytes.find(']', at) - at + 1);
    };
    const std::string portrait = mediaBox();
    menu.chk2()->setChecked(true);
    click(menu, 3);
    EXPECT_EQ(portrait, "/MediaBox [0 0 595.000000 842.000000]");  // A4
    EXPECT_EQ(mediaBox(), "/MediaBox [0 0 842.000000 595.000000]");
    EXPECT_EQ(test::pdfPageCount(pdf.string()), 3);

    // The viewer that fails to start is told.
    openSucceeds = false;
    click(menu, 3);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("Impossibile aprire")) << messages[0].toStdString();
}

TEST_F(PrintMenuTest, RawPrintingWritesTheDeviceAndAChosenPrinterReplacesIt) {
    folder.destination("Matrice", 2, "out.prn");
    folder.report({"uno", "d\xE8"});
    printers = {"Virtuale"};
    MenuStampa menu(state, nullptr, hooks);
    menu.show();
    QCoreApplication::processEvents();
    menu.chk()->setChecked(true);
    click(menu, 3);
    EXPECT_EQ(dir.read("out.prn"), std::string("\x1B\x0F\0\0\0 \r\nuno\r\nde'\r\n\f \r\n", 22));
    ASSERT_TRUE(menu.lastPrint());
    EXPECT_EQ(menu.lastPrint()->target, (dir / "out.prn").string());

    // A printer chosen in the second list is the device (here a file of that name).
    menu.chk()->setChecked(false);
    menu.combo2()->setCurrentIndex(0);
    click(menu, 3);
    EXPECT_EQ(dir.read("Virtuale"), std::string("\x1B\x12\0\0\0 \r\nuno\r\nde'\r\n\f \r\n", 22));

    // A destination whose TipoStampa has no SetStampa record: every code 0, so five 0
    // set-up bytes and no top margin.
    folder.destination("Senza codici", 99, "plain.prn");
    // A destination without a device is an error shown, and the menu stays.
    folder.destination("Senza linea", 2, "");
    MenuStampa second(state, nullptr, hooks);
    second.show();
    QCoreApplication::processEvents();
    second.combo1()->setCurrentIndex(1);
    click(second, 3);
    EXPECT_EQ(dir.read("plain.prn"), std::string("\0\0\0\0\0uno\r\nde'\r\n\f", 16));
    second.combo1()->setCurrentIndex(2);
    click(second, 3);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("Senza linea")) << messages[0].toStdString();
    EXPECT_TRUE(second.isVisible());
}

TEST_F(PrintMenuTest, ArchiveCopySpreadsheetAndPreview) {
    folder.destination("Matrice", 2, "out.prn");
    std::vector<int> previewPages;
    hooks.preview = [&](Anteprima& preview) { previewPages.push_back(preview.pageCount()); };
    MenuStampa menu(state, nullptr, hooks);
    menu.show();
    QCoreApplication::processEvents();
    click(menu, 0);
    click(menu, 1);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], dir / "doc" / "fd202403050907.doc");
    EXPECT_EQ(opened[1], dir / "fd.csv");
    EXPECT_TRUE(std::filesystem::exists(dir / "fd.csv"));

    // The preview pages by the destination's page length: 10 lines, 12 compressed.
    click(menu, 4);
    menu.chk()->setChecked(true);
    click(menu, 4);
    EXPECT_EQ(previewPages, (std::vector<int>{3, 3}));
    folder.report(numberedLines(24));
    click(menu, 4);
    EXPECT_EQ(previewPages.back(), 2);

    // A launch that fails is told.
    openSucceeds = false;
    click(menu, 0);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("fd202403050907.doc")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].startsWith("Stampa: ")) << messages[0].toStdString();
}

// Each time the menu becomes active again (here after the preview) it reads the hotel's
// options and the destinations again and selects the first destination.
TEST_F(PrintMenuTest, BecomingActiveAgainReadsTheDestinationsAndOptionsAgain) {
    folder.destination("Matrice", 2, "out.prn");
    folder.destination("Seconda", 2, "due.prn");
    folder.report({"d\xE8"});
    hooks.preview = [&](Anteprima& preview) {
        folder.destination("Terza", 2, "tre.prn");
        folder.options("K");
        preview.show();
        QCoreApplication::processEvents();
        preview.close();
        QCoreApplication::processEvents();
    };
    MenuStampa menu(state, nullptr, hooks);
    menu.show();
    QCoreApplication::processEvents();
    menu.combo1()->setCurrentIndex(1);
    click(menu, 4);
    menu.activateWindow();  // where the platform gives it back itself, this changes nothing
    QCoreApplication::processEvents();
    EXPECT_EQ(itemsOf(menu.combo1()), QStringList({"Matrice", "Seconda", "Terza"}));
    EXPECT_EQ(menu.combo1()->currentText(), "Matrice");
    click(menu, 3);
    EXPECT_EQ(dir.read("out.prn"), std::string("\x1B\x12\0\0\0 \r\nd\xE8\r\n\f \r\n", 16));  // "K": not folded
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
}

// A destination chosen in the drop-down with the mouse stays chosen, and "S&tampa"
// prints to it. Under a window manager the menu is deactivated while its list is open
// and activated again when it closes: that is no new activation.
TEST_F(PrintMenuTest, ADestinationChosenInTheDropDownIsTheOnePrinted) {
    folder.destination("Laser", 2, "laser.prn");
    folder.destination("Aghi", 2, "aghi.prn");
    folder.report({"riga"});
    MenuStampa menu(state, nullptr, hooks);
    menu.show();
    QApplication::setActiveWindow(&menu);
    QCoreApplication::processEvents();
    ASSERT_EQ(menu.combo1()->currentText(), "Laser");
    QTest::mouseClick(menu.combo1(), Qt::LeftButton);  // opens the drop-down
    QCoreApplication::processEvents();
    QAbstractItemView* view = menu.combo1()->view();
    ASSERT_TRUE(view->isVisible());
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&menu, &deactivate);
    // The list takes a click only after the double-click interval (a press that opened it
    // and its release are not a choice).
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    const QRect aghi = view->visualRect(menu.combo1()->model()->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, aghi.center());
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->isVisible());
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&menu, &activate);
    QApplication::setActiveWindow(&menu);
    QCoreApplication::processEvents();
    EXPECT_EQ(menu.combo1()->currentText(), "Aghi");
    click(menu, 3);
    EXPECT_EQ(dir.read("aghi.prn"), std::string("\x1B\x12\0\0\0 \r\nriga\r\n\f \r\n", 18));
    EXPECT_FALSE(std::filesystem::exists(dir / "laser.prn"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
}

// The preview opened from the menu, its "E-&mail" without a mail sender and its "Sa&lva"
// into a missing folder: each message box over the preview draws its text. The picture
// is what the platform holds for the box's window (its backing store, offscreen), not a
// fresh rendering of the widget as QWidget::grab() makes: it equals that rendering, is
// not one solid colour, is light with dark letters, as the menu's own boxes are.
TEST_F(PrintMenuTest, MessageBoxesOverThePreviewDrawTheirText) {
    folder.destination("Laser", 2, "laser.prn");
    folder.report({"riga"});
    hooks.message = nullptr;
    hooks.previewHooks.findMailer = [] { return QString(); };
    hooks.previewHooks.saveName = [this](const QString&) {
        return QString::fromStdString((dir / "manca" / "x.txt").string());
    };
    for (const auto& [button, title, words] :
         {std::tuple{"Email", "E-mail", "Spedix.exe"}, {"Salva", "Salva", "manca"}}) {
        SCOPED_TRACE(button);
        MenuStampa menu(state, nullptr, hooks);
        menu.show();
        QApplication::setActiveWindow(&menu);
        QCoreApplication::processEvents();
        QImage picture, drawn;
        QString shownTitle, shownText;
        QTimer::singleShot(0, [&, button = button] {
            auto* preview = qobject_cast<Anteprima*>(QApplication::activeModalWidget());
            if (!preview) return;
            QTimer::singleShot(0, [&, preview] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    EXPECT_TRUE(QTest::qWaitForWindowExposed(box));
                    drawn = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
                    const auto shown = [&] {
                        return box->screen()->grabWindow(box->winId()).toImage().convertToFormat(QImage::Format_RGB32);
                    };  // the platform shows what the box draws
                    EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == drawn; }));
                    picture = shown();
                    shownTitle = box->windowTitle();
                    shownText = box->text();
                    box->accept();
                }
                preview->accept();
            });
            preview->findChild<QPushButton*>(button)->click();
        });
        click(menu, 4);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(shownTitle, title);
        EXPECT_TRUE(shownText.contains(words)) << shownText.toStdString();
        const std::span pixels(reinterpret_cast<const QRgb*>(picture.constBits()), picture.sizeInBytes() / 4);
        const std::set<QRgb> colours(pixels.begin(), pixels.end());
        const auto textPixels = std::count_if(pixels.begin(), pixels.end(), [](QRgb px) { return qGray(px) < 100; });
        EXPECT_GT(colours.size(), 8u);  // not one solid colour
        const QColor background = picture.pixelColor(2, 2);
        EXPECT_GT(qGray(background.rgb()), 150) << background.name().toStdString();  // a light box, not black
        EXPECT_GT(textPixels, 100);  // the dark letters of the text
        EXPECT_LT(textPixels, picture.width() * picture.height() / 4);
    }
}

// Through a printer or into a PDF file every page begins with one blank in Times New
// Roman at the size of Compresso code 1, then the top margin, then the report's lines.
TEST_F(PrintMenuTest, EveryPrintedPageBeginsWithABlankAtTheCompressedSize) {
    // Normal printing at 10 points (code 7); the blank at 8 or at 30 points (code 1).
    folder.setStampa(6, {8, 0, 0, 0, 0, 1, 10, 0, 0, 0, 0, 0}, kMargin1);
    folder.setStampa(7, {30, 0, 0, 0, 0, 1, 10, 0, 0, 0, 0, 0}, kMargin1);
    folder.destination("PDF piccolo", 6, "Stampante PDF");
    folder.destination("PDF grande", 7, "Stampante PDF");
    folder.report(numberedLines(15));  // pages of 10 and 5 lines
    const auto firstLines = [&](const std::string& destination) {
        PrintRequest request;
        request.workDir = dir.path();
        request.setup = readPrintSetup(dir.path(), destination, 1);
        request.forcePdf = dir / (destination + ".pdf");
        printReport(request, {});
        std::vector<double> tops;  // the top of each page's first line
        for (const auto& w : test::pdfWords(request.forcePdf->string()))
            if (w.text == "riga" && static_cast<int>(tops.size()) < w.page) tops.push_back(w.yMin);
        return tops;
    };
    const auto small = firstLines("PDF piccolo"), large = firstLines("PDF grande");
    ASSERT_EQ(small.size(), 2u);
    ASSERT_EQ(large.size(), 2u);
    EXPECT_NEAR(small[1], small[0], 0.5);  // the second page begins as the first
    EXPECT_NEAR(large[1], large[0], 0.5);
    // 22 points more of blank: a line of a serif font is about 1.1-1.2 times its size.
    EXPECT_NEAR(large[0] - small[0], 22 * 1.17, 22 * 0.12);
    EXPECT_GT(large[0], 30 + 10);  // at least the 30-point blank and one 10-point margin line
}

TEST_F(PrintMenuTest, AFailedArchiveCopyIsToldWhenTheMenuShows) {
    folder.destination("Matrice", 2, "out.prn");
    dir.write("doc", "a file, not a folder");
    MenuStampa menu(state, nullptr, hooks);
    menu.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("copia d'archivio")) << messages[0].toStdString();
    click(menu, 0);  // nothing to open: told again, nothing launched
    EXPECT_EQ(messages.size(), 2);
    EXPECT_TRUE(opened.empty());
}

}  // namespace
}  // namespace zt::report
