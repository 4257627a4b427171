#pragma once
// Shared pieces of the window tests: one offscreen QApplication for the test program,
// a working folder with a registry of three hotels and the lookup tables, a fake
// UiPort, and choosing a list item the way a user does (open the list, Enter).
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <string>
#include <vector>

#include "desktop/passwd.h"
#include "desktop/ui_port.h"
#include "support/testdir.h"

namespace zt::test {

inline QApplication& qtApp() {
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_window";
        static char* argv[] = {name, nullptr};
        auto* a = new QApplication(argc, argv);  // lives until the program ends
        QApplication::setQuitOnLastWindowClosed(false);
        return a;
    }();
    return *app;
}

// Hotels 1, 12 and 123 (and a model record 0, which is not listed), the lookup tables
// of the detail lists and a few rows of `Dettaglio`.
inline void makeWorkDir(const TestDir& dir) {
    dir.sql("AnagraficaHotels.mdb",
            "CREATE TABLE AnagraficaHotels(Numero INTEGER, RagioneSociale TEXT, CodiceAssistenza TEXT);"
            "INSERT INTO AnagraficaHotels VALUES(0,'Modello',''),(1,'Hotel Uno',''),(12,'Hotel Dodici','K'),"
            "(123,'Hotel Centoventitre','');");
    dir.sql("VociFattura.mdb",
            "CREATE TABLE VociFattura(NumeroHotel INTEGER, Codice INTEGER, Descrizione TEXT,"
            " GruppoStatistico INTEGER, GruppoFatturazione INTEGER);"
            "INSERT INTO VociFattura VALUES(1,12,'Pernottamento',12,12),(1,3,'Bar',3,99);");
    dir.sql("CodiciVari.mdb",
            "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);"
            "INSERT INTO CodiciVari VALUES(1,4,'CONT','Contanti'),(1,6,'AG','Agenzia'),(1,9,'FAM','Famiglia');");
    dir.sql("Comuni.mdb",
            "CREATE TABLE CodiciVari(NumeroHotel INTEGER, Tipo INTEGER, Sigla TEXT, Descrizione TEXT);"
            "INSERT INTO CodiciVari VALUES(1,0,'IT','Italia'),(1,0,'DE','Germania');");
    dir.sql("TipiCamere.mdb",
            "CREATE TABLE TipiCamere(NumeroHotel INTEGER, Sigla TEXT, Descrizione TEXT);"
            "INSERT INTO TipiCamere VALUES(1,'DBL','Doppia');");
    dir.sql("Dettaglio.mdb",
            "CREATE TABLE Dettaglio(NumeroHotel INTEGER, Tipo TEXT, Dettaglio TEXT, DataInserimento TEXT,"
            " Valore REAL);"
            "INSERT INTO Dettaglio VALUES(1,'Presenze','Generale','20140115',10),"
            "(1,'Presenze','Generale','20140128',5),(1,'Presenze','Generale','20140301',7),"
            "(12,'Presenze','Generale','20140201',99),(1,'Presenze','Singoli','20140201',50),"
            "(1,'Presenze','Generale','20150201',40),(1,'Produzione','12','20140105',1000),"
            "(1,'Produzione','12','20140106',234.5),(1,'Produzione','3','20140201',8);");
}

// Grants access and records the messages; answers questions with `answer`.
struct FakeUi : desktop::UiPort {
    std::vector<std::string> messages;
    std::vector<int> styles;
    int gates = 0;
    int answer = desktop::msgbox::kAnswerNo;
    std::string flag = "S";

    int msgBox(const std::string& prompt, int style, const std::string&) override {
        messages.push_back(prompt);
        styles.push_back(style);
        return answer;
    }
    std::string accessGate(const desktop::GateRequest&) override {
        ++gates;
        return flag;
    }
};

// Opens the list and picks item `item` with Enter: one user choice.
inline void choose(QComboBox* combo, int item) {
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    view->setCurrentIndex(combo->model()->index(item, 0));
    QTest::keyClick(view, Qt::Key_Return);
}

inline QStringList itemsOf(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

}  // namespace zt::test
