#include "desktop/qt/passwd_security.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "support/testdir.h"
#include "window/window_support.h"

using namespace zt::desktop;
using zt::test::TestDir;

namespace {

GateRequest requestFor(const TestDir& dir, const std::string& options = "") {
    return makeGateRequest(readSecurityPwd(dir.path()), options);
}

void typeAndEnter(QLineEdit* field, const QString& text) {
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

}  // namespace

TEST(PasswdSecurityDialog, WrongPasswordStaysRightPasswordCloses) {
    zt::test::qtApp();
    TestDir dir;
    setPassword(dir.path(), "Direttore!");

    std::vector<std::string> notices;
    PasswdSecurity dialog(requestFor(dir), nullptr, [&](const std::string& m) { notices.push_back(m); });
    EXPECT_EQ(dialog.windowTitle(), "Direzione");
    auto* text1 = dialog.findChild<QLineEdit*>("Text1");
    auto* shape1 = dialog.findChild<QFrame*>("Shape1");
    ASSERT_NE(text1, nullptr);
    ASSERT_NE(shape1, nullptr);
    EXPECT_EQ(text1->parentWidget(), shape1);
    EXPECT_EQ(text1->echoMode(), QLineEdit::Password);
    dialog.show();

    typeAndEnter(text1, "direttore!");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.message()->text().contains("Password errata"));
    EXPECT_TRUE(text1->text().isEmpty());
    EXPECT_EQ(dialog.accessFlag(), "");

    typeAndEnter(text1, "Direttore!");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.accessFlag(), "S");
    EXPECT_TRUE(notices.empty());
}

TEST(PasswdSecurityDialog, RefusalsCloseWithN) {
    zt::test::qtApp();
    TestDir dir;
    setPassword(dir.path(), "Direttore!");
    std::vector<std::string> notices;
    auto notice = [&](const std::string& m) { notices.push_back(m); };

    // "^": the first wrong password closes the gate and the reason is shown.
    PasswdSecurity strict(requestFor(dir, "^"), nullptr, notice);
    strict.show();
    typeAndEnter(strict.text1(), "no");
    EXPECT_FALSE(strict.isVisible());
    EXPECT_EQ(strict.accessFlag(), "N");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("Password errata"), std::string::npos);

    // Esc refuses.
    PasswdSecurity closed(requestFor(dir), nullptr, notice);
    closed.show();
    QTest::keyClick(closed.text1(), Qt::Key_Escape);
    EXPECT_FALSE(closed.isVisible());
    EXPECT_EQ(closed.accessFlag(), "N");

    // A damaged file is refused without asking for a password.
    dir.write(kSecurityFileName, "rotto\r\n");
    notices.clear();
    EXPECT_EQ(runPasswdSecurity(requestFor(dir), nullptr, notice), "N");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("danneggiato"), std::string::npos);
}

TEST(PasswdSecurityDialog, NoPasswordSetEnterOpens) {
    zt::test::qtApp();
    TestDir dir;
    PasswdSecurity dialog(requestFor(dir));
    dialog.show();
    EXPECT_FALSE(dialog.message()->text().isEmpty());
    QTest::keyClick(dialog.text1(), Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.accessFlag(), "S");
}
