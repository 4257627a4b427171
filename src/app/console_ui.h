#pragma once
// The window's questions and messages on the command line: messages go to standard
// error, questions are answered from the terminal (or by --yes), and the access gate
// takes the password from ZENTORIA_PASSWORD or the terminal.
#include <functional>
#include <iosfwd>
#include <string>

#include "desktop/ui_port.h"

namespace zt::app {

class ConsoleUi : public desktop::UiPort {
public:
    ConsoleUi(std::istream& in, std::ostream& err, bool assumeYes);

    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string accessGate(const desktop::GateRequest& request) override;
    // One line on standard error for each new step (the first line of the text).
    bool progress(const std::string& text) override;

    // Called with the answer of each question asked.
    void setOnAnswer(std::function<void(int)> fn) { onAnswer_ = std::move(fn); }

    // Whether an error message was shown (the command then exits with status 1).
    bool errorShown() const { return errorShown_; }

private:
    std::istream& in_;
    std::ostream& err_;
    bool assumeYes_;
    bool errorShown_ = false;
    std::function<void(int)> onAnswer_;
    std::string lastStep_;
};

}  // namespace zt::app
