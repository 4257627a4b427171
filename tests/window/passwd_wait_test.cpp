// The gate's dialog while it waits after wrong passwords in a row: it says why, keeps
// painting, takes no typing, and the right password then opens it.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "desktop/passwd.h"
#include "desktop/qt/passwd_security.h"
#include "support/testdir.h"
#include "window/window_support.h"

using namespace zt::desktop;
using zt::test::TestDir;

TEST(PasswdSecurityWait, TheDialogSaysWhyItWaitsAndThenTheRightPasswordOpens) {
    zt::test::qtApp();
    TestDir dir;
    setPassword(dir.path(), "Direttore!");
    // A clock that stands still: the wait is exactly one second after three wrong ones.
    const GateClock real = setGateClock({[] { return std::int64_t{1'700'000'000}; }, [](std::int64_t) {}});
    for (int i = 0; i < kFreeTries; ++i) {
        AccessGate gate(makeGateRequest(readSecurityPwd(dir.path()), "^"));
        ASSERT_EQ(gate.submit("sbagliata").outcome, GateOutcome::Refused);
    }
    PasswdSecurity dialog(makeGateRequest(readSecurityPwd(dir.path()), ""), nullptr, [](const std::string&) {});
    dialog.show();
    auto* text1 = dialog.findChild<QLineEdit*>("Text1");
    ASSERT_NE(text1, nullptr);
    QString during;
    bool enabledDuring = true;
    QTimer::singleShot(300, [&] {
        during = dialog.message()->text();
        enabledDuring = text1->isEnabled();
    });
    QTest::keyClicks(text1, "Direttore!");
    QTest::keyClick(text1, Qt::Key_Return);
    setGateClock(real);
    EXPECT_TRUE(during.contains("attendere 1 secondi")) << during.toStdString();
    EXPECT_FALSE(enabledDuring);
    EXPECT_EQ(dialog.accessFlag(), "S");
}
