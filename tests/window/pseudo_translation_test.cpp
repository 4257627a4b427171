// Every text of the window, its message boxes, the gate, the print menu and the preview
// goes through Qt's translation: under a translator that wraps each text in « », a text
// shown unwrapped is a literal that escaped it. Data (hotels, statistics, figures, the
// report's lines, the destinations) is not checked.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QChart>

#include "common/translate.h"
#include "desktop/qt/chart_view.h"
#include "desktop/qt/msgbox_form.h"
#include "desktop/qt/passwd_security.h"
#include "desktop/qt/zent_desk_top.h"
#include "report/print_fixture.h"
#include "report/qt/menu_stampa.h"
#include "support/pseudo_translator.h"
#include "window/window_support.h"

namespace zt::desktop {
namespace {

// The window's message boxes are the real ones; the gate lets everyone in.
struct RealBoxes : test::FakeUi {
    int msgBox(const std::string& prompt, int style, const std::string& title) override {
        return MsgBox_Form::ask(nullptr, prompt, style, title, {});
    }
};

// Title, labels, buttons and tooltips of a dialog or window and of what it holds.
QStringList shownTexts(QWidget* root) {
    QStringList out{root->windowTitle()};
    for (auto* l : root->findChildren<QLabel*>()) out << l->text();
    for (auto* b : root->findChildren<QAbstractButton*>()) out << b->text() << b->toolTip();
    return out;
}

// The texts not wrapped, one a line: each names a literal that escaped translation.
std::string unwrapped(const QStringList& texts) {
    QStringList out;
    for (const auto& t : texts)
        if (!t.isEmpty() && !(t.startsWith(u'«') && t.endsWith(u'»'))) out << t;
    return out.join('\n').toStdString();
}

TEST(PseudoTranslation, EveryTextOfTheWindowItsBoxesAndThePrintMenuIsTranslated) {
    test::qtApp();
    const test::PseudoTranslation wrapped;
    test::TestDir dir;
    test::makeWorkDir(dir);
    ProgramState state;
    state.workDir = dir.path();
    RealBoxes ui;
    ZentDeskTop w(state, {".", ","}, &ui);
    ASSERT_TRUE(w.start(2014));
    w.show();
    QStringList texts = shownTexts(&w);
    auto* chart = w.chartView()->chart();
    texts << chart->title();
    if (auto* months = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).value(0)))
        texts << months->categories();
    auto* types = w.findChild<QComboBox*>("Combo1_3");
    texts << test::itemsOf(types);
    EXPECT_EQ(types->count(), 11);
    EXPECT_EQ(unwrapped(texts), "");

    // "&Registra" on the year "20a6": the logic's refusal in the program's message box.
    auto* details = w.findChild<QComboBox*>("Combo1_1");
    test::choose(details, 0);  // a detail of "Produzione", the statistic chosen
    auto* year = w.findChild<QLineEdit*>("Text1_0");
    year->selectAll();
    QTest::keyClicks(year, "20a6");
    QStringList box;
    QTimer::singleShot(0, [&] {
        QWidget* shown = QApplication::activeModalWidget();
        if (!shown) return;
        box = shownTexts(shown);
        shown->findChild<QAbstractButton*>("Ok")->click();
    });
    w.findChild<QAbstractButton*>("Tasto_2")->click();
    ASSERT_GE(box.size(), 3);
    EXPECT_TRUE(box.join(' ').contains("20a6")) << box.join('\n').toStdString();
    EXPECT_EQ(unwrapped(box), "");

    PasswdSecurity gate(GateRequest{}, nullptr);
    EXPECT_EQ(unwrapped(shownTexts(&gate)), "");

    // The print menu with no printer installed, its preview and a message from it.
    test::TestDir printDir;
    report::expect::PrintFolder folder{printDir};
    folder.destination("Matrice", 2, "out.prn");
    folder.report(report::expect::numberedLines(3));
    ProgramState printState;
    printState.workDir = printDir.path();
    printState.hotelNumber = 1;
    report::MenuStampa::Hooks hooks;
    QStringList messages;
    hooks.message = hooks.previewHooks.message = [&](const QString& title, const QString& text, QMessageBox::Icon) {
        messages << title << text;
    };
    hooks.printers = [] { return std::vector<std::string>(); };
    hooks.previewHooks.findMailer = [] { return QString(); };
    hooks.preview = [&](report::Anteprima& preview) {
        texts << shownTexts(&preview);
        preview.findChild<QAbstractButton*>("Email")->click();
    };
    report::MenuStampa menu(printState, nullptr, hooks);
    menu.show();
    QCoreApplication::processEvents();
    texts = shownTexts(&menu) << test::itemsOf(menu.combo2());
    menu.findChild<QAbstractButton*>("Tst_4")->click();
    EXPECT_GE(texts.size(), 20);
    ASSERT_EQ(messages.size(), 2);  // the mail program is missing
    EXPECT_EQ(unwrapped(texts << messages), "");
    report::expect::clearWorkstation();
}

// An argument's own "%1" or "%2" (a path, a server's message) is not filled in again.
TEST(WithArgs, FillsThePlaceholdersInOnePass) {
    EXPECT_EQ(withArgs("%2 in %1", {"a%2", "b"}), "b in a%2");
    EXPECT_EQ(withArgs("%1: %2%", {"x", "5"}), "x: 5%");
}

}  // namespace
}  // namespace zt::desktop
