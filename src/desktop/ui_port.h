#pragma once
// What the window's logic asks of the user: message boxes, questions and the access
// gate. The window implements it with Qt dialogs, the command line with plain output
// and flags, the tests with fakes.
#include <string>

namespace zt::desktop {

// Style values and answers of the program's message box `MsgBox_Form`, with the values
// of the original platform.
namespace msgbox {
inline constexpr int kOkOnly = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kYesNoCancel = 3;
inline constexpr int kYesNo = 4;
inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;
inline constexpr int kDefaultButton2 = 256;
inline constexpr int kDefaultButton3 = 512;

inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerCancel = 2;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// The parts of a style value: its buttons (kOkOnly ... kYesNo) and its icon (kCritical
// ... kInformation, 0 for none).
constexpr int buttonsOf(int style) { return style & 0x0f; }
constexpr int iconOf(int style) { return style & 0x70; }
}  // namespace msgbox

struct GateRequest;  // see passwd.h

class UiPort {
public:
    virtual ~UiPort() = default;
    // Shows `MsgBox_Form` modally; returns the answer value (msgbox::kAnswer...).
    virtual int msgBox(const std::string& prompt, int style, const std::string& title) = 0;
    // Shows the access gate `PasswdSecurity` modally. Returns the access flag it
    // leaves: "S" granted, "N" refused.
    virtual std::string accessGate(const GateRequest& request) = 0;

    // The print menu `MenuStampa`, modal, after a report file was written.
    virtual void printMenu() {}
    // The hourglass mouse pointer during long work (true), and back (false).
    virtual void busy(bool /*on*/) {}
    // Progress of long work, shown with a way to stop it: returns false when the user
    // asked to stop. progressDone() closes what progress() showed.
    virtual bool progress(const std::string& /*text*/) { return true; }
    // How far the work is, told before each progress() step: `done` steps of `total`.
    virtual void progressCount(int /*done*/, int /*total*/) {}
    virtual void progressDone() {}
};

}  // namespace zt::desktop
