#include "desktop/qt/msgbox_form.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "desktop/ui_port.h"

namespace zt::desktop {

namespace {

QStyle::StandardPixmap iconFor(int style) {
    switch (msgbox::iconOf(style)) {
        case msgbox::kCritical: return QStyle::SP_MessageBoxCritical;
        case msgbox::kQuestion: return QStyle::SP_MessageBoxQuestion;
        case msgbox::kExclamation: return QStyle::SP_MessageBoxWarning;
        case msgbox::kInformation: return QStyle::SP_MessageBoxInformation;
        default: return QStyle::SP_CustomBase;  // no icon
    }
}

}  // namespace

MsgBox_Form::MsgBox_Form(const std::string& prompt, int style, const std::string& title, QWidget* parent)
    : QDialog(parent) {
    setObjectName("MsgBox_Form");
    setModal(true);
    setWindowTitle(title.empty() ? tr("Zentoria") : QString::fromStdString(title));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* text = new QLabel(QString::fromStdString(prompt), this);
    text->setObjectName("Prompt");
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setMinimumWidth(260);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    if (const auto pixmap = iconFor(style); pixmap != QStyle::SP_CustomBase) {
        auto* icon = new QLabel(this);
        icon->setObjectName("Icon");
        const int side = this->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        icon->setPixmap(this->style()->standardIcon(pixmap, nullptr, this).pixmap(side, side));
        icon->setAlignment(Qt::AlignTop);
        top->addWidget(icon, 0, Qt::AlignTop);
    }
    top->addWidget(text, 1);

    switch (msgbox::buttonsOf(style)) {
        case msgbox::kOkCancel:
            addButton("Ok", tr("Ok"), msgbox::kAnswerOk);
            addButton("Annulla", tr("Annulla"), msgbox::kAnswerCancel);
            escapeAnswer_ = msgbox::kAnswerCancel;
            break;
        case msgbox::kYesNoCancel:
            addButton("Si", tr("Si"), msgbox::kAnswerYes);
            addButton("No", tr("No"), msgbox::kAnswerNo);
            addButton("Annulla", tr("Annulla"), msgbox::kAnswerCancel);
            escapeAnswer_ = msgbox::kAnswerCancel;
            break;
        case msgbox::kYesNo:
            addButton("Si", tr("Si"), msgbox::kAnswerYes);
            addButton("No", tr("No"), msgbox::kAnswerNo);
            break;
        default:
            addButton("Ok", tr("Ok"), msgbox::kAnswerOk);
            escapeAnswer_ = msgbox::kAnswerOk;
            break;
    }

    std::size_t preselected = 0;
    if ((style & 0x300) == msgbox::kDefaultButton2) preselected = 1;
    if ((style & 0x300) == msgbox::kDefaultButton3) preselected = 2;
    if (preselected >= buttons_.size()) preselected = 0;

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (auto* b : buttons_) {
        b->setAutoDefault(true);
        b->setMinimumWidth(80);
        row->addWidget(b);
    }
    row->addStretch(1);
    buttons_[preselected]->setDefault(true);
    buttons_[preselected]->setFocus(Qt::OtherFocusReason);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->setSpacing(16);
    layout->addLayout(top);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void MsgBox_Form::addButton(const char* name, const QString& text, int answerValue) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    connect(b, &QPushButton::clicked, this, [this, answerValue] {
        answer_ = answerValue;
        done(answerValue);
    });
    buttons_.push_back(b);
}

void MsgBox_Form::reject() {
    if (escapeAnswer_ == 0) return;  // Si/No: a choice is required
    answer_ = escapeAnswer_;
    done(escapeAnswer_);
}

int MsgBox_Form::ask(QWidget* parent, const std::string& prompt, int style, const std::string& title,
                     const QRect& over) {
    MsgBox_Form box(prompt, style, title, parent);
    if (over.isValid()) {
        box.adjustSize();
        box.move(over.center() - box.rect().center());
    }
    box.exec();
    if (box.answer() != 0) return box.answer();
    // Closed without a choice (the program is ending): whatever is not a yes.
    return box.escapeAnswer_ != 0 ? box.escapeAnswer_ : msgbox::kAnswerNo;
}

}  // namespace zt::desktop
