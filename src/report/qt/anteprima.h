#pragma once
// The preview `Anteprima` (caption "Anteprima di Stampa"): the report file one page at a
// time in a fixed-width font, the box drawn as lines, with "Pagina n di m" beside the
// buttons; save a copy, hand it to the mail sender, first and next page ("&Avanti"
// disabled on the last one), zoom, close.
#include <QDialog>
#include <QMessageBox>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zt::report {

class Anteprima : public QDialog {
    Q_OBJECT
public:
    // What the preview asks of the desktop; each empty function does the usual thing.
    struct Hooks {
        // A message box.
        std::function<void(const QString& title, const QString& text, QMessageBox::Icon icon)> message;
        // The file to save the copy as ("" when the user cancels): a file dialog.
        std::function<QString(const QString& suggested)> saveName;
        // The mail sender's path ("" when there is none): "Spedix.exe" on the PATH.
        std::function<QString()> findMailer;
        // Starts the mail sender detached; false when it could not be started.
        std::function<bool(const QString& program, const QStringList& arguments)> startMailer;
    };

    inline static const char* const kMailer = "Spedix.exe";
    static constexpr int kDefaultFontSize = 10;
    static constexpr int kMinFontSize = 6;
    static constexpr int kMaxFontSize = 36;

    // Reads the report file of `workDir` (a std::runtime_error naming it when it cannot be
    // read) and shows its first page; a page is `pageLength` lines (the whole file when
    // 0 or less), and a form-feed line ends a page, as on paper.
    Anteprima(std::filesystem::path workDir, int pageLength, QWidget* parent = nullptr, Hooks hooks = {});

    QPlainTextEdit* text1() const { return text1_; }
    int page() const { return page_; }  // 0-based
    int pageCount() const { return static_cast<int>(pages_.size()); }
    int fontSize() const { return fontSize_; }

    void inizio();   // "&Inizio": the first page
    void avanti();   // "&Avanti": the next page (the last one stays)
    void espandi();  // "E&spandi": a larger font
    void riduci();   // "&Riduci": a smaller font
    void salva();    // "Sa&lva": a copy of the report file where the user says
    void email();    // "E-&mail": the report file to the mail sender

private:
    std::filesystem::path workDir_;
    std::filesystem::path file_;
    Hooks hooks_;
    QPlainTextEdit* text1_ = nullptr;
    QLabel* pagina_ = nullptr;       // "Pagina n di m"
    QPushButton* avanti_ = nullptr;  // disabled on the last page
    std::vector<QString> pages_;
    int page_ = 0;
    int fontSize_ = kDefaultFontSize;

    void showPage(int page);
    void applyFont();
    void message(const QString& title, const QString& text, QMessageBox::Icon icon);
};

}  // namespace zt::report
