// Which folder the program works on without --dir: a command tries the current folder
// and says how to name another; the window tries the current folder, then the one
// remembered from the last start, then asks with its folder dialog (real widgets,
// offscreen), remembering a folder only once the hotel registry is found there.
#include "app/work_folder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "app/window_main.h"
#include "desktop/qt/msgbox_form.h"
#include "support/run_program.h"
#include "support/testdir.h"

namespace fs = std::filesystem;

namespace zt::app {
namespace {

// The widgets' application, made before any test could make a plain GUI application.
QApplication& widgetsApp() {
    static QApplication* app = [] {
        static int argc = 3;
        static char name[] = "test_app", option[] = "-platform", platform[] = "offscreen";
        static char* argv[] = {name, option, platform, nullptr};
        auto* a = new QApplication(argc, argv);  // lives until the program ends
        QApplication::setQuitOnLastWindowClosed(false);
        return a;
    }();
    return *app;
}
[[maybe_unused]] const bool kAppMade = (widgetsApp(), true);

void registry(const test::TestDir& dir, const std::string& sub = "") {
    fs::create_directories(dir.path() / sub);
    dir.sql((fs::path(sub) / kRegistryFile).string(),
            "CREATE TABLE AnagraficaHotels(Numero INTEGER, RagioneSociale TEXT, CodiceAssistenza TEXT);"
            "INSERT INTO AnagraficaHotels VALUES(1,'Hotel Uno','');");
}

class WorkFolderTest : public ::testing::Test {
protected:
    // The user's configuration folder of this test.
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(config.path().string()));
    }

    // What the user does in each dialog that opens, in turn: a folder to choose in the
    // folder dialog (empty: "Annulla"), or Ok in the message box, whose text is kept.
    // A start still asking after a minute fails the test and has every dialog closed.
    std::optional<fs::path> choose(std::optional<fs::path> dirOption, const fs::path& current,
                                   std::vector<std::optional<fs::path>> choices) {
        std::optional<fs::path> pending;
        bool gaveUp = false;
        QTimer user;  // looks at the screen every few milliseconds while the start runs
        user.setInterval(10);
        QObject::connect(&user, &QTimer::timeout, [&] {
            if (gaveUp) {
                for (auto* w : QApplication::topLevelWidgets())
                    if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->done(QDialog::Rejected);
                return;
            }
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<desktop::MsgBox_Form*>(modal)) {
                messages.push_back(box->findChild<QLabel*>("Prompt")->text().toStdString());
                box->buttons().front()->click();
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                if (!dialog->property("answered").toBool()) {
                    dialog->setProperty("answered", true);
                    ++dialogs;
                    starts.push_back(dialog->directory().absolutePath().toStdString());
                    pending = choices.empty() ? std::nullopt : choices.front();
                    if (!choices.empty()) choices.erase(choices.begin());
                }
                pick(dialog, pending);
            }
        });
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            ADD_FAILURE() << "the start still asks after a minute; on screen: "
                          << (modal ? modal->metaObject()->className() : "no modal window") << ", "
                          << choices.size() << " choices left";
            gaveUp = true;
        });
        user.start();
        deadline.start(60000);
        return windowFolder(dirOption, current, folderDialogs());
    }

    // In the folder dialog, as a user: go to the folder's parent, type its name in
    // "Cartella:" and press "Scegli" once the dialog takes it (its listing loads in the
    // background); or press "Annulla". Typing goes into the field itself: selectFile()
    // leaves a field that has the focus as it is.
    static void pick(QFileDialog* dialog, const std::optional<fs::path>& folder) {
        QPushButton* press = nullptr;
        for (auto* b : dialog->findChildren<QPushButton*>())
            if (b->text() == (folder ? "Scegli" : "Annulla")) press = b;
        if (!press) return;
        if (!folder) {
            press->click();
            return;
        }
        const QString parent = QString::fromStdString(folder->parent_path().string());
        const QString name = QString::fromStdString(folder->filename().string());
        auto* field = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (dialog->directory().absolutePath() != parent) {
            dialog->setDirectory(parent);
        } else if (field->text() != name) {
            field->setText(name);
        } else if (dialog->selectedFiles() == QStringList{QString::fromStdString(folder->string())} &&
                   press->isEnabled()) {
            press->click();
        } else {
            field->clear();  // typed again on the next look
        }
    }

    test::TestDir config, work;
    std::vector<std::string> messages, starts;
    int dialogs = 0;
};

TEST_F(WorkFolderTest, WindowTakesDirThenTheCurrentFolderThenTheRememberedOne) {
    registry(work, "hotel");
    const fs::path hotel = work.path() / "hotel";
    EXPECT_EQ(choose(work.path() / "elsewhere", work.path(), {}), work.path() / "elsewhere");
    EXPECT_EQ(choose(std::nullopt, hotel, {}), hotel);
    EXPECT_EQ(dialogs, 0);
    EXPECT_FALSE(rememberedFolder()) << "only the dialog's choice is remembered";

    rememberFolder(hotel);
    EXPECT_EQ(choose(std::nullopt, work.path(), {}), hotel);
    EXPECT_EQ(dialogs, 0);

    // A folder copied from Windows: the registry under another case is the registry.
    registry(work, "copia");
    const fs::path copia = work.path() / "copia";
    fs::rename(copia / kRegistryFile, copia / "ANAGRAFICAHOTELS.MDB");
    EXPECT_EQ(choose(std::nullopt, copia, {}), copia);
    EXPECT_EQ(commandFolder(std::nullopt, copia), copia);
    EXPECT_EQ(dialogs, 0);
}

TEST_F(WorkFolderTest, DialogAsksAgainUntilTheRegistryIsFoundAndRemembersThatFolder) {
    registry(work, "hotel");
    fs::create_directories(work.path() / "empty");
    const auto chosen = choose(std::nullopt, work.path(), {work.path() / "empty", work.path() / "hotel"});
    ASSERT_EQ(chosen, work.path() / "hotel");
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(starts.front(), work.path().string());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find((work.path() / "empty").string()), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find(kRegistryFile), std::string::npos) << messages[0];
    EXPECT_EQ(rememberedFolder(), work.path() / "hotel");
    EXPECT_TRUE(fs::exists(config.path() / "Zentoria" / "zentoria.conf"));

    // The next start opens it directly, from any folder.
    test::TestDir elsewhere;
    EXPECT_EQ(choose(std::nullopt, elsewhere.path(), {}), work.path() / "hotel");
    EXPECT_EQ(dialogs, 2);
}

TEST_F(WorkFolderTest, AnnullaEndsWithoutAFolderAndRemembersNothing) {
    fs::create_directories(work.path() / "empty");
    EXPECT_EQ(choose(std::nullopt, work.path(), {work.path() / "empty", std::nullopt}), std::nullopt);
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_FALSE(rememberedFolder());

    // A remembered folder that lost its registry opens the dialog there.
    rememberFolder(work.path() / "empty");
    EXPECT_EQ(choose(std::nullopt, work.path(), {std::nullopt}), std::nullopt);
    EXPECT_EQ(starts.back(), (work.path() / "empty").string());
}

TEST_F(WorkFolderTest, CommandsNeverAskAndNameTheFolderTheyTried) {
    rememberFolder(work.path());  // a remembered folder is no choice for a command
    const std::string grid = "cd '" + work.path().string() + "' && XDG_CONFIG_HOME='" + config.path().string() +
                             "' DISPLAY=:0 '" + test::programPath() +
                             "' grid --hotel 1 --year 2025 --stat Presenze --detail Generale";
    auto r = test::runShell(grid);
    EXPECT_TRUE(failedSaying(r, 1, work.path().string()));
    EXPECT_NE(r.err.find(kRegistryFile), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("--dir"), std::string::npos) << r.err;

    ASSERT_EQ(test::runProgram("demo '" + work.path().string() + "'").status, 0);
    r = test::runShell(grid);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 12);
}

}  // namespace
}  // namespace zt::app
