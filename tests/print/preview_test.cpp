// The preview: the report with its box drawn as lines, one page at a time, zoom, saving a
// copy and the hand-off to the mail sender.
#include "report/qt/anteprima.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "print/qt_app.h"
#include "report/print_fixture.h"
#include "support/testdir.h"

namespace zt::report {
namespace {

using namespace expect;

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::printApp();
        clearWorkstation();
        hooks.message = [this](const QString& title, const QString& text, QMessageBox::Icon) {
            messages << title + ": " + text;
        };
    }
    void click(Anteprima& a, const char* name) {
        auto* b = a.findChild<QPushButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void writeReport(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const auto& l : lines) bytes += l + "\r\n";
        dir.write("fd", bytes);
    }

    test::TestDir dir;
    Anteprima::Hooks hooks;
    QStringList messages;
};

TEST_F(PreviewTest, TheBoxIsDrawnWithLinesAndOtherBytesAreWindows1252) {
    writeReport({"\xDA\xC4\xC2\xC4\xBF", "\xB3" "citt\xE0\xB3\xB4", "\xC3\xC4\xC5\xC4\xB4", "\xC0\xC4\xC1\xC4\xD9"});
    Anteprima preview(dir.path(), 60, nullptr, hooks);
    EXPECT_EQ(preview.windowTitle(), "Anteprima di Stampa");
    EXPECT_EQ(preview.text1()->objectName(), "Text1");
    EXPECT_EQ(preview.text1()->toPlainText(),
              QString::fromUtf8("┌─┬─┐\n│città│┤\n├─┼─┤\n└─┴─┘"));
    EXPECT_TRUE(QFontInfo(preview.text1()->font()).fixedPitch());
}

TEST_F(PreviewTest, InizioAndAvantiWalkThePagesAndTheZoomChangesTheFont) {
    auto lines = numberedLines(13);
    lines.insert(lines.begin() + 2, "\f");  // a form feed ends the first page early
    writeReport(lines);
    Anteprima preview(dir.path(), 5, nullptr, hooks);
    const auto text = [&] { return preview.text1()->toPlainText().toStdString(); };
    const auto shown = [&] { return preview.findChild<QLabel*>("Pagina")->text(); };
    auto* avanti = preview.findChild<QPushButton*>("Avanti");
    EXPECT_EQ(preview.pageCount(), 4);
    EXPECT_EQ(text(), "riga 1\nriga 2");
    EXPECT_EQ(shown(), "Pagina 1 di 4");
    click(preview, "Avanti");
    EXPECT_EQ(shown(), "Pagina 2 di 4");
    EXPECT_EQ(text(), "riga 3\nriga 4\nriga 5\nriga 6\nriga 7");
    click(preview, "Avanti");
    EXPECT_EQ(text(), "riga 8\nriga 9\nriga 10\nriga 11\nriga 12");
    click(preview, "Avanti");
    EXPECT_EQ(text(), "riga 13");
    EXPECT_EQ(preview.page(), 3);
    EXPECT_EQ(shown(), "Pagina 4 di 4");
    EXPECT_FALSE(avanti->isEnabled());  // the last page: nothing further
    click(preview, "Avanti");  // the last page stays
    EXPECT_EQ(preview.page(), 3);
    EXPECT_EQ(text(), "riga 13");
    click(preview, "Inizio");
    EXPECT_EQ(text(), "riga 1\nriga 2");
    EXPECT_TRUE(avanti->isEnabled());

    const int size = preview.text1()->font().pointSize();
    click(preview, "Espandi");
    EXPECT_EQ(preview.text1()->font().pointSize(), size + 1);
    click(preview, "Riduci");
    click(preview, "Riduci");
    EXPECT_EQ(preview.text1()->font().pointSize(), size - 1);
    for (int i = 0; i < 40; ++i) click(preview, "Riduci");
    EXPECT_GT(preview.text1()->font().pointSize(), 0);
}

TEST_F(PreviewTest, SaveACopyAndHandTheReportToTheMailSender) {
    writeReport({"\xB3 uno \xB3"});
    const auto copy = dir / "copia.txt";
    hooks.saveName = [&](const QString&) { return QString::fromStdString(copy.string()); };
    QString mailer;
    std::vector<QStringList> started;
    bool startSucceeds = true;
    hooks.findMailer = [&] { return mailer; };
    hooks.startMailer = [&](const QString& program, const QStringList& args) {
        started.push_back(QStringList{program} + args);
        return startSucceeds;
    };
    Anteprima preview(dir.path(), 60, nullptr, hooks);
    click(preview, "Salva");
    EXPECT_EQ(dir.read("copia.txt"), "\xB3 uno \xB3\r\n");
    // A folder that is not there: the message says what to do; then the count of messages
    // goes on from there.
    hooks.saveName = [&](const QString&) { return QString::fromStdString((dir / "manca" / "x.txt").string()); };
    Anteprima failing(dir.path(), 60, nullptr, hooks);
    click(failing, "Salva");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Salva: Impossibile salvare la stampa in ")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("Scegliere una cartella che esiste")) << messages[0].toStdString();
    messages.clear();

    // No mail sender on the PATH: the user is told how to send the report.
    click(preview, "Email");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("Spedix.exe")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QString::fromStdString((dir / "fd").string()))) << messages[0].toStdString();
    EXPECT_TRUE(started.empty());

    mailer = "/opt/posta/Spedix.exe";
    click(preview, "Email");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], QStringList({"/opt/posta/Spedix.exe", QString::fromStdString((dir / "fd").string())}));
    startSucceeds = false;
    click(preview, "Email");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains("/opt/posta/Spedix.exe")) << messages[1].toStdString();
    EXPECT_TRUE(messages[1].contains("Controllare che sia installato")) << messages[1].toStdString();

    // Without a hook the message is the preview's own box, with the button "Ok".
    hooks.message = nullptr;
    mailer.clear();
    Anteprima own(dir.path(), 60, nullptr, hooks);
    QString buttonText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        buttonText = box->buttons().value(0)->text();
        box->accept();
    });
    click(own, "Email");
    EXPECT_EQ(buttonText, "Ok");

    // A report file that cannot be read: an error naming it.
    std::filesystem::remove(dir / "fd");
    EXPECT_THROW(Anteprima(dir.path(), 60, nullptr, hooks), std::runtime_error);
}

}  // namespace
}  // namespace zt::report
