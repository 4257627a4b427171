#include "report/qt/anteprima.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <system_error>

#include "common/translate.h"
#include "report/print_menu_logic.h"
#include "report/qt/dialog_support.h"
#include "report/report_file.h"

namespace zt::report {

Anteprima::Anteprima(std::filesystem::path workDir, int pageLength, QWidget* parent, Hooks hooks)
    : QDialog(parent), workDir_(std::move(workDir)), hooks_(std::move(hooks)) {
    setObjectName("Anteprima");
    setWindowTitle(tr("Anteprima di Stampa"));
    setModal(true);

    file_ = reportFilePath(workDir_);
    const ReportFile report = ReportFile::read(file_);
    for (const auto& page : paginate(report.lines(), pageLength)) {
        QString text;
        for (const auto& line : page) {
            if (!text.isEmpty()) text += '\n';
            text += QString::fromStdString(decodeReportLine(line));
        }
        pages_.push_back(text);
    }

    text1_ = new QPlainTextEdit(this);
    text1_->setObjectName("Text1");
    text1_->setReadOnly(true);
    text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    applyFont();

    auto* buttons = new QHBoxLayout;
    const auto add = [&](const char* name, const QString& caption, void (Anteprima::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    add("Salva", tr("Sa&lva"), &Anteprima::salva);
    add("Email", tr("E-&mail"), &Anteprima::email);
    add("Inizio", tr("&Inizio"), &Anteprima::inizio);
    avanti_ = add("Avanti", tr("&Avanti"), &Anteprima::avanti);
    add("Espandi", tr("E&spandi"), &Anteprima::espandi);
    add("Riduci", tr("&Riduci"), &Anteprima::riduci);
    add("Esci", tr("&Esci"), &Anteprima::accept);

    // Which page is shown, of how many.
    pagina_ = new QLabel(this);
    pagina_->setObjectName("Pagina");
    buttons->addSpacing(12);
    buttons->addWidget(pagina_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text1_, 1);
    layout->addLayout(buttons);
    resize(900, 640);
    showPage(0);
}

void Anteprima::showPage(int page) {
    if (pages_.empty()) {
        page_ = 0;
        text1_->clear();
        pagina_->setText(tr("Nessuna pagina"));
    } else {
        page_ = std::clamp(page, 0, pageCount() - 1);
        text1_->setPlainText(pages_[static_cast<std::size_t>(page_)]);
        pagina_->setText(tr("Pagina %1 di %2").arg(page_ + 1).arg(pageCount()));
    }
    // On the last page there is nothing further: "&Avanti" shows itself disabled.
    avanti_->setEnabled(page_ + 1 < pageCount());
}

void Anteprima::applyFont() {
    QFont font(QString::fromUtf8(kDefaultPrintFont));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(fontSize_);
    text1_->setFont(font);
}

void Anteprima::inizio() { showPage(0); }
void Anteprima::avanti() { showPage(page_ + 1); }

void Anteprima::espandi() {
    fontSize_ = std::min(kMaxFontSize, fontSize_ + 1);
    applyFont();
}

void Anteprima::riduci() {
    fontSize_ = std::max(kMinFontSize, fontSize_ - 1);
    applyFont();
}

void Anteprima::message(const QString& title, const QString& text, QMessageBox::Icon icon) {
    showMessage(hooks_.message, this, title, text, icon);
}

void Anteprima::salva() {
    const QString suggested = pathText(workDir_ / (file_.filename().string() + ".txt"));
    const QString name = hooks_.saveName
                             ? hooks_.saveName(suggested)
                             : QFileDialog::getSaveFileName(this, tr("Salva la stampa"), suggested);
    if (name.isEmpty()) return;
    std::error_code ec;
    std::filesystem::copy_file(file_, name.toStdString(), std::filesystem::copy_options::overwrite_existing, ec);
    if (ec)
        message(tr("Salva"),
                tr("Impossibile salvare la stampa in %1:\n%2\nScegliere una cartella che esiste e in cui si può "
                   "scrivere, poi premere di nuovo \"Salva\".")
                    .arg(name, QString::fromStdString(systemErrorText(ec))),
                QMessageBox::Critical);
}

void Anteprima::email() {
    const QString mailer =
        hooks_.findMailer ? hooks_.findMailer() : QStandardPaths::findExecutable(QString::fromUtf8(kMailer));
    const QString report = pathText(std::filesystem::absolute(file_));
    if (mailer.isEmpty()) {
        message(tr("E-mail"),
                tr("Il programma di posta \"%1\" non si trova nelle cartelle del PATH.\n"
                   "Per spedire la stampa, allegare a un messaggio di posta il file\n%2\n"
                   "oppure il PDF o il file per Excel che il menu di stampa prepara.")
                    .arg(QString::fromUtf8(kMailer), report),
                QMessageBox::Information);
        return;
    }
    const bool started = hooks_.startMailer ? hooks_.startMailer(mailer, {report})
                                            : QProcess::startDetached(mailer, {report}, pathText(workDir_));
    if (!started)
        message(tr("E-mail"),
                tr("Impossibile avviare il programma di posta %1.\nControllare che sia installato e che si possa "
                   "eseguire, oppure allegare a un messaggio di posta il file\n%2")
                    .arg(mailer, report),
                QMessageBox::Critical);
}

}  // namespace zt::report
