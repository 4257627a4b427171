#pragma once
// The print menu `MenuStampa` (caption "Stampe non modificabili"): the destinations
// (`Combo1`), the installed printers (`Combo2`), compressed, landscape and two-sided
// printing, and the buttons `Tst`(0..5): archive copy, spreadsheet, PDF, print, preview,
// close. The rules beneath it are in report/print_menu_logic.h and docs/PRINTING.md.
#include <QDialog>
#include <QMessageBox>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>

#include "common/state.h"
#include "report/print_menu_logic.h"
#include "report/qt/anteprima.h"
#include "report/qt/print_output.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace zt::report {

class MenuStampa : public QDialog {
    Q_OBJECT
public:
    // What the menu asks of the desktop; each empty function does the usual thing.
    struct Hooks {
        // A message box (title, text, icon).
        std::function<void(const QString& title, const QString& text, QMessageBox::Icon icon)> message;
        // Opens a file with the desktop's program for its type; false when that failed.
        std::function<bool(const std::filesystem::path& file)> open;
        // The installed printers' names.
        std::function<std::vector<std::string>()> printers;
        // The time of the archive copy's name.
        std::function<Stamp()> clock;
        // Shows the preview (modally by default).
        std::function<void(Anteprima& preview)> preview;
        // Hooks handed to the preview.
        Anteprima::Hooks previewHooks;
    };

    // The captions of `Tst`(0..5), as the sources of their translations (tr()).
    static constexpr std::array<const char*, 6> kTstCaptions = {
        QT_TRANSLATE_NOOP("zt::report::MenuStampa", "A&rchivio"),
        QT_TRANSLATE_NOOP("zt::report::MenuStampa", "E&xcel"),
        QT_TRANSLATE_NOOP("zt::report::MenuStampa", "P&DF"),
        QT_TRANSLATE_NOOP("zt::report::MenuStampa", "S&tampa"),
        QT_TRANSLATE_NOOP("zt::report::MenuStampa", "&Anteprima"),
        QT_TRANSLATE_NOOP("zt::report::MenuStampa", "&Esci")};

    // Loads the menu: the archive copy of the report file and the installed printers.
    // `state` gives the working folder and the hotel number (0 counts as 1).
    MenuStampa(const ProgramState& state, QWidget* parent = nullptr, Hooks hooks = {});

    QComboBox* combo1() const { return combo1_; }
    QComboBox* combo2() const { return combo2_; }
    QCheckBox* chk() const { return chk_; }
    QCheckBox* chk2() const { return chk2_; }
    QCheckBox* chk3() const { return chk3_; }
    QPushButton* tst(int index) const { return tst_.at(static_cast<std::size_t>(index)); }

    const PrintMenuLogic& logic() const { return logic_; }
    // What the last print did; nullopt before any.
    const std::optional<PrintOutcome>& lastPrint() const { return lastPrint_; }

    // A click on `Tst`(index); an error is shown in a message box and the menu stays.
    void tstClick(int index);

protected:
    void showEvent(QShowEvent* event) override;
    // Activation: each time the menu becomes the active window again after another
    // window of this program was (the preview, a message box), the option string and the
    // destinations are read again and the first destination is selected. Its own
    // drop-down lists opening and closing, and other programs, are no such window: a
    // destination chosen in the list stays chosen.
    bool event(QEvent* event) override;

private:
    Hooks hooks_;
    PrintMenuLogic logic_;
    QComboBox* combo1_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QCheckBox* chk_ = nullptr;
    QCheckBox* chk2_ = nullptr;
    QCheckBox* chk3_ = nullptr;
    std::array<QPushButton*, 6> tst_{};
    bool shown_ = false;        // the first showing has run the first activation
    bool otherWindow_ = false;  // another window of this program was active since the last activation
    bool activating_ = false;   // an activation is running (its message boxes don't count)
    bool closing_ = false;      // no destination: the menu is closing
    std::optional<PrintOutcome> lastPrint_;

    void activate();
    void runActivation(const std::function<void()>& steps);
    void print();
    void openFile(const std::filesystem::path& file);
    void message(const QString& title, const QString& text, QMessageBox::Icon icon);
    PrintOptions options() const;
};

// Shows the print menu modally over `parent` for the report file just written; the
// window calls it from its UiPort::printMenu().
void runMenuStampa(ProgramState& state, QWidget* parent);

}  // namespace zt::report
