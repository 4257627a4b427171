// The window while the figure server keeps it waiting: after half a second a progress
// dialog with "Annulla" is up, the window stays responsive, and "Annulla" ends the wait
// with a message, nothing kept.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>

#include "app/demo.h"
#include "desktop/qt/zent_desk_top.h"
#include "store/postgres/pg_connection.h"
#include "support/pg_server.h"
#include "support/run_program.h"
#include "support/testdir.h"
#include "window/window_support.h"

using zt::test::PgServer;
using zt::test::TestDir;

TEST(WindowServerWait, ALockedTableShowsAProgressDialogWhoseAnnullaEndsTheWait) {
    const std::string db = PgServer::shared().createDatabase("window_wait");
    TestDir dir;
    zt::app::writeDemo(dir.path(), true);
    const zt::test::Run init = zt::test::runCliWithServer(db, {"figures", "init"});
    ASSERT_EQ(init.status, 0) << init.err;
    // Statements give up after 20 s at most, so that a wait that never shows the dialog
    // fails here instead of holding the test.
    ::setenv("ZENTORIA_FIGURES_DB", (db + " options='-c zentoria.read_timeout=20'").c_str(), 1);
    zt::test::qtApp();
    zt::ProgramState state;
    state.workDir = dir.path();
    zt::test::FakeUi ui;
    auto w = std::make_unique<zt::desktop::ZentDeskTop>(state, zt::Separators{",", "."}, &ui);
    ASSERT_TRUE(w->start(2024));
    w->show();
    // Another session holds the detail table: every sum waits for it.
    zt::store::PgConnection holder = zt::store::PgConnection::open(db);
    holder.exec("BEGIN"), holder.exec("LOCK TABLE \"Dettaglio\" IN ACCESS EXCLUSIVE MODE");

    bool seen = false;
    std::string label, button;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = w->findChild<QProgressDialog*>("ServerWait");
        if (!dialog || !dialog->isVisible()) return;
        seen = true;
        label = dialog->labelText().toStdString();
        if (auto* b = dialog->findChild<QPushButton*>()) button = b->text().toStdString();
        dialog->cancel();  // "Annulla"
    });
    poll.start(100);
    zt::test::choose(w->findChild<QComboBox*>("Combo1_0"), 0);
    zt::test::choose(w->findChild<QComboBox*>("Combo1_1"), 0);  // loads the grid: waits on the lock
    poll.stop();
    holder.exec("ROLLBACK");
    ::unsetenv("ZENTORIA_FIGURES_DB");

    EXPECT_TRUE(seen);
    EXPECT_EQ(button, "Annulla");
    EXPECT_NE(label.find("server"), std::string::npos) << label;
    ASSERT_FALSE(ui.messages.empty());
    const std::string& said = ui.messages.back();
    EXPECT_NE(said.find("cancelled (\"Annulla\")"), std::string::npos) << said;
    EXPECT_EQ(said.find("limit of 20"), std::string::npos) << said;
    EXPECT_TRUE(w->isVisible());
    const auto* after = w->findChild<QProgressDialog*>("ServerWait");  // gone with the wait
    EXPECT_TRUE(after == nullptr || !after->isVisible());
}
