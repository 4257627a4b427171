#include "app/console_ui.h"

#include <istream>
#include <ostream>

#include "app/passwd_cmd.h"
#include "common/env.h"
#include "common/text.h"
#include "common/translate.h"
#include "desktop/passwd.h"

namespace zt::app {

using namespace desktop::msgbox;

ConsoleUi::ConsoleUi(std::istream& in, std::ostream& err, bool assumeYes)
    : in_(in), err_(err), assumeYes_(assumeYes) {}

int ConsoleUi::msgBox(const std::string& prompt, int style, const std::string& title) {
    const int buttons = buttonsOf(style);
    const bool asks = buttons == kYesNo || buttons == kYesNoCancel;
    if (!asks) {
        if (iconOf(style) == kCritical) errorShown_ = true;
        err_ << title << ": " << prompt << "\n";
        return kAnswerOk;
    }
    int result = kAnswerYes;
    if (!assumeYes_) {
        err_ << title << ": " << prompt << " [s/N] " << std::flush;
        std::string answer;
        std::getline(in_, answer);
        answer = trim(answer);
        const bool yes = answer == "s" || answer == "S" || answer == "si" || answer == "Si" || answer == "SI" ||
                         answer == "y" || answer == "yes";
        result = yes ? kAnswerYes : kAnswerNo;
    }
    if (onAnswer_) onAnswer_(result);
    return result;
}

bool ConsoleUi::progress(const std::string& text) {
    const std::string step = text.substr(0, text.find('\n'));
    if (step != lastStep_) {
        err_ << step << "\n";
        lastStep_ = step;
    }
    return true;
}

// The gate on the command line: no password set opens it as Enter on the empty field
// does; a password set is taken from ZENTORIA_PASSWORD (one attempt) or asked on the
// terminal without echo (the gate's attempts).
std::string ConsoleUi::accessGate(const desktop::GateRequest& request) {
    desktop::AccessGate gate(request);
    auto refuse = [&](const std::string& why) {
        if (!gate.finished()) gate.cancel();
        err_ << translate("Gate", desktop::gate_text::kCaption) << ": " << why << "\n";
        errorShown_ = true;
        return gate.accessFlag();
    };
    if (!gate.refusalAtOnce().empty()) return refuse(gate.refusalAtOnce());
    if (request.fileState == desktop::PwdFileState::Absent) {
        const auto r = gate.submit("");
        return gate.finished() ? gate.accessFlag() : refuse(r.message);
    }
    if (const auto fromEnv = envValue(kPasswordVariable)) {
        // One attempt: a wrong password refuses at once, so no attempts are left to tell.
        gate.submit(*fromEnv);
        return gate.accessFlag() == "S"
                   ? gate.accessFlag()
                   : refuse(std::string(kPasswordVariable) + ": Password errata. Accesso negato.");
    }
    desktop::GateResult last{desktop::GateOutcome::Refused,
                             std::string("password richiesta: impostare ") + kPasswordVariable +
                                 " o eseguire il comando da un terminale."};
    while (!gate.finished()) {
        const auto typed = readPasswordFromTerminal("Password: ");
        if (!typed) break;
        last = gate.submit(*typed);
        if (!gate.finished() && !last.message.empty()) err_ << last.message << "\n";
    }
    return gate.accessFlag() == "S" ? gate.accessFlag() : refuse(last.message);
}

}  // namespace zt::app
