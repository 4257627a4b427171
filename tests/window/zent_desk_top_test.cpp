// The main window driven through its real widgets: lists chosen by the user, keys
// typed into the fields, buttons clicked; then what the controls and the chart show.
#include "desktop/qt/zent_desk_top.h"

#include <gtest/gtest.h>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFrame>
#include <QProgressDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <memory>
#include <stdexcept>

#include "common/translate.h"
#include "desktop/qt/chart_view.h"
#include "desktop/qt/qt_translation.h"
#include "store/sqlite/database.h"
#include "window/window_support.h"

namespace zt::desktop {
namespace {

class Window : public ::testing::Test {
protected:
    test::TestDir dir;
    ProgramState state;
    test::FakeUi ui;

    void SetUp() override {
        test::qtApp();
        test::makeWorkDir(dir);
        state.workDir = dir.path();
    }

    std::unique_ptr<ZentDeskTop> open(Separators sep = {".", ","}) {
        auto w = std::make_unique<ZentDeskTop>(state, sep, &ui);
        EXPECT_TRUE(w->start(2014));
        w->show();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(w->isActiveWindow());
        return w;
    }

    template <class T>
    static T* child(QWidget* w, const QString& name) {
        auto* c = w->findChild<T*>(name);
        if (!c) throw std::runtime_error("no control " + name.toStdString());
        return c;
    }
    static QLineEdit* text1(QWidget* w, int i) { return child<QLineEdit>(w, QStringLiteral("Text1_%1").arg(i)); }
    static QComboBox* combo1(QWidget* w, int i) { return child<QComboBox>(w, QStringLiteral("Combo1_%1").arg(i)); }
    static QAbstractButton* tasto(QWidget* w, int i) {
        return child<QAbstractButton>(w, QStringLiteral("Tasto_%1").arg(i));
    }
    static QFrame* frame(QWidget* w, int i) { return child<QFrame>(w, QStringLiteral("Shape1_%1").arg(i)); }
    static QWidget* focused() { return QApplication::focusWidget(); }
    // Whether the field shows its whole text at once: with the cursor at the end, the
    // first character is still at the left edge.
    static bool showsWhole(QLineEdit* field) {
        field->setCursorPosition(static_cast<int>(field->text().size()));
        field->repaint();
        const bool whole = field->cursorPositionAt(QPoint(field->textMargins().left() + 1, field->height() / 2)) == 0;
        field->setCursorPosition(0);
        return whole;
    }
    // The month fields, in screen coordinates.
    static QRect monthFields(QWidget* w) {
        QRect area;
        for (int k = 1; k <= 12; ++k) area |= QRect(text1(w, k)->mapToGlobal(QPoint(0, 0)), text1(w, k)->size());
        return area;
    }
    static void enter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }
};

TEST_F(Window, StartUpFillsTheListsAndLaysOutTheControls) {
    auto w = open();
    EXPECT_EQ(ui.gates, 1);
    EXPECT_EQ(w->windowTitle(), "Zentorio Mensile / Annuale");
    EXPECT_EQ(w->size(), QSize(w->px(11415), w->px(9300)));

    EXPECT_EQ(test::itemsOf(combo1(w.get(), 2)),
              QStringList({"  1 Hotel Uno", " 12 Hotel Dodici", "123 Hotel Centoventitre"}));
    EXPECT_EQ(combo1(w.get(), 2)->currentIndex(), 0);
    EXPECT_EQ(combo1(w.get(), 0)->count(), 29);
    EXPECT_EQ(combo1(w.get(), 0)->currentText(), "Produzione");
    EXPECT_EQ(combo1(w.get(), 0)->itemText(13), QString::fromUtf8("Presenze x Età"));
    EXPECT_EQ(combo1(w.get(), 4)->count(), 27);
    EXPECT_EQ(combo1(w.get(), 3)->count(), 11);
    EXPECT_EQ(combo1(w.get(), 3)->currentText(), " 4 - Barre 3D");
    EXPECT_EQ(combo1(w.get(), 3)->itemText(4), " 5 - Gantt   ");
    // The details of "Produzione" for hotel 1, none chosen; the grid stays empty.
    EXPECT_EQ(test::itemsOf(combo1(w.get(), 1)), QStringList({"   12 Pernottamento", "    3 Bar", "<tutti>"}));
    EXPECT_EQ(combo1(w.get(), 1)->currentIndex(), -1);
    EXPECT_EQ(test::itemsOf(combo1(w.get(), 5)), QStringList({"   12 Pernottamento", "    3 Bar"}));
    EXPECT_EQ(text1(w.get(), 0)->text(), "2014");
    for (int k = 1; k <= 12; ++k) EXPECT_EQ(text1(w.get(), k)->text(), "") << k;

    EXPECT_EQ(child<QLabel>(w.get(), "Label1_3")->text(), "Gennaio ...........................:");
    EXPECT_EQ(child<QLabel>(w.get(), "Label1_11")->text(), "Settembre ........................:");
    EXPECT_EQ(child<QLabel>(w.get(), "Label1_16")->text(), "Differenza con :");
    EXPECT_EQ(tasto(w.get(), 2)->text(), "&Registra");
    EXPECT_EQ(tasto(w.get(), 1)->text(), "&Esci");
    EXPECT_TRUE(tasto(w.get(), 1)->font().bold());
    EXPECT_FALSE(tasto(w.get(), 1)->icon().isNull());
    EXPECT_EQ(tasto(w.get(), 1)->font().pointSizeF(), 12.0);
    EXPECT_EQ(text1(w.get(), 3)->font().pointSizeF(), 9.75);

    // Positions in twips: the March field and its frame, the chart, "&Ok".
    EXPECT_EQ(text1(w.get(), 3)->geometry(), QRect(w->px(2280), w->px(2640), w->px(1095), w->px(285)));
    EXPECT_EQ(child<QWidget>(w.get(), "Shape1_3")->geometry(),
              QRect(w->px(2160), w->px(2640), w->px(1335), w->px(375)));
    EXPECT_EQ(child<QWidget>(w.get(), "Shape1_13")->geometry().topLeft(), QPoint(w->px(1560), w->px(7920)));
    EXPECT_EQ(child<QWidget>(w.get(), "Graph1")->geometry(), QRect(w->px(3600), w->px(240), w->px(7695), w->px(7095)));
    EXPECT_EQ(tasto(w.get(), 5)->geometry(), QRect(w->px(2880), w->px(7920), w->px(615), w->px(360)));

    // Alignment of the fields; none of them is reached with Tab.
    EXPECT_TRUE(text1(w.get(), 0)->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(text1(w.get(), 7)->alignment() & Qt::AlignRight);
    for (int i = 0; i < DeskLogic::kText1; ++i) EXPECT_EQ(text1(w.get(), i)->focusPolicy(), Qt::ClickFocus) << i;

    // The chart carries the month names as point labels and draws bars (type 4).
    auto* chart = w->chartView()->chart();
    ASSERT_EQ(chart->series().size(), 1);
    EXPECT_EQ(chart->series()[0]->type(), QAbstractSeries::SeriesTypeBar);
    EXPECT_EQ(w->logic().graph1.label(12), "Dicembre");
    auto* months = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
    ASSERT_NE(months, nullptr);
    EXPECT_EQ(months->categories().front(), "Gennaio");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Window, ChoosingStatisticAndDetailLoadsTheGridAndTitles) {
    auto w = open();
    test::choose(combo1(w.get(), 0), 5);  // "Presenze"
    ASSERT_EQ(combo1(w.get(), 0)->currentText(), "Presenze");
    ASSERT_EQ(combo1(w.get(), 1)->count(), 13);
    EXPECT_EQ(combo1(w.get(), 1)->itemText(8), "Mezza Pensione");
    EXPECT_EQ(w->chartView()->chart()->title(), "Zentorio 2014 (Presenze-)");

    test::choose(combo1(w.get(), 1), 0);  // "Generale"
    EXPECT_EQ(text1(w.get(), 1)->text(), "15");
    EXPECT_EQ(text1(w.get(), 2)->text(), "0");  // rows of another hotel, detail or year only
    EXPECT_EQ(text1(w.get(), 3)->text(), "7");
    EXPECT_EQ(text1(w.get(), 12)->text(), "0");
    EXPECT_EQ(w->chartView()->chart()->title(), "Zentorio 2014 (Presenze-Generale)");
    auto* bars = qobject_cast<QBarSeries*>(w->chartView()->chart()->series().value(0));
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(bars->count(), 1);
    EXPECT_EQ(bars->barSets()[0]->at(0), 15.0);
    EXPECT_EQ(bars->barSets()[0]->at(2), 7.0);

    // A click in the year field selects the year; Enter titles the chart in its own
    // form and moves to the statistic list.
    QTest::mouseClick(text1(w.get(), 0), Qt::LeftButton);
    ASSERT_EQ(focused(), text1(w.get(), 0));
    EXPECT_EQ(text1(w.get(), 0)->selectedText(), "2014");
    enter();
    EXPECT_EQ(w->chartView()->chart()->title(), "Zentorio 2014   ( Presenze - Generale )");
    EXPECT_EQ(focused(), combo1(w.get(), 0));

    // A new year typed over the selection (four characters at most) loads with the next
    // choice of a detail.
    QTest::mouseClick(text1(w.get(), 0), Qt::LeftButton);
    QTest::keyClicks(focused(), "20159");
    EXPECT_EQ(text1(w.get(), 0)->text(), "2015");
    EXPECT_EQ(w->logic().text1[0], "2015");
    test::choose(combo1(w.get(), 1), 0);
    EXPECT_EQ(text1(w.get(), 1)->text(), "0");
    EXPECT_EQ(text1(w.get(), 2)->text(), "40");
    EXPECT_EQ(w->chartView()->chart()->title(), "Zentorio 2015 (Presenze-Generale)");

    // Another hotel: the details are read again and the grid keeps what it had.
    test::choose(combo1(w.get(), 2), 1);
    EXPECT_EQ(w->logic().state().hotelNumber, 12);
    EXPECT_EQ(w->logic().state().hotelOptions, "K");
    EXPECT_EQ(combo1(w.get(), 1)->currentIndex(), -1);
    EXPECT_TRUE(ui.messages.empty());
}

// 2014 loaded, 2015 typed with Enter: "&Registra" warns, "No" preselected keeps the stored
// 2015 rows. Loaded again for 2015, "Si" writes and the title says so.
TEST_F(Window, RegistraAfterTypingAnotherYearWarnsAndKeepsTheStoredYear) {
    dir.sql("Zentoria.mdb",
            "CREATE TABLE Zentoria(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, AnnoMese TEXT, Valore REAL);"
            "INSERT INTO Zentoria VALUES(1,'Presenze','Generale','201502',288);");
    auto stored = [&] {
        return test::queryColumn(dir / "Zentoria.mdb", "SELECT AnnoMese||'='||Valore FROM Zentoria ORDER BY AnnoMese");
    };
    auto w = open();
    test::choose(combo1(w.get(), 0), 5);  // "Presenze"
    test::choose(combo1(w.get(), 1), 0);  // "Generale", 2014
    ASSERT_EQ(text1(w.get(), 1)->text(), "15");
    QTest::mouseClick(text1(w.get(), 0), Qt::LeftButton);
    QTest::keyClicks(focused(), "2015");
    enter();
    ASSERT_EQ(w->chartView()->chart()->title(), "Zentorio 2015   ( Presenze - Generale )");
    QTest::mouseClick(tasto(w.get(), 2), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("Anno: 2015   \u2190 ATTENZIONE: i mesi mostrati sono di 2014"), std::string::npos)
        << ui.messages[0];
    EXPECT_EQ(ui.styles[0] & 0x300, msgbox::kDefaultButton2);
    EXPECT_EQ(stored(), "201502=288.0");
    EXPECT_EQ(w->windowTitle(), "Zentorio Mensile / Annuale");

    test::choose(combo1(w.get(), 1), 0);
    ASSERT_EQ(text1(w.get(), 2)->text(), "40");
    ui.answer = msgbox::kAnswerYes;
    QTest::mouseClick(tasto(w.get(), 2), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].find("ATTENZIONE"), std::string::npos) << ui.messages[1];
    EXPECT_EQ(ui.styles[1], 292);
    EXPECT_EQ(w->windowTitle(), "Registrati 12 mesi: albergo 1 Hotel Uno, Presenze \u2013 Generale, anno 2015");
    EXPECT_EQ(stored().substr(0, 27), "201501=0.0|201502=40.0|2015");
}

// A hotel name wider than the closed box: the open list shows it whole, and the closed
// box's tooltip names the hotel chosen.
TEST_F(Window, TheHotelListShowsWholeNames) {
    dir.sql("AnagraficaHotels.mdb", "UPDATE AnagraficaHotels SET RagioneSociale = 'Hotel Bellavista sul Lago di Garda'"
                                    " WHERE Numero = 12;");
    auto w = open();
    QComboBox* hotels = combo1(w.get(), 2);
    const QString longest = "12 Hotel Bellavista sul Lago di Garda";
    ASSERT_EQ(hotels->itemText(1), " " + longest);
    ASSERT_LT(hotels->width(), hotels->fontMetrics().horizontalAdvance(longest));
    EXPECT_GE(hotels->view()->minimumWidth(), hotels->fontMetrics().horizontalAdvance(" " + longest));
    EXPECT_EQ(hotels->toolTip(), "  1 Hotel Uno");
    test::choose(hotels, 1);
    EXPECT_EQ(hotels->toolTip(), " " + longest);
    hotels->showPopup();
    EXPECT_GE(hotels->view()->width(), hotels->fontMetrics().horizontalAdvance(" " + longest));
    hotels->hidePopup();
}

TEST_F(Window, EnterWalksTheMonthFieldsToTheButtons) {
    auto w = open();
    test::choose(combo1(w.get(), 0), 5);
    test::choose(combo1(w.get(), 1), 0);

    QTest::mouseClick(text1(w.get(), 1), Qt::LeftButton);
    for (int k = 1; k <= 11; ++k) {
        ASSERT_EQ(focused(), text1(w.get(), k)) << k;
        EXPECT_EQ(text1(w.get(), k)->selectedText(), text1(w.get(), k)->text()) << k;
        // The frame of the field with the focus is drawn wider, from the first key on.
        EXPECT_EQ(frame(w.get(), k)->lineWidth(), 2) << k;
        if (k > 1) {
            EXPECT_EQ(frame(w.get(), k - 1)->lineWidth(), 1) << k;
        }
        enter();
    }
    ASSERT_EQ(focused(), text1(w.get(), 12));
    EXPECT_EQ(text1(w.get(), 12)->selectedText(), "0");
    // Month fields take ten characters.
    QTest::keyClicks(focused(), "12345678901");
    EXPECT_EQ(w->logic().text1[12], "1234567890");
    enter();
    EXPECT_EQ(focused(), tasto(w.get(), 2));  // "&Registra"
    EXPECT_TRUE(w->testAttribute(Qt::WA_KeyboardFocusChange));  // the style draws its focus

    QTest::mouseClick(text1(w.get(), 13), Qt::LeftButton);
    QTest::keyClicks(focused(), "2013");
    enter();
    EXPECT_EQ(focused(), tasto(w.get(), 5));  // "&Ok"
    EXPECT_EQ(w->logic().text1[13], "2013");
}

TEST_F(Window, ItalianSeparatorsInTheGrid) {
    auto w = open({",", "."});
    ASSERT_EQ(combo1(w.get(), 0)->currentText(), "Produzione");
    test::choose(combo1(w.get(), 1), 0);  // "   12 Pernottamento"
    EXPECT_EQ(text1(w.get(), 1)->text(), "1.234,50");
    EXPECT_EQ(text1(w.get(), 2)->text(), "0");
    test::choose(combo1(w.get(), 1), 2);  // "<tutti>"
    EXPECT_EQ(text1(w.get(), 1)->text(), "1.234,50");
    EXPECT_EQ(text1(w.get(), 2)->text(), "8,00");
    EXPECT_EQ(w->logic().graph1.value(1, 1), 1234.5);
}

// The widest amounts a `Valore` holds (a Currency's limits) and a typed value of ten
// characters show whole, sign included, in the fields' size; the tooltip holds the value.
TEST_F(Window, LargeValuesShowWholeWithTheirSign) {
    dir.sql("Dettaglio.mdb",
            "INSERT INTO Dettaglio VALUES(1,'Produzione','12','20140301',-922337203685477.58),"
            "(1,'Produzione','12','20140401',922337203685477.58),(1,'Produzione','12','20140501',-1962010.70);");
    auto w = open({",", "."});
    test::choose(combo1(w.get(), 1), 0);
    EXPECT_EQ(text1(w.get(), 3)->text().left(9), "-922.337.");
    EXPECT_EQ(text1(w.get(), 3)->text().size(), 23);
    EXPECT_EQ(text1(w.get(), 5)->text(), "-1.962.010,70");
    for (int k : {3, 4, 5}) {
        QLineEdit* field = text1(w.get(), k);
        EXPECT_TRUE(showsWhole(field)) << k;
        EXPECT_EQ(field->toolTip(), field->text()) << k;
    }
    // An amount that fits keeps the font, the right alignment and no tooltip.
    EXPECT_EQ(text1(w.get(), 1)->font().pointSizeF(), 9.75);
    EXPECT_TRUE(text1(w.get(), 1)->alignment() & Qt::AlignRight);
    EXPECT_TRUE(text1(w.get(), 1)->toolTip().isEmpty());

    QTest::mouseClick(text1(w.get(), 6), Qt::LeftButton);
    QTest::keyClicks(focused(), "-123456789");
    EXPECT_TRUE(showsWhole(text1(w.get(), 6)));
    EXPECT_EQ(text1(w.get(), 6)->toolTip(), "-123456789");
}

// "&Aggiorna"'s progress counts months and, with the closing message, stands over the
// chart, clear of the month fields.
TEST_F(Window, ProgressAndMessagesLeaveTheMonthFieldsInSight) {
    auto w = open();
    w->progressCount(13, 24);
    EXPECT_TRUE(w->progress("Dettaglio 2 di 2: 3 Bar\nMese: Febbraio"));
    auto* bar = w->findChild<QProgressDialog*>("Progress");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->maximum(), 24);
    EXPECT_EQ(bar->value(), 13);
    EXPECT_FALSE(bar->frameGeometry().intersects(monthFields(w.get())));
    w->progressDone();

    QRect shown;
    QTimer::singleShot(0, [&] {
        auto* box = QApplication::activeModalWidget();
        shown = box->frameGeometry();
        QTest::keyClick(box->focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(w->msgBox("Aggiornamento di \"Cassa\" per il 2014 completato.", 64, "Zentoria"), msgbox::kAnswerOk);
    EXPECT_FALSE(shown.intersects(monthFields(w.get())));
    EXPECT_TRUE(w->chartArea().contains(shown.center()));
}

// Qt's own texts (the file dialog, the fields' context menu) in Italian.
TEST_F(Window, QtTextsInTheUsersLanguage) {
    test::qtApp();
    ASSERT_TRUE(installQtTranslation(QLocale(QLocale::Italian, QLocale::Italy)));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
    EXPECT_NE(QCoreApplication::translate("QLineEdit", "&Copy"), "&Copy");
    // The folder dialog's type column: Qt's Italian lacks it, the program's own has it.
    ASSERT_TRUE(zt::useTranslation(QLocale(QLocale::Italian, QLocale::Italy)));
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"), "Cartella");
    zt::useTranslation(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"), "Folder");
    installQtTranslation(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
}

TEST_F(Window, ButtonsGoToTheLogicAndEsciCloses) {
    auto w = open();
    // "&Registra" asks first; the answer No leaves the window as it is.
    test::choose(combo1(w.get(), 0), 5);  // "Presenze"
    test::choose(combo1(w.get(), 1), 0);  // "Generale"
    QTest::mouseClick(tasto(w.get(), 2), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("Sei sicuro?", 0), 0u);
    EXPECT_EQ(ui.styles, std::vector<int>({292}));
    EXPECT_TRUE(w->isVisible());
    // Enter on a focused button presses it.
    tasto(w.get(), 1)->setFocus();
    enter();
    EXPECT_TRUE(w->isUnloaded());
    EXPECT_FALSE(w->isVisible());
}

TEST_F(Window, ChartTypeListRedrawsTheChart) {
    auto w = open();
    test::choose(combo1(w.get(), 3), 5);  // " 6 - Linee   "
    EXPECT_EQ(w->logic().graph1.chartType(), 6);
    ASSERT_EQ(w->chartView()->chart()->series().size(), 1);
    EXPECT_EQ(w->chartView()->chart()->series()[0]->type(), QAbstractSeries::SeriesTypeLine);
}

// The window's own dialogs: the access gate and the message box, run modally. The
// user's answer is given from inside the dialog's event loop.
// Access files are read in a child process; from the window's process, with Qt's
// threads running, a whole file reads and a cut one gives its message, and the window
// goes on answering.
TEST_F(Window, AccessFilesAreReadWhileTheWindowRuns) {
    auto w = open();
    dir.copyAccessFixture("nwind.mdb");
    const std::string whole = dir.read("nwind.mdb");
    dir.write("Tronco.mdb", whole.substr(0, 1507328));  // a cut that made the reader loop for ever
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);

    auto db = store::Database::open(dir.path(), "nwind.mdb");
    EXPECT_EQ(db.tableNames().size(), 9u);
    std::string message;
    try {
        store::Database::open(dir.path(), "Tronco.mdb");
    } catch (const store::DbError& e) {
        message = e.what();
    }
    EXPECT_NE(message.find("Tronco.mdb"), std::string::npos) << message;
    EXPECT_NE(message.find("cut short"), std::string::npos) << message;

    QTest::qWait(20);
    EXPECT_GT(ticks, 0);
    combo1(w.get(), 0)->setFocus();
    EXPECT_EQ(focused(), combo1(w.get(), 0));
}

TEST_F(Window, OwnGateAndMessageBox) {
    ZentDeskTop refused(state, Separators{}, nullptr);
    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    EXPECT_FALSE(refused.start(2014));
    EXPECT_TRUE(refused.isUnloaded());
    EXPECT_EQ(combo1(&refused, 0)->count(), 0);

    ZentDeskTop w(state, Separators{}, nullptr);
    // No password set: Enter on the empty field opens.
    QTimer::singleShot(0, [] {
        auto* gate = QApplication::activeModalWidget();
        QTest::keyClick(gate->findChild<QLineEdit*>("Text1"), Qt::Key_Return);
    });
    ASSERT_TRUE(w.start(2014));
    EXPECT_EQ(state.accessFlag, "S");
    EXPECT_EQ(combo1(&w, 0)->count(), 29);

    // Style 292: Enter takes the preselected "No"; a click on "Si" answers 6.
    QTimer::singleShot(0, [] {
        auto* box = QApplication::activeModalWidget();
        QTest::keyClick(box->focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(w.msgBox("Sei sicuro?", 292, "Zentoria"), msgbox::kAnswerNo);
    QTimer::singleShot(0, [] {
        auto* box = QApplication::activeModalWidget();
        QTest::mouseClick(box->findChild<QPushButton*>("Si"), Qt::LeftButton);
    });
    EXPECT_EQ(w.msgBox("Sei sicuro?", 292, "Zentoria"), msgbox::kAnswerYes);
}

}  // namespace
}  // namespace zt::desktop
