#include "web/web_server.h"

#include <httplib.h>

#include <charconv>
#include <csignal>
#include <fcntl.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <deque>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>
#include <condition_variable>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include "common/cp1252.h"
#include "common/private_file.h"
#include "common/text.h"
#include "common/translate.h"
#include "desktop/chain.h"
#include "desktop/desk_logic.h"
#include "desktop/passwd.h"
#include "report/csv_export.h"
#include "report/print_menu_logic.h"
#include "report/qt/print_output.h"
#include "report/report_file.h"
#include "store/figures/catalogue.h"
#include "store/sqlite/database.h"
#include "web/web_pages.h"

namespace zt::web {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kSessionIdle = std::chrono::minutes(30);
constexpr const char* kCookie = "zt_sessione";
// Worker threads: enough for every kept-alive client of a busy office to be answered in
// turn; of them, one per processor (at least two) reads figures at a time.
constexpr std::size_t kWorkers = 64;
constexpr std::ptrdiff_t kMaxLanes = 64;
// Logins being checked at once: each may wait for the gate (up to its longest wait); a
// login beyond them is told to try again, so waiting logins never hold every worker.
constexpr std::ptrdiff_t kMaxLoginsAtOnce = 4;
// The grid's Italian number format.
const Separators kItalian{",", "."};

// A request that cannot be answered as asked: 400 with the message in Italian.
struct BadRequest : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What the logic asks of the user, answered for a web request: the gate was passed at
// the login (or no password is set), messages are kept to be shown.
class WebUi : public desktop::UiPort {
public:
    int msgBox(const std::string& prompt, int, const std::string&) override {
        messages.push_back(prompt);
        return desktop::msgbox::kAnswerOk;
    }
    std::string accessGate(const desktop::GateRequest&) override { return "S"; }
    std::vector<std::string> messages;
};

// ---- parameters -------------------------------------------------------------------------

void allowOnly(const httplib::Request& req, std::initializer_list<const char*> names) {
    for (const auto& [k, v] : req.params) {
        if (std::none_of(names.begin(), names.end(), [&](const char* n) { return k == n; }))
            throw BadRequest(withArgs(translate("Web", "Parametro sconosciuto: \"%1\"."), {k}));
        if (req.get_param_value_count(k) > 1)
            throw BadRequest(withArgs(translate("Web", "Parametro ripetuto: \"%1\"."), {k}));
    }
}

std::string param(const httplib::Request& req, const char* name, const std::string& fallback = "") {
    return req.has_param(name) ? req.get_param_value(name) : fallback;
}

std::string yearParam(const httplib::Request& req, const char* name, bool required) {
    if (!req.has_param(name)) {
        if (required) throw BadRequest(withArgs(translate("Web", "Manca il parametro \"%1\"."), {name}));
        return "";
    }
    const std::string y = req.get_param_value(name);
    if (y.size() != 4 || !std::all_of(y.begin(), y.end(), ::isdigit))
        throw BadRequest(withArgs(translate("Web", "Anno non valido in \"%1\": scrivere quattro cifre."), {name}));
    return y;
}

int intParam(const httplib::Request& req, const char* name, int lo, int hi, int fallback) {
    if (!req.has_param(name)) return fallback;
    const std::string v = req.get_param_value(name);
    if (v.empty() || v.size() > 4 || !std::all_of(v.begin(), v.end(), ::isdigit) || std::stoi(v) < lo ||
        std::stoi(v) > hi)
        throw BadRequest(withArgs(translate("Web", "Valore non valido per \"%1\": un numero da %2 a %3."),
                                  {name, std::to_string(lo), std::to_string(hi)}));
    return std::stoi(v);
}

// `refusal` says, with "%1" for the value, that the list has no such item.
int listIndex(const desktop::ComboList& list, const std::string& value, const std::string& refusal) {
    const int i = list.find(value);
    if (i < 0) throw BadRequest(withArgs(refusal, {value}));
    return i;
}

// The detail item of the list: its text, or its code as the grid derives it; the first
// item when none is asked for.
int detailIndex(const desktop::ComboList& list, const std::string& statistic, const std::string& detail) {
    if (detail.empty()) return list.items.empty() ? -1 : 0;
    int i = list.find(detail);
    for (std::size_t k = 0; i < 0 && k < list.items.size(); ++k) {
        const auto key = store::gridKey(statistic, list.items[k]);
        if (key && key->hasDetail && key->detail == detail) i = static_cast<int>(k);
    }
    if (i < 0)
        throw BadRequest(
            withArgs(translate("Web", "Dettaglio non disponibile per \"%1\": \"%2\"."), {statistic, detail}));
    return i;
}

int currentYear() {
    const auto now = std::chrono::system_clock::now();
    return static_cast<int>(std::chrono::year_month_day{std::chrono::floor<std::chrono::days>(now)}.year());
}

// ---- sockets ------------------------------------------------------------------------------

// The local port of a socket; -1 for one that is not an internet socket.
int localPort(int fd) {
    sockaddr_storage a{};
    socklen_t n = sizeof a;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n) != 0) return -1;
    if (a.ss_family == AF_INET) return ntohs(reinterpret_cast<sockaddr_in*>(&a)->sin_port);
    if (a.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&a)->sin6_port);
    return -1;
}

// The sockets of this process on `port`, by descriptor.
template <class Fn>
void forEachSocketOn(int port, Fn&& fn) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit)) continue;
        const int fd = std::stoi(name);
        struct stat st{};
        if (::fstat(fd, &st) == 0 && S_ISSOCK(st.st_mode) && localPort(fd) == port) fn(fd);
    }
}

// The library listens with a queue of 5 connections not yet accepted: a browser opens
// six at once, and 50 clients connecting together had most of theirs dropped and sent
// again a second later. The listening socket gets the system's longest queue instead.
void widenListenQueue(int port) {
    forEachSocketOn(port, [](int fd) {
        int listening = 0;
        socklen_t n = sizeof listening;
        if (::getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &n) == 0 && listening) ::listen(fd, SOMAXCONN);
    });
}

// ---- slow clients -------------------------------------------------------------------------

// Cuts off a client that takes longer than the time limit to send a request (whatever
// it sends meanwhile): the library's read timeout only limits each pause. Each connection
// is found when it is accepted (the one socket of the server's port not yet known), and
// its worker marks the time it reads a request; a watchdog shuts down the connections
// past their time. A connection is only shut down while its peer is the one recorded, so
// a number reused by a later connection is never touched.
class SlowClientGuard : public httplib::TaskQueue {
public:
    SlowClientGuard(int port, std::chrono::seconds limit, std::size_t threads)
        : port_(port), limit_(limit), pool_(threads), watchdog_([this] { watch(); }) {}
    ~SlowClientGuard() override {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        watchdog_.join();
    }

    void enqueue(std::function<void()> fn) override {
        auto c = std::make_shared<Connection>();
        c->limit = limit_;
        c->fd = newConnection();
        if (c->fd >= 0) c->peer = peerOf(c->fd);
        {
            std::lock_guard lock(mutex_);
            if (c->fd >= 0) connections_.push_back(c);
        }
        pool_.enqueue([this, c, fn = std::move(fn)] {
            startReading(c.get());
            current() = c.get();
            fn();
            current() = nullptr;
            std::lock_guard lock(mutex_);
            std::erase(connections_, c);
        });
    }
    void shutdown() override { pool_.shutdown(); }

    // The worker's request was read whole; it is being answered.
    static void answering() {
        if (auto* c = current()) c->reading = false;
    }
    // Answered; the connection may wait for its next request within the limit.
    static void answered() {
        if (auto* c = current()) startReading(c);
    }

private:
    struct Connection {
        int fd = -1;
        std::string peer;
        std::atomic<bool> reading{false};
        std::atomic<std::int64_t> deadline{0};
        std::chrono::seconds limit{10};
    };
    static Connection*& current() {
        thread_local Connection* c = nullptr;
        return c;
    }
    static void startReading(Connection* c) {
        c->deadline =
            std::chrono::duration_cast<std::chrono::milliseconds>((Clock::now() + c->limit).time_since_epoch()).count();
        c->reading = true;
    }
    static std::string peerOf(int fd) {
        sockaddr_storage a{};
        socklen_t n = sizeof a;
        if (::getpeername(fd, reinterpret_cast<sockaddr*>(&a), &n) != 0) return "";
        return std::string(reinterpret_cast<const char*>(&a), n);
    }
    // The connected socket of the server's port that no known connection holds.
    int newConnection() {
        int found = -1;
        forEachSocketOn(port_, [&](int fd) {
            if (found >= 0) return;
            const std::string peer = peerOf(fd);
            if (peer.empty()) return;  // the listening socket
            std::lock_guard lock(mutex_);
            if (std::none_of(connections_.begin(), connections_.end(),
                             [&](const auto& c) { return c->fd == fd && c->peer == peer; }))
                found = fd;
        });
        return found;
    }
    void watch() {
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            wake_.wait_for(lock, std::chrono::milliseconds(250));
            const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
            for (const auto& c : connections_)
                if (c->reading && now > c->deadline && peerOf(c->fd) == c->peer) {
                    ::shutdown(c->fd, SHUT_RDWR);
                    c->reading = false;
                }
        }
    }

    int port_;
    std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::vector<std::shared_ptr<Connection>> connections_;
    httplib::ThreadPool pool_;
    std::thread watchdog_;
};

// ---- the server -------------------------------------------------------------------------

// ---- lanes ------------------------------------------------------------------------------

// The lanes in which requests read figures: a few at once, the others waiting their turn in
// the order they came (a lane given back goes straight to the longest waiting request, so
// no request waits behind ones that came after it).
class Lanes {
public:
    explicit Lanes(std::ptrdiff_t count) : free_(count) {}

    class Taken {
    public:
        explicit Taken(Lanes& lanes) : lanes_(lanes) { lanes_.take(); }
        ~Taken() { lanes_.giveBack(); }
        Taken(const Taken&) = delete;
        Taken& operator=(const Taken&) = delete;

    private:
        Lanes& lanes_;
    };

private:
    struct Waiter {
        std::condition_variable wake;
        bool granted = false;
    };

    void take() {
        std::unique_lock lock(mutex_);
        if (free_ > 0 && waiting_.empty()) {
            --free_;
            return;
        }
        Waiter me;
        waiting_.push_back(&me);
        me.wake.wait(lock, [&] { return me.granted; });
    }
    void giveBack() {
        std::lock_guard lock(mutex_);
        if (waiting_.empty()) {
            ++free_;
            return;
        }
        Waiter* next = waiting_.front();
        waiting_.pop_front();
        next->granted = true;
        next->wake.notify_one();
    }

    std::mutex mutex_;
    std::ptrdiff_t free_;
    std::deque<Waiter*> waiting_;
};

// ---- wrong passwords --------------------------------------------------------------------

// Wrong passwords slow down per client address as the gate's count slows them down
// overall (the same waits: none for the first few, then doubling up to the longest).
// Where the gate makes the next try wait, a page answers at once: a try from an address
// still in its wait is refused with the seconds left (429, Retry-After), without being
// checked or counted. One try per address is checked at a time, and kMaxLoginsAtOnce
// in all; the others are told to try again in a moment.
class LoginThrottle {
public:
    struct Verdict {
        bool admitted = false;
        std::int64_t retryAfter = 0;  // seconds, when refused
        std::string message;
    };

    Verdict begin(const std::string& address) {
        const std::int64_t now = seconds();
        std::lock_guard lock(mutex_);
        forgetOld(now);
        Entry& e = entries_[address];
        if (e.checking)
            return {false, 1,
                    translate("Web", "Un altro accesso da questo indirizzo è in corso: riprovare tra un momento.")};
        const std::int64_t left = e.last + desktop::tryWaitSeconds(e.wrong) - now;
        if (e.wrong > 0 && left > 0)
            return {false, left,
                    withArgs(left == 1 ? translate("Web", "Troppe password errate da questo indirizzo: riprovare tra "
                                                          "%1 secondo.")
                                       : translate("Web", "Troppe password errate da questo indirizzo: riprovare tra "
                                                          "%1 secondi."),
                             {std::to_string(left)})};
        if (checking_ >= kMaxLoginsAtOnce)
            return {false, 1, translate("Web", "Troppi accessi in corso: riprovare tra un momento.")};
        e.checking = true;
        ++checking_;
        return {true, 0, ""};
    }

    // The try begun for `address` was checked: `right` or not.
    void finish(const std::string& address, bool right) {
        std::lock_guard lock(mutex_);
        --checking_;
        Entry& e = entries_[address];
        e.checking = false;
        if (right) {
            e.wrong = 0;
        } else {
            e.wrong = std::min(e.wrong + 1, 1000);
            e.last = seconds();
        }
    }

private:
    struct Entry {
        int wrong = 0;
        std::int64_t last = 0;
        bool checking = false;
    };
    static std::int64_t seconds() {
        return std::chrono::duration_cast<std::chrono::seconds>(Clock::now().time_since_epoch()).count();
    }
    // Addresses whose waits are over are forgotten once many are known.
    void forgetOld(std::int64_t now) {
        if (entries_.size() < 4096) return;
        std::erase_if(entries_, [&](const auto& kv) {
            const Entry& e = kv.second;
            return !e.checking && e.last + desktop::kMaxTryWaitSeconds < now;
        });
    }

    std::mutex mutex_;
    std::map<std::string, Entry> entries_;
    int checking_ = 0;
};

class Site {
public:
    explicit Site(const ServeOptions& o)
        : options_(o),
          tls_(o.tlsCert.has_value()),
          lanes_(std::clamp<std::ptrdiff_t>(std::thread::hardware_concurrency(), 2, kMaxLanes)) {}

    // What the gate says before anything is typed: "" when it asks for a password or
    // needs none; else why access is refused.
    std::string refusalAtOnce(bool& passwordSet) {
        const auto file = desktop::readSecurityPwd(options_.workDir);
        passwordSet = file.state != desktop::PwdFileState::Absent;
        const desktop::AccessGate gate(desktop::makeGateRequest(file, registryOptions()));
        if (file.state == desktop::PwdFileState::Absent && gate.refusalAtOnce().empty()) passwordSet = false;
        return gate.refusalAtOnce();
    }

    std::string registryOptions() {
        try {
            auto db = store::Database::open(options_.workDir, "AnagraficaHotels.mdb");
            auto rs = db.openTable("AnagraficaHotels");
            return rs.recordCount() < 1 ? std::string() : rs.field("CodiceAssistenza").toText();
        } catch (const std::exception&) {
            return "";
        }
    }

    // Whether the request may see pages: no password set, or a live session.
    bool admitted(const httplib::Request& req) {
        bool passwordSet = false;
        if (!refusalAtOnce(passwordSet).empty()) return false;
        if (!passwordSet) return true;
        const std::string token = cookie(req);
        std::lock_guard lock(sessionsMutex_);
        const auto it = sessions_.find(token);
        if (token.empty() || it == sessions_.end()) return false;
        if (Clock::now() - it->second > kSessionIdle) {
            sessions_.erase(it);
            return false;
        }
        it->second = Clock::now();
        return true;
    }

    static std::string cookie(const httplib::Request& req) {
        const std::string all = req.get_header_value("Cookie");
        const std::string key = std::string(kCookie) + "=";
        for (std::size_t at = 0; at < all.size();) {
            while (at < all.size() && (all[at] == ' ' || all[at] == ';')) ++at;
            const std::size_t end = std::min(all.find(';', at), all.size());
            if (all.compare(at, key.size(), key) == 0) return all.substr(at + key.size(), end - at - key.size());
            at = end;
        }
        return "";
    }

    void login(const httplib::Request& req, httplib::Response& res) {
        allowOnly(req, {"password"});
        bool passwordSet = false;
        const std::string refusal = refusalAtOnce(passwordSet);
        if (!refusal.empty()) return page(res, 403, loginPage(refusal));
        if (!passwordSet) return redirect(res, "/grid");
        const auto verdict = throttle_.begin(req.remote_addr);
        if (!verdict.admitted) {
            res.set_header("Retry-After", std::to_string(verdict.retryAfter));
            return page(res, 429, loginPage(verdict.message));
        }
        desktop::GateResult result{desktop::GateOutcome::Refused, ""};
        try {
            desktop::AccessGate gate(
                desktop::makeGateRequest(desktop::readSecurityPwd(options_.workDir), registryOptions()));
            result = gate.submit(param(req, "password"));
        } catch (...) {
            throttle_.finish(req.remote_addr, false);
            throw;
        }
        const bool granted = result.outcome == desktop::GateOutcome::Granted;
        throttle_.finish(req.remote_addr, granted);
        // The gate's own words when it refuses for another reason than the password (the
        // count of the tries cannot be read, ...).
        if (!granted)
            return page(res, 403,
                        loginPage(result.message.rfind(translate("Gate", "Password errata."), 0) == 0 ||
                                          result.message.empty()
                                      ? translate("Web", "Password errata: accesso negato.")
                                      : result.message));
        const std::string token = newToken();
        {
            std::lock_guard lock(sessionsMutex_);
            sessions_[token] = Clock::now();
        }
        res.set_header("Set-Cookie", std::string(kCookie) + "=" + token + "; Path=/; HttpOnly; SameSite=Strict" +
                                         (tls_ ? "; Secure" : ""));
        redirect(res, "/grid");
    }

    void logout(const httplib::Request& req, httplib::Response& res) {
        {
            std::lock_guard lock(sessionsMutex_);
            sessions_.erase(cookie(req));
        }
        res.set_header("Set-Cookie", std::string(kCookie) + "=; Path=/; Max-Age=0; HttpOnly; SameSite=Strict" +
                                         (tls_ ? "; Secure" : ""));
        page(res, 200, loginPage(translate("Web", "Uscita eseguita.")));
    }

    // A page or an API answer behind the gate. Requests read the figures side by side,
    // one per lane, each on a state of its own, with the files it opens reused for the
    // whole request; the figure server gives each a connection of its own.
    template <class Fn>
    void guarded(const httplib::Request& req, httplib::Response& res, bool api, Fn&& fn) {
        try {
            const Lanes::Taken lane(lanes_);
            const store::ReusedConnections reuse;
            if (!admitted(req)) {
                if (api)
                    return json(res, 401,
                                errorJson(translate("Web", "Accesso negato: eseguire l'accesso con la password.")));
                return page(res, 401, loginPage(""));
            }
            fn();
        } catch (const BadRequest& e) {
            if (api) return json(res, 400, errorJson(e.what()));
            page(res, 400, messagePage(translate("Web", "Richiesta non valida"), e.what()));
        } catch (const desktop::ChainChoiceError& e) {
            if (api) return json(res, 400, errorJson(e.what()));
            page(res, 400, messagePage(translate("Web", "Richiesta non valida"), e.what()));
        } catch (const std::exception& e) {
            if (api) return json(res, 503, errorJson(withArgs(translate("Web", "Dati non disponibili: %1"), {e.what()})));
            page(res, 503, messagePage(translate("Web", "Dati non disponibili"), e.what()));
        }
    }

    // The window's logic started as the window starts it, on a state of its own, the
    // hotel, year, statistic and detail chosen as a user chooses them.
    struct Desk {
        ProgramState state;
        WebUi ui;
        desktop::DeskLogic logic;
        explicit Desk(const std::filesystem::path& workDir) : logic(stateFor(workDir), ui, kItalian) {
            logic.load(currentYear());
            if (logic.unloaded) throw std::runtime_error(ui.messages.empty() ? translate("Web", "avvio non riuscito") : ui.messages.back());
        }
        ProgramState& stateFor(const std::filesystem::path& workDir) {
            state.workDir = workDir;
            return state;
        }
        void failOnMessage() {
            if (!ui.messages.empty()) throw BadRequest(ui.messages.back());
        }
    };

    GridView gridView(const httplib::Request& req, bool withReportFormat) {
        if (withReportFormat)
            allowOnly(req, {"hotel", "statistica", "dettaglio", "anno", "format"});
        else
            allowOnly(req, {"hotel", "statistica", "dettaglio", "anno", "confronto", "rapporto", "dettaglio2", "grafico"});
        Desk d(options_.workDir);
        auto& l = d.logic;
        GridView v;
        const int hotel = intParam(req, "hotel", 1, 9999,
                                   l.combo1[2].items.empty() ? 0 : static_cast<int>(desktop::DeskLogic::hotelNumberOf(l.combo1[2].items[0])));
        int hotelItem = -1;
        for (std::size_t i = 0; i < l.combo1[2].items.size(); ++i)
            if (static_cast<int>(desktop::DeskLogic::hotelNumberOf(l.combo1[2].items[i])) == hotel) hotelItem = static_cast<int>(i);
        if (hotelItem < 0)
            throw BadRequest(withArgs(translate("Web", "Nessun albergo con il numero %1."), {std::to_string(hotel)}));
        l.chooseItem(2, hotelItem);
        l.text1[0] = yearParam(req, "anno", false);
        if (l.text1[0].empty()) l.text1[0] = std::to_string(currentYear());
        const std::string stat = param(req, "statistica", l.combo1[0].items.at(0));
        l.chooseItem(0, listIndex(l.combo1[0], stat, translate("Web", "Statistica non disponibile: \"%1\".")));
        l.chooseItem(1, detailIndex(l.combo1[1], stat, param(req, "dettaglio")));
        if (req.has_param("grafico")) l.chooseItem(3, intParam(req, "grafico", 1, 11, 4) - 1);
        d.failOnMessage();
        v.hotels = l.combo1[2].items;
        v.statistics = l.combo1[0].items;
        v.details = l.combo1[1].items;
        v.comparisons = l.combo1[4].items;
        v.hotel = hotel;
        v.hotelItem = l.combo1[2].text;
        v.statistic = stat;
        v.detail = l.combo1[1].text;
        v.year = l.text1[0];
        v.chartType = l.graph1.chartType();
        for (int k = 1; k <= 12; ++k) {
            v.texts[static_cast<std::size_t>(k - 1)] = l.text1[static_cast<std::size_t>(k)];
            v.values[static_cast<std::size_t>(k - 1)] = l.graph1.value(1, k);
        }
        if (withReportFormat) {
            v.format = param(req, "format", "txt");
            if (v.format != "txt" && v.format != "pdf" && v.format != "csv")
                throw BadRequest(withArgs(translate("Web", "Formato non valido: \"%1\" (%2, %3 o %4)."),
                                          {v.format, "txt", "pdf", "csv"}));
            // The report is written to a file of the request's own, never over the
            // working folder's report file, which belongs to the window's user.
            const auto file = requestFile();
            l.reportFile = file->path();
            l.tastoClick(0);
            d.failOnMessage();
            v.report = readBytes(file->path());
            if (v.format == "csv") v.report = report::csvOf(file->path(), report::csvSeparator(options_.workDir));
            if (v.format == "pdf") v.report = pdfOf(v.report, d.state.hotelOptions);
            return v;
        }
        v.chart = chartSvg(l.graph1);
        if (req.has_param("confronto")) {
            v.compareYear = yearParam(req, "confronto", true);
            l.text1[13] = v.compareYear;
            l.tastoClick(5);
            d.failOnMessage();
            v.compare = comparisonOf(l.graph1);
            v.compareChart = chartSvg(l.graph1);
        }
        if (req.has_param("rapporto")) {
            const std::string with = param(req, "rapporto");
            l.chooseItem(4, listIndex(l.combo1[4], with,
                                      translate("Web", "Statistica di confronto non disponibile: \"%1\".")));
            const std::string d2 = param(req, "dettaglio2");
            const int i2 = d2.empty() ? (l.combo1[5].items.empty() ? -1 : 0)
                                      : listIndex(l.combo1[5], d2,
                                                  translate("Web", "Dettaglio di confronto non disponibile: \"%1\"."));
            l.chooseItem(5, i2);
            l.tastoClick(4);
            d.failOnMessage();
            v.ratioStatistic = with;
            v.ratioDetail = l.combo1[5].text;
            v.ratioDetails = l.combo1[5].items;
            v.ratio = comparisonOf(l.graph1);
            v.ratioChart = chartSvg(l.graph1);
        }
        return v;
    }

    ChainView chainView(const httplib::Request& req) {
        allowOnly(req, {"statistica", "dettaglio", "anno", "ordina", "verso"});
        // The chain needs no hotel chosen: the program state as start-up sets it (the
        // registry's first option string places the figure files), the lists from the
        // catalogue and the first hotel's detail list.
        ProgramState state;
        state.workDir = options_.workDir;
        state.hotelOptions = registryOptions();
        state.setMonths();
        try {
            state.setDatabasePaths();
        } catch (const std::exception&) {
            // kept in the state: reading the figures reports it
        }
        ChainView v;
        v.statistics = store::statisticNames();
        const std::string stat = param(req, "statistica", v.statistics.at(0));
        if (std::find(v.statistics.begin(), v.statistics.end(), stat) == v.statistics.end())
            throw BadRequest(withArgs(translate("Web", "Statistica non disponibile: \"%1\"."), {stat}));
        const auto hotels = desktop::registryHotels(options_.workDir);
        if (!hotels.empty())
            v.details = store::detailList(options_.workDir,
                                          static_cast<std::int16_t>(desktop::DeskLogic::hotelNumberOf(hotels.front())), stat);
        std::string detail = param(req, "dettaglio");
        if (detail.empty() && !v.details.empty()) detail = v.details.front();
        const std::string year = req.has_param("anno") ? yearParam(req, "anno", true) : std::to_string(currentYear());
        v.table = desktop::chainTable(state, stat, desktop::chainDetailItem(state, stat, detail), year);
        v.sortColumn = intParam(req, "ordina", 0, 14, 0);
        const std::string dir = param(req, "verso", "su");
        if (dir != "su" && dir != "giu")
            throw BadRequest(withArgs(translate("Web", "Valore non valido per \"%1\": \"%2\" o \"%3\"."),
                                      {"verso", "su", "giu"}));
        v.descending = dir == "giu";
        sortChain(v);
        return v;
    }

    static std::string readBytes(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        if (!in) throw std::runtime_error(withArgs(translate("Web", "impossibile leggere %1"), {file.string()}));
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // The report as the print menu's PDF: the report's lines through QPrinter into a
    // temporary file made exclusively, read and removed.
    std::string pdfOf(const std::string& reportBytes, const std::string& hotelOptions) {
        std::vector<std::string> lines;
        for (std::size_t at = 0; at < reportBytes.size();) {
            std::size_t end = reportBytes.find("\r\n", at);
            if (end == std::string::npos) end = reportBytes.size();
            lines.push_back(reportBytes.substr(at, end - at));
            at = end + 2;
        }
        report::PrintSetup setup;
        try {
            report::PrintMenuLogic menu(options_.workDir, 1);
            menu.load();
            if (menu.activate()) setup = menu.setup(menu.destinations().front());
        } catch (const std::exception&) {
        }
        const auto file = requestFile();
        std::lock_guard lock(pdfMutex_);  // Qt's printer, one at a time
        report::printThroughPrinter(lines, setup, report::PrintOptions{}, hotelOptions, QString(),
                                    QString::fromStdString(file->path().string()));
        return readBytes(file->path());
    }

    // A file of the request's own in the temporary folder, made exclusively (never through
    // a link) and removed when the request is answered; written by path.
    static std::unique_ptr<PrivateFile> requestFile() {
        auto file = std::make_unique<PrivateFile>(std::filesystem::temp_directory_path(), "zentoria-web-");
        file->closeDescriptor();
        return file;
    }

    static std::string newToken() {
        std::random_device rd;
        std::string t;
        static const char* hex = "0123456789abcdef";
        for (int i = 0; i < 32; ++i) {
            const unsigned b = rd() & 0xFF;
            t += hex[b >> 4];
            t += hex[b & 15];
        }
        return t;
    }

    static void page(httplib::Response& res, int status, const std::string& html) {
        res.status = status;
        res.set_content(html, "text/html; charset=utf-8");
    }
    static void json(httplib::Response& res, int status, const std::string& body) {
        res.status = status;
        res.set_content(body, "application/json; charset=utf-8");
    }
    static void redirect(httplib::Response& res, const std::string& to) {
        res.status = 303;
        res.set_header("Location", to);
    }

    const ServeOptions& options_;
    bool tls_;
    Lanes lanes_;
    std::mutex sessionsMutex_, pdfMutex_;
    std::map<std::string, Clock::time_point> sessions_;
    LoginThrottle throttle_;
};

void routes(httplib::Server& server, Site& site) {
    server.set_default_headers({
        {"Content-Security-Policy",
         "default-src 'none'; style-src 'self'; img-src 'self'; form-action 'self'; base-uri 'none'; "
         "frame-ancestors 'none'"},
        {"X-Content-Type-Options", "nosniff"},
        {"X-Frame-Options", "DENY"},
        {"Referrer-Policy", "no-referrer"},
        {"Cache-Control", "no-store"},
    });
    server.Get("/", [](const httplib::Request&, httplib::Response& res) { Site::redirect(res, "/grid"); });
    server.Get("/stile.css", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(styleSheet(), "text/css; charset=utf-8");
    });
    server.Get("/login", [&](const httplib::Request& req, httplib::Response& res) {
        if (!req.params.empty())
            return Site::page(res, 400, messagePage(translate("Web", "Richiesta non valida"),
                                                    translate("Web", "Parametri non previsti.")));
        Site::page(res, 200, loginPage(""));
    });
    server.Post("/login", [&](const httplib::Request& req, httplib::Response& res) {
        try {
            site.login(req, res);
        } catch (const BadRequest& e) {
            Site::page(res, 400, messagePage(translate("Web", "Richiesta non valida"), e.what()));
        }
    });
    server.Post("/logout", [&](const httplib::Request& req, httplib::Response& res) { site.logout(req, res); });
    server.Get("/grid", [&](const httplib::Request& req, httplib::Response& res) {
        site.guarded(req, res, false, [&] { Site::page(res, 200, gridPage(site.gridView(req, false))); });
    });
    server.Get("/api/grid", [&](const httplib::Request& req, httplib::Response& res) {
        site.guarded(req, res, true, [&] { Site::json(res, 200, gridJson(site.gridView(req, false))); });
    });
    server.Get("/chain", [&](const httplib::Request& req, httplib::Response& res) {
        site.guarded(req, res, false, [&] { Site::page(res, 200, chainPage(site.chainView(req))); });
    });
    server.Get("/api/chain", [&](const httplib::Request& req, httplib::Response& res) {
        site.guarded(req, res, true, [&] { Site::json(res, 200, chainJson(site.chainView(req))); });
    });
    server.Get("/report", [&](const httplib::Request& req, httplib::Response& res) {
        site.guarded(req, res, false, [&] {
            const GridView v = site.gridView(req, true);
            const std::string base = "zentoria-" + std::to_string(v.hotel) + "-" + v.year;
            if (v.format == "pdf") {
                res.set_content(v.report, "application/pdf");
                res.set_header("Content-Disposition", "attachment; filename=\"" + base + ".pdf\"");
            } else if (v.format == "csv") {
                res.set_content(fromCp1252(v.report), "text/csv; charset=utf-8");
                res.set_header("Content-Disposition", "attachment; filename=\"" + base + ".csv\"");
            } else {
                std::string text;
                for (std::size_t at = 0; at < v.report.size();) {
                    std::size_t end = v.report.find("\r\n", at);
                    if (end == std::string::npos) end = v.report.size();
                    text += report::decodeReportLine(std::string_view(v.report).substr(at, end - at)) + "\n";
                    at = end + 2;
                }
                res.set_content(text, "text/plain; charset=utf-8");
                res.set_header("Content-Disposition", "inline; filename=\"" + base + ".txt\"");
            }
        });
    });
    server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) return;
        const std::string message = res.status == 404   ? translate("Web", "Pagina non trovata.")
                                    : res.status == 413 ? translate("Web", "Richiesta troppo grande.")
                                    : res.status == 414 ? translate("Web", "Indirizzo troppo lungo.")
                                    : res.status == 405 ? translate("Web", "Metodo non ammesso.")
                                                        : translate("Web", "Richiesta non valida.");
        Site::page(res, res.status >= 500 ? 400 : res.status, messagePage(translate("Web", "Errore"), message));
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        Site::page(res, 400, messagePage(translate("Web", "Richiesta non valida"),
                                         translate("Web", "La richiesta non può essere soddisfatta.")));
    });
}

}  // namespace

void parseListen(const std::string& text, ServeOptions& options) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0)
        throw std::invalid_argument(translate("Cli", "--listen takes ADDR:PORT"));
    std::string host = text.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    const std::string port = text.substr(colon + 1);
    if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), ::isdigit) || std::stoi(port) > 65535)
        throw std::invalid_argument(translate("Cli", "--listen: the port must be a number from 0 to 65535"));
    options.host = host;
    options.port = std::stoi(port);
}

bool isLoopback(const std::string& host) {
    return host == "localhost" || host == "::1" || host.rfind("127.", 0) == 0;
}

int serve(const ServeOptions& options, std::ostream& out, std::ostream& err) {
    if (options.tlsCert.has_value() != options.tlsKey.has_value()) {
        err << "zentoria: " << translate("Web", "--tls-cert e --tls-key vanno indicati insieme.") << "\n";
        return 1;
    }
    Site site(options);
    bool passwordSet = false;
    const std::string refusal = site.refusalAtOnce(passwordSet);
    if (!isLoopback(options.host) && !passwordSet && refusal.empty()) {
        err << "zentoria: "
            << withArgs(translate("Web", "rifiuto di ascoltare su %1: nessuna password di direzione è impostata. "
                                         "Impostarla con \"zentoria passwd\" oppure ascoltare su 127.0.0.1."),
                        {options.host})
            << "\n";
        return 1;
    }
    if (!isLoopback(options.host) && !options.tlsCert)
        err << "zentoria: "
            << withArgs(translate("Web", "attenzione: %1 è raggiungibile dalla rete senza TLS: password e dati viaggiano "
                                         "in chiaro (usare --tls-cert e --tls-key, o un proxy inverso con TLS)."),
                        {options.host})
            << "\n";
    report::ensureGuiApplication();
    useTranslation();  // installed in the application now, before any request is answered

    std::unique_ptr<httplib::Server> server;
    if (options.tlsCert) {
        auto tls = std::make_unique<httplib::SSLServer>(options.tlsCert->c_str(), options.tlsKey->c_str());
        if (!tls->is_valid()) {
            err << "zentoria: "
                << withArgs(translate("Web", "certificato o chiave TLS non leggibili: %1, %2"),
                            {options.tlsCert->string(), options.tlsKey->string()})
                << "\n";
            return 1;
        }
        server = std::move(tls);
    } else {
        server = std::make_unique<httplib::Server>();
    }
    server->set_read_timeout(options.timeoutSeconds, 0);
    server->set_write_timeout(options.timeoutSeconds, 0);
    server->set_keep_alive_timeout(options.timeoutSeconds);
    server->set_payload_max_length(4096);
    server->set_tcp_nodelay(true);
    server->set_keep_alive_max_count(1000);
    routes(*server, site);

    // SIGINT and SIGTERM stop the server; they are taken by a thread of their own.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    int port = options.port;
    if (port == 0) port = server->bind_to_any_port(options.host);
    else if (!server->bind_to_port(options.host, port)) port = -1;
    if (port < 0) {
        err << "zentoria: "
            << withArgs(translate("Web", "impossibile ascoltare su %1:%2"), {options.host, std::to_string(options.port)})
            << "\n";
        return 1;
    }
    widenListenQueue(port);
    server->new_task_queue = [&] {
        return new SlowClientGuard(port, std::chrono::seconds(options.timeoutSeconds), kWorkers);
    };
    // The time the server took for an answer, from its request read to its answer made,
    // in the standard header (browsers' tools and the load benchmark read it).
    static thread_local Clock::time_point started;
    server->set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        SlowClientGuard::answering();
        started = Clock::now();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server->set_post_routing_handler([](const httplib::Request&, httplib::Response& res) {
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        char dur[32];
        const auto end = std::to_chars(dur, dur + sizeof dur, ms, std::chars_format::fixed, 2).ptr;  // "." always
        res.set_header("Server-Timing", "app;dur=" + std::string(dur, end));
        SlowClientGuard::answered();
    });
    const std::string shown = options.host.find(':') != std::string::npos ? "[" + options.host + "]" : options.host;
    out << withArgs(translate("Web", "In ascolto su %1"),
                    {(options.tlsCert ? "https://" : "http://") + shown + ":" + std::to_string(port) + "/"})
        << std::endl;
    std::thread stopper([&] {
        int sig = 0;
        sigwait(&stopSignals, &sig);
        server->stop();
    });
    server->listen_after_bind();
    if (stopper.joinable()) {
        pthread_kill(stopper.native_handle(), SIGTERM);
        stopper.join();
    }
    return 0;
}

}  // namespace zt::web
