#include "desktop/qt/passwd_security.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "desktop/qt/msgbox_form.h"
#include "desktop/ui_port.h"

namespace zt::desktop {

namespace {

void showInMsgBox(QWidget* parent, const std::string& message) {
    MsgBox_Form::ask(parent, message, msgbox::kOkOnly + msgbox::kCritical,
                     QCoreApplication::translate("Gate", gate_text::kCaption).toStdString());
}

}  // namespace

PasswdSecurity::PasswdSecurity(const GateRequest& request, QWidget* parent, RefusalNotice onRefused)
    : QDialog(parent), gate_(request), onRefused_(std::move(onRefused)) {
    setObjectName("PasswdSecurity");
    setModal(true);
    setWindowTitle(QCoreApplication::translate("Gate", gate_text::kCaption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (!onRefused_) onRefused_ = [this](const std::string& message) { showInMsgBox(this, message); };

    shape1_ = new QFrame(this);
    shape1_->setObjectName("Shape1");
    shape1_->setFrameShape(QFrame::Box);
    text1_ = new QLineEdit(shape1_);
    text1_->setObjectName("Text1");
    text1_->setEchoMode(QLineEdit::Password);
    text1_->setAlignment(Qt::AlignCenter);
    text1_->setMinimumWidth(180);
    auto* frameLayout = new QHBoxLayout(shape1_);
    frameLayout->setContentsMargins(6, 6, 6, 6);
    frameLayout->addWidget(text1_);

    message_ = new QLabel(this);
    message_->setObjectName("Messaggio");
    message_->setTextFormat(Qt::PlainText);
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignCenter);
    message_->setText(QString::fromStdString(gate_.hint()));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(shape1_);
    layout->addWidget(message_);
    setMinimumWidth(300);

    connect(text1_, &QLineEdit::returnPressed, this, &PasswdSecurity::text1Enter);
    text1_->setFocus();
}

void PasswdSecurity::text1Enter() {
    if (!text1_->isEnabled()) return;  // a try already waits its turn
    const std::string typed = text1_->text().toStdString();
    text1_->clear();
    // After wrong passwords in a row the gate waits before it checks: the dialog keeps
    // painting and says why, and the field takes nothing meanwhile.
    const GateClock previous = setGateClock({});
    GateClock waiting = previous;
    waiting.sleep = [this](std::int64_t seconds) {
        if (seconds <= 0) return;
        text1_->setEnabled(false);
        message_->setText(tr("Troppe password errate di seguito: attendere %1 secondi…").arg(seconds));
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        text1_->setEnabled(true);
    };
    setGateClock(waiting);
    const GateResult result = gate_.submit(typed);
    setGateClock(previous);
    switch (result.outcome) {
        case GateOutcome::Granted:
            message_->clear();
            done(QDialog::Accepted);
            break;
        case GateOutcome::Wrong:
            message_->setText(QString::fromStdString(result.message));
            text1_->setFocus();
            break;
        case GateOutcome::Refused:
            message_->setText(QString::fromStdString(result.message));
            onRefused_(result.message);
            done(QDialog::Rejected);
            break;
    }
}

void PasswdSecurity::reject() {
    gate_.cancel();
    QDialog::reject();
}

std::string runPasswdSecurity(const GateRequest& request, QWidget* parent,
                              PasswdSecurity::RefusalNotice onRefused) {
    {
        const AccessGate gate(request);
        if (!gate.refusalAtOnce().empty()) {
            if (onRefused) onRefused(gate.refusalAtOnce());
            else showInMsgBox(parent, gate.refusalAtOnce());
            return "N";
        }
    }
    PasswdSecurity dialog(request, parent, std::move(onRefused));
    dialog.exec();
    return dialog.accessFlag() == "S" ? "S" : "N";
}

}  // namespace zt::desktop
