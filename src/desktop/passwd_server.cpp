#include "desktop/passwd_server.h"

#include <exception>

#include "common/translate.h"

#include "store/figures/server_store.h"
#include "store/postgres/server_admin.h"

namespace zt::desktop {

SecurityPwd readServerPwd(const std::string& conninfo) {
    try {
        const std::optional<std::string> line = store::serverPasswordLine(*store::figureServerConnection(conninfo));
        SecurityPwd file;
        if (line) file = parseSecurityLine(*line);
        file.server = conninfo;
        if (file.state == PwdFileState::Damaged)
            file.problem = withArgs(translate("Gate",
                                              "La password di Direzione sul server delle cifre è danneggiata: %1 Sul "
                                              "server: reimpostarla con \"zentoria passwd\" da chi può scrivere la "
                                              "tabella Direzione."),
                                    {file.problem});
        return file;
    } catch (const std::exception& e) {
        SecurityPwd file;
        file.state = PwdFileState::Damaged;
        file.server = conninfo;
        file.problem = withArgs(translate("Gate",
                                          "La password di Direzione sul server delle cifre non può essere letta "
                                          "(%1): accesso negato."),
                                {e.what()});
        return file;
    }
}

void setServerPassword(const std::string& conninfo, const std::optional<std::string>& line) {
    store::setServerPasswordLine(*store::figureServerConnection(conninfo), line);
}

std::string serverPasswordPlace(const std::string& conninfo) {
    try {
        return withArgs(translate("Server", "PostgreSQL server %1"),
                        {store::figureServerConnection(conninfo)->server()});
    } catch (const std::exception&) {
        return translate("Server", "the figure server");
    }
}

bool checkOnServer(const std::string& conninfo,
                   const std::function<std::pair<bool, std::int64_t>(int count, std::int64_t last)>& check) {
    const store::ServerConnection lease = store::figureServerConnection(conninfo);
    store::PgConnection& c = *lease;
    bool right = false;
    c.transaction([&] {
        const std::string table = store::pgIdent(store::kPasswordTable);
        const store::PgResult r = c.exec("SELECT " + store::pgIdent("Errate") + ", " + store::pgIdent("Ultima") +
                                         " FROM " + table + " WHERE " + store::pgIdent("Id") + " = 1 FOR UPDATE");
        const int count = r.rows() == 1 ? static_cast<int>(r.value(0, 0).toInteger()) : 0;
        const std::int64_t last = r.rows() == 1 ? r.value(0, 1).toInteger() : 0;
        const auto [ok, now] = check(count, last);
        right = ok;
        c.exec("UPDATE " + table + " SET " + store::pgIdent("Errate") + " = $1, " + store::pgIdent("Ultima") +
                   " = $2 WHERE " + store::pgIdent("Id") + " = 1",
               {right ? 0 : count + 1, right ? std::int64_t{0} : now});
    });
    return right;
}

}  // namespace zt::desktop
