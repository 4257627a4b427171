#include "app/passwd_cmd.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cstdlib>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli.h"
#include "common/translate.h"
#include "desktop/passwd.h"
#include "store/sqlite/database.h"
#include "support/db_error.h"
#include "support/run_program.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using zt::app::checkPasswordForCommand;
using zt::app::cmdPasswd;
using zt::test::TestDir;

namespace {

using Outcome = zt::test::Run;

Outcome passwd(const TestDir& dir, const std::string& input, std::vector<std::string> args = {}) {
    std::istringstream in(input);
    return zt::test::capture([&](std::ostream& out, std::ostream& err) { return cmdPasswd(dir.path(), args, in, out, err); });
}

bool opensWith(const TestDir& dir, const std::string& password) {
    const auto file = zt::desktop::readSecurityPwd(dir.path());
    return file.state == zt::desktop::PwdFileState::Ok &&
           zt::desktop::verifyPassword(password, file.storedPassword);
}

// Sets or unsets ZENTORIA_PASSWORD for one test and puts back what was there.
class PasswordVariable {
public:
    explicit PasswordVariable(const char* value) {
        if (const char* old = std::getenv(zt::app::kPasswordVariable)) old_ = old;
        if (value) setenv(zt::app::kPasswordVariable, value, 1);
        else unsetenv(zt::app::kPasswordVariable);
    }
    ~PasswordVariable() {
        if (old_) setenv(zt::app::kPasswordVariable, old_->c_str(), 1);
        else unsetenv(zt::app::kPasswordVariable);
    }

private:
    std::optional<std::string> old_;
};

// A terminal that answers with the given lines, then has nothing more.
struct FakeTerminal {
    std::vector<std::string> answers;
    int asked = 0;
    zt::app::PasswordPrompt prompt() {
        return [this](const std::string&) -> std::optional<std::string> {
            if (asked >= static_cast<int>(answers.size())) return std::nullopt;
            return answers[static_cast<std::size_t>(asked++)];
        };
    }
};

}  // namespace

TEST(PasswdCommand, SetsChangesAndClearsFromStandardInput) {
    TestDir dir;
    // No password yet: an empty line or end of input sets nothing.
    EXPECT_EQ(passwd(dir, "\n").status, 0);
    EXPECT_EQ(passwd(dir, "").status, 1);
    EXPECT_FALSE(fs::exists(dir / "Security.pwd"));

    Outcome r = passwd(dir, "uno due\r\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(opensWith(dir, "uno due"));
    EXPECT_EQ(dir.read("Security.pwd").find("uno"), std::string::npos);

    // Changing asks for the current password first; a wrong one changes nothing.
    const std::string before = dir.read("Security.pwd");
    r = passwd(dir, "sbagliata\nnuova\n");
    EXPECT_TRUE(failedSaying(r, 1, "wrong password"));
    EXPECT_EQ(dir.read("Security.pwd"), before);
    EXPECT_EQ(passwd(dir, "").status, 1);
    EXPECT_EQ(passwd(dir, "uno due\n").status, 1);  // no new password
    EXPECT_EQ(dir.read("Security.pwd"), before);

    r = passwd(dir, "uno due\nnuova\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(opensWith(dir, "nuova"));
    EXPECT_FALSE(opensWith(dir, "uno due"));

    // --clear, after the current password, removes the file.
    EXPECT_EQ(passwd(dir, "uno due\n", {"--clear"}).status, 1);
    EXPECT_TRUE(fs::exists(dir / "Security.pwd"));
    r = passwd(dir, "nuova\n", {"--clear"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::exists(dir / "Security.pwd"));

    // An empty new password clears too.
    ASSERT_EQ(passwd(dir, "tre\n").status, 0);
    r = passwd(dir, "tre\n\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::exists(dir / "Security.pwd"));

    EXPECT_EQ(passwd(dir, "x\n", {"--bogus"}).status, 2);
    EXPECT_FALSE(fs::exists(dir / "Security.pwd"));
}

TEST(PasswdCommand, LeavesADamagedFileAlone) {
    TestDir dir;
    dir.write("Security.pwd", "qualcosa\r\n");
    const Outcome r = passwd(dir, "x\ny\n");
    EXPECT_TRUE(failedSaying(r, 1, "danneggiato"));
    EXPECT_EQ(dir.read("Security.pwd"), "qualcosa\r\n");
    EXPECT_EQ(passwd(dir, "x\n", {"--clear"}).status, 1);
    EXPECT_TRUE(fs::exists(dir / "Security.pwd"));
}

TEST(PasswdCommand, FigureCommandsNeedThePasswordWhenOneIsSet) {
    TestDir dir;
    std::ostringstream err;
    {
        PasswordVariable unset(nullptr);
        FakeTerminal terminal;
        EXPECT_TRUE(checkPasswordForCommand(dir.path(), "", err, terminal.prompt()));
        EXPECT_EQ(terminal.asked, 0);
        // "P": a password is required for this hotel, and none is set.
        EXPECT_FALSE(checkPasswordForCommand(dir.path(), "P", err, terminal.prompt()));
        EXPECT_NE(err.str().find("zentoria passwd"), std::string::npos);
    }

    zt::desktop::setPassword(dir.path(), "chiave");
    {
        PasswordVariable right("chiave");
        FakeTerminal terminal;
        EXPECT_TRUE(checkPasswordForCommand(dir.path(), "", err, terminal.prompt()));
        EXPECT_EQ(terminal.asked, 0);
    }
    {
        PasswordVariable wrong("Chiave");
        FakeTerminal terminal{{"chiave"}};
        err.str("");
        EXPECT_FALSE(checkPasswordForCommand(dir.path(), "", err, terminal.prompt()));
        EXPECT_EQ(terminal.asked, 0);  // a script's wrong password is not retried
        EXPECT_NE(err.str().find("ZENTORIA_PASSWORD"), std::string::npos);
    }
    PasswordVariable unset(nullptr);
    {
        FakeTerminal none;
        err.str("");
        EXPECT_FALSE(checkPasswordForCommand(dir.path(), "", err, none.prompt()));
        EXPECT_NE(err.str().find("ZENTORIA_PASSWORD"), std::string::npos);
    }
    {
        FakeTerminal terminal{{"a", "b", "chiave"}};
        EXPECT_TRUE(checkPasswordForCommand(dir.path(), "", err, terminal.prompt()));
        EXPECT_EQ(terminal.asked, 3);
    }
    {
        FakeTerminal terminal{{"a", "b", "c", "chiave"}};
        err.str("");
        EXPECT_FALSE(checkPasswordForCommand(dir.path(), "", err, terminal.prompt()));
        EXPECT_EQ(terminal.asked, 3);
        EXPECT_NE(err.str().find("Accesso negato"), std::string::npos);
    }
    {
        FakeTerminal terminal{{"a", "chiave"}};
        EXPECT_FALSE(checkPasswordForCommand(dir.path(), "^", err, terminal.prompt()));
        EXPECT_EQ(terminal.asked, 1);
    }

    // A damaged file refuses even the right password.
    dir.write("Security.pwd", dir.read("Security.pwd").insert(5, "x"));
    {
        PasswordVariable right("chiave");
        err.str("");
        FakeTerminal terminal;
        EXPECT_FALSE(checkPasswordForCommand(dir.path(), "", err, terminal.prompt()));
        EXPECT_NE(err.str().find("danneggiato"), std::string::npos);
    }
}

// Under an Italian locale the commands and the store speak Italian, through the
// program's translation built in; under any other, English.
TEST(Translation, ItalianCommandsAndStoreMessagesUnderAnItalianLocale) {
    struct Back {
        ~Back() { zt::useTranslation(QLocale(QLocale::English, QLocale::UnitedStates)); }
    } back;
    ASSERT_TRUE(zt::useTranslation(QLocale(QLocale::Italian, QLocale::Italy)));
    TestDir dir;
    Outcome r = passwd(dir, "segreta\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Password impostata in ", 0), 0u) << r.out;
    r = passwd(dir, "sbagliata\nnuova\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zentoria passwd: password errata; non è cambiato nulla. Riprovare con la password attuale\n");
    // The usage text too, its options still before its closing paragraph.
    const std::string help = zt::test::runCli({"--help"}).out;
    EXPECT_EQ(help.rfind("Uso: zentoria [--dir CARTELLA] [COMANDO [ARGOMENTI]]\n", 0), 0u) << help;
    EXPECT_LT(help.find("  --version "), help.rfind("\n\n"));

    // The store's messages: a missing file, two names in one case, a missing table, an Access file written.
    using zt::store::Database;
    dir.write("Zentoria.mdb", "x");
    dir.write("ZENTORIA.MDB", "y");
    dir.sql("Vuoto.mdb", "CREATE TABLE Altro(x INTEGER);");
    dir.copyAccessFixture("nwind.mdb");
    const std::pair<std::function<void()>, const char*> storeErrors[] = {
        {[&] { Database::open(dir.path(), "Dettaglio.mdb"); }, "Dettaglio.mdb: file non trovato. Controllare"},
        {[&] { Database::open(dir.path(), "Zentoria.mdb"); },
         "\"ZENTORIA.MDB\" e \"Zentoria.mdb\", nomi che differiscono solo per maiuscole"},
        {[&] { Database::open(dir.path(), "Vuoto.mdb").openTable("Zentoria"); }, "la tabella \"Zentoria\" non c'è nel file"},
        {[&] {
             auto db = Database::open(dir.path(), "nwind.mdb");
             auto shippers = db.openTable("Shippers");
             shippers.edit();
             shippers.setField("Phone", "0");
             shippers.update();
         },
         "che questo programma sa soltanto leggere; non può essere scritto"},
    };
    for (const auto& [call, says] : storeErrors) {
        const std::string said = zt::test::dbErrorOf(call);
        EXPECT_NE(said.find(says), std::string::npos) << said;
    }

    // The command line's own messages say what to do next.
    const auto command = [](const std::vector<std::string>& args) { return zt::test::runCli(args).err; };
    EXPECT_EQ(command({"frobnicate"}),
              "zentoria: comando sconosciuto \"frobnicate\"\nPer l'elenco dei comandi e delle opzioni: zentoria --help\n");
    EXPECT_EQ(command({"--dir", dir.path().string(), "register"}),
              "zentoria: manca --values: aggiungerla al comando\nPer l'elenco dei comandi e delle opzioni: zentoria "
              "--help\n");

    // Failures of every kind, each wholly Italian: usage, folders, files, settings.
    fs::create_directories(dir.path() / "piena");
    dir.write("piena/x.txt", "x");
    const std::string d = dir.path().string();
    const char* figuresDb = std::getenv("ZENTORIA_FIGURES_DB");
    const std::optional<std::string> oldFiguresDb = figuresDb ? std::optional<std::string>(figuresDb) : std::nullopt;
    const struct {
        std::vector<std::string> args;
        const char* italian;
    } failures[] = {
        {{"--dir", d, "chain", "Presenze"}, "chain vuole STATISTICA DETTAGLIO ANNO"},
        {{"--dir", d, "chain", "--tsv"}, "opzione sconosciuta --tsv per chain"},
        {{"--dir", d, "register", "--values", "1;2"}, "--values vuole dodici valori"},
        {{"--dir", d, "print", "--color"}, "opzione sconosciuta --color per print"},
        {{"demo"}, "demo vuole una cartella"},
        {{"demo", d + "/piena"}, "non è vuota"},
        {{"demo", d + "/piena/x.txt/sotto"}, "/sotto: non è una cartella"},  // the system's reason too
        {{"figures", "init"}, "ZENTORIA_FIGURES_DB non è impostata"},
        {{"--dir", d, "figures", "push", "--hotel", "uno"}, "--hotel vuole un numero intero"},
        {{"convert", d + "/Manca.mdb", d + "/Nuovo.db"}, "file non trovato"},
        {{"convert", d + "/piena/x.txt"}, "convert vuole un file di origine e uno di destinazione"},
    };
    for (const auto& f : failures) {
        const std::string said = zt::test::runCliWithServer("", f.args).err;
        EXPECT_NE(said.find(f.italian), std::string::npos) << said;
        for (const char* english : {" the ", " is ", " cannot ", " not ", " takes ", "needs", "Try "})
            EXPECT_EQ(said.find(english), std::string::npos) << english << " in: " << said;
    }
    if (oldFiguresDb) setenv("ZENTORIA_FIGURES_DB", oldFiguresDb->c_str(), 1);

    EXPECT_FALSE(zt::useTranslation(QLocale(QLocale::English, QLocale::UnitedStates)));
    EXPECT_EQ(command({"frobnicate"}), "zentoria: unknown command \"frobnicate\"\nTry 'zentoria --help'.\n");
    r = passwd(dir, "sbagliata\nnuova\n");
    EXPECT_EQ(r.err, "zentoria passwd: wrong password; nothing changed\n");
}
