// The program's message box: the buttons each style shows, the preselected button, the
// answers of the buttons and of Esc.
#include "desktop/qt/msgbox_form.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "window/window_support.h"

namespace zt::desktop {
namespace {

QStringList names(const MsgBox_Form& box) {
    QStringList out;
    for (auto* b : box.buttons()) out << b->objectName() + "=" + b->text();
    return out;
}

QPushButton* button(const MsgBox_Form& box, const char* name) {
    auto* b = box.findChild<QPushButton*>(name);
    if (!b) throw std::runtime_error(std::string("no button ") + name);
    return b;
}

TEST(MsgBoxForm, ButtonsIconsAndPreselection) {
    test::qtApp();
    {
        MsgBox_Form box("Sei sicuro?", 292, "Zentoria");
        box.show();
        EXPECT_EQ(box.windowTitle(), "Zentoria");
        EXPECT_EQ(names(box), QStringList({"Si=Si", "No=No"}));
        EXPECT_TRUE(button(box, "No")->isDefault());
        EXPECT_FALSE(button(box, "Si")->isDefault());
        EXPECT_EQ(box.focusWidget(), button(box, "No"));
        EXPECT_NE(box.findChild<QLabel*>("Icon"), nullptr);
        EXPECT_EQ(box.findChild<QLabel*>("Prompt")->text(), "Sei sicuro?");
    }
    {
        MsgBox_Form box("x", msgbox::kOkOnly, "");
        EXPECT_EQ(names(box), QStringList({"Ok=Ok"}));
        EXPECT_EQ(box.findChild<QLabel*>("Icon"), nullptr);
        EXPECT_TRUE(button(box, "Ok")->isDefault());
    }
    {
        MsgBox_Form box("x", msgbox::kOkCancel | msgbox::kExclamation, "T");
        EXPECT_EQ(names(box), QStringList({"Ok=Ok", "Annulla=Annulla"}));
    }
    {
        MsgBox_Form box("x", msgbox::kYesNoCancel | msgbox::kDefaultButton3, "T");
        EXPECT_EQ(names(box), QStringList({"Si=Si", "No=No", "Annulla=Annulla"}));
        EXPECT_TRUE(button(box, "Annulla")->isDefault());
    }
    {
        // A third default on two buttons falls back to the first.
        MsgBox_Form box("x", msgbox::kYesNo | msgbox::kDefaultButton3, "T");
        EXPECT_TRUE(button(box, "Si")->isDefault());
    }
}

TEST(MsgBoxForm, AnswersOfTheButtonsAndOfEsc) {
    test::qtApp();
    auto answer = [](int style, const char* click) {
        MsgBox_Form box("x", style, "T");
        box.show();
        QTest::mouseClick(button(box, click), Qt::LeftButton);
        EXPECT_FALSE(box.isVisible());
        return box.answer();
    };
    EXPECT_EQ(answer(292, "Si"), 6);
    EXPECT_EQ(answer(292, "No"), 7);
    EXPECT_EQ(answer(msgbox::kOkOnly, "Ok"), 1);
    EXPECT_EQ(answer(msgbox::kOkCancel, "Annulla"), 2);
    EXPECT_EQ(answer(msgbox::kYesNoCancel, "Annulla"), 2);

    auto escape = [](int style) {
        MsgBox_Form box("x", style, "T");
        box.show();
        QTest::keyClick(&box, Qt::Key_Escape);
        return std::make_pair(box.isVisible(), box.answer());
    };
    EXPECT_EQ(escape(msgbox::kOkOnly), std::make_pair(false, 1));
    EXPECT_EQ(escape(msgbox::kOkCancel), std::make_pair(false, 2));
    EXPECT_EQ(escape(msgbox::kYesNoCancel), std::make_pair(false, 2));
    // Si/No: Esc does not answer.
    EXPECT_EQ(escape(292), std::make_pair(true, 0));
}

}  // namespace
}  // namespace zt::desktop
