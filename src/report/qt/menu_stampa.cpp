#include "report/qt/menu_stampa.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QWindow>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <system_error>

#include "report/csv_export.h"
#include "report/qt/dialog_support.h"

namespace zt::report {

namespace {

// The title of the menu's message boxes.
QString title() { return MenuStampa::tr("Stampa"); }

}  // namespace

MenuStampa::MenuStampa(const ProgramState& state, QWidget* parent, Hooks hooks)
    : QDialog(parent),
      hooks_(std::move(hooks)),
      logic_(state.workDir, state.hotelNumber, hooks_.clock) {
    setObjectName("MenuStampa");
    setWindowTitle(tr("Stampe non modificabili"));
    setModal(true);

    combo1_ = new QComboBox(this);
    combo1_->setObjectName("Combo1");
    combo2_ = new QComboBox(this);
    combo2_->setObjectName("Combo2");
    chk_ = new QCheckBox(tr("Stampa Compressa"), this);
    chk_->setObjectName("Chk");
    chk2_ = new QCheckBox(tr("Stampa orizzontale"), this);
    chk2_->setObjectName("Chk2");
    chk3_ = new QCheckBox(tr("Stampa fronte / retro"), this);
    chk3_->setObjectName("Chk3");

    auto* label1 = new QLabel(tr("Stampante "), this);
    label1->setBuddy(combo1_);
    auto* label2 = new QLabel(tr("Virtuale "), this);
    label2->setBuddy(combo2_);
    auto* grid = new QGridLayout;
    grid->addWidget(label1, 0, 0);
    grid->addWidget(combo1_, 0, 1);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(combo2_, 1, 1);
    grid->setColumnStretch(1, 1);

    auto* checks = new QVBoxLayout;
    checks->addWidget(chk_);
    checks->addWidget(chk2_);
    checks->addWidget(chk3_);

    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < 6; ++i) {
        auto* b = new QPushButton(tr(kTstCaptions[static_cast<std::size_t>(i)]), this);
        b->setObjectName(QString("Tst_%1").arg(i));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { tstClick(i); });
        buttons->addWidget(b);
        tst_[static_cast<std::size_t>(i)] = b;
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(checks);
    layout->addLayout(buttons);

    // Which window of the program has the focus: another one than the menu (not a popup
    // such as a drop-down list, nor a tooltip) makes the next activation run.
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focus) {
        if (activating_ || !shown_ || !focus || focus == windowHandle()) return;
        if (focus->type() == Qt::Popup || focus->type() == Qt::ToolTip) return;
        otherWindow_ = true;
    });

    // Loading: the archive copy (a failure is told when the menu shows), then the
    // installed printers, none of them chosen.
    logic_.load();
    const auto printers = hooks_.printers ? hooks_.printers() : installedPrinters();
    if (printers.empty()) {
        // It keeps kNoPrinter as its data, whatever it shows.
        combo2_->addItem(tr("<nessuna stampante>"), QString::fromUtf8(kNoPrinter));
        combo2_->setCurrentIndex(0);
    } else {
        for (const auto& p : printers) combo2_->addItem(QString::fromStdString(p), QString::fromStdString(p));
        combo2_->setCurrentIndex(-1);
    }
}

void MenuStampa::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    if (!parentWidget()) {
        if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    }
    runActivation([this] {
        if (logic_.archiveError())
            message(title(),
                    tr("La copia d'archivio della stampa non è stata fatta:\n%1")
                        .arg(QString::fromStdString(*logic_.archiveError())),
                    QMessageBox::Warning);
        activate();
    });
}

bool MenuStampa::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate && shown_ && otherWindow_ && !activating_ && !closing_)
        runActivation([this] { activate(); });
    return handled;
}

// Runs the activation's steps; the windows they show (message boxes) take the
// activation away and give it back, which starts no further activation.
void MenuStampa::runActivation(const std::function<void()>& steps) {
    activating_ = true;
    steps();  // reports its own failures; throws nothing
    activating_ = false;
    otherWindow_ = false;
}

void MenuStampa::activate() {
    combo1_->clear();
    bool any = false;
    try {
        any = logic_.activate();
    } catch (const std::exception& e) {
        message(title(), tr("Impossibile leggere le destinazioni di stampa:\n%1").arg(QString::fromUtf8(e.what())),
                QMessageBox::Critical);
    }
    if (!any) {
        // Closed once the dialog's own event loop runs, so exec() returns at once.
        closing_ = true;
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    for (const auto& d : logic_.destinations()) combo1_->addItem(QString::fromStdString(d));
    combo1_->setCurrentIndex(0);
}

void MenuStampa::message(const QString& title, const QString& text, QMessageBox::Icon icon) {
    showMessage(hooks_.message, this, title, text, icon);
}

void MenuStampa::openFile(const std::filesystem::path& file) {
    const bool opened = hooks_.open ? hooks_.open(file)
                                    : QDesktopServices::openUrl(QUrl::fromLocalFile(pathText(std::filesystem::absolute(file))));
    if (!opened)
        message(title(), tr("Impossibile aprire %1 con il programma associato.").arg(pathText(file)),
                QMessageBox::Warning);
}

PrintOptions MenuStampa::options() const {
    return {chk_->isChecked(), chk2_->isChecked(), chk3_->isChecked()};
}

void MenuStampa::print() {
    PrintRequest request;
    request.workDir = logic_.workDir();
    request.setup = logic_.setup(combo1_->currentText().toStdString());
    request.options = options();
    request.hotelOptions = logic_.hotelOptions();
    request.printerChoice = combo2_->currentIndex() < 0 ? std::string() : combo2_->currentData().toString().toStdString();
    request.archivePath = logic_.archivePath();
    const auto printers = hooks_.printers ? hooks_.printers() : installedPrinters();
    lastPrint_ = printReport(request, printers);
    if (lastPrint_->printed && lastPrint_->route == PrintRoute::PdfFile && lastPrint_->pages > 0)
        openFile(lastPrint_->target);
}

void MenuStampa::tstClick(int index) {
    try {
        switch (index) {
            case 0: {
                const auto& archive = logic_.archivePath();
                std::error_code ec;
                if (!std::filesystem::exists(archive, ec)) {
                    message(title(),
                            logic_.archiveError()
                                ? tr("La copia d'archivio %1 non esiste:\n%2")
                                      .arg(pathText(archive), QString::fromStdString(*logic_.archiveError()))
                                : tr("La copia d'archivio %1 non esiste.").arg(pathText(archive)),
                            QMessageBox::Warning);
                    break;
                }
                openFile(archive);
                break;
            }
            case 1: openFile(exportCsv(logic_.workDir())); break;
            case 2: {
                // The list shows the destinations in their order, so the PDF destination's
                // item is the last one with its text.
                const auto& destinations = logic_.destinations();
                const auto pdf = lastPdfDestination(destinations);
                if (!pdf) {
                    message(title(), tr("Nessuna stampante PDF impostata!"), QMessageBox::Warning);
                    break;
                }
                const auto last = std::find(destinations.rbegin(), destinations.rend(), *pdf);
                combo1_->setCurrentIndex(static_cast<int>(last.base() - destinations.begin()) - 1);
                print();
                break;
            }
            case 3: print(); break;
            case 4: {
                const auto setup = logic_.setup(combo1_->currentText().toStdString());
                Anteprima preview(logic_.workDir(), setup.pageLength(chk_->isChecked()), this, hooks_.previewHooks);
                if (hooks_.preview)
                    hooks_.preview(preview);
                else
                    preview.exec();
                break;
            }
            case 5: accept(); break;
            default: break;
        }
    } catch (const std::exception& e) {
        message(title(), tr("Operazione non riuscita:\n%1").arg(QString::fromUtf8(e.what())), QMessageBox::Critical);
    }
}

void runMenuStampa(ProgramState& state, QWidget* parent) {
    MenuStampa menu(state, parent);
    menu.exec();
}

}  // namespace zt::report
