#pragma once
// The access gate `PasswdSecurity` (caption "Direzione"): a modal dialog with one
// password field `Text1` inside the frame `Shape1`. Enter hands the typed text to
// AccessGate (desktop/passwd.h): a wrong password shows the message in the dialog and
// empties the field; access granted or refused closes the dialog with the access flag.
// Esc and the close button refuse.
#include <QDialog>
#include <functional>
#include <string>

#include "desktop/passwd.h"

class QFrame;
class QLabel;
class QLineEdit;

namespace zt::desktop {

class PasswdSecurity : public QDialog {
    Q_OBJECT
public:
    // Shows the message of a refusal to the user before the gate closes.
    using RefusalNotice = std::function<void(const std::string& message)>;

    // Without a notice, a refusal is shown in the program's message box `MsgBox_Form`.
    explicit PasswdSecurity(const GateRequest& request, QWidget* parent = nullptr,
                            RefusalNotice onRefused = {});

    // "S" granted, "N" refused or closed, "" while the gate is open.
    const std::string& accessFlag() const { return gate_.accessFlag(); }

    QLineEdit* text1() const { return text1_; }
    QFrame* shape1() const { return shape1_; }
    QLabel* message() const { return message_; }

public slots:
    void reject() override;

private slots:
    void text1Enter();

private:
    AccessGate gate_;
    RefusalNotice onRefused_;
    QFrame* shape1_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLabel* message_ = nullptr;
};

// Shows the gate modally for the request and returns the access flag it leaves: "S"
// granted, "N" refused. A refusal decided before anything can be typed (a damaged
// "Security.pwd", option "P" with no password set) is shown at once without asking
// for a password. `onRefused` as for PasswdSecurity.
std::string runPasswdSecurity(const GateRequest& request, QWidget* parent,
                              PasswdSecurity::RefusalNotice onRefused = {});

}  // namespace zt::desktop
