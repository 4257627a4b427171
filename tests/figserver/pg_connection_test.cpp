// The connection to the figure server, against a server the tests start for themselves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <vector>

#include <QLocale>

#include "common/env.h"
#include "common/translate.h"
#include "store/postgres/pg_connection.h"
#include "support/db_error.h"
#include "support/pg_server.h"

using zt::Currency;
using zt::store::PgConnection;
using zt::store::PgParam;
using zt::test::dbErrorOf;
using zt::test::PgServer;

namespace {

TEST(PgServerFixture, ListensOnlyOnItsOwnSocketAndNotAsRoot) {
    PgServer& server = PgServer::shared();
    EXPECT_EQ(server.query("postgres", "SHOW listen_addresses"), "");
    EXPECT_TRUE(std::filesystem::exists(server.socketDir() / ".s.PGSQL.5432"));
    // The data folder belongs to the user the server runs as.
    const auto owner = [&] {
        struct stat st {};
        ::stat((server.socketDir() / "data").c_str(), &st);
        return st.st_uid;
    }();
    EXPECT_NE(owner, 0u);
}

TEST(PgConnection, ConnectsThroughTheSettingAndNamesTheServer) {
    const std::string info = PgServer::shared().createDatabase("conn_setting");
    ::setenv("ZENTORIA_FIGURES_DB", info.c_str(), 1);
    const auto setting = zt::figuresServerSetting();
    ::setenv("ZENTORIA_FIGURES_DB", "   ", 1);
    EXPECT_FALSE(zt::figuresServerSetting());
    ::unsetenv("ZENTORIA_FIGURES_DB");
    EXPECT_FALSE(zt::figuresServerSetting());
    ASSERT_TRUE(setting);
    PgConnection c = PgConnection::open(*setting);
    EXPECT_EQ(c.server(), "socket " + PgServer::shared().socketDir().string() + "/conn_setting");
    EXPECT_EQ(c.exec("SELECT current_setting('client_encoding')").text(0, 0), "UTF8");
    // TLS settings are libpq's: taken as written (a Unix socket carries no TLS).
    EXPECT_NO_THROW(PgConnection::open(info + " sslmode=require"));
    const std::string bad = dbErrorOf([&] { PgConnection::open(info + " sslmode=sometimes password=S3cret-Pw"); });
    EXPECT_NE(bad.find("sslmode"), std::string::npos) << bad;
    EXPECT_EQ(bad.find("S3cret"), std::string::npos) << bad;
}

TEST(PgConnection, ValuesTravelBoundAndExact) {
    PgConnection c = PgConnection::open(PgServer::shared().createDatabase("conn_values"));
    c.execScript("CREATE TABLE t (k integer, s text, m numeric(19,4), d numeric)");
    const std::string hostile = "O'Brien'); DROP TABLE t; --\t\\ \"x\" \xC3\xA0";
    const Currency most = Currency::fromTenThousandths(INT64_MAX);
    c.exec("INSERT INTO t VALUES ($1, $2, $3, $4)", {1, hostile, most, 0.1});
    c.exec("INSERT INTO t VALUES ($1, $2, $3, $4)", {2, PgParam(), Currency::fromTenThousandths(-1), 1.0 / 3});
    c.copyRows("t", {"k", "s", "m", "d"},
               {{3, "tab\there\nnew line \\N", Currency::parse("12.5").value(), PgParam()}, {4, PgParam(), 7, -2.5}});

    const auto r = c.exec("SELECT k, s, m, d FROM t ORDER BY k");
    ASSERT_EQ(r.rows(), 4);
    EXPECT_EQ(r.text(0, 1), hostile);
    EXPECT_EQ(r.text(0, 2), "922337203685477.5807");
    EXPECT_EQ(r.currency(0, 2), most);
    EXPECT_EQ(r.text(0, 3), "0.1");
    EXPECT_EQ(r.value(0, 0), zt::store::Value(std::int64_t{1}));
    EXPECT_TRUE(r.value(1, 1).isNull());
    EXPECT_EQ(r.currency(1, 2), Currency::fromTenThousandths(-1));
    EXPECT_EQ(r.value(1, 3).toDouble(), 1.0 / 3);  // the shortest text reads back to the same double
    EXPECT_EQ(r.text(2, 1), "tab\there\nnew line \\N");
    EXPECT_EQ(r.currency(2, 2), Currency::parse("12.5"));
    EXPECT_TRUE(r.isNull(2, 3));
    EXPECT_TRUE(r.isNull(3, 1));
    EXPECT_EQ(r.text(3, 3), "-2.5");
    EXPECT_EQ(c.exec("SELECT sum(m) FROM t WHERE k > 1").text(0, 0), "19.4999");

    // A transaction whose failed statement was caught inside it is not reported as done.
    const std::string message = dbErrorOf([&] {
        c.transaction([&] {
            c.exec("DELETE FROM t");
            EXPECT_NE(dbErrorOf([&] { c.exec("SELECT 1 / 0"); }), "(no error)");
        });
    });
    EXPECT_NE(message.find("rolled it back"), std::string::npos) << message;
    EXPECT_EQ(c.exec("SELECT count(*) FROM t").text(0, 0), "4");
}

TEST(PgConnection, NoMessageShowsThePassword) {
    const std::string dir = PgServer::shared().socketDir().string();
    // A server that is not there, named with a password in every form libpq reads.
    const std::string absent = "/nonexistent-zentoria";
    for (const std::string& info : std::vector<std::string>{
         "host=" + absent + " dbname=cifre user=x password=S3cret-Pw",
          "host=" + absent + " dbname=cifre password = 'S3cret-Pw'",
          "postgresql://x:S3cret-Pw@%2Fnonexistent-zentoria/cifre",
          "postgresql://x:S3cret%2DPw@%2Fnonexistent-zentoria/cifre"}) {
        const std::string message = dbErrorOf([&] { PgConnection::open(info); });
        EXPECT_EQ(message.find("S3cret"), std::string::npos) << message;
        EXPECT_NE(message.find("PostgreSQL server socket " + absent + "/cifre: cannot connect"), std::string::npos)
            << message;
    }
    // Under an Italian locale the message is Italian around libpq's own and says what to do.
    {
        struct Back {
            ~Back() { zt::useTranslation(QLocale(QLocale::English, QLocale::UnitedStates)); }
        } back;
        ASSERT_TRUE(zt::useTranslation(QLocale(QLocale::Italian, QLocale::Italy)));
        const std::string message = dbErrorOf([&] { PgConnection::open("host=" + absent + " dbname=cifre"); });
        EXPECT_EQ(message.find("PostgreSQL server socket"), std::string::npos) << message;
        EXPECT_NE(message.find("server PostgreSQL socket " + absent + "/cifre: impossibile collegarsi: "),
                  std::string::npos) << message;
        EXPECT_NE(message.find("Controllare che il server sia acceso"), std::string::npos) << message;
        EXPECT_NE(message.find("ZENTORIA_FIGURES_DB"), std::string::npos) << message;
    }
    // Strings libpq cannot read quote themselves in its messages.
    for (const std::string& info : std::vector<std::string>{"dbname=cifre password=S3cret-Pw =oops", "postgresql://x:S3cret-Pw@h/d?nokey=%zz"}) {
        const std::string message = dbErrorOf([&] { PgConnection::open(info); });
        EXPECT_EQ(message.find("S3cret"), std::string::npos) << message;
        EXPECT_NE(message.find("ZENTORIA_FIGURES_DB"), std::string::npos) << message;
    }
    EXPECT_EQ(dbErrorOf([&] { PgConnection::open("postgresql://x:S3cret-Pw@h:port/d"); }).find("S3cret"),
              std::string::npos);
    // A statement's error names the server; the server's text is shown as it is (the
    // value quoted there is the statement's, not taken from the connection string).
    PgServer::shared().createDatabase("conn_errors");
    PgConnection c = PgConnection::open("host=" + dir + " user=zentoria dbname=conn_errors password=S3cret-Pw");
    const std::string message = dbErrorOf([&] { c.exec("SELECT 'Valore-7'::integer"); });
    EXPECT_NE(message.find("\"Valore-7\""), std::string::npos) << message;
    EXPECT_NE(message.find("PostgreSQL server socket " + dir + "/conn_errors: the statement failed: "),
              std::string::npos)
        << message;
}

TEST(PgConnection, AServerThatGoesAwayIsReportedAndKeepsNothingHalfWritten) {
    PgServer& server = PgServer::shared();
    PgConnection c = PgConnection::open(server.createDatabase("conn_lost") + " password=S3cret-Pw");
    c.execScript("CREATE TABLE t (k integer)");
    std::string message;
    try {
        c.transaction([&] {
            c.exec("INSERT INTO t VALUES ($1)", {1});
            server.stop();
            c.exec("INSERT INTO t VALUES ($1)", {2});
        });
    } catch (const zt::store::DbError& e) {
        message = e.what();
    }
    server.start();
    EXPECT_NE(message.find("PostgreSQL server socket " + server.socketDir().string() +
                           "/conn_lost: the statement failed: the connection to the server was lost"),
              std::string::npos)
        << message;
    EXPECT_EQ(message.find("S3cret"), std::string::npos) << message;
    EXPECT_EQ(server.query("conn_lost", "SELECT count(*) FROM t"), "0");
    // The connection says it is gone rather than hanging or crashing.
    EXPECT_NE(dbErrorOf([&] { c.exec("SELECT 1"); }).find("lost"), std::string::npos);
}

}  // namespace
