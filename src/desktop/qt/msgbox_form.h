#pragma once
// The program's own message box `MsgBox_Form`: a modal question with a prompt, a title,
// buttons "Ok", "Si", "No", "Annulla" and an icon chosen by the style value, answering
// with the values of desktop::msgbox (Ok 1, Annulla 2, Si 6, No 7).
//
// Style = buttons + icon + default button:
//   buttons  0 Ok; 1 Ok, Annulla; 3 Si, No, Annulla; 4 Si, No (other values: Ok)
//   icon     16 critical; 32 question; 48 exclamation; 64 information
//   default  0 first button; 256 second; 512 third (the first when there is no third)
// Esc and the close button answer Annulla when the box has it, Ok for a box with Ok
// alone, and do nothing for Si/No: the user must choose.
#include <QDialog>
#include <string>
#include <vector>

class QPushButton;

namespace zt::desktop {

class MsgBox_Form : public QDialog {
    Q_OBJECT
public:
    MsgBox_Form(const std::string& prompt, int style, const std::string& title, QWidget* parent = nullptr);

    // The answer given (msgbox::kAnswer...), 0 while none is given.
    int answer() const { return answer_; }
    // The buttons in order, left to right.
    const std::vector<QPushButton*>& buttons() const { return buttons_; }

    // Shows the box modally and returns the answer; centred on `over` (screen
    // coordinates) when that is given, else where the system puts it.
    static int ask(QWidget* parent, const std::string& prompt, int style, const std::string& title,
                   const QRect& over = QRect());

public slots:
    void reject() override;

private:
    std::vector<QPushButton*> buttons_;
    int answer_ = 0;
    int escapeAnswer_ = 0;  // 0: Esc does nothing

    // A button named `name` (its Italian text, whatever it shows) showing `text`.
    void addButton(const char* name, const QString& text, int answerValue);
};

}  // namespace zt::desktop
