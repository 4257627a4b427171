// The print menu's logic: settings read from the printer files, the device, the archive
// copy, and the bytes of raw printing with and without the "U" and "K" options.
#include "report/print_menu_logic.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "report/print_fixture.h"
#include "support/testdir.h"

namespace zt::report {
namespace {

using namespace expect;

// Compresso: set-up bytes 27 15 1 2 3 compressed and 27 18 4 5 6 normal, code 6 = 0 (raw).
constexpr std::array<int, 12> kRawCompresso = {27, 15, 1, 2, 3, 0, 27, 18, 4, 5, 6, 0};
// Grassetto: top margin 2, physical length 20 compressed and 15 normal.
constexpr std::array<int, 12> kGrassetto = {0, 0, 0, 0, 0, 2, 20, 15, 0, 0, 0, 0};

class PrintLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.destination("Matrice", 3, "stampa.prn");
        folder.setStampa(3, kRawCompresso, kGrassetto);
        folder.counters(1, 12, 10);
    }
    void TearDown() override { clearWorkstation(); }

    // The raw bytes of `lines` for destination "Matrice" of hotel 1.
    std::string raw(const std::vector<std::string>& lines, const std::string& options, bool compressed = false) {
        const auto setup = readPrintSetup(dir.path(), "Matrice", 1);
        return rawPrintBytes(lines, setup, PrintOptions{compressed, false, false}, options);
    }

    test::TestDir dir;
    PrintFolder folder{dir};
};

TEST_F(PrintLogicTest, WithUEveryPageHoldsExactlyThePhysicalLength) {
    // 25 lines, 10 a page: pages of 10, 10 and 5 lines, each after 2 margin lines and
    // padded with empty lines to 15; the end of the last page prints the margin again.
    const auto lines = numberedLines(25);
    std::string expected = "\x1B\x12\x04\x05\x06";
    for (int first : {1, 11, 21}) {
        expected += " \r\n \r\n";
        const int last = std::min(first + 9, 25);
        for (int i = first; i <= last; ++i) expected += "riga " + std::to_string(i) + "\r\n";
        for (int n = 2 + (last - first + 1); n < 15; ++n) expected += "\r\n";
    }
    expected += " \r\n \r\n";
    const std::string out = raw(lines, "U");
    EXPECT_EQ(out, expected);
    EXPECT_EQ(out.find('\f'), std::string::npos);
    EXPECT_EQ(splitCrLf(out).size() - 1, 3u * 15u + 2u);  // lines of the output

    // Compressed: codes 1-5, 12 lines a page, paper of 20 lines.
    const std::string compressed = raw(lines, "U", true);
    ASSERT_EQ(compressed.substr(0, 5), std::string("\x1B\x0F\x01\x02\x03", 5));
    EXPECT_EQ(splitCrLf(compressed.substr(5)).size() - 1, 3u * 20u + 2u);
    std::string firstPage = " \r\n \r\n";
    for (int i = 1; i <= 12; ++i) firstPage += "riga " + std::to_string(i) + "\r\n";
    for (int n = 14; n < 20; ++n) firstPage += "\r\n";
    EXPECT_EQ(compressed.substr(5, firstPage.size()), firstPage);
}

TEST_F(PrintLogicTest, WithoutUPagesEndWithAFormFeedAndFormFeedLinesEndPages) {
    // A page ends after 10 lines, at a form-feed line (not printed) and at the end of the
    // file; form-feed lines with nothing before them add no empty page.
    std::vector<std::string> lines = {"\f", "a", "b", "\f", "\f"};
    for (const auto& l : numberedLines(12)) lines.push_back(l);
    lines.push_back("\f");
    const std::string margin = " \r\n \r\n";
    std::string expected = std::string("\x1B\x12\x04\x05\x06") + margin + "a\r\nb\r\n\f" + margin;
    for (int i = 1; i <= 10; ++i) expected += "riga " + std::to_string(i) + "\r\n";
    expected += "\f" + margin + "riga 11\r\nriga 12\r\n\f" + margin;
    EXPECT_EQ(raw(lines, ""), expected);

    // No lines, no page: the set-up bytes and the top margin.
    EXPECT_EQ(raw({}, ""), "\x1B\x12\x04\x05\x06" + margin);
    EXPECT_EQ(paginate(lines, 0).size(), 2u);  // no length limit: the form feeds alone
}

TEST_F(PrintLogicTest, AccentsAreFoldedUnlessTheOptionsHoldK) {
    // à è é ì ù ò in Windows-1252; the box's vertical bar, right-hand tee (0xB4, the
    // byte of ´) and corner stay.
    const std::string line = "\xB3 citt\xE0 \xE8 \xE9 l\xEC gi\xF9 per\xF2 \xB4 \xC4\xBF";
    // A cell without blanks to spare gets the bare letters, so its border stays.
    const std::string folded = "\xB3 citta e e li giu pero \xB4 \xC4\xBF";
    const std::string head = "\x1B\x12\x04\x05\x06 \r\n \r\n";
    EXPECT_EQ(raw({line}, ""), head + folded + "\r\n\f \r\n \r\n");
    EXPECT_EQ(raw({line}, "K"), head + line + "\r\n\f \r\n \r\n");
    std::string padding;
    for (int n = 3; n < 15; ++n) padding += "\r\n";
    EXPECT_EQ(raw({line}, "UK"), head + line + "\r\n" + padding + " \r\n \r\n");
    EXPECT_EQ(foldAccents("\xC0\xC8\xC9"), "\xC0\xC8\xC9");  // the box's corners and tees stay
    // Every box byte, alone, between cells and after accents, is kept as it is.
    for (const char b : {'\xDA', '\xBF', '\xC0', '\xD9', '\xC4', '\xB3', '\xC3', '\xB4', '\xC2', '\xC1', '\xC5'}) {
        const std::string one(1, b);
        EXPECT_EQ(foldAccents(one), one);
        EXPECT_EQ(foldAccents(one + " pi\xF9  " + one + "x" + one), one + " piu' " + one + "x" + one);
    }
    // The title line of "Presenze x Età": the apostrophe takes a blank of the longest run,
    // every border keeps its column; text after the last border simply grows.
    const std::string title = "\xB3 08/12/2026 Zentoria su Presenze x Et\xE0-Generale      10:22\xB3";
    const std::string titleFolded = foldAccents(title);
    EXPECT_EQ(titleFolded, "\xB3 08/12/2026 Zentoria su Presenze x Eta'-Generale     10:22\xB3");
    EXPECT_EQ(titleFolded.size(), title.size());
    EXPECT_EQ(foldAccents("\xB3 pi\xF9 \xB3 cos\xEC"), "\xB3 piu \xB3 cosi'");
}

TEST_F(PrintLogicTest, SettingsComeFromTheFilesWithTheirDefaults) {
    folder.destination("Laser d'ufficio", 7, "");
    folder.setStampa(7, {8, 0, 0, 0, 0, 1, 11, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 3, 70, 72, 0, 0, 0, 0});
    folder.destination("Senza codici", 99, "lp0");
    folder.counters(4, 50, 55);
    dir.write("FontStp.txt", "  Liberation Mono  \r\naltro\r\n");

    const auto laser = readPrintSetup(dir.path(), "Laser d'ufficio", 4);
    EXPECT_TRUE(laser.hasCodes);
    EXPECT_TRUE(laser.throughPrinter());
    EXPECT_EQ(laser.fontSize(true), 8);
    EXPECT_EQ(laser.fontSize(false), 11);
    EXPECT_EQ(laser.topMargin(), 3);
    EXPECT_EQ(laser.physicalLength(true), 70);
    EXPECT_EQ(laser.physicalLength(false), 72);
    EXPECT_EQ(laser.pageLength(true), 50);
    EXPECT_EQ(laser.pageLength(false), 55);
    EXPECT_EQ(laser.fontName, "Liberation Mono");

    // No SetStampa record, no Contatori record (hotel 0 counts as 1, which has one).
    std::filesystem::remove(dir / "FontStp.txt");
    const auto plain = readPrintSetup(dir.path(), "Senza codici", 0);
    EXPECT_FALSE(plain.hasCodes);
    EXPECT_FALSE(plain.throughPrinter());
    EXPECT_EQ(plain.pageLength(false), 10);
    EXPECT_EQ(plain.setupBytes(false), std::string(5, '\0'));  // every code 0
    EXPECT_EQ(plain.topMargin(), 0);
    EXPECT_EQ(plain.physicalLength(false), 66);
    EXPECT_EQ(plain.fontName, "Courier New");
    EXPECT_EQ(plain.linea, "lp0");
    const auto none = readPrintSetup(dir.path(), "Senza codici", 9);
    EXPECT_EQ(none.pageLength(true), 60);
    EXPECT_EQ(none.pageLength(false), 60);

    // A code that is no byte is an error naming it.
    folder.destination("Rotta", 8, "x");
    folder.setStampa(8, {0, 0, 0, 0, 0, 0, 27, 300, 0, 0, 0, 0}, {});
    try {
        readPrintSetup(dir.path(), "Rotta", 1).setupBytes(false);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("300"), std::string::npos) << e.what();
    }

    EXPECT_EQ(parsePrintCodes("027015abc9"), (PrintCodes{27, 15, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(PrintLogicTest, DestinationsDeviceAndRoute) {
    folder.destination("PDF Uno", 3, "");
    folder.destination("Altro albergo", 3, "", 2);
    folder.destination("Laser PDF", 3, "");
    folder.options("KU");
    PrintMenuLogic logic(dir.path(), 0);
    ASSERT_TRUE(logic.activate());
    EXPECT_EQ(logic.destinations(), (std::vector<std::string>{"Matrice", "PDF Uno", "Laser PDF"}));
    EXPECT_EQ(logic.hotelOptions(), "KU");
    EXPECT_EQ(lastPdfDestination(logic.destinations()), "Laser PDF");
    EXPECT_EQ(lastPdfDestination({"pdf", "Pdf"}), std::nullopt);

    PrintSetup setup = logic.setup("Matrice");
    EXPECT_EQ(chooseDevice(setup, ""), "stampa.prn");
    setenv("Matrice", "/dev/usb/lp0", 1);
    EXPECT_EQ(chooseDevice(setup, ""), "/dev/usb/lp0");
    EXPECT_EQ(chooseDevice(setup, "  "), "/dev/usb/lp0");
    EXPECT_EQ(chooseDevice(setup, kNoPrinter), "/dev/usb/lp0");
    EXPECT_EQ(chooseDevice(setup, "HP_Ufficio"), "HP_Ufficio");
    setenv("Matrice", "", 1);
    EXPECT_EQ(chooseDevice(setup, ""), "stampa.prn");
    unsetenv("Matrice");
    setenv("MATRICE", "/dev/usb/lp1", 1);  // the variable's name in another case
    EXPECT_EQ(chooseDevice(setup, ""), "/dev/usb/lp1");
    unsetenv("MATRICE");

    EXPECT_EQ(choosePrintRoute(setup, "HP", {"HP"}), PrintRoute::Raw);
    setup.compresso[5] = 1;
    EXPECT_EQ(choosePrintRoute(setup, "HP", {"HP"}), PrintRoute::Printer);
    EXPECT_EQ(choosePrintRoute(setup, "Stampante PDF", {"HP"}), PrintRoute::PdfFile);
    EXPECT_EQ(choosePrintRoute(setup, "Stampante PDF", {"Stampante PDF"}), PrintRoute::Printer);
    EXPECT_EQ(choosePrintRoute(setup, "HP2", {"HP"}), PrintRoute::DefaultPrinter);

    EXPECT_EQ(devicePath(dir.path(), "stampa.prn"), dir / "stampa.prn");
    EXPECT_EQ(devicePath(dir.path(), "/dev/usb/lp0"), std::filesystem::path("/dev/usb/lp0"));

    // No destination of hotel 1: the menu has nothing to offer.
    test::TestDir empty;
    PrintFolder{empty};
    PrintMenuLogic none(empty.path(), 1);
    EXPECT_FALSE(none.activate());
    // A missing printer file is an error naming it.
    std::filesystem::remove(empty / "Stampanti.mdb");
    try {
        none.activate();
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("Stampanti"), std::string::npos) << e.what();
    }
}

TEST_F(PrintLogicTest, TheArchiveCopyLiesInsideDocWithThePrefixAndTheStamp) {
    folder.report({"uno", "due"});
    setenv("PCLocal", "03", 1);
    dir.write("03fd", "rapporto 03\r\n");
    PrintMenuLogic logic(dir.path(), 1, [] { return Stamp{2024, 3, 5, 9, 7}; });
    logic.load();
    EXPECT_FALSE(logic.archiveError());
    EXPECT_EQ(logic.archivePath(), dir / "doc" / "03fd202403050907.doc");
    EXPECT_EQ(dir.read("doc/03fd202403050907.doc"), "rapporto 03\r\n");
    EXPECT_EQ(pdfBesideArchive(logic.archivePath()), dir / "doc" / "03fd202403050907.pdf");

    // Without a prefix, and a second copy in the same minute replaces the first.
    clearWorkstation();
    logic.load();
    EXPECT_EQ(dir.read("doc/fd202403050907.doc"), "uno\r\ndue\r\n");
    dir.write("fd", "nuovo\r\n");
    logic.load();
    EXPECT_EQ(dir.read("doc/fd202403050907.doc"), "nuovo\r\n");

    // "doc" that is a file: the failure is kept, saying what failed.
    test::TestDir other;
    other.write("fd", "x\r\n");
    other.write("doc", "not a folder");
    PrintMenuLogic failing(other.path(), 1, [] { return Stamp{2024, 1, 2, 3, 4}; });
    failing.load();
    ASSERT_TRUE(failing.archiveError());
    EXPECT_NE(failing.archiveError()->find("doc"), std::string::npos) << *failing.archiveError();
}

}  // namespace
}  // namespace zt::report
