// Takes the pictures of docs/screenshots/ on a real X display (take.sh runs it under
// Xvfb): the window on a demo folder with large values, the question of "&Registra" after
// another year was typed, "&Aggiorna" in progress, the print menu, the preview opened from
// it, the preview's "Salva" file dialog and its message box for a missing mail sender. Not a test: run by hand when the window
// changes.
//
//   zentoria_screenshots WORKING_FOLDER OUTPUT_FOLDER
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <iostream>

#include "common/numfmt.h"
#include "common/state.h"
#include "desktop/qt/qt_translation.h"
#include "desktop/qt/zent_desk_top.h"
#include "report/qt/anteprima.h"
#include "report/qt/menu_stampa.h"

using namespace zt;

namespace {

QString outDir;

void settle(int ms = 400) { QTest::qWait(ms); }

void save(const QPixmap& picture, const char* name) {
    const QString path = outDir + "/" + name;
    if (!picture.save(path)) std::cerr << "cannot write " << path.toStdString() << "\n";
    else std::cout << path.toStdString() << "\n";
}

// The screen around a window, with the dialogs standing over it.
QPixmap screenAround(const QWidget& w) {
    const QRect r = w.frameGeometry();
    return QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
}

class Shots : public desktop::ZentDeskTop {
public:
    using ZentDeskTop::ZentDeskTop;
    int steps = 0;

    bool progress(const std::string& text) override {
        const bool go = ZentDeskTop::progress(text);
        if (++steps == 20) {
            settle();
            save(screenAround(*this), "aggiorna.png");
        }
        return go;
    }

    // "&Stampa" opens the print menu as a user gets it; its "&Anteprima" opens the preview
    // (each one modal, run by exec()), whose file dialog and message box are pictured.
    void printMenu() override {
        report::MenuStampa menu(logic().state(), this);
        QTimer::singleShot(1500, [this, &menu] {
            save(screenAround(*this), "menu_stampa.png");
            QTimer::singleShot(1500, [] { previewShots(); });
            menu.tst(4)->click();
            menu.accept();
        });
        menu.exec();
    }

    static void previewShots() {
        auto* preview = qobject_cast<report::Anteprima*>(QApplication::activeModalWidget());
        if (!preview) return;
        save(preview->grab(), "anteprima.png");
        QTimer::singleShot(1500, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                save(dialog->grab(), "salva.png");
                dialog->reject();
            }
        });
        preview->findChild<QPushButton*>("Salva")->click();
        // "E-&mail" without the mail sender on the PATH: the preview's message box, as
        // the screen shows it.
        QTimer::singleShot(1500, [preview] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                save(screenAround(*preview), "anteprima_messaggio.png");
                box->accept();
            }
        });
        preview->findChild<QPushButton*>("Email")->click();
        preview->accept();
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: zentoria_screenshots WORKING_FOLDER OUTPUT_FOLDER\n";
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zentoria");
    desktop::installQtTranslation();
    outDir = QString::fromLocal8Bit(argv[2]);
    ProgramState& state = programState();
    state.workDir = argv[1];

    // The access gate opens with Enter (no password in the demo); the question of
    // "&Registra" is pictured and answered "No", "Sei sicuro?" is answered "Si" and
    // closing messages "Ok".
    QTimer answer;
    Shots* shown = nullptr;
    QObject::connect(&answer, &QTimer::timeout, [&shown] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        const auto* prompt = modal->findChild<QLabel*>("Prompt");
        if (modal->objectName() == "PasswdSecurity") {
            QTest::keyClick(modal->findChild<QLineEdit*>("Text1"), Qt::Key_Return);
        } else if (prompt && prompt->text().startsWith("Sei sicuro? Saranno registrati")) {
            if (shown) save(screenAround(*shown), "registra.png");
            modal->findChild<QAbstractButton*>("No")->click();
        } else if (modal->objectName() == "MsgBox_Form") {
            for (const char* name : {"Si", "Ok"})
                if (auto* b = modal->findChild<QAbstractButton*>(name)) {
                    b->click();
                    break;
                }
        }
    });
    answer.start(300);

    Shots window(state, localeSeparators());
    shown = &window;
    if (!window.start()) return 1;
    window.show();
    settle();
    desktop::DeskLogic& logic = window.logic();
    logic.chooseItem(1, 0);  // "Produzione", the first voice
    settle();
    save(screenAround(window), "finestra.png");

    // Last year typed over this year's figures, then "&Registra": the question names both.
    const std::string thisYear = logic.text1[0];
    logic.text1[0] = std::to_string(std::stoi(thisYear) - 1);
    logic.text1[5] = "";
    logic.text1KeyPress(0, desktop::DeskLogic::kKeyEnter);
    settle();
    logic.tastoClick(2);
    settle();
    logic.text1[0] = thisYear;
    logic.chooseItem(1, 0);
    settle();

    logic.tastoClick(3);  // "&Aggiorna"
    settle();
    logic.tastoClick(0);  // "&Stampa"
    settle();
    return 0;
}
